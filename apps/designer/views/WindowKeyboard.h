#pragma once
// The main window's keys that cross from one view to another: Ctrl+F anywhere goes to the
// inspector's filter; Down or Enter in the filter goes to the first property it keeps; the Tab
// key walks the views in the order they are seen (palette, control list, preview, filter,
// properties, the docks below), and never stops on a widget that is not shown.

#include "views/WindowViews.h"

#include <QObject>
#include <QSet>

class PropertyInspector;
class QTabBar;
class QWidget;

class WindowKeyboard : public QObject {
public:
    explicit WindowKeyboard(const WindowViews& views);

    // Sets the Tab order of the window's views from left to right and top to bottom.
    void orderTabStops();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Hides the content of every dock covered by another's tab, and shows it again when its tab
    // is chosen (once the event loop runs: Qt changes the tabs in steps).
    void hideCoveredDocksSoon();
    void hideCoveredDocks();

    WindowViews m_views;
    QObject* m_filter = nullptr;  // the inspector's filter box, compared only
    QSet<QTabBar*> m_tabBars;
};

// Puts the keyboard in the value editor of the inspector's row, its text selected, so that what
// is typed next replaces the value. False when there is no such row.
bool focusValueEditor(PropertyInspector& inspector, int row);
