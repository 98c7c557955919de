#pragma once
// The form's one readability report: every pair of colours that falls short, from both checks,
// as one list of findings that the Readability view, the inspector's marks and the command line
// all read. Each finding names the measure that failed and the threshold it failed:
//
//   Text contrast     text on its background below WCAG's 4.5:1 (ContrastCheck.h);
//   State colours     two state colours that differ, simulated as seen with a dichromacy, by less
//                     than the minimum CIEDE2000 difference (10 unless the user set another);
//   Without colour    two state colours whose WCAG luminance ratio is below the minimum (1.5:1
//                     unless the user set another): without colour (greyscale, monochrome print,
//                     achromatopsia, low vision) only lightness is left to tell them apart.
//
// Thresholds come in as values; the program reads the user's settings in one place. No widget code.

#include "core/ColorVision.h"
#include "core/FormFile.h"

#include "host/vcl/Types.h"

#include <QString>
#include <QStringList>

#include <vector>

class FormModel;
class TPalmoControl;

struct ReadabilityThresholds {
    static constexpr double DefaultMinimumDeltaE = 10;
    static constexpr double DefaultMinimumLuminanceRatio = 1.5;
    double minimumDeltaE = DefaultMinimumDeltaE;
    double minimumLuminanceRatio = DefaultMinimumLuminanceRatio;
    friend bool operator==(const ReadabilityThresholds&, const ReadabilityThresholds&) = default;
};

enum class FindingKind { TextContrast, StateDifference, WithoutColour };

struct Finding {
    FindingKind kind = FindingKind::TextContrast;
    TPalmoControl* control = nullptr;
    QString firstPath;    // the text colour, or the state colour
    QString secondPath;   // the background, or the colour the state must be told from
    QString firstValue;   // the values as the inspector shows them: "White", "clBtnFace"
    QString secondValue;
    TColor first = 0;     // the stored colours (a system colour unresolved)
    TColor second = 0;
    QString meaning;      // a state pair's: "on against off"; empty for text
    Vision vision = Vision::Normal;  // StateDifference: the dichromacy it fails under
    double measure = 0;   // the contrast ratio, the ΔE, or the luminance ratio
    double threshold = 0; // what the measure fell below
    FormPosition place;   // where a file read with sources says the finding is (see placeOf)

    friend bool operator==(const Finding&, const Finding&) = default;
};

namespace Readability {

// The findings of one control: its text pairs, then its state pairs, in its class's order; for
// each state pair the dichromacies it fails under (protanopia, deuteranopia, tritanopia), then
// without colour.
std::vector<Finding> findingsOf(TPalmoControl& control, const ReadabilityThresholds& thresholds);
// The same after the control's values changed at these paths only, given its findings before:
// the pairs with no colour there keep their findings, and only the others are measured again
// (a colour typed for 10,000 controls measures the few pairs it is in). Every pair is measured
// when paths is empty or names a collection's Count (which makes or drops pairs).
std::vector<Finding> findingsAfter(TPalmoControl& control, const ReadabilityThresholds& thresholds,
                                   const std::vector<Finding>& before, const QStringList& paths);
// Every finding of the form, control by control in form order.
std::vector<Finding> findings(const FormModel& form, const ReadabilityThresholds& thresholds);
// The same for a form read from a file, each with its place (placeOf), sorted by place; sources
// are the reader's, one per control in form order.
std::vector<Finding> findings(const FormModel& form, const ReadabilityThresholds& thresholds,
                              const std::vector<FormControlSource>& sources);
// Where in its control's source a finding points: the value of the one of its two colours that
// the file sets, the first written when it sets both; the control's object when it sets neither.
FormPosition placeOf(const Finding& finding, const FormControlSource& source);

// Whether the finding is about the property at path (one of its two colours).
bool concerns(const Finding& finding, const QString& path);
// "Text contrast", "State colours", "Without colour".
QString kindName(FindingKind kind);
// The measure against its threshold: "contrast 3.94:1 < 4.5:1", "ΔE 6.2 < 10 under deuteranopia",
// "luminance 1.06:1 < 1.5:1 without colour". Never rounded up to the threshold.
QString measureText(const Finding& finding);
// The measure and its threshold, short, for a mark: "3.94:1 < 4.5:1", "ΔE 6.2 < 10".
QString markText(const Finding& finding);
// Just the measure: "3.94:1", "ΔE 6.2", "1.06:1".
QString measureValueText(FindingKind kind, double measure);
// "Dim Appearance.TextColor (Gray) on Appearance.Color (White): contrast 3.94:1 < 4.5:1"
QString describe(const Finding& finding);

}  // namespace Readability
