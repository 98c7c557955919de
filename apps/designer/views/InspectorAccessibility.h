#pragma once
// What a tree view tells a screen reader about its current row, kept true to the keyboard focus.
// Qt 6.4's tree view raises a focus event for every new current row whether or not it has the
// focus, so a screen reader leaves the field being typed in (the filter, a control in the preview)
// for a row the program picked. And when the tree itself takes the focus, it raises the event for
// the tree alone: a screen reader that asks for the tree's selection (Qt 6.4 has no selection to
// give it) then says only "Properties tree" and never the row. For a kept view, a focus event for
// a row is passed on only while the view has the focus, and the view's own focus event becomes
// one for its current cell.

#include <QModelIndex>

class QAccessibleEvent;
class QTreeView;

void keepRowFocusTrue(QTreeView* view);

// What becomes of event, raised for a kept view, on its way to the screen reader.
enum class RowFocus { Passed, Dropped, ToCurrentCell };
RowFocus rowFocusOf(const QTreeView* view, const QAccessibleEvent* event);

// The number of index's cell among the accessible children of view (its header's cells first);
// -1 when the row is not shown.
int accessibleChildOf(const QTreeView* view, const QModelIndex& index);
