#pragma once
// The pairs of colours that tell a control's states apart (as its class's descriptor declares
// them, ControlClasses.h), each with what the readability report (Readability.h) judges it by:
// the two colours' WCAG luminance ratio, and their CIEDE2000 difference as seen with each of the
// three dichromacies (ColorVision.h). No widget code.

#include "core/ColorVision.h"

#include "host/vcl/Types.h"

#include <QString>
#include <QStringList>

#include <vector>

class FormModel;
class TPalmoControl;

struct StatePairColors {
    TPalmoControl* control = nullptr;
    QString statePath;   // "Appearance.OnColor"
    QString otherPath;   // "Appearance.OffColor"
    QString meaning;     // "on against off"
    QString stateValue;  // the values as the inspector shows them: "SeaGreen"
    QString otherValue;
    TColor state = 0;    // the stored colours (a system colour unresolved)
    TColor other = 0;
    double luminanceRatio = 1;
    double deltaEs[3] = {};  // their difference seen with each of Dichromacies, in its order
};

namespace StateCheck {

inline constexpr Vision Dichromacies[] = {Vision::Protanopia, Vision::Deuteranopia, Vision::Tritanopia};

// CIEDE2000 between two colours as seen with vision.
double deltaE(TColor first, TColor second, Vision vision);
// Every pair the control shows its states by, in its class's order, with its colours; a declared
// path that names no colour property of the control is left out. With touching, only the pairs
// with a colour at one of those paths.
std::vector<StatePairColors> pairsOf(TPalmoControl& control, const QStringList& touching = {});

}  // namespace StateCheck
