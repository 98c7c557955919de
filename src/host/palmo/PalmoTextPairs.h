#pragma once
// Which colours of a styled control are drawn as text on which background, as the control's
// class declares them in its "TextOnBackground" class info (PalmoControls.h).

#include <QString>

#include <vector>

struct QMetaObject;
class QObject;

struct TTextPair {
    QString Text;        // "Appearance.TextColor", "Slots[2].TextColor"
    QString Background;  // "Appearance.Color", "Slots[2].Color"
    friend bool operator==(const TTextPair&, const TTextPair&) = default;
};

// The pairs a class declares, base classes' first, as written: a path may hold "[*]".
std::vector<TTextPair> DeclaredTextPairs(const QMetaObject& Class);
// The pairs of one control: each declared pair with "[*]" repeated for every item of the
// collection it names (the control's property of that name), in item order; none when the
// collection is empty.
std::vector<TTextPair> TextPairsOf(const QObject& Control);
