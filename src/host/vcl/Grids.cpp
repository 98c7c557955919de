// The draw grid: layout, drawing of the cells, and the choice of the current cell.
#include "host/vcl/Grids.h"

#include "host/vcl/AccessibleControls.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QToolTip>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

namespace {

constexpr int LineWidth = 1;

int Saturated(std::int64_t Value)
{
    return int(std::clamp<std::int64_t>(Value, INT_MIN, INT_MAX));
}

// Cells before the first one that starts at or beyond Extent pixels.
int CellsWithin(int Extent, int Count, int CellSize)
{
    if (Extent <= LineWidth)
        return 0;
    return int(std::min<std::int64_t>(Count, (std::int64_t(Extent) - LineWidth - 1) / (CellSize + LineWidth) + 1));
}

QRect QRectOf(const TRect& R)
{
    return QRect(R.Left, R.Top, R.Width(), R.Height());
}

} // namespace

TDrawGrid::TDrawGrid(QWidget* parent)
    : BackingImageWidget(parent)
{
    RegisterControlTypes();
    InstallControlAccessibility();
    // Without tracking Qt sends no move events while no button is held.
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

void TDrawGrid::SetColCount(int Value)
{
    Value = std::max(Value, 1);
    if (Value == FColCount)
        return;
    FColCount = Value;
    FCol = std::min(FCol, Value - 1);
    LayoutChanged();
}

void TDrawGrid::SetRowCount(int Value)
{
    Value = std::max(Value, 1);
    if (Value == FRowCount)
        return;
    FRowCount = Value;
    FRow = std::min(FRow, Value - 1);
    LayoutChanged();
}

void TDrawGrid::SetDefaultColWidth(int Value)
{
    Value = std::max(Value, 1);
    if (Value == FColWidth)
        return;
    FColWidth = Value;
    LayoutChanged();
}

void TDrawGrid::SetDefaultRowHeight(int Value)
{
    Value = std::max(Value, 1);
    if (Value == FRowHeight)
        return;
    FRowHeight = Value;
    LayoutChanged();
}

void TDrawGrid::LayoutChanged()
{
    updateGeometry();
    requestRender();
}

QSize TDrawGrid::sizeHint() const
{
    return QSize(Saturated(LineWidth + std::int64_t(FColCount) * (FColWidth + LineWidth)),
                 Saturated(LineWidth + std::int64_t(FRowCount) * (FRowHeight + LineWidth)));
}

void TDrawGrid::MouseToCell(int X, int Y, int& ACol, int& ARow) const
{
    ACol = -1;
    ARow = -1;
    if (X < LineWidth || Y < LineWidth)
        return;
    // Each cell owns the grid line after it.
    const std::int64_t C = (std::int64_t(X) - LineWidth) / (FColWidth + LineWidth);
    const std::int64_t R = (std::int64_t(Y) - LineWidth) / (FRowHeight + LineWidth);
    if (C >= FColCount || R >= FRowCount)
        return;
    ACol = int(C);
    ARow = int(R);
}

TRect TDrawGrid::CellRect(int ACol, int ARow) const
{
    if (ACol < 0 || ACol >= FColCount || ARow < 0 || ARow >= FRowCount)
        return TRect{};
    const std::int64_t Left = LineWidth + std::int64_t(ACol) * (FColWidth + LineWidth);
    const std::int64_t Top = LineWidth + std::int64_t(ARow) * (FRowHeight + LineWidth);
    return Rect(Saturated(Left), Saturated(Top), Saturated(Left + FColWidth), Saturated(Top + FRowHeight));
}

String TDrawGrid::NameOfCell(int ACol, int ARow) const
{
    String Name;
    if (CellName && ACol >= 0 && ARow >= 0)
        CallHandler([&] { Name = CellName(ACol, ARow); });
    return Name;
}

void TDrawGrid::renderImage(TCanvas& Canvas)
{
    QPainter& Painter = Canvas.Painter();
    if (!Painter.isActive())
        return;
    const QPalette& Colors = palette();
    const int Cols = CellsWithin(width(), FColCount, FColWidth);
    const int Rows = CellsWithin(height(), FRowCount, FRowHeight);
    Painter.fillRect(rect(), Colors.color(QPalette::Window));
    // The grid lines are what remains of the line colour once the cells are drawn.
    Painter.fillRect(QRect(QPoint(0, 0), sizeHint()) & rect(), Colors.color(QPalette::Mid));

    for (int R = 0; R < Rows; ++R) {
        for (int C = 0; C < Cols; ++C) {
            const TRect Cell = CellRect(C, R);
            int State = 0;
            if (C == FCol && R == FRow)
                State = hasFocus() ? gdSelected | gdFocused : gdSelected;
            // The default drawing: the cell in the window colour, the brush left in it for DrawCell.
            Canvas.Brush.Color = clWindow;
            Canvas.FillRect(Cell);
            Canvas.SetClipRect(Cell);
            CallHandler([&] { emit DrawCell(C, R, Cell, State); });
            Canvas.ResetClip();
        }
    }
    DrawCurrentCellMark(Canvas);

    const String Description = NameOfCell(FCol, FRow);
    if (Description != accessibleDescription())
        setAccessibleDescription(Description);
}

void TDrawGrid::DrawCurrentCellMark(TCanvas& Canvas)
{
    const TRect Cell = CellRect(FCol, FRow);
    QPainter& Painter = Canvas.Painter();
    const QColor Mark = palette().color(QPalette::Highlight);
    // The outline lies on the grid lines around the cell, so the cell's own pixels stay as drawn.
    Painter.fillRect(QRect(Cell.Left - LineWidth, Cell.Top - LineWidth, Cell.Width() + 2 * LineWidth, LineWidth), Mark);
    Painter.fillRect(QRect(Cell.Left - LineWidth, Cell.Bottom, Cell.Width() + 2 * LineWidth, LineWidth), Mark);
    Painter.fillRect(QRect(Cell.Left - LineWidth, Cell.Top, LineWidth, Cell.Height()), Mark);
    Painter.fillRect(QRect(Cell.Right, Cell.Top, LineWidth, Cell.Height()), Mark);
    if (!hasFocus())
        return;
    // The focus frame: every other pixel along the cell's edge, inverted.
    Painter.save();
    Painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    const QRect Edge = QRectOf(Cell);
    int Step = 0;
    const auto Dot = [&](int X, int Y) {
        if (Step++ % 2 == 0)
            Painter.fillRect(QRect(X, Y, 1, 1), Qt::black);
    };
    for (int X = Edge.left(); X < Edge.right(); ++X)
        Dot(X, Edge.top());
    for (int Y = Edge.top(); Y < Edge.bottom(); ++Y)
        Dot(Edge.right(), Y);
    for (int X = Edge.right(); X > Edge.left(); --X)
        Dot(X, Edge.bottom());
    for (int Y = Edge.bottom(); Y > Edge.top(); --Y)
        Dot(Edge.left(), Y);
    Painter.restore();
}

void TDrawGrid::ChooseCell(int ACol, int ARow)
{
    bool CanSelect = true;
    // A handler that raises refuses the cell as one that clears CanSelect does.
    if (!CallHandler([&] { emit SelectCell(ACol, ARow, CanSelect); }) || !CanSelect)
        return;
    if (ACol == FCol && ARow == FRow)
        return;
    FCol = ACol;
    FRow = ARow;
    const String Description = NameOfCell(FCol, FRow);
    if (Description != accessibleDescription())
        setAccessibleDescription(Description);
    NotifyCurrentCellFocused(this);
    requestRender();
}

bool TDrawGrid::event(QEvent* Event)
{
    // Without cell names the grid's own tooltip, if any, shows as usual.
    if (Event->type() == QEvent::ToolTip && CellName) {
        const auto* Help = static_cast<QHelpEvent*>(Event);
        int C = -1, R = -1;
        MouseToCell(Help->pos().x(), Help->pos().y(), C, R);
        const String Name = NameOfCell(C, R);
        if (Name.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(Help->globalPos(), Name, this, QRectOf(CellRect(C, R)));
        return true;
    }
    return BackingImageWidget::event(Event);
}

void TDrawGrid::mousePressEvent(QMouseEvent* Event)
{
    if (Event->button() != Qt::LeftButton)
        return;
    int C = -1, R = -1;
    MouseToCell(int(std::floor(Event->position().x())), int(std::floor(Event->position().y())), C, R);
    if (C >= 0)
        ChooseCell(C, R);
}

void TDrawGrid::mouseMoveEvent(QMouseEvent* Event)
{
    const int X = int(std::floor(Event->position().x()));
    const int Y = int(std::floor(Event->position().y()));
    const TShiftState Shift = ShiftStateOf(Event->buttons(), Event->modifiers());
    CallHandler([&] { emit MouseMove(Shift, X, Y); });
}

void TDrawGrid::keyPressEvent(QKeyEvent* Event)
{
    const bool Ctrl = Event->modifiers() & Qt::ControlModifier;
    int C = FCol;
    int R = FRow;
    switch (Event->key()) {
    case Qt::Key_Left: --C; break;
    case Qt::Key_Right: ++C; break;
    case Qt::Key_Up: --R; break;
    case Qt::Key_Down: ++R; break;
    case Qt::Key_Home:
        C = 0;
        if (Ctrl)
            R = 0;
        break;
    case Qt::Key_End:
        C = FColCount - 1;
        if (Ctrl)
            R = FRowCount - 1;
        break;
    case Qt::Key_PageUp: R = 0; break;
    case Qt::Key_PageDown: R = FRowCount - 1; break;
    default:
        BackingImageWidget::keyPressEvent(Event);
        return;
    }
    // At an edge the focus stays, and nothing is chosen.
    C = std::clamp(C, 0, FColCount - 1);
    R = std::clamp(R, 0, FRowCount - 1);
    if (C != FCol || R != FRow)
        ChooseCell(C, R);
    Event->accept();
}

void TDrawGrid::focusInEvent(QFocusEvent* Event)
{
    BackingImageWidget::focusInEvent(Event);
    // Qt raises the widget's own focus event after this handler; the cell's is raised after it,
    // from the event loop, so that the cell is what a screen reader speaks last.
    QTimer::singleShot(0, this, [this] {
        if (hasFocus())
            NotifyCurrentCellFocused(this);
    });
    requestRender();
}

void TDrawGrid::focusOutEvent(QFocusEvent* Event)
{
    BackingImageWidget::focusOutEvent(Event);
    requestRender();
}
