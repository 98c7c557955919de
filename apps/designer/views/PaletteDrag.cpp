#include "views/PaletteDrag.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>

QMimeData* controlClassData(const QString& className)
{
    auto* data = new QMimeData;
    data->setData(QLatin1String(ControlClassMimeType), className.toUtf8());
    return data;
}

QString controlClassIn(const QMimeData* data)
{
    return data && data->hasFormat(QLatin1String(ControlClassMimeType))
               ? QString::fromUtf8(data->data(QLatin1String(ControlClassMimeType)))
               : QString();
}

PaletteDrag::PaletteDrag(QObject* parent) : QObject(parent), runDrag([](QDrag& drag) { drag.exec(Qt::CopyAction); }) {}

void PaletteDrag::attach(QAbstractButton* button, const QString& className)
{
    if (!button)
        return;
    m_classes.insert(button, className);
    button->installEventFilter(this);
    connect(button, &QObject::destroyed, this, [this, button] { m_classes.remove(button); });
}

bool PaletteDrag::eventFilter(QObject* watched, QEvent* event)
{
    auto* button = qobject_cast<QAbstractButton*>(watched);
    if (!button || !m_classes.contains(button))
        return false;
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease && type != QEvent::MouseMove)
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (type == QEvent::MouseButtonPress) {
        if (mouse->button() == Qt::LeftButton) {
            m_pressed = button;
            m_pressedAt = mouse->position().toPoint();
        }
        return false;
    }
    if (type == QEvent::MouseButtonRelease) {
        m_pressed = nullptr;
        return false;
    }
    if (m_pressed != button || !(mouse->buttons() & Qt::LeftButton)
        || (mouse->position().toPoint() - m_pressedAt).manhattanLength() < QApplication::startDragDistance())
        return false;
    m_pressed = nullptr;
    // A drag, not a click: the button comes up without firing (the drag takes the release).
    button->setDown(false);
    // Qt deletes a drag it ran when the window system is done with it; a drag that never ran goes
    // with its button.
    auto* drag = new QDrag(button);
    drag->setMimeData(controlClassData(m_classes.value(button)));
    runDrag(*drag);
    return true;
}
