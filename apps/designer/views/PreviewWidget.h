#pragma once
// The form as it will look: every control of the form painted at its position and size with its
// appearance's colours, repainted whenever something on the form changes. The selected controls
// are outlined. A click selects the control under the pointer (Ctrl or Shift adds it to the
// selection or takes it out), a drag moves the selected controls, the arrow keys move them by one
// pixel, Delete removes them. The preview changes nothing itself: it asks its owner, through its
// signals, so that every change goes through the one place that records it.

#include "host/palmo/PalmoControl.h"

#include <QWidget>

#include <vector>

class FormModel;

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

signals:
    // The user clicked a control (null: the empty background). With Ctrl or Shift held (toggle
    // true) the control goes into the selection or out of it; otherwise it becomes the selection.
    void selectionRequested(TPalmoControl* control, bool toggle);
    // The user moved the selected controls by (dx, dy) pixels: emitted once when a drag ends
    // (the controls are drawn at their dragged place meanwhile, nothing is written) and once per
    // arrow key press (byKey).
    void moveRequested(int dx, int dy, bool byKey = false);
    // The user sized the selected controls by (dw, dh) pixels with Shift and an arrow key.
    void resizeRequested(int dw, int dh);
    // The user pressed Delete with controls selected.
    void deleteRequested();
    // The user pressed Ctrl+A.
    void selectAllRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QRect rectOf(const TPalmoControl* control) const;
    bool isSelected(const TPalmoControl* control) const;
    // Drops a control that left the form from the selection and from the gesture in progress.
    void forget(TPalmoControl* control);
    // Ends the press or drag in progress without asking for anything.
    void cancelDrag();

    FormModel* m_form;
    std::vector<TPalmoControl*> m_selection;
    // The left button went down on a selected control: moving far enough starts a drag.
    bool m_armed = false;
    // The selected control pressed without modifiers: becomes the only selection on a release
    // that ends no drag.
    TPalmoControl* m_pressed = nullptr;
    // A drag in progress: where it started and how far it has gone.
    bool m_dragging = false;
    QPoint m_dragStart;
    QPoint m_dragOffset;
};
