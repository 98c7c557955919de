#pragma once
// The spinner's slot: one wheel of a spinner control.

#include "host/palmo/PalmoPersistent.h"

class TPalmoSpinnerSlot : public TPalmoPersistent {
    Q_OBJECT
    Q_PROPERTY(TCVColor Color MEMBER FColor NOTIFY Changed)
    Q_PROPERTY(TCVColor TextColor MEMBER FTextColor NOTIFY Changed)
    Q_PROPERTY(TCVColor SelectedTextColor MEMBER FSelectedTextColor NOTIFY Changed)
    Q_PROPERTY(int Width MEMBER FWidth NOTIFY Changed)
public:
    explicit TPalmoSpinnerSlot(QObject* Parent = nullptr) : TPalmoPersistent(Parent) {}
    TCVColor FColor = CVColorOf("AliceBlue");
    TCVColor FTextColor = CVColorOf("Navy");
    TCVColor FSelectedTextColor = CVColorOf("DarkRed");
    int FWidth = 60;
};
