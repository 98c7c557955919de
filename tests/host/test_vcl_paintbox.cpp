// The paint box: when Paint runs, drawing outside Paint, the mouse, and high-density output.
#include "host/vcl/ExtCtrls.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace {

// A receiver wired by signature text, as a compiled form's connections are.
class PaintBoxReceiver : public QObject {
    Q_OBJECT

public:
    std::vector<TMouseButton> Buttons;
    std::vector<TShiftState> DownShifts;
    std::vector<TShiftState> MoveShifts;
    std::vector<QPoint> Downs;
    std::vector<QPoint> Moves;

public slots:
    void PaintBoxColorMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
    {
        Buttons.push_back(Button);
        DownShifts.push_back(Shift);
        Downs.emplace_back(X, Y);
    }
    void PaintBoxColorMouseMove(TShiftState Shift, int X, int Y)
    {
        MoveShifts.push_back(Shift);
        Moves.emplace_back(X, Y);
    }
};

class PaintBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FSaved = Application->OnException;
        Application->OnException = [](const String&) {};
        Application->ClearExceptions();
    }
    void TearDown() override
    {
        Application->OnException = FSaved;
        Application->ClearExceptions();
    }

private:
    std::function<void(const String&)> FSaved;
};

QRgb Rgb(TColor C)
{
    return qRgb(C & 0xFF, (C >> 8) & 0xFF, (C >> 16) & 0xFF);
}

} // namespace

// A parent that fills its background with one colour, so that what lies beneath a box is known.
class FilledParent : public QWidget {
public:
    explicit FilledParent(QColor Background)
    {
        QPalette Palette = palette();
        Palette.setColor(QPalette::Window, Background);
        setPalette(Palette);
        setAutoFillBackground(true);
        resize(120, 80);
    }
};

TEST_F(PaintBoxTest, RepaintRunsPaintOverWhatLiesBeneathWithColorAsTheBrush)
{
    FilledParent Parent(QColor(0x33, 0x66, 0x99));
    TPaintBox Box(&Parent);
    Box.SetBounds(10, 20, 25, 25);
    Box.SetColor(clWhite);
    int Paints = 0;
    TColor BrushAtStart = clNone;
    QObject::connect(&Box, &TPaintBox::Paint, [&] {
        ++Paints;
        BrushAtStart = Box.Canvas().Brush.Color;
        Box.Canvas().Brush.Color = clRed;
        Box.Canvas().FillRect(Rect(0, 0, Box.Width() - 1, Box.Height() - 1));
    });
    Box.Repaint();
    EXPECT_EQ(Paints, 1);
    EXPECT_EQ(BrushAtStart, clWhite) << "Color is the brush Paint starts with";
    const QImage& Image = Box.Image();
    ASSERT_EQ(Image.size(), QSize(25, 25));
    EXPECT_EQ(Image.pixel(0, 0), Rgb(clRed));
    EXPECT_EQ(Image.pixel(23, 23), Rgb(clRed));
    // FillRect leaves out the right column and the bottom row: they show the parent, not Color.
    EXPECT_EQ(Image.pixel(24, 24), qRgb(0x33, 0x66, 0x99));
    EXPECT_EQ(Image.pixel(24, 0), qRgb(0x33, 0x66, 0x99));
    EXPECT_EQ(Image.pixel(0, 24), qRgb(0x33, 0x66, 0x99));
}

TEST_F(PaintBoxTest, ABoxThatPaintsNothingShowsItsParent)
{
    FilledParent Parent(QColor(0x20, 0x80, 0x40));
    TPaintBox Box(&Parent);
    Box.SetBounds(30, 10, 25, 25);
    Box.SetColor(clWhite);
    Parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Parent));
    QApplication::processEvents();
    const QImage Screen = Parent.grab().toImage();
    for (const QPoint At : {QPoint(30, 10), QPoint(42, 22), QPoint(54, 34)})
        EXPECT_EQ(Screen.pixel(At), qRgb(0x20, 0x80, 0x40)) << At.x() << "," << At.y();
    EXPECT_EQ(Box.Image().pixel(12, 12), qRgb(0x20, 0x80, 0x40));

    // Another parent colour: shown again, the box shows the new one.
    QPalette Palette = Parent.palette();
    Palette.setColor(QPalette::Window, QColor(0xC0, 0x10, 0x10));
    Parent.setPalette(Palette);
    Box.hide();
    Box.show();
    QApplication::processEvents();
    EXPECT_EQ(Parent.grab().toImage().pixel(42, 22), qRgb(0xC0, 0x10, 0x10));
}

TEST_F(PaintBoxTest, InvertingAnUntouchedPixelInvertsTheParentAndTwiceRestoresIt)
{
    FilledParent Parent(QColor(0x33, 0x66, 0x99));
    TPaintBox Box(&Parent);
    Box.SetBounds(0, 0, 30, 30);
    Parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Parent));
    QApplication::processEvents();
    TCanvas& Canvas = Box.Canvas();
    Canvas.Pen.Mode = pmNot;
    Canvas.MoveTo(5, 10);
    Canvas.LineTo(20, 10);
    QApplication::processEvents();
    // Not of 33 66 99 is CC 99 66.
    EXPECT_EQ(Parent.grab().toImage().pixel(12, 10), qRgb(0xCC, 0x99, 0x66));
    Canvas.MoveTo(5, 10);
    Canvas.LineTo(20, 10);
    QApplication::processEvents();
    EXPECT_EQ(Parent.grab().toImage().pixel(12, 10), qRgb(0x33, 0x66, 0x99));
}

TEST_F(PaintBoxTest, DrawingOutsidePaintIsShownWithoutRunningPaintAgain)
{
    FilledParent Parent(Qt::white);
    TPaintBox Box(&Parent);
    Box.SetBounds(0, 0, 40, 30);
    int Paints = 0;
    QObject::connect(&Box, &TPaintBox::Paint, [&] { ++Paints; });
    Parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Parent));
    QApplication::processEvents();
    EXPECT_EQ(Paints, 1) << "shown: painted once";

    // A marker drawn from code, outside Paint.
    TCanvas& Canvas = Box.Canvas();
    Canvas.Pen.Color = clBlue;
    Canvas.MoveTo(5, 10);
    Canvas.LineTo(20, 10);
    QApplication::processEvents();
    const QImage Screen = Box.grab().toImage();
    EXPECT_EQ(Screen.pixel(5, 10), Rgb(clBlue));
    EXPECT_EQ(Screen.pixel(19, 10), Rgb(clBlue));
    EXPECT_EQ(Screen.pixel(20, 10), Rgb(clWhite));
    EXPECT_EQ(Paints, 1) << "the update and the grab only show the image";

    Box.Repaint();
    EXPECT_EQ(Paints, 2);
    EXPECT_EQ(Box.Image().pixel(5, 10), Rgb(clWhite)) << "Repaint starts again from what lies beneath";
}

TEST_F(PaintBoxTest, ShowingAgainAndResizingRunPaint)
{
    TPaintBox Box;
    Box.SetBounds(0, 0, 30, 30);
    int Paints = 0;
    QObject::connect(&Box, &TPaintBox::Paint, [&] { ++Paints; });
    Box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Box));
    QApplication::processEvents();
    ASSERT_EQ(Paints, 1);
    Box.hide();
    Box.show();
    QApplication::processEvents();
    EXPECT_EQ(Paints, 2);
    Box.SetWidth(50);
    EXPECT_EQ(Box.Width(), 50);
    EXPECT_EQ(Box.Image().width(), 50) << "the image follows at once";
    QApplication::processEvents();
    EXPECT_EQ(Paints, 3);
}

TEST_F(PaintBoxTest, CanvasIsOneObjectThatFollowsTheSize)
{
    TPaintBox Box;
    Box.SetBounds(0, 0, 225, 217);
    TCanvas* Before = &Box.Canvas();
    Before->Pen.Mode = pmNot;
    Box.SetWidth(202);
    Box.SetHeight(202);
    EXPECT_EQ(&Box.Canvas(), Before);
    EXPECT_EQ(Box.Canvas().Pen.Mode, pmNot);
    EXPECT_EQ(Box.Image().size(), QSize(202, 202));
    Box.Canvas().SetPixel(201, 201, clRed);
    EXPECT_EQ(Box.Image().pixel(201, 201), Rgb(clRed));
}

TEST_F(PaintBoxTest, MouseDownAndDragCarryTheLeftButton)
{
    TPaintBox Box;
    Box.SetBounds(0, 0, 202, 202);
    PaintBoxReceiver Receiver;
    ASSERT_TRUE(QObject::connect(&Box, SIGNAL(MouseDown(TMouseButton, TShiftState, int, int)), &Receiver,
                                 SLOT(PaintBoxColorMouseDown(TMouseButton, TShiftState, int, int))));
    ASSERT_TRUE(QObject::connect(&Box, SIGNAL(MouseMove(TShiftState, int, int)), &Receiver,
                                 SLOT(PaintBoxColorMouseMove(TShiftState, int, int))));
    Box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Box));

    QTest::mouseMove(&Box, QPoint(50, 60));
    QTest::mousePress(&Box, Qt::LeftButton, {}, QPoint(1, 200));
    QTest::mouseMove(&Box, QPoint(100, 100));
    QTest::mouseRelease(&Box, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mousePress(&Box, Qt::RightButton, Qt::ShiftModifier, QPoint(7, 8));
    QTest::mouseRelease(&Box, Qt::RightButton, Qt::ShiftModifier, QPoint(7, 8));

    ASSERT_EQ(Receiver.Downs, (std::vector<QPoint>{{1, 200}, {7, 8}}));
    EXPECT_EQ(Receiver.Buttons, (std::vector<TMouseButton>{mbLeft, mbRight}));
    EXPECT_EQ(Receiver.DownShifts, (std::vector<TShiftState>{ssLeft, ssRight | ssShift}));
    ASSERT_GE(Receiver.Moves.size(), 2u);
    EXPECT_EQ(Receiver.Moves[0], QPoint(50, 60));
    EXPECT_EQ(Receiver.MoveShifts[0], 0u) << "a move without a button held arrives too";
    const auto Drag = std::find(Receiver.Moves.begin(), Receiver.Moves.end(), QPoint(100, 100));
    ASSERT_NE(Drag, Receiver.Moves.end());
    EXPECT_EQ(Receiver.MoveShifts[Drag - Receiver.Moves.begin()], ssLeft);
}

TEST_F(PaintBoxTest, HighDensityOutputRepeatsEachPixelSharply)
{
    TPaintBox Box;
    Box.SetBounds(0, 0, 20, 10);
    QObject::connect(&Box, &TPaintBox::Paint, [&] {
        for (int Y = 0; Y < Box.Height(); ++Y)
            for (int X = 0; X < Box.Width(); ++X)
                Box.Canvas().SetPixel(X, Y, (X + Y) % 2 ? clBlack : TColor(X * 12 | Y * 25 << 8 | 0xFF0000));
    });
    Box.Repaint();
    QImage Device(40, 20, QImage::Format_RGB32);
    Device.setDevicePixelRatio(2);
    Device.fill(Qt::green);
    Box.render(&Device);
    const QImage& Logical = Box.Image();
    for (int Y = 0; Y < 20; ++Y)
        for (int X = 0; X < 40; ++X)
            ASSERT_EQ(Device.pixel(X, Y), Logical.pixel(X / 2, Y / 2)) << X << "," << Y;
}

TEST_F(PaintBoxTest, AnExceptionFromPaintIsReported)
{
    TPaintBox Box;
    Box.SetBounds(0, 0, 10, 10);
    QObject::connect(&Box, &TPaintBox::Paint, [] { throw std::runtime_error("paint failed"); });
    Box.Repaint();
    EXPECT_EQ(Application->ExceptionCount(), 1);
    EXPECT_EQ(Application->LastExceptionMessage(), "paint failed");
}

TEST_F(PaintBoxTest, RepaintFromInsidePaintDoesNotRecurse)
{
    TPaintBox Box;
    Box.SetBounds(0, 0, 10, 10);
    int Paints = 0;
    QObject::connect(&Box, &TPaintBox::Paint, [&] {
        ++Paints;
        Box.Repaint();
    });
    Box.Repaint();
    EXPECT_EQ(Paints, 1);
}

#include "test_vcl_paintbox.moc"
