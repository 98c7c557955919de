#include "views/InspectorFilter.h"

#include "views/PropertyModel.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QTreeView>

#include <algorithm>

InspectorFilter::InspectorFilter(QLineEdit* box, QTreeView* view, PropertyModel* model, QObject* parent)
    : QObject(parent), m_box(box), m_view(view), m_model(model)
{
    box->installEventFilter(this);
    connect(box, &QLineEdit::textChanged, this, [this] { apply(); });
}

void InspectorFilter::apply()
{
    const bool wasApplying = m_applying;
    m_applying = true;
    apply(QModelIndex(), m_box->text().trimmed());
    if (isHidden(m_view->currentIndex())) {
        const auto& leaves = m_model->leaves();
        const auto first = std::find_if(leaves.begin(), leaves.end(), [this](const PropertyModel::Node* leaf) {
            return !isHidden(m_model->indexOf(leaf, 0));
        });
        m_view->setCurrentIndex(first != leaves.end() ? m_model->indexOf(*first, 0) : QModelIndex());
    }
    m_applying = wasApplying;
}

bool InspectorFilter::apply(const QModelIndex& parent, const QString& text)
{
    bool any = false;
    for (int row = 0; row < m_model->rowCount(parent); ++row) {
        const QModelIndex index = m_model->index(row, 0, parent);
        const PropertyModel::Node* node = m_model->nodeOf(index);
        const bool below = apply(index, text);
        const bool shown = text.isEmpty() || (node->editor ? node->path.contains(text, Qt::CaseInsensitive) : below);
        m_view->setRowHidden(row, parent, !shown);
        any = any || shown;
    }
    return any;
}

bool InspectorFilter::isHidden(const QModelIndex& index) const
{
    for (QModelIndex at = index.siblingAtColumn(0); at.isValid(); at = at.parent())
        if (m_view->isRowHidden(at.row(), at.parent()))
            return true;
    return false;
}

bool InspectorFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_box && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            m_box->clear();
            m_view->setFocus(Qt::OtherFocusReason);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
