#pragma once
// Fixing what the readability report finds: for a finding, a new value for one of its two colours
// that makes the pair pass and leaves every other pair of that colour on the control passing, as
// close as the 8-bit sRGB grid allows to the colour it replaces by CIEDE2000. No widget code.
//
// The search (ReadabilityFix.cpp) is deterministic: the same colours and thresholds always give
// the same answer, and a colour that already passes is its own answer.

#include "core/Readability.h"

#include "host/vcl/Types.h"

#include <QString>

#include <optional>
#include <vector>

class TPalmoControl;

// What a colour must pass against: one other colour, drawn as text on it (or it as text on the
// other: contrast is symmetric), or told from it as a state.
struct ColorRequirement {
    TColor partner = 0;
    bool textContrast = true;
    // For a state pair: whether the colour being fixed is the pair's state colour (its first).
    bool fixedIsFirst = true;
    friend bool operator==(const ColorRequirement&, const ColorRequirement&) = default;
};

struct ColorFix {
    TPalmoControl* control = nullptr;
    QString path;          // the property that changes: "Appearance.TextColor"
    TColor from = 0;       // its stored colour
    TColor to = 0;         // the colour it takes (plain RGB)
    double change = 0;     // CIEDE2000 between the two as they paint
    QString fromText;      // the values as the inspector shows them
    QString toText;        // filled by apply
    FindingKind kind = FindingKind::TextContrast;
    double measure = 0;    // the finding's measure once fixed: "4.51:1", "ΔE 10.2"
};

namespace ReadabilityFix {

// The colour of the 8-bit sRGB grid nearest to from (as it paints) by CIEDE2000 that passes every
// requirement at the thresholds; none when no colour does.
std::optional<TColor> nearestPassing(TColor from, const std::vector<ColorRequirement>& requirements,
                                     const ReadabilityThresholds& thresholds);
// Whether color passes every requirement, judged as the report judges a pair.
bool passes(TColor color, const std::vector<ColorRequirement>& requirements, const ReadabilityThresholds& thresholds);
// What the colour at path must pass against: every text pair and state pair of the control it is
// one of the two colours of (a text colour the preview chooses is left out: it always reads).
std::vector<ColorRequirement> requirementsOf(TPalmoControl& control, const QString& path);
// The fixes of a finding: one changing each of its two colours where a passing colour exists,
// the smaller change first (by CIEDE2000; the first colour on a tie).
std::vector<ColorFix> fixesOf(const Finding& finding, const ReadabilityThresholds& thresholds);
// Writes the fix's colour into its property, keeping the property's colour type, and fills toText.
// False when the path names no colour property of the control.
bool apply(ColorFix& fix);
// Fixes the controls' findings one at a time, each by the smaller change, until none is left that
// a colour can fix. Each fix makes at least one failing pair pass and none fail, so it ends.
// Returns the fixes made, in order.
std::vector<ColorFix> fixAll(const std::vector<TPalmoControl*>& controls, const ReadabilityThresholds& thresholds);

}  // namespace ReadabilityFix
