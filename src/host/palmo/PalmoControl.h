#pragma once
// Base of the styled controls: a named control with a position and a size. Its appearance and
// other parts are sub-objects that the control owns and exposes as read-only (CONSTANT)
// properties of pointer type, so a walker over QMetaProperty finds them; a part that is a list
// of items is a TPalmoCollection.

#include "host/palmo/PalmoPersistent.h"

#include <QString>

class TPalmoControl : public TPalmoPersistent {
    Q_OBJECT
    // The name is read-only here: a form renames its controls, because only it can check that
    // the new name is unique.
    Q_PROPERTY(QString Name READ Name NOTIFY Changed)
    Q_PROPERTY(int Left MEMBER FLeft NOTIFY Changed)
    Q_PROPERTY(int Top MEMBER FTop NOTIFY Changed)
    Q_PROPERTY(int Width MEMBER FWidth NOTIFY Changed)
    Q_PROPERTY(int Height MEMBER FHeight NOTIFY Changed)
    Q_PROPERTY(bool Enabled MEMBER FEnabled NOTIFY Changed)
    Q_PROPERTY(bool Visible MEMBER FVisible NOTIFY Changed)
    Q_PROPERTY(QString Hint MEMBER FHint NOTIFY Changed)
public:
    QString Name() const { return objectName(); }
    // Sets the name without any check and raises Changed.
    void SetName(const QString& Value);

    int FLeft = 0;
    int FTop = 0;
    int FWidth;
    int FHeight;
    bool FEnabled = true;
    bool FVisible = true;
    QString FHint;

protected:
    TPalmoControl(int Width, int Height, QObject* Parent);
    // Makes Part's changes changes of this control, so one connection follows the whole control.
    void Own(TPalmoPersistent* Part);
};
