// The draw grid: cell layout, drawing of every cell, choosing cells by mouse and keyboard, and
// the connections a compiled form makes by signature text.
#include "host/vcl/Grids.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHelpEvent>
#include <QTest>
#include <QToolTip>

#include <climits>
#include <map>
#include <stdexcept>
#include <tuple>
#include <vector>

namespace {

// A receiver with the dialog's handler signatures, wired by signature text.
class GridReceiver : public QObject {
    Q_OBJECT

public:
    std::vector<std::tuple<int, int, TRect, int>> Drawn;
    std::vector<std::pair<int, int>> Chosen;
    std::vector<std::pair<int, int>> CurrentWhenChosen;
    std::vector<QPoint> Moves;
    bool Refuse = false;
    TDrawGrid* Grid = nullptr;

public slots:
    void WebColorsGridDrawCell(int ACol, int ARow, TRect Rect, int State)
    {
        Drawn.emplace_back(ACol, ARow, Rect, State);
        Grid->Canvas().Brush.Color = TColor(ACol * 20 | ARow * 20 << 8);
        Grid->Canvas().FillRect(Rect);
    }
    void WebColorsGridSelectCell(int ACol, int ARow, bool& CanSelect)
    {
        Chosen.emplace_back(ACol, ARow);
        CurrentWhenChosen.emplace_back(Grid->Col(), Grid->Row());
        if (Refuse)
            CanSelect = false;
    }
    void WebColorsGridMouseMove(TShiftState, int X, int Y) { Moves.emplace_back(X, Y); }
};

class DrawGridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FSaved = Application->OnException;
        Application->OnException = [](const String&) {};
        Application->ClearExceptions();
        Grid.SetColCount(12);
        Grid.SetRowCount(12);
        Grid.setGeometry(0, 0, 305, 305);
        Receiver.Grid = &Grid;
        ASSERT_TRUE(QObject::connect(&Grid, SIGNAL(DrawCell(int, int, TRect, int)), &Receiver,
                                     SLOT(WebColorsGridDrawCell(int, int, TRect, int))));
        ASSERT_TRUE(QObject::connect(&Grid, SIGNAL(SelectCell(int, int, bool&)), &Receiver,
                                     SLOT(WebColorsGridSelectCell(int, int, bool&))));
        ASSERT_TRUE(QObject::connect(&Grid, SIGNAL(MouseMove(TShiftState, int, int)), &Receiver,
                                     SLOT(WebColorsGridMouseMove(TShiftState, int, int))));
    }
    void TearDown() override
    {
        Application->OnException = FSaved;
        Application->ClearExceptions();
    }

    void ShowFocused()
    {
        Grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Grid));
        Grid.activateWindow();
        Grid.setFocus();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Grid));
        QApplication::processEvents();
    }

    // The centre of a cell, where a user would click.
    QPoint Centre(int ACol, int ARow) const
    {
        const TRect R = Grid.CellRect(ACol, ARow);
        return QPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
    }

    TDrawGrid Grid;
    GridReceiver Receiver;

private:
    std::function<void(const String&)> FSaved;
};

QRgb Rgb(TColor C)
{
    return qRgb(C & 0xFF, (C >> 8) & 0xFF, (C >> 16) & 0xFF);
}

} // namespace

TEST(DrawGridLayout, CellsAreSquareAndSeparatedByOnePixelLines)
{
    TDrawGrid Grid;
    Grid.SetColCount(14);
    Grid.SetRowCount(2);
    EXPECT_EQ(Grid.DefaultColWidth(), 24);
    EXPECT_EQ(Grid.DefaultRowHeight(), 24);
    EXPECT_EQ(Grid.CellRect(0, 0), Rect(1, 1, 25, 25));
    EXPECT_EQ(Grid.CellRect(1, 0), Rect(26, 1, 50, 25));
    EXPECT_EQ(Grid.CellRect(13, 1), Rect(326, 26, 350, 50));
    EXPECT_EQ(Grid.CellRect(14, 0), TRect{});
    EXPECT_EQ(Grid.CellRect(-1, 0), TRect{});
    EXPECT_EQ(Grid.sizeHint(), QSize(351, 51)) << "fits the form's 353 x 53";
    EXPECT_EQ(Grid.Col(), 0);
    EXPECT_EQ(Grid.Row(), 0);
    // A compiled form sets the counts through the meta-object by name.
    EXPECT_TRUE(Grid.setProperty("ColCount", 9));
    EXPECT_TRUE(Grid.setProperty("RowCount", 6));
    EXPECT_EQ(Grid.sizeHint(), QSize(226, 151));
}

TEST(DrawGridLayout, MouseToCellGivesMinusOneOutsideEveryCell)
{
    TDrawGrid Grid;
    Grid.SetColCount(9);
    Grid.SetRowCount(6);
    const auto Cell = [&](int X, int Y) {
        int C = 0, R = 0;
        Grid.MouseToCell(X, Y, C, R);
        return std::make_pair(C, R);
    };
    EXPECT_EQ(Cell(1, 1), std::make_pair(0, 0));
    EXPECT_EQ(Cell(24, 24), std::make_pair(0, 0));
    EXPECT_EQ(Cell(25, 25), std::make_pair(0, 0)) << "the line after a cell belongs to it";
    EXPECT_EQ(Cell(26, 51), std::make_pair(1, 2));
    EXPECT_EQ(Cell(225, 150), std::make_pair(8, 5));
    EXPECT_EQ(Cell(0, 10), std::make_pair(-1, -1)) << "the outer line";
    EXPECT_EQ(Cell(10, 0), std::make_pair(-1, -1));
    EXPECT_EQ(Cell(226, 10), std::make_pair(-1, -1)) << "beyond the last column";
    EXPECT_EQ(Cell(10, 151), std::make_pair(-1, -1)) << "beyond the last row";
    EXPECT_EQ(Cell(-5, -5), std::make_pair(-1, -1));
    EXPECT_EQ(Cell(INT_MAX, INT_MAX), std::make_pair(-1, -1));
}

TEST_F(DrawGridTest, RepaintDrawsEveryCellOnceWithItsRectangleClipped)
{
    Grid.Repaint();
    ASSERT_EQ(Receiver.Drawn.size(), 144u);
    std::map<std::pair<int, int>, int> Count;
    for (const auto& [C, R, Rect, State] : Receiver.Drawn) {
        ++Count[{C, R}];
        EXPECT_EQ(Rect, Grid.CellRect(C, R));
        EXPECT_EQ(State, C == 0 && R == 0 ? gdSelected : 0) << C << "," << R;
    }
    EXPECT_EQ(Count.size(), 144u);

    const QImage& Image = Grid.Image();
    ASSERT_EQ(Image.size(), QSize(305, 305));
    // Cell (3, 2) covers x 76..99 and y 51..74 in its own colour; its right column and bottom
    // row of lines are not its colour.
    const QRgb Cell32 = Rgb(TColor(3 * 20 | 2 * 20 << 8));
    EXPECT_EQ(Image.pixel(76, 51), Cell32);
    EXPECT_EQ(Image.pixel(99, 74), Cell32);
    EXPECT_NE(Image.pixel(100, 60), Cell32);
    EXPECT_NE(Image.pixel(80, 75), Cell32);
    EXPECT_EQ(Image.pixel(101, 60), Rgb(TColor(4 * 20 | 2 * 20 << 8)));
}

TEST_F(DrawGridTest, DrawingBeyondTheCellIsClipped)
{
    QObject::disconnect(&Grid, SIGNAL(DrawCell(int, int, TRect, int)), &Receiver, nullptr);
    QObject::connect(&Grid, &TDrawGrid::DrawCell, [&](int ACol, int ARow, TRect Cell, int) {
        if (ACol != 1 || ARow != 1)
            return;
        // The toolkit's cross of an empty cell: the second stroke starts on the line right of it.
        TCanvas& Canvas = Grid.Canvas();
        Canvas.Pen.Color = clBlack;
        Canvas.MoveTo(Cell.Left, Cell.Top);
        Canvas.LineTo(Cell.Right, Cell.Bottom);
        Canvas.MoveTo(Cell.Right, Cell.Top);
        Canvas.LineTo(Cell.Left, Cell.Bottom);
        Canvas.Brush.Color = clRed;
        Canvas.FillRect(Rect(0, 0, 305, 305));
    });
    Grid.Repaint();
    const QImage& Image = Grid.Image();
    const TRect R = Grid.CellRect(1, 1);
    EXPECT_EQ(Image.pixel(R.Left, R.Top), Rgb(clRed));
    EXPECT_NE(Image.pixel(R.Right, R.Top), Rgb(clBlack));
    EXPECT_NE(Image.pixel(R.Right, R.Top), Rgb(clRed));
    EXPECT_NE(Image.pixel(R.Left - 1, R.Top), Rgb(clRed));
    EXPECT_NE(Image.pixel(R.Left, R.Bottom), Rgb(clRed));
}

TEST_F(DrawGridTest, AClickRunsSelectCellBeforeTheCurrentCellMoves)
{
    ShowFocused();
    QTest::mouseClick(&Grid, Qt::LeftButton, {}, Centre(5, 3));
    ASSERT_EQ(Receiver.Chosen, (std::vector<std::pair<int, int>>{{5, 3}}));
    EXPECT_EQ(Receiver.CurrentWhenChosen[0], std::make_pair(0, 0));
    EXPECT_EQ(Grid.Col(), 5);
    EXPECT_EQ(Grid.Row(), 3);

    QTest::mouseClick(&Grid, Qt::LeftButton, {}, QPoint(0, 10)); // the outer line
    QTest::mouseClick(&Grid, Qt::RightButton, {}, Centre(1, 1));
    EXPECT_EQ(Receiver.Chosen.size(), 1u) << "outside every cell, or not the left button";
    EXPECT_EQ(Grid.Col(), 5);
}

TEST_F(DrawGridTest, ClearingCanSelectKeepsTheCurrentCell)
{
    ShowFocused();
    Receiver.Refuse = true;
    QTest::mouseClick(&Grid, Qt::LeftButton, {}, Centre(7, 8));
    QTest::keyClick(&Grid, Qt::Key_Down);
    EXPECT_EQ(Receiver.Chosen, (std::vector<std::pair<int, int>>{{7, 8}, {0, 1}}));
    EXPECT_EQ(Grid.Col(), 0);
    EXPECT_EQ(Grid.Row(), 0);
}

TEST_F(DrawGridTest, ArrowKeysMoveOneCellAndStopAtTheEdges)
{
    ShowFocused();
    QTest::keyClick(&Grid, Qt::Key_Left);
    QTest::keyClick(&Grid, Qt::Key_Up);
    EXPECT_TRUE(Receiver.Chosen.empty()) << "at the edge nothing is chosen";
    QTest::keyClick(&Grid, Qt::Key_Right);
    QTest::keyClick(&Grid, Qt::Key_Down);
    QTest::keyClick(&Grid, Qt::Key_Down);
    EXPECT_EQ(Receiver.Chosen, (std::vector<std::pair<int, int>>{{1, 0}, {1, 1}, {1, 2}}));
    EXPECT_EQ(Receiver.CurrentWhenChosen.back(), std::make_pair(1, 1));
    EXPECT_EQ(Grid.Col(), 1);
    EXPECT_EQ(Grid.Row(), 2);
    QTest::keyClick(&Grid, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(std::make_pair(Grid.Col(), Grid.Row()), std::make_pair(11, 11));
    QTest::keyClick(&Grid, Qt::Key_Right);
    EXPECT_EQ(Grid.Col(), 11);
    QTest::keyClick(&Grid, Qt::Key_Home);
    EXPECT_EQ(std::make_pair(Grid.Col(), Grid.Row()), std::make_pair(0, 11));
}

TEST_F(DrawGridTest, TheFocusedCurrentCellIsDrawnFocusedAndMarked)
{
    ShowFocused();
    ASSERT_TRUE(Grid.hasFocus());
    QTest::keyClick(&Grid, Qt::Key_Right);
    Receiver.Drawn.clear();
    Grid.Repaint();
    for (const auto& [C, R, Rect, State] : Receiver.Drawn)
        EXPECT_EQ(State, C == 1 && R == 0 ? gdSelected | gdFocused : 0);
    // The outline on the grid lines around the current cell, the highlight colour.
    const QImage Shown = Grid.grab().toImage();
    const TRect Cell = Grid.CellRect(1, 0);
    const QRgb Highlight = Grid.palette().color(QPalette::Highlight).rgb();
    EXPECT_EQ(Shown.pixel(Cell.Left - 1, Cell.Top + 5), Highlight);
    EXPECT_EQ(Shown.pixel(Cell.Right, Cell.Top + 5), Highlight);
    EXPECT_EQ(Shown.pixel(Cell.Left + 5, Cell.Bottom), Highlight);
    EXPECT_NE(Grid.grab().toImage().pixel(Grid.CellRect(3, 3).Right, Grid.CellRect(3, 3).Top + 5), Highlight);
    // The focus frame inverts every other edge pixel of the cell; the middle keeps its colour.
    const QRgb Fill = Rgb(TColor(1 * 20));
    EXPECT_EQ(Shown.pixel(Cell.Left, Cell.Top), qRgb(255 - qRed(Fill), 255 - qGreen(Fill), 255 - qBlue(Fill)));
    EXPECT_EQ(Shown.pixel(Cell.Left + 1, Cell.Top), Fill);
    EXPECT_EQ(Shown.pixel(Cell.Left + 12, Cell.Top + 12), Fill);
}

TEST_F(DrawGridTest, MouseMovesArriveWithoutAButtonHeld)
{
    ShowFocused();
    QTest::mouseMove(&Grid, QPoint(30, 40));
    QTest::mouseMove(&Grid, QPoint(300, 300));
    EXPECT_EQ(Receiver.Moves, (std::vector<QPoint>{{30, 40}, {300, 300}}));
}

TEST_F(DrawGridTest, ExceptionsFromHandlersAreReportedAndDoNotEscape)
{
    QObject::connect(&Grid, &TDrawGrid::DrawCell, [](int ACol, int ARow, TRect, int) {
        if (ACol == 2 && ARow == 0)
            throw EConvertError("'$ZZ' is not a valid integer value");
    });
    Grid.Repaint();
    EXPECT_EQ(Application->ExceptionCount(), 1);
    EXPECT_EQ(Application->LastExceptionMessage(), "'$ZZ' is not a valid integer value");
    EXPECT_EQ(Receiver.Drawn.size(), 144u) << "the other cells are still drawn";

    ShowFocused();
    QObject::connect(&Grid, &TDrawGrid::SelectCell, [](int, int, bool&) { throw std::runtime_error("no such colour"); });
    QTest::mouseClick(&Grid, Qt::LeftButton, {}, Centre(4, 4));
    EXPECT_EQ(Application->LastExceptionMessage(), "no such colour");
    EXPECT_EQ(Grid.Col(), 0) << "a failed choice does not move the current cell";
}

TEST_F(DrawGridTest, CellNamesReachTooltipsAndTheAccessibleDescription)
{
    Grid.CellName = [](int ACol, int ARow) { return String("Cell %1/%2").arg(ACol).arg(ARow); };
    ShowFocused();
    EXPECT_EQ(Grid.accessibleDescription(), "Cell 0/0");
    QTest::mouseClick(&Grid, Qt::LeftButton, {}, Centre(2, 6));
    EXPECT_EQ(Grid.accessibleDescription(), "Cell 2/6");

    QHelpEvent Help(QEvent::ToolTip, Centre(9, 1), Grid.mapToGlobal(Centre(9, 1)));
    QApplication::sendEvent(&Grid, &Help);
    EXPECT_EQ(QToolTip::text(), "Cell 9/1");
    QToolTip::hideText();
}

TEST_F(DrawGridTest, ShowingTheGridDrawsItWithoutRepaint)
{
    Grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Grid));
    QApplication::processEvents();
    EXPECT_EQ(Receiver.Drawn.size(), 144u);
    const QImage Shown = Grid.grab().toImage();
    EXPECT_EQ(Shown.pixel(Centre(11, 11)), Rgb(TColor(11 * 20 | 11 * 20 << 8)));
    EXPECT_EQ(Receiver.Drawn.size(), 144u) << "grabbing shows the image without drawing again";
}

#include "test_vcl_drawgrid.moc"
