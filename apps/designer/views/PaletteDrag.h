#pragma once
// Dragging a control class from the palette onto the preview. The drag carries the class's name
// under a MIME type of the designer's own, so no other program takes it and the preview takes
// nothing else. A press on a palette button that then moves QApplication::startDragDistance()
// pixels starts the drag, and the button does not click; a click without moving still adds the
// control at the next free place.

#include <QHash>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>

#include <functional>

class QAbstractButton;
class QDrag;
class QMimeData;

inline constexpr const char* ControlClassMimeType = "application/x-cvdesigner-control-class";
// What a drag of the class carries.
QMimeData* controlClassData(const QString& className);
// The class a drag carries, or "" when it carries none.
QString controlClassIn(const QMimeData* data);

class PaletteDrag : public QObject {
    Q_OBJECT
public:
    explicit PaletteDrag(QObject* parent = nullptr);
    // Lets the button start drags of the class.
    void attach(QAbstractButton* button, const QString& className);
    // Runs a drag from the palette until it ends: QDrag::exec with a copy by default. The window
    // system runs the drag loop; a platform without a display has none, so tests put a stand-in
    // here that delivers the drag's events to a widget themselves.
    std::function<void(QDrag& drag)> runDrag;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QHash<const QObject*, QString> m_classes;
    // The button the left button went down on, and where.
    QPointer<QAbstractButton> m_pressed;
    QPoint m_pressedAt;
};
