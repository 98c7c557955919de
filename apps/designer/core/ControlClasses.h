#pragma once
// One descriptor per control class: how a control of the class is made, how the preview paints
// it, which of its colours are drawn as text on which background (for the contrast check) and
// which pairs of colours tell its states apart (for the state check). The palette, the preview,
// form files and both checks loop over the descriptors; adding a class is adding one descriptor
// (a file in classes/ and its line in ControlClasses.cpp). No widget code: painting is QPainter's.
//
// A path is a property path as the inspector lists it ("Appearance.Color"); "[*]" stands for
// every item of a collection ("Slots[*].Color").

#include <QString>

#include <memory>
#include <vector>

class QPainter;
class QRectF;
class TPalmoControl;
struct QMetaObject;

// Text drawn in the colour at one path on the colour at the other. A text whose colour is no
// property of the control (a switch's caption) names the property that holds the text, and is
// drawn in black or white, whichever reads better on the background (LegibleTextOn, Contrast.h).
struct TextPair {
    QString text;        // "Appearance.TextColor", "Slots[2].TextColor"; "OnText" when chosen
    QString background;  // "Appearance.Color", "Slots[2].Color"
    bool chosenColor = false;
    friend bool operator==(const TextPair&, const TextPair&) = default;
};

// Two colours whose difference is what shows a state: the state's colour and the colour it must
// be told from ("Appearance.OnColor" against "Appearance.OffColor", "on against off").
struct StatePair {
    QString state;
    QString other;
    QString meaning;  // "on against off", as a warning says it
    friend bool operator==(const StatePair&, const StatePair&) = default;
};

struct ControlClass {
    const QMetaObject* meta;
    // Paints the control into area (its rectangle), clipped to it.
    void (*paint)(QPainter& painter, const TPalmoControl& control, const QRectF& area);
    std::vector<TextPair> textPairs;
    std::vector<StatePair> statePairs;
    // The path of the property holding the text the control shows as its caption, which the
    // preview edits in place ("Appearance.Caption"); null for a class that shows none. A function:
    // a switch shows the text of the state it is in.
    QString (*captionPath)(const TPalmoControl& control);

    QString name() const;  // "TPalmoButton"
    // A new control of the class with its defaults and an empty name.
    std::unique_ptr<TPalmoControl> create() const;
};

// Every class, in the palette's order.
const std::vector<const ControlClass*>& controlClasses();
// The class of that name (compared exactly), or null.
const ControlClass* controlClassNamed(const QString& name);
// The control's own class, or null for a class without a descriptor.
const ControlClass* controlClassOf(const TPalmoControl& control);

// The control's text pairs and state pairs: each declared pair with "[*]" repeated for every
// item of the collection it names, in item order (none for an empty collection).
std::vector<TextPair> textPairsOf(const TPalmoControl& control);
std::vector<StatePair> statePairsOf(const TPalmoControl& control);

// The path of the control's caption (see ControlClass::captionPath), or "" when it shows none.
QString captionPathOf(const TPalmoControl& control);

// Paints the control as its class does; a control of a class without a descriptor shows its
// name in a plain frame.
void paintControl(QPainter& painter, const TPalmoControl& control, const QRectF& area);
