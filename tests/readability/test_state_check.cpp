// What the readability report finds: the state pairs each class declares pass at their defaults,
// and one table of pairs with the kinds each must and must not fail, its measures worked by hand
// from the WCAG formula or taken from a published colour-blind-safe palette.
#include "core/ControlClasses.h"
#include "core/FormProperties.h"
#include "core/FormModel.h"
#include "core/Readability.h"
#include "core/StateCheck.h"
#include "contrast/ContrastForms.h"

#include "host/palmo/PalmoFactory.h"
#include "host/vcl/Graphics.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
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
        EXPECT_EQ(StateCheck::pairsOf(*control).size(), statePairsOf(*control).size()) << controlClass->name().toStdString();
        // A fresh switch's LimeGreen #32CD32 (luminance 0.446) and LightGray #D3D3D3 (0.651) are
        // 1.41:1 apart: without colour only the knob tells on from off.
        for (const Finding& finding : Readability::findingsOf(*control, {}))
            if (finding.kind != FindingKind::WithoutColour || controlClass->name() != "TPalmoOnOffButton")
                ADD_FAILURE() << Readability::describe(finding).toStdString();
            else
                EXPECT_EQ(Readability::measureText(finding), "luminance 1.41:1 < 1.5:1 without colour");
    }
}

// The kinds a finding can fail under: each dichromacy, and without colour.
enum Fails { Protan, Deutan, Tritan, NoColour };

std::set<Fails> KindsOf(const std::vector<Finding>& findings)
{
    std::set<Fails> kinds;
    for (const Finding& finding : findings)
        if (finding.kind == FindingKind::WithoutColour)
            kinds.insert(NoColour);
        else if (finding.kind == FindingKind::StateDifference)
            kinds.insert(finding.vision == Vision::Protanopia ? Protan : finding.vision == Vision::Deuteranopia ? Deutan : Tritan);
    return kinds;
}

// Luminances by the WCAG formula: #56B4E9 0.405 and #E69F00 0.416 (1.02:1); #0072B2 0.153 and
// #E69F00 (2.27:1); Red 0.2126 and #009400 0.2118, red and green of one luminance (1.00:1);
// #336699 and #336698 one level apart; White 1 and Black 0 (21:1). The palette's pairs are
// published as told apart by every dichromat, so they pass every dichromacy, whatever their
// lightness says without colour; red and green of one luminance are what deuteranopes confuse
// (a protanope sees the red darker) and what blue-yellow blindness keeps apart.
TEST(Readability, EachPairFailsExactlyUnderWhatItMeasures)
{
    const std::set<Fails> All{Protan, Deutan, Tritan, NoColour};
    const struct {
        const char* on;
        const char* off;
        std::set<Fails> mustFail;
        std::set<Fails> mustPass;
    } cases[] = {
        {"#56B4E9", "#E69F00", {NoColour}, {Protan, Deutan, Tritan}},
        {"#0072B2", "#E69F00", {}, All},
        {"Red", "#009400", {Deutan, NoColour}, {Tritan}},
        {"#336699", "#336698", All, {}},
        {"White", "Black", {}, All},
    };
    for (const auto& c : cases) {
        FormModel form;
        TPalmoControl* control =
            AddColored(form, "TPalmoOnOffButton", "Switch", {{"Appearance.OnColor", c.on}, {"Appearance.OffColor", c.off}});
        ASSERT_TRUE(control) << c.on;
        const std::vector<Finding> findings = Readability::findings(form, {});
        const std::set<Fails> failing = KindsOf(findings);
        for (const Fails kind : c.mustFail)
            EXPECT_TRUE(failing.count(kind)) << c.on << "/" << c.off << " must fail " << kind;
        for (const Fails kind : c.mustPass)
            EXPECT_FALSE(failing.count(kind)) << c.on << "/" << c.off << " must pass " << kind;
        // Every finding names its measure below its threshold, and is about the switch's pair.
        for (const Finding& finding : findings) {
            EXPECT_LT(finding.measure, finding.threshold);
            EXPECT_EQ(finding.firstPath, QStringLiteral("Appearance.OnColor"));
            EXPECT_TRUE(Readability::concerns(finding, QStringLiteral("Appearance.OffColor")));
        }
    }
}

TEST(Readability, AFindingSaysItsMeasureAndThreshold)
{
    FormModel form;
    AddColored(form, "TPalmoOnOffButton", "Sw", {{"Appearance.OnColor", "#56B4E9"}, {"Appearance.OffColor", "#E69F00"}});
    AddColored(form, "TPalmoButton", "Dim", {{"Appearance.Color", "White"}, {"Appearance.PressedColor", "Black"},
                                             {"Appearance.TextColor", "Gray"}});
    const std::vector<Finding> findings = Readability::findings(form, {});
    ASSERT_EQ(findings.size(), 2u);
    EXPECT_EQ(Readability::measureText(findings[0]), "luminance 1.02:1 < 1.5:1 without colour");
    EXPECT_EQ(Readability::markText(findings[0]), "1.02:1 < 1.5:1");
    // Gray #808080 on White: (1.05) / (0.2159 + 0.05) = 3.949.
    EXPECT_EQ(Readability::describe(findings[1]),
              "Dim Appearance.TextColor (Gray) on Appearance.Color (White): contrast 3.94:1 < 4.5:1");

    // The thresholds are values: a larger ΔE fails the palette's pair under every dichromacy (none
    // is above 100 in sRGB), a luminance ratio of 1:1 fails nothing.
    const ReadabilityThresholds strict{100, 1};
    const std::vector<Finding> strictly = Readability::findings(form, strict);
    EXPECT_EQ(KindsOf(strictly), (std::set<Fails>{Protan, Deutan, Tritan}));
    EXPECT_EQ(Readability::measureText(strictly[0]).right(22), "< 100 under protanopia");
}

// The Readability view measures again only the pairs with a colour where values changed: for
// every class (a spinner with slots among them), runs of random colours at one or two colour
// paths, and a change of the slots' Count, must leave the findings a full measure finds.
TEST(Readability, FindingsAfterAChangeAtSomePathsAreThoseMeasuredAfresh)
{
    // Near and far colours, so that pairs come to fail and to pass.
    const TColor colours[] = {0x000000, 0xFFFFFF, 0x808080, 0x888888, 0x0000FF, 0x0000F0, 0x00FF00, 0xE9B456, clBtnFace};
    std::mt19937 random(7);
    for (const ControlClass* controlClass : controlClasses()) {
        const std::unique_ptr<TPalmoControl> control = controlClass->create();
        if (const std::optional<FormProperty> count = propertyAt(control.get(), QStringLiteral("Slots.Count")))
            count->property.write(count->owner, 3);
        for (int round = 0; round < 200; ++round) {
            std::vector<FormProperty> colourProperties;
            for (const FormProperty& property : propertiesOf(control.get()))
                if (kindOf(property.property) == ValueKind::FrameworkColor || kindOf(property.property) == ValueKind::ToolkitColor)
                    colourProperties.push_back(property);
            ASSERT_FALSE(colourProperties.empty()) << controlClass->name().toStdString();
            const std::vector<Finding> before = Readability::findingsOf(*control, {});
            QStringList paths;
            if (round % 50 == 49 && propertyAt(control.get(), QStringLiteral("Slots.Count"))) {
                const std::optional<FormProperty> count = propertyAt(control.get(), QStringLiteral("Slots.Count"));
                count->property.write(count->owner, 1 + round % 4);
                paths << count->path;
            } else {
                for (int i = 0; i < 1 + round % 2; ++i) {
                    const FormProperty& property = colourProperties[random() % colourProperties.size()];
                    const TColor colour = colours[random() % std::size(colours)];
                    property.property.write(property.owner, kindOf(property.property) == ValueKind::FrameworkColor
                                                                ? QVariant::fromValue(TCVColor{colour})
                                                                : QVariant::fromValue(TColorValue{colour}));
                    paths << property.path;
                }
            }
            EXPECT_EQ(Readability::findingsAfter(*control, {}, before, paths), Readability::findingsOf(*control, {}))
                << controlClass->name().toStdString() << " after " << paths.join(u',').toStdString();
        }
    }
}

}  // namespace
