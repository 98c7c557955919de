#include "PreviewWidget.h"

#include "FormModel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

PreviewWidget::PreviewWidget(FormModel* form, QWidget* parent) : QWidget(parent), m_form(form)
{
    setFocusPolicy(Qt::ClickFocus);
    connect(form, &FormModel::changed, this, qOverload<>(&QWidget::update));
}

void PreviewWidget::setSelection(const std::vector<TPalmoControl*>& controls)
{
    m_selection = controls;
    update();
}

TPalmoControl* PreviewWidget::controlAt(const QPoint& point) const
{
    const auto& controls = m_form->controls();
    for (auto it = controls.rbegin(); it != controls.rend(); ++it)
        if (QRect((*it)->FLeft, (*it)->FTop, (*it)->FWidth, (*it)->FHeight).contains(point))
            return *it;
    return nullptr;
}

void PreviewWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(0xF4, 0xF4, 0xF4));
    for (const TPalmoControl* control : m_form->controls()) {
        const QRect r(control->FLeft, control->FTop, control->FWidth, control->FHeight);
        p.setPen(Qt::gray);
        p.drawRect(r.adjusted(0, 0, -1, -1));
        p.drawText(r, Qt::AlignCenter, control->Name());
    }
    p.setPen(QPen(QColor(0, 120, 215), 1, Qt::DashLine));
    for (const TPalmoControl* control : m_selection)
        p.drawRect(QRect(control->FLeft - 2, control->FTop - 2, control->FWidth + 3, control->FHeight + 3));
}

void PreviewWidget::mousePressEvent(QMouseEvent* event)
{
    emit selectionRequested(controlAt(event->position().toPoint()), event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier));
}

void PreviewWidget::mouseMoveEvent(QMouseEvent*) {}

void PreviewWidget::mouseReleaseEvent(QMouseEvent*) {}

void PreviewWidget::keyPressEvent(QKeyEvent* event)
{
    if (m_selection.empty())
        return QWidget::keyPressEvent(event);
    switch (event->key()) {
    case Qt::Key_Left: emit moveRequested(-1, 0); break;
    case Qt::Key_Right: emit moveRequested(1, 0); break;
    case Qt::Key_Up: emit moveRequested(0, -1); break;
    case Qt::Key_Down: emit moveRequested(0, 1); break;
    case Qt::Key_Delete: emit deleteRequested(); break;
    default: QWidget::keyPressEvent(event);
    }
}
