// State colours everyone can tell apart: the pairs each class declares, which pairs fail under
// which dichromacy, the user's threshold, the colour to try, and the command line's warnings.
#include "core/ControlClasses.h"
#include "core/FormModel.h"
#include "core/StateCheck.h"
#include "contrast/ContrastForms.h"

#include "host/palmo/PalmoFactory.h"

#include <QSettings>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>

namespace {

// The classes the designer describes are the controls' library's classes, in its order; each
// declared state pair names two colour properties, and a fresh control of any class passes.
TEST(StateCheck, EveryClassesStatePairsAreColoursAndItsDefaultsPass)
{
    QStringList described;
    for (const ControlClass* controlClass : controlClasses())
        described << controlClass->name();
    EXPECT_EQ(described, PalmoControlClasses());
    for (const ControlClass* controlClass : controlClasses()) {
        const std::unique_ptr<TPalmoControl> control = controlClass->create();
        const std::vector<StatePairColors> pairs = StateCheck::pairsOf(*control);
        EXPECT_EQ(pairs.size(), statePairsOf(*control).size()) << controlClass->name().toStdString();
        for (const StatePairColors& pair : pairs)
            EXPECT_TRUE(StateCheck::warningsOf(pair, StateCheck::DefaultMinimumDeltaE).empty())
                << StateCheck::describe(StateCheck::warningsOf(pair, 10).front(), 10).toStdString();
    }
}

// Luminance ratios worked by hand from the WCAG formula: SeaGreen 0.195 / Tomato 0.307 is 1.44:1
// and both have a hue, so hue alone tells them apart; Red 0.2126 / Green 0.2159 likewise (1.01:1);
// DodgerBlue 0.275 / Orange 0.482 is 1.64:1; Navy against itself differs by nothing under any
// vision; White against Black is 21:1 and neither has a hue.
TEST(StateCheck, PairsFailForTheDichromatsWhoCannotTellThemApart)
{
    const std::set<Vision> RedGreen{Vision::Protanopia, Vision::Deuteranopia};
    const struct {
        const char* on;
        const char* off;
        std::set<Vision> failing;
        bool hueOnly;
    } cases[] = {
        {"SeaGreen", "Tomato", RedGreen, true},
        {"Red", "Green", RedGreen, true},
        {"DodgerBlue", "Orange", {}, false},
        {"Navy", "Navy", {Vision::Protanopia, Vision::Deuteranopia, Vision::Tritanopia}, true},
        {"White", "Black", {}, false},
    };
    for (const auto& c : cases) {
        FormModel form;
        TPalmoControl* control =
            AddColored(form, "TPalmoOnOffButton", "Switch", {{"Appearance.OnColor", c.on}, {"Appearance.OffColor", c.off}});
        ASSERT_TRUE(control);
        std::set<Vision> failing;
        for (const StateWarning& warning : StateCheck::failing(form, 10)) {
            failing.insert(warning.vision);
            EXPECT_EQ(warning.hueOnly, c.hueOnly) << c.on << "/" << c.off;
            EXPECT_EQ(warning.pair.statePath, QStringLiteral("Appearance.OnColor"));
        }
        EXPECT_EQ(failing, c.failing) << c.on << "/" << c.off;
        // The inspector marks both colours of a failing pair, and neither of a passing one.
        EXPECT_EQ(StateCheck::worst(*control, QStringLiteral("Appearance.OffColor"), 10).has_value(), !c.failing.empty());
    }
}

TEST(StateCheck, AWarningSaysWhatFailsWhyAndWhatToTry)
{
    FormModel form;
    AddColored(form, "TPalmoOnOffButton", "Switch", {{"Appearance.OnColor", "SeaGreen"}, {"Appearance.OffColor", "Tomato"}});
    const std::vector<StateWarning> warnings = StateCheck::failing(form, 10);
    ASSERT_EQ(warnings.size(), 2u);
    const QString text = StateCheck::describe(warnings.front(), 10);
    EXPECT_TRUE(text.startsWith("Switch Appearance.OnColor (SeaGreen) against Appearance.OffColor (Tomato), on against off, "
                                "differ by \u0394E ")) << text.toStdString();
    EXPECT_TRUE(text.contains(" with protanopia, below 10; only hue tells them apart (luminance ratio 1.44:1, below 1.5:1); try "))
        << text.toStdString();
    // The colour to try is a green (SeaGreen's family) that passes against Tomato for everyone.
    const int better = StateCheck::suggestion(warnings.front().pair.state, warnings.front().pair.other, 10);
    ASSERT_GE(better, 0);
    const TColor green = CVColors[better].Value;
    EXPECT_TRUE(((green >> 8) & 0xFF) > (green & 0xFF) && ((green >> 8) & 0xFF) > ((green >> 16) & 0xFF)) << CVColors[better].Name.toStdString();
    EXPECT_TRUE(text.endsWith("try " + CVColors[better].Name));
    AddColored(form, "TPalmoOnOffButton", "Tried", {{"Appearance.OnColor", qPrintable(CVColors[better].Name)}, {"Appearance.OffColor", "Tomato"}});
    EXPECT_EQ(StateCheck::failing(form, 10).size(), 2u);
}

TEST(StateCheck, TheMinimumDifferenceIsTheUsersSetting)
{
    QSettings().remove(QStringLiteral("readability/minimumDeltaE"));
    EXPECT_EQ(StateCheck::minimumDeltaE(), 10);
    StateCheck::setMinimumDeltaE(25);
    EXPECT_EQ(StateCheck::minimumDeltaE(), 25);
    QSettings().setValue(QStringLiteral("readability/minimumDeltaE"), QStringLiteral("a lot"));
    EXPECT_EQ(StateCheck::minimumDeltaE(), 10);
    QSettings().remove(QStringLiteral("readability/minimumDeltaE"));
    // A pair that passes at 10 fails once the user asks for more: a difference of ΔE 0 fails any
    // positive minimum, and none passes a minimum above the largest difference of two colours.
    FormModel form;
    AddColored(form, "TPalmoOnOffButton", "Switch", {{"Appearance.OnColor", "DodgerBlue"}, {"Appearance.OffColor", "Orange"}});
    EXPECT_TRUE(StateCheck::failing(form, 10).empty());
    EXPECT_EQ(StateCheck::failing(form, 200).size(), 3u);
}

}  // namespace
