#pragma once
// The form as it will look: every control of the form painted at its position and size with its
// appearance's colours, repainted whenever something on the form changes, over the layout grid's
// dots. The selected controls are outlined with eight grab handles each. A click selects the
// control under the pointer (Ctrl or Shift adds it to the selection or takes it out), a drag moves
// the selected controls, a drag of a handle sizes them, a drag on the background selects the
// controls the band touches; the arrow keys move them by one pixel (with Ctrl to the grid, with
// Shift they size them, with Ctrl+Shift by the grid step), Tab walks the controls, Delete removes
// them, a double-click asks for a control's caption to be edited in place. A control class dragged
// from the palette shows as the outline of a new control of that class where it would go, and is
// added where it is dropped. The preview changes nothing
// itself: it asks its owner, through its signals, so that every change goes through the one place
// that records it.
//
// The preview is as large as the form's controls reach (and at least as large as it is given),
// with the form's origin where the controls at negative places still show: in a scroll area
// every control can be seen and reached, and the selection is scrolled into view.

#include "core/IntRange.h"

#include "host/palmo/PalmoControl.h"

#include <QMargins>
#include <QWidget>

#include <vector>

class FormModel;
class QPainter;
class QScrollArea;

class PreviewWidget : public QWidget {
    Q_OBJECT
public:
    explicit PreviewWidget(FormModel* form, QWidget* parent = nullptr);
    QSize sizeHint() const override { return {420, 520}; }

    // The controls shown outlined, in selection order (the first is the one the inspector and
    // the colour dialog start from).
    void setSelection(const std::vector<TPalmoControl*>& controls);
    const std::vector<TPalmoControl*>& selection() const { return m_selection; }
    // The topmost control (the last in the form's order) whose rectangle holds the point, or null.
    TPalmoControl* controlAt(const QPoint& point) const;
    // Where the control is in the preview's own coordinates.
    QRect placeOf(const TPalmoControl* control) const { return rectOf(control); }
    // The form's point at the preview's top-left corner: (0, 0) unless a control lies left of or
    // above the form's origin; always on the grid's lines.
    QPoint origin() const { return m_origin; }
    FormModel* form() const { return m_form; }
    // What assistive technology is told of the form's controls.

    // The layout grid's dots (shown by default), and whether drags and Ctrl+arrows keep to its
    // lines (off by default).
    void setShowGrid(bool show);
    bool showGrid() const { return m_showGrid; }
    void setSnapToGrid(bool snap) { m_snapToGrid = snap; }
    bool snapToGrid() const { return m_snapToGrid; }

    // A drag of the selected controls (a move or a handle) is shown: they are drawn where the
    // drag puts them, which nothing has written yet.
    bool showsDraggedPlaces() const;
    // Where the control is shown: its place, or where the drag in progress will put it (the
    // place the form core will give it when the drag ends).
    Box shownPlaceOf(const TPalmoControl* control) const;
    // The outline of a control being dragged from the palette, where it would be added; empty
    // when there is none.
    QRect dropOutline() const { return m_dropOutline; }

signals:
    // The selection shown changed; before is what it was.
    void selectionShown(const std::vector<TPalmoControl*>& before);
    // The user clicked a control (null: the empty background), or Tab went to it. With Ctrl or
    // Shift held (toggle true) the control goes into the selection or out of it; otherwise it
    // becomes the selection.
    void selectionRequested(TPalmoControl* control, bool toggle);
    // The user drew a band over the background: the controls it touches, in the form's order,
    // to become the selection or (add, with Shift or Ctrl held) to join it.
    void bandSelectionRequested(const std::vector<TPalmoControl*>& controls, bool add);
    // The user moved the selected controls by (dx, dy) pixels: emitted once when a drag ends
    // (the controls are drawn at their dragged place meanwhile, nothing is written) and once per
    // arrow key press (byKey).
    void moveRequested(int dx, int dy, bool byKey = false);
    // The user sized the selected controls by (dw, dh) pixels with Shift and an arrow key.
    void resizeRequested(int dw, int dh);
    // The user dragged a grab handle: each selected control's edges move by these amounts, never
    // leaving it smaller than a pixel (withEdgesMoved). Emitted once, when the drag ends.
    void edgesMoveRequested(int dLeft, int dTop, int dRight, int dBottom);
    // The user sized the selected controls by the grid step with Ctrl+Shift and an arrow key: dx
    // and dy say which way (-1, 0 or 1).
    void gridResizeRequested(int dx, int dy);
    // A control of the class was dragged from the palette and dropped with its top-left corner
    // at the point (on the grid when snapping); the preview has taken the keyboard.
    void addRequested(const QString& className, const QPoint& at);
    // What the drag in progress shows changed (the places of the dragged controls, or the outline
    // of a control from the palette), or the drag ended.
    void shownPlacesChanged();
    // The user pressed Delete with controls selected.
    void deleteRequested();
    // The user pressed Ctrl+A.
    void selectAllRequested();
    // The user double-clicked a control: its caption is to be edited where it is.
    void captionEditRequested(TPalmoControl* control);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    // Tab and Shift+Tab walk the form's controls instead of leaving the preview.
    bool focusNextPrevChild(bool next) override;
    // Scrolled, the keyboard's frame is drawn again at the new edges of what shows.
    void moveEvent(QMoveEvent* event) override;

private:
    // What a press of the left button started.
    enum class Gesture { None, Move, Size, Band };

    QRect rectOf(const TPalmoControl* control) const;
    // Where a control is drawn: where it is, or where the drag in progress puts it.
    QRect shownRectOf(const TPalmoControl* control) const;
    bool isSelected(const TPalmoControl* control) const;
    // The selected control whose grab handle is under the point (the first selected's on top), or
    // null; sides says which edges the handle moves (see m_handle).
    TPalmoControl* handleAt(const QPoint& point, QPoint* sides) const;
    // The controls the band in progress touches, in the form's order.
    std::vector<TPalmoControl*> controlsInBand() const;
    // The controls drawn outlined: the selection, or what it will be when the band is let go.
    std::vector<TPalmoControl*> shownSelection() const;
    void updateCursor(const QPoint& point);
    // Drops a control that left the form from the selection and from the gesture in progress.
    void forget(TPalmoControl* control);
    // Ends the press or drag in progress without asking for anything.
    void cancelDrag();
    // A hidden control faded as a whole, a disabled one in greys: painted into a layer first, so
    // that its own parts (a button's shadow under its body) do not show through each other.
    void paintFaded(QPainter& p, const TPalmoControl& control, const QRect& rect, const QRect& dirty) const;
    // Shows the outline of the control being dragged from the palette with its top-left corner
    // at the point (on the nearest grid line when snapping); an empty size: no outline.
    void showDropOutline(const QPoint& point, const QSize& size);
    // Sizes the preview to what the controls reach and sets the origin (once per burst of
    // changes), then scrolls the first selected control into view when it moved.
    void updateExtent();
    void scrollSelectionIntoView();
    QScrollArea* scrollArea() const;

    FormModel* m_form;
    std::vector<TPalmoControl*> m_selection;
    QPoint m_origin;
    bool m_extentPending = false;
    // Where the first selected control was last scrolled into view.
    QRect m_shownLead;
    bool m_showGrid = true;
    bool m_snapToGrid = false;
    // The gesture the left button started: moving far enough makes it a drag.
    Gesture m_gesture = Gesture::None;
    // The selected control pressed without modifiers: becomes the only selection on a release
    // that ends no drag.
    TPalmoControl* m_pressed = nullptr;
    // The control whose body or handle was pressed: the grid snaps its edges, the others follow.
    TPalmoControl* m_grabbed = nullptr;
    // The grabbed handle's edges: x -1 the left, 1 the right, 0 neither; y the top or bottom.
    QPoint m_handle;
    // Ctrl or Shift was held when the band started: it adds to the selection.
    bool m_bandAdds = false;
    // A drag in progress: where it started, how far it has gone (after snapping), and for a handle
    // the edges' moves.
    bool m_dragging = false;
    QPoint m_dragStart;
    QPoint m_dragPoint;
    QPoint m_dragOffset;
    QMargins m_edgeMoves;
    // A control class dragged over the preview from the palette, and its outline.
    QString m_dropClass;
    QRect m_dropOutline;
};
