#pragma once
// Colours that read well: every pair of colours a control draws as text on a background (as its
// class's descriptor declares them, ControlClasses.h) with its contrast ratio, the pairs of a
// form that fall below 4.5:1, and a web colour to try instead. No widget code: the Readability
// view and the command line share it.
//
// The suggestion for a text colour that fails on a background is the web colour (the 143 of
// CVColors) nearest to it, by straight-line distance between the 8-bit red, green and blue
// values, among those of its hue family that reach 4.5:1 on that background. A colour whose
// largest and smallest channel differ by at most NeutralChroma is neutral (white, greys, black
// and the near-whites); the family of a neutral colour is the neutral colours. The family of any
// other colour is every colour that is not neutral and whose hue angle (the HSV hue, 0 … 360°)
// lies within HueTolerance degrees of its own. When no colour of the family reaches 4.5:1, the
// nearest neutral colour that does is suggested (black or white always does: one of them has at
// least 4.58:1 with any colour).

#include "host/vcl/Types.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class FormModel;
class TPalmoControl;

struct ContrastPair {
    TPalmoControl* control = nullptr;
    QString textPath;         // "Appearance.TextColor"
    QString backgroundPath;   // "Appearance.Color"
    QString textValue;        // the values as the inspector shows them: "White", "clBtnFace"
    QString backgroundValue;
    TColor text = 0;          // the stored colours (a system colour unresolved)
    TColor background = 0;
    double ratio = 1;
    bool chosenColor = false; // the text's colour is the preview's choice (TextPair::chosenColor)
};

namespace ContrastCheck {

inline constexpr int NeutralChroma = 24;
inline constexpr double HueTolerance = 30;

// Every pair the control draws, in its class's order, with its colours and ratio; a declared
// path that names no colour property of the control is left out. With touching, only the pairs
// with a colour at one of those paths.
std::vector<ContrastPair> pairsOf(TPalmoControl& control, const QStringList& touching = {});
// Every pair of the form below MinimumTextContrast, control by control in form order.
std::vector<ContrastPair> failing(const FormModel& form);
// The pair of one text colour of a control with the lowest ratio over the backgrounds it is drawn
// on; none when the property is not drawn as text.
std::optional<ContrastPair> worst(TPalmoControl& control, const QString& textPath);
// Whether the colour is neutral (see above).
bool isNeutral(TColor color);
// The index in CVColors of the web colour nearest to wanted, among its hue family (or, with
// neutralOnly, among the neutral colours), for which passes holds; -1 when none does.
int nearestInFamily(TColor wanted, const std::function<bool(TColor)>& passes, bool neutralOnly = false);
// The index in CVColors of the colour to try for text on background (see above).
int suggestion(TColor text, TColor background);
// A ratio as "4.47:1": cut to two decimals, without trailing zeros; never rounded up (beyond
// the division's own rounding error), so that a failing 4.499:1 shows as 4.49:1, not 4.5:1.
QString ratioText(double ratio);
// "PalmoButton1 Appearance.TextColor (White) on Appearance.Color (clBtnFace) has contrast 1.14:1,
// below 4.5:1; try DimGray"
QString describe(const ContrastPair& pair);

}  // namespace ContrastCheck
