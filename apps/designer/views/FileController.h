#pragma once
// The File menu's flows over the document: new, open, save, save as, the recent files, the
// recovery copies left behind, and asking before unsaved changes would be dropped. Every question
// and failure is shown in the window, with its message boxes; the window's title follows the
// document's name and modified state.

#include <QObject>
#include <QString>

#include <vector>

class Document;
class FileChangeBar;
struct FormProblem;
class QMainWindow;
class QMenu;

class FileController : public QObject {
    Q_OBJECT
public:
    FileController(QMainWindow* window, Document* document);

    // Fills the File menu: New, Open, Open Recent, Save, Save As, Quit.
    void buildFileMenu(QMenu* file);

    // New and Open ask first when they would drop unsaved changes; false when the user
    // cancelled or the action failed (a message says why).
    bool newForm();
    bool openForm(const QString& path);
    bool save();
    bool saveAs(const QString& path);
    // Asks to save unsaved changes: true when the form may be dropped (saved, or discarded).
    bool maybeSave();
    // Offers the recovery copies that designers which did not exit left behind, newest first:
    // restoring one makes it the form (with its file name, marked modified); declining removes
    // it. True when a copy was restored.
    bool offerRecovery();
    // Asks where to save, starting at startPath (the form's file when empty), and saves there.
    bool chooseFileAndSave(const QString& startPath = QString());
    // Reads the file again as one undo step; false when it does not load (a message says why).
    bool reload();
    // The line above the form saying that the file was changed on disk, for the window to place.
    FileChangeBar* changeBar() const { return m_changeBar; }
    void updateTitle();

private:
    void showError(const QString& title, const QString& message);
    // Says why path did not load: in a message box for a few problems, as a list for more.
    void showProblems(const QString& title, const QString& headline, const QString& path,
                      const std::vector<FormProblem>& problems);
    // Says that saving to path failed and what is on disk; offers Save As, which starts in the
    // user's documents folder with a free file name.
    bool saveFailed(const QString& path, const QString& failure);
    void rememberRecent(const QString& path);
    void fillRecentMenu();

    QMainWindow* m_window;
    Document* m_document;
    QMenu* m_recentMenu = nullptr;
    FileChangeBar* m_changeBar;
};
