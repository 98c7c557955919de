#pragma once
// Toolkit grids: the draw grid, whose owner draws every cell.

#include "host/vcl/BackingImageWidget.h"
#include "host/vcl/Forms.h"

#include <functional>

// Cell states handed to DrawCell, as flags.
constexpr int gdSelected = 1; // the current cell
constexpr int gdFocused = 2;  // the current cell of a grid that has the keyboard focus
constexpr int gdFixed = 4;    // a fixed cell (a draw grid here has none)

// A grid of cells drawn by its owner, without scrolling, editing or range selection.
//
// Layout: a 1-pixel grid line runs around the grid and between its cells. Cell (c, r) covers
// x = 1 + c * (DefaultColWidth + 1) up to, not including, that + DefaultColWidth, and likewise
// for y; the grid is 1 + ColCount * (DefaultColWidth + 1) pixels wide. The grid line right of a
// cell and the one below it belong to that cell for MouseToCell (a pointer moving across the grid
// never leaves every cell); only the outer line at the left and top, and anything beyond the
// last column or row, lie outside every cell.
//
// The current cell starts at (0, 0). The user chooses a cell with a left click or with the arrow
// keys (Home, End, Ctrl+Home, Ctrl+End, Page Up and Page Down go to the row's ends, the corners,
// and the column's ends); SelectCell runs first, and the current cell moves only when it leaves
// CanSelect true. The grid outlines the current cell on the grid lines around it, and while it
// has the keyboard focus also marks it with an inverted dotted frame inside the cell, drawn after
// DrawCell.
//
// Accessibility: the grid's tooltip over a cell, and its accessible description, give the name
// that CellName returns for that cell (the description follows the current cell). Assistive
// technology sees the grid as a list whose items are its cells, row by row, each named by
// CellName; moving the current cell, and the grid getting the focus, raise a focus event on the
// current cell, so that a screen reader speaks its name.
class TDrawGrid : public BackingImageWidget {
    Q_OBJECT
    Q_PROPERTY(int ColCount READ ColCount WRITE SetColCount)
    Q_PROPERTY(int RowCount READ RowCount WRITE SetRowCount)
    Q_PROPERTY(int DefaultColWidth READ DefaultColWidth WRITE SetDefaultColWidth)
    Q_PROPERTY(int DefaultRowHeight READ DefaultRowHeight WRITE SetDefaultRowHeight)

public:
    explicit TDrawGrid(QWidget* parent = nullptr);

    int ColCount() const { return FColCount; }
    void SetColCount(int Value);
    int RowCount() const { return FRowCount; }
    void SetRowCount(int Value);
    int DefaultColWidth() const { return FColWidth; }
    void SetDefaultColWidth(int Value);
    int DefaultRowHeight() const { return FRowHeight; }
    void SetDefaultRowHeight(int Value);

    // The current cell.
    int Col() const { return FCol; }
    int Row() const { return FRow; }

    // The cell under (X, Y), or -1, -1 outside every cell.
    void MouseToCell(int X, int Y, int& ACol, int& ARow) const;
    // The pixels of a cell (right and bottom excluded); an empty rectangle for no cell.
    TRect CellRect(int ACol, int ARow) const;

    // The canvas DrawCell draws with; during DrawCell it is clipped to the cell.
    TCanvas& Canvas() { return canvas(); }
    // The image as last drawn.
    const QImage& Image() const { return image(); }
    // Draws every cell now, then shows the grid.
    void Repaint() { renderNow(); }

    // The name of a cell, for the tooltip and assistive technology; none when unset.
    std::function<String(int ACol, int ARow)> CellName;
    // What CellName says of a cell; empty when it is unset or raises.
    String NameOfCell(int ACol, int ARow) const;

    QSize sizeHint() const override;

signals:
    void DrawCell(int ACol, int ARow, TRect Rect, int State);
    // The user chose a cell; the current cell becomes it unless a handler clears CanSelect.
    void SelectCell(int ACol, int ARow, bool& CanSelect);
    void MouseMove(TShiftState Shift, int X, int Y);

protected:
    void renderImage(TCanvas& Canvas) override;
    bool event(QEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;
    void focusInEvent(QFocusEvent* Event) override;
    void focusOutEvent(QFocusEvent* Event) override;

private:
    void ChooseCell(int ACol, int ARow);
    void LayoutChanged();
    void DrawCurrentCellMark(TCanvas& Canvas);

    int FColCount = 5;
    int FRowCount = 5;
    int FColWidth = 24;
    int FRowHeight = 24;
    int FCol = 0;
    int FRow = 0;
};
