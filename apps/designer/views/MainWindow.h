#pragma once
// The designer's main window: the control palette, the form's controls as a list and as a live
// preview, the property inspector, the package view, the File menu that opens, saves and
// creates forms without ever dropping unsaved work unasked, the Edit menu's clipboard and the
// Insert menu.

#include "packages/PackageLoader.h"

#include <QMainWindow>
#include <QMargins>

#include <memory>
#include <utility>
#include <vector>

class Document;
class EditCommands;
class FileController;
class FormEdits;
class FormSelection;
class QAction;
class ElidedLabel;
class FormModel;
struct FormProblem;
class QLabel;
class QListView;
class QMenu;
class QItemSelection;
class PackagesView;
class PreviewWidget;
class PropertyInspector;
class RecoveryStore;
class TPalmoControl;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(const QString& packagePath, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Selects the control of that name (alone) and shows its properties.
    bool selectControl(const QString& name);
    // Makes these controls the selection, in this order (the first is the reference).
    void setSelection(const std::vector<TPalmoControl*>& controls);
    const std::vector<TPalmoControl*>& selection() const;
    FormEdits& edits() const { return *m_edits; }
    // Adds a control of the class under the next free name and selects it; null for an unknown class.
    TPalmoControl* addControl(const QString& className);

    // The File menu's actions and the recovery offer, as the file controller does them
    // (FileController.h says what each answers).
    bool newForm();
    bool openForm(const QString& path);
    bool save();
    bool saveAs(const QString& path);
    bool maybeSave();
    bool offerRecovery();

    Document* document() const { return m_document; }
    RecoveryStore* recovery() const { return m_recovery; }
    FormModel* form() const;
    PropertyInspector* inspector() const { return m_inspector; }
    PreviewWidget* preview() const { return m_preview; }
    PackagesView* packagesView() const { return m_packages; }
    PackageLoader& loader() { return m_loader; }
    QListView* controlList() const { return m_controls; }

    // The Edit menu's clipboard: the selected controls go to the clipboard as the text of a form
    // file holding just them; Paste adds the clipboard's controls under free names as one step
    // and selects them; Duplicate does both without the clipboard. False when nothing was done
    // (the status bar says why).
    bool copySelection();
    bool cutSelection();
    bool paste();
    bool duplicateSelection();

    // The largest size within wanted (frame excluded) that, with frame around it, fits a screen
    // whose free area is available.
    static QSize fittingSize(const QSize& wanted, const QRect& available, const QMargins& frame = QMargins());
    // Shrinks and moves the window so that it lies on its screen's free area.
    void fitToScreen();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildCentral();
    void buildDocks();
    void buildMenus();
    void buildSimulateMenu(QMenu* view);
    // Makes the Readability dock as tall as eight lines of its list, within half the window, in
    // passes each after the layout has settled; asked is the size the pass before asked for.
    void holdReadabilityLines();
    // What unloading the package takes from the form: its colour properties' editors ("" for none).
    QString colourEditorsInUse() const;
    // The list and the preview as views of the core's selection.
    void connectSelection();
    // The preview's gestures as operations of the core.
    void connectPreview();
    void connectInspector();
    void showSelection();
    void showSelectionHint();
    // Shows the core's selection in the list, the preview and the inspector.
    void selectionChanged();
    void followListSelection(const QItemSelection& selected, const QItemSelection& deselected);

    PackageLoader m_loader;
    Document* m_document;
    std::unique_ptr<FormEdits> m_edits;
    FormSelection* m_selection;
    QListView* m_controls;
    PreviewWidget* m_preview;
    PropertyInspector* m_inspector;
    PackagesView* m_packages;
    RecoveryStore* m_recovery;
    FileController* m_files;
    EditCommands* m_commands;
    // What the inspector shows, or what to do to see something there. A widget of the status
    // bar, so that a passing message ("Saved …") hides it only while it shows.
    ElidedLabel* m_selectionHint = nullptr;
    // Shown while recovery copies cannot be written.
    QLabel* m_recoveryWarning = nullptr;
    // The inspector's last message in the status bar, which goes when its control does.
    QString m_inspectorMessage;
    bool m_syncingList = false;
    // The height of a line of the Readability list (see holdReadabilityLines); 0 until measured.
    int m_findingLine = 0;
    // Whether the docks have their sizes: from the last run, or given at the first show.
};
