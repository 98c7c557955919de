#pragma once
// Colours that tell states apart for everyone: every pair of colours a control shows its states
// by (as its class's descriptor declares them, ControlClasses.h), seen with each of the three
// dichromacies, and a web colour to try instead where a pair fails. No widget code: the
// Readability view, the inspector's marks and the command line share it.
//
// A pair fails under a dichromacy when the two colours, simulated as seen with it (ColorVision.h),
// are less than the minimum CIEDE2000 difference apart (10 unless the user set another,
// "readability/minimumDeltaE"). It also fails under protanopia and deuteranopia, whatever the
// simulated difference, when both colours have a hue (neither is neutral in ContrastCheck's
// sense) and their WCAG luminance ratio is below 1.5:1: then nothing but hue tells the states
// apart, and hue is the cue red-green dichromats lose first.

#include "core/ColorVision.h"

#include "host/vcl/Types.h"

#include <QString>

#include <optional>
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

// One failure of a pair: under one dichromacy, or by hue alone.
struct StateWarning {
    StatePairColors pair;
    Vision vision;      // the dichromacy it fails under
    double deltaE;      // the difference seen with it
    bool hueOnly;       // the luminance ratio is below 1.5:1 and both colours have a hue
};

namespace StateCheck {

inline constexpr double DefaultMinimumDeltaE = 10;
inline constexpr double MinimumLuminanceRatio = 1.5;
inline constexpr Vision Dichromacies[] = {Vision::Protanopia, Vision::Deuteranopia, Vision::Tritanopia};

// The minimum difference the user set (QSettings "readability/minimumDeltaE"), or 10.
double minimumDeltaE();
void setMinimumDeltaE(double deltaE);

// CIEDE2000 between two colours as seen with vision.
double deltaE(TColor first, TColor second, Vision vision);
// Every pair the control shows its states by, in its class's order, with its colours; a declared
// path that names no colour property of the control is left out.
std::vector<StatePairColors> pairsOf(TPalmoControl& control);
// The failures of one pair: one per dichromacy it fails under, in protanopia, deuteranopia,
// tritanopia order. Empty when it passes.
std::vector<StateWarning> warningsOf(const StatePairColors& pair, double minimumDeltaE);
// Every failure on the form, control by control in form order.
std::vector<StateWarning> failing(const FormModel& form, double minimumDeltaE);
// The first failure of a pair of the control that has path as one of its two colours.
std::optional<StateWarning> worst(TPalmoControl& control, const QString& path, double minimumDeltaE);
// The index in CVColors of a colour of the state colour's hue family, nearest to it, that passes
// against other; -1 when none does.
int suggestion(TColor state, TColor other, double minimumDeltaE);
// "Switch1 Appearance.OnColor (SeaGreen) against Appearance.OffColor (Tomato), on against off,
// differ by ΔE 4.2 with deuteranopia, below 10; try …"
QString describe(const StateWarning& warning, double minimumDeltaE);

}  // namespace StateCheck
