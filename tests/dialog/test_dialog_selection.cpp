// The selected identifier: a name shows in the label and the selection swatch only; a number
// also loads the custom page; anything else is refused after the label has changed.
#include "DialogTestSupport.h"

#include "host/cvcolor/CVColor.h"
#include "host/vcl/Graphics.h"

using namespace dialogtest;

namespace {

class SelectionTest : public DialogTest {
protected:
    // True when the selection swatch shows Color over its painted part, and the form's face in
    // the right column and bottom row, which its paint leaves untouched.
    ::testing::AssertionResult SwatchShows(TColor Color)
    {
        const QImage& Image = Form.PaintBoxSelection->Image();
        if (Image.size() != QSize(25, 25))
            return ::testing::AssertionFailure() << "swatch image is " << Image.width() << "x" << Image.height();
        const QRgb Expected = Rgb(ColorToRGB(Color));
        for (int Y = 0; Y < 24; ++Y)
            for (int X = 0; X < 24; ++X)
                if (Pixel(Image, X, Y) != Expected)
                    return ::testing::AssertionFailure()
                           << "pixel " << X << "," << Y << " is " << Hex(Pixel(Image, X, Y)) << ", not " << Hex(Expected);
        const QRgb Face = Rgb(ColorToRGB(clBtnFace));
        if (Pixel(Image, 24, 10) != Face || Pixel(Image, 10, 24) != Face)
            return ::testing::AssertionFailure() << "the right column and bottom row show the form's face";
        return ::testing::AssertionSuccess();
    }

    // Makes the custom page show something other than its defaults, as a user might have.
    void ComposeSomething()
    {
        Focus(Form.editRed);
        Retype(Form.editRed, "10");
        ASSERT_EQ(Red(Form), 10);
    }
};

// Names that the framework's lookup knows, and the colour each stands for.
struct NameRow {
    const char* Name;
    TColor Color;
};

TEST_F(SelectionTest, ANameChangesOnlyTheLabelAndTheSwatch)
{
    ShowOn(0);
    ComposeSomething();
    const NameRow Rows[] = {
        {"Tomato", 0x004763FF},
        {"tomato", 0x004763FF},
        {"LightGoldenrodYellow", 0x00D2FAFA},
        {"clRed", clRed},
        {"clBtnFace", clBtnFace},
        {"clMoneyGreen", clMoneyGreen},
    };
    for (int Page : {0, 1, 2}) {
        Form.PageControl1->SetActivePageIndex(Page);
        for (const NameRow& Row : Rows) {
            SCOPED_TRACE(std::string(Row.Name) + " on page " + std::to_string(Page));
            const std::vector<String> Entries = EntryTexts();
            const int Picked = PickedColor(Form);
            Form.SetSelectedIdentifier(Row.Name);
            EXPECT_EQ(Form.SelectedIdentifier(), Row.Name);
            EXPECT_EQ(Form.LabelIdent->Caption(), String("Identifier: ") + Row.Name);
            EXPECT_EQ(SelectedColor(Form), Row.Color);
            EXPECT_TRUE(SwatchShows(Row.Color));
            EXPECT_EQ(Form.PageControl1->ActivePageIndex(), Page) << "the page stays";
            EXPECT_EQ(EntryTexts(), Entries) << "the custom page stays";
            EXPECT_EQ(PickedColor(Form), Picked);
        }
    }
    // The label shows the whole caption, however long the name.
    const QString Caption = Form.LabelIdent->Caption();
    EXPECT_GE(Form.LabelIdent->width(), Form.LabelIdent->fontMetrics().horizontalAdvance(Caption));
}

// Number texts and what the custom page shows for them.
struct NumberRow {
    const char* Identifier;
    TColor Color;
    std::vector<String> Entries; // hue, sat, bright, red, green, blue
};

TEST_F(SelectionTest, ANumberSwitchesToCustomColorsAndLoadsTheEntries)
{
    const NumberRow Rows[] = {
        {"$00BFBFBF", 0x00BFBFBF, {"0", "0", "150", "191", "191", "191"}},
        {"$00336699", 0x00336699, {"17", "133", "120", "153", "102", "51"}},
        {"$000000ff", 0x000000FF, {"0", "200", "200", "255", "0", "0"}},
        {"255", 0x000000FF, {"0", "200", "200", "255", "0", "0"}},
        {"$00000000", 0, {"0", "0", "0", "0", "0", "0"}},
        {"$0001FF00", 0x0001FF00, {"67", "200", "200", "0", "255", "1"}},
    };
    for (const NumberRow& Row : Rows) {
        SCOPED_TRACE(Row.Identifier);
        ShowOn(0);
        ComposeSomething();
        Form.SetSelectedIdentifier(Row.Identifier);
        EXPECT_EQ(Form.PageControl1->ActivePageIndex(), 2);
        EXPECT_EQ(Form.SelectedIdentifier(), Row.Identifier);
        EXPECT_EQ(Form.LabelIdent->Caption(), String("Identifier: ") + Row.Identifier);
        EXPECT_EQ(SelectedColor(Form), Row.Color);
        EXPECT_EQ(EntryTexts(), Row.Entries);
        EXPECT_EQ(PickedColor(Form), Row.Color);
        EXPECT_TRUE(SwatchShows(Row.Color));
        QApplication::processEvents();
        EXPECT_EQ(Hex(Pixel(Form.PaintBoxPickedColor->Image(), 12, 12)), Hex(Rgb(Row.Color)));
    }
}

TEST_F(SelectionTest, ANumberOnCustomColorsStaysThere)
{
    ShowOn(2);
    Form.SetSelectedIdentifier("$00BFBFBF");
    EXPECT_EQ(Form.PageControl1->ActivePageIndex(), 2);
    EXPECT_EQ(Bright(Form), 150);
    EXPECT_EQ(Form.TrackBright->Position(), 150);
}

TEST_F(SelectionTest, ATextThatIsNeitherIsRefusedAfterTheLabelChanged)
{
    ShowOn(1);
    Form.SetSelectedIdentifier("Tomato");
    ComposeSomething();
    Form.PageControl1->SetActivePageIndex(1);
    for (const char* Text : {"nonsense", "", "$", "12a", "$1FFFFFFFF", "#12"}) {
        SCOPED_TRACE(std::string("'") + Text + "'");
        const std::vector<String> Entries = EntryTexts();
        EXPECT_THROW(Form.SetSelectedIdentifier(Text), EConvertError);
        EXPECT_EQ(Form.SelectedIdentifier(), Text);
        EXPECT_EQ(Form.LabelIdent->Caption(), String("Identifier: ") + Text);
        EXPECT_TRUE(SwatchShows(0x004763FF)) << "the swatch is not repainted";
        if (*Text) {
            // While the identifier is not empty the swatch paints the selected colour.
            Form.PaintBoxSelection->Repaint();
            EXPECT_TRUE(SwatchShows(0x004763FF)) << "the colour of the last good name is left";
        }
        EXPECT_EQ(Form.PageControl1->ActivePageIndex(), 1);
        EXPECT_EQ(EntryTexts(), Entries);
        EXPECT_FALSE(GuardIsUp(Form));
    }
}

TEST_F(SelectionTest, ASystemColourNumberKeepsItsValueButLoadsItsBytes)
{
    ShowOn(2);
    // A value with the top byte set names a system colour; the entries take its low bytes as
    // they are.
    const TColor Value = clBtnFace;
    const String Text = String("$") + IntToHex(Value, 8);
    Form.SetSelectedIdentifier(Text);
    EXPECT_EQ(SelectedColor(Form), Value);
    EXPECT_EQ(Red(Form), Value & 0xFF);
    EXPECT_EQ(Green(Form), 0);
    EXPECT_EQ(Blue(Form), 0);
    EXPECT_EQ(PickedColor(Form), Value & 0xFF) << "the picked colour is composed from the bytes";
    EXPECT_TRUE(SwatchShows(Value)) << "the selection shows the system colour";
}

} // namespace
