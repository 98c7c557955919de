#pragma once
// What the main window tells assistive technology beyond what its widgets say themselves: a name
// for every view (the control list, the preview, the inspector and its filter, the Readability
// list, the palette, the packages), the status bar's messages ("Saved …", a recovery copy
// written again or not) and the number of readability findings after a change, announced, and a
// refused value's message raised as an alert.

#include "views/WindowViews.h"

#include <QObject>

class ContrastView;

class WindowAccessibility : public QObject {
public:
    WindowAccessibility(const WindowViews& views, ContrastView* readability);

private:
    int m_toldCount = 0;  // the readability count last announced
};
