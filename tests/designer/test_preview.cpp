// The preview driven as a user drives it: clicks, Ctrl-clicks, drags and keys on a shown widget,
// checked by the requests it emits and by the pixels it paints. Expected colours are the named
// colours' RGB values written out by hand; expected places follow from the controls' positions.
#include "core/FormModel.h"
#include "views/PreviewWidget.h"

#include "host/palmo/PalmoControls.h"
#include "host/palmo/PalmoFactory.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>

namespace {

const QRgb Canvas = qRgb(0xF4, 0xF4, 0xF4);
const QRgb Highlight = qRgb(0x1A, 0x5F, 0xD0);
const QRgb White = qRgb(0xFF, 0xFF, 0xFF);
const QRgb RoyalBlue = qRgb(65, 105, 225);  // a button's default colour
const QRgb Tomato = qRgb(0xFF, 0x63, 0x47);
const QRgb LimeGreen = qRgb(0x32, 0xCD, 0x32);
const QRgb LightGray = qRgb(0xD3, 0xD3, 0xD3);
const QRgb DarkOrange = qRgb(0xFF, 0x8C, 0x00);
const QRgb Gainsboro = qRgb(0xDC, 0xDC, 0xDC);

std::string rgbText(QRgb c)
{
    return QStringLiteral("#%1").arg(c & 0xFFFFFF, 6, 16, QLatin1Char('0')).toStdString();
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

class PreviewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Button1 at (40, 40) and Button2 at (200, 40), both 96 × 36 by default.
        Button1 = static_cast<TPalmoButton*>(Form.add(QStringLiteral("TPalmoButton")));
        Button2 = static_cast<TPalmoButton*>(Form.add(QStringLiteral("TPalmoButton")));
        ASSERT_TRUE(Button1 && Button2);
        ASSERT_EQ(Button1->FWidth, 96);
        ASSERT_EQ(Button1->FHeight, 36);
        Button1->FLeft = 40;
        Button1->FTop = 40;
        Button2->FLeft = 200;
        Button2->FTop = 40;
        Preview.resize(420, 520);
        Preview.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Preview));
    }

    QRgb pixel(int x, int y) { return Preview.grab().toImage().pixel(x, y); }
    void expectPixel(int x, int y, QRgb expected)
    {
        const QRgb actual = pixel(x, y) & 0xFFFFFF;
        EXPECT_EQ(rgbText(actual), rgbText(expected & 0xFFFFFF)) << "at (" << x << ", " << y << ")";
    }

    FormModel Form;
    PreviewWidget Preview{&Form};
    TPalmoButton* Button1 = nullptr;
    TPalmoButton* Button2 = nullptr;
};

TEST_F(PreviewTest, ControlAtFindsTheTopmostControlWhoseRectangleHoldsThePoint)
{
    EXPECT_EQ(Preview.controlAt(QPoint(40, 40)), Button1);     // top-left corner is inside
    EXPECT_EQ(Preview.controlAt(QPoint(135, 75)), Button1);    // 40 + 96 - 1, 40 + 36 - 1
    EXPECT_EQ(Preview.controlAt(QPoint(136, 50)), nullptr);    // one past the right edge
    EXPECT_EQ(Preview.controlAt(QPoint(60, 76)), nullptr);     // one past the bottom edge
    EXPECT_EQ(Preview.controlAt(QPoint(10, 10)), nullptr);
    // Button2 moved over Button1's right half: Button2 comes later in the form, so it is on top.
    Button2->FLeft = 100;
    EXPECT_EQ(Preview.controlAt(QPoint(120, 50)), Button2);
    EXPECT_EQ(Preview.controlAt(QPoint(99, 50)), Button1);
}

TEST_F(PreviewTest, ClickOnAControlRequestsIt)
{
    QSignalSpy spy(&Preview, &PreviewWidget::selectionRequested);
    QTest::mouseClick(&Preview, Qt::LeftButton, Qt::NoModifier, QPoint(88, 58));
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).value<TPalmoControl*>(), Button1);
    EXPECT_EQ(spy.at(0).at(1).toBool(), false);
    // The preview does not select by itself: only its owner does, through setSelection.
    EXPECT_TRUE(Preview.selection().empty());
    // The click gave it the keyboard.
    EXPECT_TRUE(Preview.hasFocus());
}

TEST_F(PreviewTest, CtrlOrShiftClickRequestsAToggle)
{
    QSignalSpy spy(&Preview, &PreviewWidget::selectionRequested);
    QTest::mouseClick(&Preview, Qt::LeftButton, Qt::ControlModifier, QPoint(240, 50));
    QTest::mouseClick(&Preview, Qt::LeftButton, Qt::ShiftModifier, QPoint(60, 70));
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy.at(0).at(0).value<TPalmoControl*>(), Button2);
    EXPECT_EQ(spy.at(0).at(1).toBool(), true);
    EXPECT_EQ(spy.at(1).at(0).value<TPalmoControl*>(), Button1);
    EXPECT_EQ(spy.at(1).at(1).toBool(), true);
}

TEST_F(PreviewTest, ClickOnTheBackgroundRequestsNothingSelected)
{
    QSignalSpy spy(&Preview, &PreviewWidget::selectionRequested);
    QTest::mouseClick(&Preview, Qt::LeftButton, Qt::NoModifier, QPoint(150, 300));
    QTest::mouseClick(&Preview, Qt::LeftButton, Qt::ControlModifier, QPoint(150, 300));
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy.at(0).at(0).value<TPalmoControl*>(), nullptr);
    EXPECT_EQ(spy.at(0).at(1).toBool(), false);
    EXPECT_EQ(spy.at(1).at(0).value<TPalmoControl*>(), nullptr);
    EXPECT_EQ(spy.at(1).at(1).toBool(), true);
}

TEST_F(PreviewTest, ClickOnAMemberOfASelectionMakesItTheOnlyOneOnRelease)
{
    Preview.setSelection({Button1, Button2});
    QSignalSpy spy(&Preview, &PreviewWidget::selectionRequested);
    QTest::mousePress(&Preview, Qt::LeftButton, Qt::NoModifier, QPoint(240, 50));
    EXPECT_EQ(spy.count(), 0) << "a press alone must not collapse the selection before a drag";
    QTest::mouseRelease(&Preview, Qt::LeftButton, Qt::NoModifier, QPoint(240, 50));
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).value<TPalmoControl*>(), Button2);
    EXPECT_EQ(spy.at(0).at(1).toBool(), false);
}

TEST_F(PreviewTest, ClickOnTheOnlySelectedControlRequestsNothing)
{
    Preview.setSelection({Button1});
    QSignalSpy spy(&Preview, &PreviewWidget::selectionRequested);
    QTest::mouseClick(&Preview, Qt::LeftButton, Qt::NoModifier, QPoint(88, 58));
    EXPECT_EQ(spy.count(), 0);
}

TEST_F(PreviewTest, DragDrawsTheControlAtTheDraggedPlaceAndRequestsOneMove)
{
    Preview.setSelection({Button1});
    QSignalSpy moves(&Preview, &PreviewWidget::moveRequested);
    QSignalSpy selections(&Preview, &PreviewWidget::selectionRequested);
    // Before: the button's body at (48, 58), 8 px in from its left edge, half-way down.
    expectPixel(48, 58, RoyalBlue);

    QTest::mousePress(&Preview, Qt::LeftButton, Qt::NoModifier, QPoint(88, 58));
    QTest::mouseMove(&Preview, QPoint(100, 66));
    QTest::mouseMove(&Preview, QPoint(118, 78));  // 30 right, 20 down from the press
    EXPECT_EQ(moves.count(), 0) << "nothing is asked for while the drag goes on";
    // The button is drawn at (70, 60): its body now at (78, 78); its old place (48, 58) is bare.
    expectPixel(78, 78, RoyalBlue);
    expectPixel(48, 58, Canvas);
    // Its outline moved with it: one pixel left of the dragged rectangle.
    expectPixel(69, 78, Highlight);
    EXPECT_EQ(Button1->FLeft, 40) << "a drag writes nothing";

    QTest::mouseRelease(&Preview, Qt::LeftButton, Qt::NoModifier, QPoint(118, 78));
    ASSERT_EQ(moves.count(), 1);
    EXPECT_EQ(moves.at(0).at(0).toInt(), 30);
    EXPECT_EQ(moves.at(0).at(1).toInt(), 20);
    EXPECT_EQ(selections.count(), 0);
    // The owner did not move it, so it is drawn where it is.
    expectPixel(48, 58, RoyalBlue);
    expectPixel(39, 58, Highlight);
}

TEST_F(PreviewTest, DragOfAnUnselectedControlSelectsItThenMovesIt)
{
    // An owner that does what is asked.
    QObject::connect(&Preview, &PreviewWidget::selectionRequested, &Preview,
            [this](TPalmoControl* control, bool) { Preview.setSelection({control}); });
    QSignalSpy moves(&Preview, &PreviewWidget::moveRequested);
    QTest::mousePress(&Preview, Qt::LeftButton, Qt::NoModifier, QPoint(240, 50));
    QTest::mouseMove(&Preview, QPoint(230, 50));
    QTest::mouseMove(&Preview, QPoint(215, 45));
    QTest::mouseRelease(&Preview, Qt::LeftButton, Qt::NoModifier, QPoint(215, 45));
    ASSERT_EQ(Preview.selection().size(), 1u);
    EXPECT_EQ(Preview.selection().front(), Button2);
    ASSERT_EQ(moves.count(), 1);
    EXPECT_EQ(moves.at(0).at(0).toInt(), -25);
    EXPECT_EQ(moves.at(0).at(1).toInt(), -5);
}

TEST_F(PreviewTest, AMoveShorterThanTheDragDistanceIsAClick)
{
    ASSERT_GT(QApplication::startDragDistance(), 2);
    Preview.setSelection({Button1});
    QSignalSpy moves(&Preview, &PreviewWidget::moveRequested);
    QTest::mousePress(&Preview, Qt::LeftButton, Qt::NoModifier, QPoint(88, 58));
    QTest::mouseMove(&Preview, QPoint(89, 59));
    expectPixel(48, 58, RoyalBlue);
    QTest::mouseRelease(&Preview, Qt::LeftButton, Qt::NoModifier, QPoint(89, 59));
    EXPECT_EQ(moves.count(), 0);
}

TEST_F(PreviewTest, DragBackToTheStartRequestsNoMove)
{
    Preview.setSelection({Button1});
    QSignalSpy moves(&Preview, &PreviewWidget::moveRequested);
    QTest::mousePress(&Preview, Qt::LeftButton, Qt::NoModifier, QPoint(88, 58));
    QTest::mouseMove(&Preview, QPoint(128, 58));
    QTest::mouseMove(&Preview, QPoint(88, 58));
    QTest::mouseRelease(&Preview, Qt::LeftButton, Qt::NoModifier, QPoint(88, 58));
    EXPECT_EQ(moves.count(), 0);
}

TEST_F(PreviewTest, EscapeCancelsADrag)
{
    Preview.setSelection({Button1});
    QSignalSpy moves(&Preview, &PreviewWidget::moveRequested);
    QTest::mousePress(&Preview, Qt::LeftButton, Qt::NoModifier, QPoint(88, 58));
    QTest::mouseMove(&Preview, QPoint(118, 78));
    expectPixel(48, 58, Canvas);
    QTest::keyClick(&Preview, Qt::Key_Escape);
    expectPixel(48, 58, RoyalBlue);
    // The button stays held and the pointer goes on moving: the drag does not come back.
    QTest::mouseMove(&Preview, QPoint(150, 90));
    expectPixel(48, 58, RoyalBlue);
    QTest::mouseRelease(&Preview, Qt::LeftButton, Qt::NoModifier, QPoint(150, 90));
    EXPECT_EQ(moves.count(), 0);
}

TEST_F(PreviewTest, ArrowKeysMoveAndDeleteDeletesTheSelection)
{
    QSignalSpy moves(&Preview, &PreviewWidget::moveRequested);
    QSignalSpy deletes(&Preview, &PreviewWidget::deleteRequested);
    // Nothing selected: the keys ask for nothing.
    QTest::keyClick(&Preview, Qt::Key_Left);
    QTest::keyClick(&Preview, Qt::Key_Delete);
    EXPECT_EQ(moves.count(), 0);
    EXPECT_EQ(deletes.count(), 0);

    Preview.setSelection({Button1, Button2});
    QTest::keyClick(&Preview, Qt::Key_Left);
    QTest::keyClick(&Preview, Qt::Key_Right);
    QTest::keyClick(&Preview, Qt::Key_Up);
    QTest::keyClick(&Preview, Qt::Key_Down);
    ASSERT_EQ(moves.count(), 4);
    const int expected[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(moves.at(i).at(0).toInt(), expected[i][0]) << "key " << i;
        EXPECT_EQ(moves.at(i).at(1).toInt(), expected[i][1]) << "key " << i;
    }
    QTest::keyClick(&Preview, Qt::Key_Delete);
    EXPECT_EQ(deletes.count(), 1);
}

TEST_F(PreviewTest, SelectionIsOutlinedWithGrabSquaresTheFirstStronger)
{
    // Before: bare canvas where the outline and Button1's top-left grab square will be.
    expectPixel(39, 58, Canvas);
    expectPixel(37, 37, Canvas);
    expectPixel(197, 37, Canvas);

    Preview.setSelection({Button1, Button2});
    // The outline runs one pixel outside the control (x = 39), with a white line outside it
    // (looked at above the middle of the side, y = 58, where a grab square sits).
    expectPixel(39, 50, Highlight);
    expectPixel(38, 50, White);
    expectPixel(136, 50, Highlight);  // 40 + 96
    // The grab square on the corner (39, 39) spans 36 … 41: the first selected's is filled
    // with the highlight, framed in white; the second's is white, framed in the highlight.
    expectPixel(37, 37, Highlight);
    expectPixel(36, 37, White);
    expectPixel(197, 37, White);
    expectPixel(196, 37, Highlight);

    Preview.setSelection({});
    expectPixel(39, 58, Canvas);
    expectPixel(37, 37, Canvas);
}

TEST_F(PreviewTest, SetSelectionKeepsOnlyControlsOfTheFormOnce)
{
    TPalmoButton stranger;
    Preview.setSelection({Button2, nullptr, &stranger, Button1, Button2});
    const std::vector<TPalmoControl*> expected{Button2, Button1};
    EXPECT_EQ(Preview.selection(), expected);
}

TEST_F(PreviewTest, AColourChangeRepaintsWithThatColour)
{
    PaintCounter counter;
    Preview.installEventFilter(&counter);
    QApplication::processEvents();
    const int before = counter.count;
    // Tomato, written as the toolkit stores it ($00BBGGRR).
    ASSERT_TRUE(Button1->Appearance()->setProperty("Color", QVariant::fromValue(TCVColor{0x4763FF})));
    EXPECT_TRUE(QTest::qWaitFor([&] { return counter.count > before; }, 2000)) << "no repaint after the change";
    Preview.removeEventFilter(&counter);
    expectPixel(48, 58, Tomato);
    expectPixel(208, 58, RoyalBlue);  // Button2 keeps its colour
}

TEST_F(PreviewTest, ARemovedControlLeavesTheSelection)
{
    Preview.setSelection({Button1, Button2});
    ASSERT_TRUE(Form.remove(Button1));  // deletes it
    const std::vector<TPalmoControl*> expected{Button2};
    EXPECT_EQ(Preview.selection(), expected);
    expectPixel(48, 58, Canvas);
    expectPixel(39, 58, Canvas);
    // Button2 is now the first selected: its grab square is filled.
    expectPixel(197, 37, Highlight);
}

TEST_F(PreviewTest, AHiddenControlIsDrawnFaded)
{
    Button1->FVisible = false;
    Preview.update();
    // 35 % of RoyalBlue (65, 105, 225) over 65 % of the canvas (244, 244, 244):
    // (181.4, 195.4, 237.4).
    const QRgb c = pixel(48, 58);
    EXPECT_NEAR(qRed(c), 181, 3);
    EXPECT_NEAR(qGreen(c), 195, 3);
    EXPECT_NEAR(qBlue(c), 237, 3);
    // Still there for the mouse.
    EXPECT_EQ(Preview.controlAt(QPoint(48, 58)), Button1);
}

TEST_F(PreviewTest, ADisabledControlIsDrawnInGreys)
{
    Button1->FEnabled = false;
    Preview.update();
    // RoyalBlue (65, 105, 225) by brightness, (11 R + 16 G + 5 B) / 32: 110.
    const QRgb c = pixel(48, 58);
    EXPECT_NEAR(qRed(c), 110, 2);
    EXPECT_NEAR(qGreen(c), 110, 2);
    EXPECT_NEAR(qBlue(c), 110, 2);
    expectPixel(208, 58, RoyalBlue);  // Button2 is enabled
    // Hidden as well: the grey at 35 % over the canvas (244): 197.1.
    Button1->FVisible = false;
    Preview.update();
    EXPECT_NEAR(qRed(pixel(48, 58)), 197, 3);
    EXPECT_EQ(Preview.controlAt(QPoint(48, 58)), Button1);
}

TEST_F(PreviewTest, SwitchShowsItsStateByColourAndKnob)
{
    auto* sw = static_cast<TPalmoOnOffButton*>(Form.add(QStringLiteral("TPalmoOnOffButton")));
    ASSERT_EQ(sw->FWidth, 64);
    ASSERT_EQ(sw->FHeight, 32);
    sw->FLeft = 40;
    sw->FTop = 120;
    // Checked: the knob (diameter 26) sits at the right, from x = 35 to 61 within the control.
    ASSERT_TRUE(sw->Appearance()->FChecked);
    Preview.update();
    expectPixel(40 + 32, 120 + 4, LimeGreen);  // the track between the text and the knob
    expectPixel(40 + 48, 120 + 8, White);      // in the knob
    expectPixel(40 + 16, 120 + 8, LimeGreen);  // above the text, where the knob is when off
    ASSERT_TRUE(sw->Appearance()->setProperty("Checked", false));
    expectPixel(40 + 32, 120 + 4, LightGray);
    expectPixel(40 + 48, 120 + 8, LightGray);
    expectPixel(40 + 16, 120 + 8, White);
}

TEST_F(PreviewTest, TrackbarShowsPositionBetweenMinAndMax)
{
    auto* bar = static_cast<TPalmoTrackbar*>(Form.add(QStringLiteral("TPalmoTrackbar")));
    ASSERT_EQ(bar->FWidth, 160);
    ASSERT_EQ(bar->FHeight, 28);
    bar->FLeft = 40;
    bar->FTop = 200;
    bar->FMin = 100;
    bar->FMax = 300;
    bar->Appearance()->FPosition = 150;  // a quarter of the way
    Preview.update();
    // Thumb radius 11 (28 / 2 - 2, at most 11); the track runs from 40 + 12 = 52 over
    // 160 - 24 = 136 pixels, so the thumb's centre is at 52 + 136 / 4 = 86, the track's at y 214.
    expectPixel(60, 214, DarkOrange);   // progress, left of the thumb
    expectPixel(86, 214, White);        // the thumb
    expectPixel(120, 214, Gainsboro);   // the rest of the track
    bar->Appearance()->setProperty("Position", 250);  // three quarters: thumb at 52 + 102 = 154
    expectPixel(120, 214, DarkOrange);
    expectPixel(154, 214, White);
}

// One control of each class laid out like a form; saved for a person to look at, and checked for
// the one thing every control must do: paint inside its rectangle and nowhere else.
TEST_F(PreviewTest, AListItemDrawsItsTextWithOrWithoutDetail)
{
    auto* item = static_cast<TPalmoListItem*>(Form.add(QStringLiteral("TPalmoListItem")));
    item->FLeft = 40;
    item->FTop = 120;
    item->FText = QStringLiteral("Account");
    // Black text on the default White: dark pixels in the text's half of the row.
    const auto darkPixels = [&] {
        Preview.update();
        const QImage image = Preview.grab().toImage();
        int dark = 0;
        for (int y = item->FTop; y < item->FTop + item->FHeight; ++y)
            for (int x = item->FLeft; x < item->FLeft + item->FWidth / 2; ++x)
                dark += qGray(image.pixel(x, y)) < 100;
        return dark;
    };
    for (const char* detail : {"", "Signed in"}) {
        item->FDetail = QString::fromLatin1(detail);
        EXPECT_GT(darkPixels(), 20) << "detail '" << detail << "'";
    }
}

TEST_F(PreviewTest, EveryClassPaintsInsideItsRectangle)
{
    Form.remove(Button1);
    Form.remove(Button2);
    Preview.resize(460, 560);
    int top = 16;
    int left = 16;
    int rowHeight = 0;
    for (const QString& className : PalmoControlClasses()) {
        TPalmoControl* control = Form.add(className);
        ASSERT_NE(control, nullptr) << className.toStdString();
        if (left + control->FWidth > 440) {
            left = 16;
            top += rowHeight + 16;
            rowHeight = 0;
        }
        control->FLeft = left;
        control->FTop = top;
        left += control->FWidth + 16;
        rowHeight = std::max(rowHeight, control->FHeight);
        if (auto* popup = qobject_cast<TPalmoPopup*>(control))
            popup->FMessage = QStringLiteral("Save the changes to this form?");
        if (auto* item = qobject_cast<TPalmoListItem*>(control))
            item->FDetail = QStringLiteral("detail");
    }
    ASSERT_EQ(Form.count(), PalmoControlClasses().size());
    Preview.setSelection({Form.control(0), Form.control(2)});
    const QImage image = Preview.grab().toImage();
    EXPECT_TRUE(image.save(QDir::tempPath() + QStringLiteral("/preview.png")));

    Preview.setSelection({});
    const QImage bare = Preview.grab().toImage();
    for (TPalmoControl* control : Form.controls()) {
        SCOPED_TRACE(control->Name().toStdString());
        const QRect r(control->FLeft, control->FTop, control->FWidth, control->FHeight);
        // Something of the control differs from the canvas inside its rectangle …
        int painted = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                painted += (bare.pixel(x, y) & 0xFFFFFF) != (Canvas & 0xFFFFFF) ? 1 : 0;
        EXPECT_GT(painted, r.width() * r.height() / 10);
        // … and the ring of pixels just outside it is bare canvas or grid dots.
        for (int x = r.left() - 1; x <= r.right() + 1; ++x)
            for (int y : {r.top() - 1, r.bottom() + 1}) {
                const QRgb c = bare.pixel(x, y) & 0xFFFFFF;
                EXPECT_TRUE(c == (Canvas & 0xFFFFFF) || c == 0xC8C8C8) << x << "," << y;
            }
    }
}

}  // namespace
