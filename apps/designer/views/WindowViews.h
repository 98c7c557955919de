#pragma once
// The main window's views, for the helpers that work across them (keys, accessibility) without
// knowing the window itself.

class PropertyInspector;
class QMainWindow;
class QWidget;

struct WindowViews {
    QMainWindow* window;
    QWidget* controlList;
    QWidget* preview;
    PropertyInspector* inspector;
    QWidget* packages;
};
