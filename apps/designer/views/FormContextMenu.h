#pragma once
// The context menus of the preview and the control list. On a control (which is selected first
// unless it already is; it becomes the current one): Cut, Copy, Paste, Duplicate, Delete, Select
// All, Bring to Front, Send to Back, Edit Text, Rename. On the empty preview or list: Paste, Select
// All, Show Grid, Snap to Grid. The menus hold the window's own actions, so their enabled states,
// texts and keys are the Edit, View and Format menus'. Edit Text and Rename are made here: a
// double-click on a control in the preview edits its caption in place, F2 renames in the preview
// and in the list.

#include <QObject>

class FormEdits;
class InPlaceEditing;
class PreviewWidget;
class QAction;
class QListView;
class QMainWindow;
class QMenu;
class QPoint;
class QWidget;
class TPalmoControl;

class FormContextMenu : public QObject {
    Q_OBJECT
public:
    FormContextMenu(QMainWindow* window, FormEdits& edits, PreviewWidget* preview, QListView* list);

    // Shows the menu of the control (null: of the form) at the screen point, over the widget;
    // the menu deletes itself when it closes.
    QMenu* popup(TPalmoControl* control, QWidget* over, const QPoint& globalPos);
    InPlaceEditing* inPlace() const { return m_inPlace; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* windowAction(const char* objectName) const;
    // Edit Text and Rename act on the current control, in the list when it has the keyboard.
    void editText();
    void rename();
    void updateActions();

    QMainWindow* m_window;
    FormEdits& m_edits;
    PreviewWidget* m_preview;
    QListView* m_list;
    InPlaceEditing* m_inPlace;
    QAction* m_editText;
    QAction* m_rename;
};
