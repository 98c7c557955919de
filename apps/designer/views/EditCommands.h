#pragma once
// The commands of the Edit, Insert, View (grid) and Format menus and of the palette: each action
// calls an operation of the form core on the selection and says in the status bar what came of
// it; the actions are enabled while the selection or the clipboard gives them something to do.

#include <QObject>
#include <QString>

#include <cstddef>
#include <utility>
#include <vector>

class FormEdits;
class PreviewWidget;
class PropertyInspector;
class QAction;
class QByteArray;
class QMainWindow;
class QMenu;
class QMenuBar;
class TPalmoControl;

class EditCommands : public QObject {
    Q_OBJECT
public:
    EditCommands(QMainWindow* window, FormEdits& edits, PreviewWidget* preview, PropertyInspector* inspector);

    // Undo, Redo, the clipboard's commands, Delete (naming how many) and Select All.
    void buildEditMenu(QMenu* edit);
    // One command per control class.
    void buildInsertMenu(QMenuBar* bar);
    void buildPalette();
    // The View menu's grid and the Format menu's align, size and space commands, each enabled
    // while enough controls are selected for it.
    void buildLayoutMenus();

    // Adds a control of the class under the next free name where the preview has room, and
    // selects it; null for an unknown class.
    TPalmoControl* addControl(const QString& className);
    // The selected controls go to the clipboard as the text of a form file holding just them;
    // Paste adds the clipboard's controls under free names as one step and selects them;
    // Duplicate does both without the clipboard. False when nothing was done (the status bar
    // says why).
    bool copySelection();
    bool cutSelection();
    bool paste();
    bool duplicateSelection();
    void deleteSelection();

private:
    void buildClipboardActions(QMenu* edit);
    // Bring to Front and Send to Back, enabled with a selection.
    void buildStackingActions(QMenu* format);
    void updateClipboardActions();
    void updateLayoutActions();
    bool pasteText(const QByteArray& text, const QString& sourceName);

    QMainWindow* m_window;
    FormEdits& m_edits;
    PreviewWidget* m_preview;
    PropertyInspector* m_inspector;
    // Cut, Copy, Duplicate (need a selection) and Paste (needs something on the clipboard).
    std::vector<QAction*> m_selectionActions;
    QAction* m_pasteAction = nullptr;
    // Its text counts the selected controls.
    QAction* m_deleteAction = nullptr;
    // The Format menu's commands with the number of selected controls each needs.
    std::vector<std::pair<QAction*, std::size_t>> m_layoutActions;
};
