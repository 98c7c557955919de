#include "views/InspectorAccessibility.h"

#include <QAccessible>
#include <QHeaderView>
#include <QList>
#include <QPointer>
#include <QTreeView>

namespace {

// Counts into shown the rows that view shows above target, from parent's down; true once target
// is reached.
bool countRowsAbove(const QTreeView* view, const QModelIndex& parent, const QModelIndex& target, int& shown)
{
    const QAbstractItemModel* model = view->model();
    for (int row = 0; row < model->rowCount(parent); ++row) {
        if (view->isRowHidden(row, parent))
            continue;
        const QModelIndex at = model->index(row, 0, parent);
        if (at == target)
            return true;
        ++shown;
        if (view->isExpanded(at) && countRowsAbove(view, at, target, shown))
            return true;
    }
    return false;
}

QList<QPointer<QTreeView>>& keptViews()
{
    static QList<QPointer<QTreeView>> views;
    return views;
}

QTreeView* keptViewOf(QObject* object)
{
    for (const QPointer<QTreeView>& view : keptViews())
        if (view && view == object)
            return view;
    return nullptr;
}

QAccessible::UpdateHandler nextHandler = nullptr;

void handle(QAccessibleEvent* event);

// Qt hands an event to the platform only while no handler is installed.
void passOn(QAccessibleEvent* event)
{
    if (nextHandler) {
        nextHandler(event);
        return;
    }
    // Qt has already told the accessible tables of a model change, and the platform ignores
    // the event: sent again, the tables would apply the change twice.
    if (event->type() == QAccessible::TableModelChanged)
        return;
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(handle);
}

void handle(QAccessibleEvent* event)
{
    QTreeView* view = event->type() == QAccessible::Focus ? keptViewOf(event->object()) : nullptr;
    if (!view) {
        passOn(event);
        return;
    }
    switch (rowFocusOf(view, event)) {
    case RowFocus::Passed:
        passOn(event);
        break;
    case RowFocus::Dropped:
        break;
    case RowFocus::ToCurrentCell: {
        QAccessibleEvent cell(view, QAccessible::Focus);
        cell.setChild(accessibleChildOf(view, view->currentIndex()));
        passOn(&cell);
        break;
    }
    }
}

}  // namespace

void keepRowFocusTrue(QTreeView* view)
{
    static const bool installed = [] {
        nextHandler = QAccessible::installUpdateHandler(handle);
        return true;
    }();
    (void)installed;
    keptViews().removeAll(nullptr);
    if (view && !keptViews().contains(view))
        keptViews().append(view);
}

RowFocus rowFocusOf(const QTreeView* view, const QAccessibleEvent* event)
{
    if (event->type() != QAccessible::Focus || event->object() != view)
        return RowFocus::Passed;
    if (event->child() >= 0)
        return view->hasFocus() ? RowFocus::Passed : RowFocus::Dropped;
    return accessibleChildOf(view, view->currentIndex()) >= 0 ? RowFocus::ToCurrentCell : RowFocus::Passed;
}

int accessibleChildOf(const QTreeView* view, const QModelIndex& index)
{
    const QAbstractItemModel* model = view->model();
    if (!model || !index.isValid() || index.model() != model)
        return -1;
    // The tree's accessible children are its header's cells (counted when hidden), then the cells
    // of the rows shown, top to bottom.
    int shown = 0;
    if (!countRowsAbove(view, view->rootIndex(), index.siblingAtColumn(0), shown))
        return -1;
    return (shown + (view->header() ? 1 : 0)) * model->columnCount() + index.column();
}
