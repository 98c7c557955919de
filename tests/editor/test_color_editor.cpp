// The colour property editor: value texts, the value list, typed names and numbers, and the
// swatch it draws, read back from pixels.
#include "editor/CVKZLMOBILEDsnColor.h"
#include "host/cvcolor/CVColor.h"
#include "host/palmo/PalmoBase.h"
#include "host/vcl/ColorType.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPalette>
#include <QPainter>

namespace {

QMetaProperty PropertyOf(QObject* object, const char* name)
{
    const QMetaObject* meta = object->metaObject();
    return meta->property(meta->indexOfProperty(name));
}

TColor PixelColor(const QImage& image, int x, int y)
{
    return TColorOf(image.pixelColor(x, y));
}

class ColorEditorTest : public ::testing::Test {
protected:
    TPalmoButtonAppearance Button;
    TCVKZLMOBILEColorEditor Editor{nullptr, {&Button}, PropertyOf(&Button, "Color")};
};

TEST_F(ColorEditorTest, WebNamesComeFirstAndAreCaseInsensitive)
{
    Editor.SetValue("tomato");
    int Tomato = 0;
    ASSERT_TRUE(IdentToCVColor("Tomato", Tomato));
    EXPECT_EQ(Button.FColor.Value, Tomato);
    EXPECT_EQ(Editor.GetValue(), "Tomato");
}

TEST_F(ColorEditorTest, OtherTextsFallThroughToTheColourEditor)
{
    Editor.SetValue("clBtnFace");
    EXPECT_EQ(Button.FColor.Value, clBtnFace);
    EXPECT_EQ(Editor.GetValue(), "clBtnFace");

    Editor.SetValue("$00BFBFBF");
    EXPECT_EQ(Button.FColor.Value, 0xBFBFBF);
    Editor.SetValue("1193046");
    EXPECT_EQ(Button.FColor.Value, 0x123456);
    EXPECT_EQ(Editor.GetValue(), "$00123456");
    Editor.SetValue("#FF8000");
    EXPECT_EQ(Button.FColor.Value, 0x0080FF);
}

TEST_F(ColorEditorTest, RefusedTextsRaiseAndChangeNothing)
{
    Editor.SetValue("$00010203");
    const QString Long(10000, QChar('7'));
    for (const QString& Bad : {QString(), QString(" "), QString("+5"), QString("$"), QString("$GG"),
                               QString("12a"), QString("99999999999"), QString("$100000000"), Long,
                               QString::fromUtf8("\u0661\u0662"), QString("no such colour")}) {
        EXPECT_THROW(Editor.SetValue(Bad), EPropertyError) << Bad.left(20).toStdString();
        EXPECT_EQ(Button.FColor.Value, 0x010203);
    }
}

TEST_F(ColorEditorTest, ValueListHasTheToolkitNamesThenTheWebNames)
{
    QStringList Toolkit;
    GetColorValues([&](const String& S) { Toolkit << S; });
    QStringList Listed;
    Editor.GetValues([&](const String& S) { Listed << S; });
    ASSERT_EQ(Listed.size(), Toolkit.size() + CVColorCount);
    EXPECT_EQ(Listed.mid(0, Toolkit.size()), Toolkit);
    for (int I = 0; I < CVColorCount; ++I)
        EXPECT_EQ(Listed[Toolkit.size() + I], CVColors[I].Name);
}

TEST(BorderColorFor, LightDarkAndSelected)
{
    EXPECT_EQ(BorderColorFor(0x0000C1, false), clBlack);  // red 193
    EXPECT_EQ(BorderColorFor(0x00C100, true), clBlack);   // green 193
    EXPECT_EQ(BorderColorFor(0xC10000, false), clBlack);  // blue 193
    EXPECT_EQ(BorderColorFor(0xC0C0C0, false), 0xC0C0C0); // 192 is not light
    EXPECT_EQ(BorderColorFor(0xC0C0C0, true), clWhite);
    EXPECT_EQ(BorderColorFor(0x102030, true), clWhite);
    EXPECT_EQ(BorderColorFor(0x102030, false), 0x102030);
}

// Draws one value-list line into an image with a grey background and returns the image.
QImage DrawLine(TCVKZLMOBILEColorEditor& Editor, const QString& Value, bool Selected)
{
    QImage Image(120, 16, QImage::Format_RGB32);
    Image.fill(QColor(0x80, 0x80, 0x80));
    TCanvas Canvas(Image);
    Canvas.Brush.Color = 0x808080;
    Canvas.Pen.Color = clRed;
    Editor.ListDrawValue(Value, Canvas, Rect(0, 0, 120, 16), Selected);
    EXPECT_EQ(Canvas.Pen.Color, clRed) << "pen restored";
    EXPECT_EQ(Canvas.Brush.Color, 0x808080) << "brush restored";
    return Image;
}

TEST_F(ColorEditorTest, SwatchBorderFollowsTheColour)
{
    struct Case {
        QString Value;
        bool Selected;
        TColor Border;
        TColor Fill;
    };
    const Case Cases[] = {
        {"$00C1C1C1", false, clBlack, 0xC1C1C1},  // a channel of 193: light
        {"$00C0C0C0", false, 0xC0C0C0, 0xC0C0C0}, // 192: not light, unselected: its own colour
        {"$00C0C0C0", true, clWhite, 0xC0C0C0},
        {"Navy", true, clWhite, 0x800000},
        {"Navy", false, 0x800000, 0x800000},
        {"Yellow", true, clBlack, 0x00FFFF},
    };
    for (const Case& C : Cases) {
        const QImage Image = DrawLine(Editor, C.Value, C.Selected);
        SCOPED_TRACE(C.Value.toStdString());
        // The swatch is the square at the left: its outer ring keeps the background colour, the
        // border is one pixel in, the fill inside that.
        EXPECT_EQ(PixelColor(Image, 0, 0), 0x808080);
        EXPECT_EQ(PixelColor(Image, 1, 1), C.Border);
        EXPECT_EQ(PixelColor(Image, 14, 8), C.Border);
        EXPECT_EQ(PixelColor(Image, 8, 8), C.Fill);
        EXPECT_EQ(PixelColor(Image, 15, 8), 0x808080);  // right edge of the square left out
    }
}

TEST_F(ColorEditorTest, SystemColoursAreResolvedBeforeTheBorderRule)
{
    const QPalette Saved = QApplication::palette();
    QPalette Dark = Saved;
    Dark.setColor(QPalette::Button, QColor(0x20, 0x20, 0x20));
    QApplication::setPalette(Dark);
    EXPECT_EQ(PixelColor(DrawLine(Editor, "clBtnFace", true), 1, 1), clWhite);
    EXPECT_EQ(PixelColor(DrawLine(Editor, "clBtnFace", true), 8, 8), 0x202020);
    QPalette Light = Saved;
    Light.setColor(QPalette::Button, QColor(0xF0, 0xF0, 0xF0));
    QApplication::setPalette(Light);
    EXPECT_EQ(PixelColor(DrawLine(Editor, "clBtnFace", true), 1, 1), clBlack);
    QApplication::setPalette(Saved);
}

TEST(ColorEditorDrawing, ValueCellIsDrawnSelectedAndWithoutASwatchWhenValuesDiffer)
{
    TPalmoButtonAppearance A, B;
    A.FColor = TCVColor{0x202020};
    B.FColor = TCVColor{0x202020};
    const QMetaProperty Prop = PropertyOf(&A, "Color");
    TCVKZLMOBILEColorEditor Both(nullptr, {&A, &B}, Prop);
    QImage Image(120, 16, QImage::Format_RGB32);
    Image.fill(QColor(0x80, 0x80, 0x80));
    {
        TCanvas Canvas(Image);
        Canvas.Brush.Color = 0x808080;
        Both.PropDrawValue(Canvas, Rect(0, 0, 120, 16), false);
    }
    EXPECT_EQ(PixelColor(Image, 1, 1), clWhite) << "the value cell draws its swatch as selected";
    EXPECT_EQ(PixelColor(Image, 8, 8), 0x202020);

    B.FColor = TCVColor{0x404040};
    EXPECT_TRUE(Both.GetVisualValue().isEmpty());
    Image.fill(QColor(0x80, 0x80, 0x80));
    {
        TCanvas Canvas(Image);
        Canvas.Brush.Color = 0x808080;
        Both.PropDrawValue(Canvas, Rect(0, 0, 120, 16), false);
    }
    EXPECT_EQ(PixelColor(Image, 1, 1), 0x808080) << "no swatch for an empty visual value";
    EXPECT_EQ(PixelColor(Image, 8, 8), 0x808080);
}

}  // namespace
