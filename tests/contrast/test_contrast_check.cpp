// The pairs each control class declares, and the checker: a form built with exactly three pairs
// below 4.5:1 lists exactly those, a text colour's worst background, the web colour to try, and
// the words of a warning.
#include "core/ContrastCheck.h"
#include "ContrastForms.h"
#include "core/ControlClasses.h"
#include "core/FormModel.h"

#include "host/palmo/PalmoControls.h"
#include "host/palmo/PalmoFactory.h"
#include "host/vcl/Contrast.h"
#include "host/vcl/ColorType.h"
#include "host/vcl/Graphics.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <memory>

namespace {

using Pairs = std::vector<TextPair>;

Pairs PairsOfClass(const char* ClassName)
{
    const std::unique_ptr<TPalmoControl> Control = CreatePalmoControl(QLatin1String(ClassName));
    return textPairsOf(*Control);
}

int WebIndex(const char* Name)
{
    for (int i = 0; i < WebColorCount; ++i)
        if (CVColors[i].Name == QLatin1String(Name))
            return i;
    return -1;
}

TEST(TextPairs, EachClassDeclaresWhatItDrawsAsText)
{
    EXPECT_EQ(PairsOfClass("TPalmoButton"), (Pairs{{"Appearance.TextColor", "Appearance.Color"},
                                                   {"Appearance.TextColor", "Appearance.PressedColor"}}));
    EXPECT_EQ(PairsOfClass("TPalmoListItem"), (Pairs{{"Appearance.TextColor", "Appearance.Color"},
                                                     {"Appearance.TextColor", "Appearance.SelectedColor"},
                                                     {"Appearance.DetailTextColor", "Appearance.Color"},
                                                     {"Appearance.DetailTextColor", "Appearance.SelectedColor"}}));
    EXPECT_EQ(PairsOfClass("TPalmoPopup"), (Pairs{{"Appearance.TitleColor", "Appearance.Color"},
                                                  {"Appearance.TextColor", "Appearance.Color"}}));
    // The switch's captions, in black or white chosen for each track colour; the others draw no text.
    EXPECT_EQ(PairsOfClass("TPalmoOnOffButton"), (Pairs{{"OnText", "Appearance.OnColor", true},
                                                        {"OffText", "Appearance.OffColor", true}}));
    EXPECT_TRUE(PairsOfClass("TPalmoTrackbar").empty());
    EXPECT_TRUE(PairsOfClass("TPalmoPageIndicator").empty());
}

TEST(TextPairs, TheSpinnersSlotsRepeatForEveryItem)
{
    TPalmoSpinner Spinner;
    EXPECT_EQ(controlClassOf(Spinner)->textPairs.size(), 4u);
    Spinner.Slots()->SetCount(2);
    EXPECT_EQ(textPairsOf(Spinner), (Pairs{{"Appearance.TextColor", "Appearance.Color"},
                                           {"Appearance.TextColor", "Appearance.SelectionColor"},
                                           {"Slots[0].TextColor", "Slots[0].Color"},
                                           {"Slots[1].TextColor", "Slots[1].Color"},
                                           {"Slots[0].SelectedTextColor", "Appearance.SelectionColor"},
                                           {"Slots[1].SelectedTextColor", "Appearance.SelectionColor"}}));
    Spinner.Slots()->SetCount(0);
    EXPECT_EQ(textPairsOf(Spinner).size(), 2u);
}

// Every declared path is a colour property of its class, so no pair is silently dropped.
TEST(TextPairs, EveryDeclaredPairIsChecked)
{
    for (const QString& ClassName : PalmoControlClasses()) {
        const std::unique_ptr<TPalmoControl> Control = CreatePalmoControl(ClassName);
        EXPECT_EQ(ContrastCheck::pairsOf(*Control).size(), textPairsOf(*Control).size()) << ClassName.toStdString();
    }
}

// A freshly added control of any class passes the check: the defaults set the example.
TEST(ContrastCheck, EveryClassesDefaultsPass)
{
    FormModel Form;
    for (const QString& ClassName : PalmoControlClasses())
        Form.add(ClassName);
    for (const ContrastPair& Pair : ContrastCheck::failing(Form))
        ADD_FAILURE() << ContrastCheck::describe(Pair).toStdString();
}

TEST(ContrastCheck, AFormWithThreeFailingPairsListsExactlyThose)
{
    FormModel Form;
    ASSERT_TRUE(BuildThreeFailures(Form));
    const std::vector<ContrastPair> Failing = ContrastCheck::failing(Form);
    ASSERT_EQ(Failing.size(), 3u);
    EXPECT_EQ(Failing[0].control, Form.find("Button"));
    EXPECT_EQ(Failing[0].textPath, "Appearance.TextColor");
    EXPECT_EQ(Failing[0].backgroundPath, "Appearance.PressedColor");
    EXPECT_NEAR(Failing[0].ratio, 3.8253, 1e-3);  // black on #696969: (0.141263 + 0.05)/0.05
    EXPECT_EQ(Failing[1].control, Form.find("List"));
    EXPECT_EQ(Failing[1].textPath, "Appearance.DetailTextColor");
    EXPECT_EQ(Failing[1].backgroundPath, "Appearance.Color");
    EXPECT_NEAR(Failing[1].ratio, 3.9494, 1e-3);  // #808080 on white
    EXPECT_EQ(Failing[2].control, Form.find("List"));
    EXPECT_EQ(Failing[2].textPath, "Appearance.DetailTextColor");
    EXPECT_EQ(Failing[2].backgroundPath, "Appearance.SelectedColor");
    EXPECT_NEAR(Failing[2].ratio, 1.0, 1e-12);
    EXPECT_EQ(Failing[2].textValue, "Gray");
    EXPECT_EQ(Failing[2].backgroundValue, "Gray");

    // Mending one colour through a property write removes its pairs.
    ASSERT_TRUE(SetColor(*Form.find("List"), "Appearance.DetailTextColor", "Black"));
    EXPECT_EQ(ContrastCheck::failing(Form).size(), 1u);
}

TEST(ContrastCheck, WorstRatioOfOneTextColour)
{
    FormModel Form;
    ASSERT_TRUE(BuildThreeFailures(Form));
    TPalmoControl& List = *Form.find("List");
    const std::optional<ContrastPair> Text = ContrastCheck::worst(List, "Appearance.TextColor");
    ASSERT_TRUE(Text);
    EXPECT_EQ(Text->backgroundPath, "Appearance.SelectedColor");
    EXPECT_NEAR(Text->ratio, 5.3172, 1e-3);  // black on #808080, better than 21:1 on white
    const std::optional<ContrastPair> Detail = ContrastCheck::worst(List, "Appearance.DetailTextColor");
    ASSERT_TRUE(Detail);
    EXPECT_NEAR(Detail->ratio, 1.0, 1e-12);
    EXPECT_FALSE(ContrastCheck::worst(List, "Appearance.SeparatorColor"));
}

// Within the family (neutral for greys; hue within 30 degrees otherwise) the nearest colour that
// reaches 4.5:1; a neutral colour when the family has none.
TEST(ContrastCheck, SuggestsTheNearestWebColourOfTheSameFamily)
{
    // Greys on white: #808080 fails, DimGray #696969 passes with 5.49:1 and is the nearest grey.
    EXPECT_EQ(ContrastCheck::suggestion(0x808080, clWhite), WebIndex("DimGray"));
    // Red #FF0000 on white (4.00:1): Crimson #DC143C (hue 348, 4.99:1) is nearer than FireBrick.
    EXPECT_EQ(ContrastCheck::suggestion(clRed, clWhite), WebIndex("Crimson"));
    // Yellow on white: of the hues 30 to 90 degrees only DarkOliveGreen (82, 5.95:1) passes.
    EXPECT_EQ(ContrastCheck::suggestion(clYellow, clWhite), WebIndex("DarkOliveGreen"));
    // On #777777 nothing coloured reaches 4.5:1; black does (4.69:1).
    EXPECT_EQ(ContrastCheck::suggestion(clRed, 0x777777), WebIndex("Black"));
    // Whatever the colours, a suggestion exists and passes.
    for (const TColor Background : {clWhite, clBlack, TColor(0x777777), TColor(0x2080C0), clBtnFace})
        for (const TColor Text : {clRed, clWhite, clBlack, TColor(0x40E0D0), clHighlight}) {
            const int Index = ContrastCheck::suggestion(Text, Background);
            ASSERT_GE(Index, 0);
            EXPECT_GE(ContrastRatio(CVColors[Index].Value, Background), MinimumTextContrast);
        }
}

TEST(ContrastCheck, RatiosAreCutNeverRoundedUp)
{
    EXPECT_EQ(ContrastCheck::ratioText(21.0), "21:1");
    EXPECT_EQ(ContrastCheck::ratioText(1.05 / 0.05), "21:1");
    EXPECT_EQ(ContrastCheck::ratioText(1.0), "1:1");
    EXPECT_EQ(ContrastCheck::ratioText(4.5), "4.5:1");
    EXPECT_EQ(ContrastCheck::ratioText(4.4999), "4.49:1");
    EXPECT_EQ(ContrastCheck::ratioText(4.478089), "4.47:1");
}

TEST(ContrastCheck, AWarningNamesTheControlBothPropertiesTheRatioAndWhatToTry)
{
    FormModel Form;
    ASSERT_TRUE(BuildThreeFailures(Form));
    const std::vector<ContrastPair> Failing = ContrastCheck::failing(Form);
    ASSERT_EQ(Failing.size(), 3u);
    EXPECT_EQ(ContrastCheck::describe(Failing[1]),
              "List Appearance.DetailTextColor (Gray) on Appearance.Color (White) has contrast 3.94:1, below 4.5:1; try DimGray");
}

// The switch's caption as the preview paints it is the colour its declared pair is checked with,
// and reads: on the default LimeGreen it is black (9.9:1; white would be 2.12:1), on LightGray too.
// The caption's colour is the pixel between the track's rounded end and the knob that stands out
// most from the track (its letters' edges are blends of the two).
TEST(TextPairs, TheSwitchsCaptionIsPaintedAsItsPairIsChecked)
{
    for (const bool On : {true, false}) {
        TPalmoOnOffButton Switch;
        Switch.Appearance()->FChecked = On;
        Switch.FWidth = 80;
        Switch.FHeight = 30;
        QImage Image(Switch.FWidth, Switch.FHeight, QImage::Format_RGB32);
        Image.fill(Qt::white);
        {
            QPainter Painter(&Image);
            paintControl(Painter, Switch, QRectF(0, 0, Switch.FWidth, Switch.FHeight));
        }
        const TCVColor Track = On ? Switch.Appearance()->FOnColor : Switch.Appearance()->FOffColor;
        const QRgb TrackPixel = QColorOf(Track.Value).rgb();
        // The caption sits on the side away from the knob: left when on, right when off.
        const int From = On ? 16 : 46, To = On ? 52 : 66;
        TColor Caption = TColorOfPixel(TrackPixel);
        for (int Y = 8; Y < 22; ++Y)
            for (int X = From; X < To; ++X) {
                const TColor Here = TColorOfPixel(Image.pixel(X, Y));
                if (ContrastRatio(Here, Track.Value) > ContrastRatio(Caption, Track.Value))
                    Caption = Here;
            }
        const std::vector<ContrastPair> Declared = ContrastCheck::pairsOf(Switch);
        const auto Pair = std::find_if(Declared.begin(), Declared.end(), [&](const ContrastPair& P) {
            return P.textPath == (On ? "OnText" : "OffText");
        });
        ASSERT_NE(Pair, Declared.end());
        EXPECT_EQ(Caption, Pair->text) << (On ? "on" : "off");
        EXPECT_EQ(Caption, clBlack) << (On ? "on" : "off");
        EXPECT_GE(ContrastRatio(Caption, Track.Value), MinimumTextContrast);
    }
}

}  // namespace
