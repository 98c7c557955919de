#pragma once
// The menu of an inspector row (Shift+F10, the Menu key or a right-click): Reset to Default,
// Edit... for a row with a dialog, Replace Colour... for a colour row that shows one value, which
// asks for the colour that takes its place on every property of the form holding it.

class InspectorRows;
class QPoint;

// The menu of the row at the view's point at; nothing off the rows.
void showRowMenu(InspectorRows& rows, const QPoint& at);
// Asks for the replacing colour of the row's value, then replaces it all over the form (one step).
void askReplaceColor(InspectorRows& rows, int row);
