#pragma once
// Base of the styled controls' appearance objects: a named object whose every property change
// raises Changed, so the controls (and the designer's preview) repaint at once.

#include "host/cvcolor/CVColor.h"
#include "host/vcl/ColorType.h"

#include <QObject>

class TPalmoPersistent : public QObject {
    Q_OBJECT
public:
    explicit TPalmoPersistent(QObject* Parent = nullptr);

signals:
    void Changed();
};

// The framework's colour from its text form (a web or toolkit name, or a number text).
TCVColor CVColorOf(const char* Ident);
