// Values a form file allows, at their extremes, as a user sees them: controls anywhere in int's
// range are painted, outlined and hit-tested without overflow (the sanitizer build halts on one);
// a track bar whose Min and Max span the whole range shows its position in proportion; and a text
// of millions of characters is shown cut to its cell, in the inspector and in the preview.
#include "core/FormModel.h"
#include "views/PreviewWidget.h"
#include "views/PropertyDelegate.h"
#include "support/DesignerSupport.h"

#include "host/palmo/PalmoControls.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTest>

#include <limits>

namespace {

constexpr int Lowest = std::numeric_limits<int>::min();
constexpr int Highest = std::numeric_limits<int>::max();
// A track bar's colours, written out by hand: the part done, the rest.
const QRgb DarkOrange = qRgb(0xFF, 0x8C, 0x00);
const QRgb Gainsboro = qRgb(0xDC, 0xDC, 0xDC);
const QRgb RoyalBlue = qRgb(65, 105, 225);  // a button's body

TPalmoControl* Place(FormModel& Form, const char* Class, qint64 Left, qint64 Top, qint64 Width, qint64 Height)
{
    TPalmoControl* Control = Form.add(QString::fromLatin1(Class));
    Control->FLeft = static_cast<int>(Left);
    Control->FTop = static_cast<int>(Top);
    Control->FWidth = static_cast<int>(Width);
    Control->FHeight = static_cast<int>(Height);
    return Control;
}

TEST(EdgeValues, ControlsAtTheEndsOfIntsRangePaintAndTrackBarsSpanIt)
{
    FormModel Form;
    // Covering the whole view from far outside it, then the corners of the range.
    TPalmoControl* Cover = Place(Form, "TPalmoButton", Lowest / 2, Lowest / 2, Highest, Highest);
    Place(Form, "TPalmoButton", 2147483600, 2147483600, 100, 100);
    Place(Form, "TPalmoButton", Highest, Highest, Highest, Highest);
    Place(Form, "TPalmoButton", Lowest, Lowest, Highest, Highest);
    Place(Form, "TPalmoButton", Lowest, 10, Lowest, Lowest);
    // Min and Max at the ends of the range: position 0 is halfway, Max is the end.
    auto* Halfway = static_cast<TPalmoTrackbar*>(Place(Form, "TPalmoTrackbar", 40, 200, 200, 30));
    auto* AtMax = static_cast<TPalmoTrackbar*>(Place(Form, "TPalmoTrackbar", 40, 240, 200, 30));
    for (TPalmoTrackbar* Bar : {Halfway, AtMax}) {
        Bar->FMin = Lowest;
        Bar->FMax = Highest;
    }
    Halfway->Appearance()->FPosition = 0;
    AtMax->Appearance()->FPosition = Highest;

    PreviewWidget Preview(&Form);
    Preview.resize(400, 300);
    Preview.setSelection(Form.controls());  // every outline and grab handle
    Preview.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Preview));
    const QImage Image = Preview.grab().toImage();

    EXPECT_EQ(Image.pixel(300, 100), RoyalBlue) << "the covering button fills the view";
    // Halfway: the track's centre line (y 215) is done up to x 140 of 52 … 228.
    EXPECT_EQ(Image.pixel(100, 215), DarkOrange);
    EXPECT_EQ(Image.pixel(200, 215), Gainsboro);
    EXPECT_EQ(Image.pixel(200, 255), DarkOrange) << "at Max the whole track is done";

    // The pointer over the view hit-tests every body and handle; a click selects the cover.
    QTest::mouseMove(&Preview, QPoint(300, 100));
    Preview.setSelection({});
    QTest::mouseClick(&Preview, Qt::LeftButton, {}, QPoint(300, 100));
    Preview.setSelection({Cover});
    Preview.grab();
}

TEST(EdgeValues, AHugeTextIsShownCutToItsCell)
{
    MainWindow Window(QStringLiteral(CV_PACKAGE_PATH));
    ASSERT_TRUE(Window.loader().isLoaded());
    auto* Button = static_cast<TPalmoButton*>(Window.addControl(QStringLiteral("TPalmoButton")));
    ASSERT_TRUE(Button);
    // As long as a form file may hold (16 MiB), in one line of one letter.
    const QString Huge(16 * 1024 * 1024, QLatin1Char('W'));
    Button->setProperty("Hint", Huge);
    Button->Appearance()->FCaption = Huge;
    Window.setSelection({Button});
    Window.resize(900, 700);
    Window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
    Window.grab();  // paints the inspector and the preview with both texts

    PropertyInspector& Inspector = *Window.inspector();
    for (const char* Path : {"Hint", "Appearance.Caption"}) {
        SCOPED_TRACE(Path);
        const QModelIndex Value = Inspector.valueIndex(Inspector.rowOf(QString::fromLatin1(Path)));
        ASSERT_TRUE(Value.isValid());
        ASSERT_EQ(Value.data().toString().size(), Huge.size()) << "the value itself stays whole";
        QStyleOptionViewItem Option;
        Option.initFrom(Inspector.view());
        Option.rect = QRect(0, 0, 300, 20);
        // Measured for what could show, a character a pixel at the least: a cell measured for its
        // whole text would ask for millions of pixels.
        const QVariant RowFont = Value.data(Qt::FontRole);  // bold once changed
        const QFontMetrics Metrics(RowFont.isValid() ? RowFont.value<QFont>() : Option.font);
        const int Shown = (Option.rect.width() + 2) * Metrics.horizontalAdvance(QLatin1Char('W'));
        EXPECT_LT(Inspector.view()->itemDelegate()->sizeHint(Option, Value).width(), Shown + 100);
    }
}

}  // namespace
