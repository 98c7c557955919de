#pragma once
// The form being edited as a document: one form for the designer's lifetime, whose controls are
// replaced when another file is opened, the file it was read from or saved to, and its undo
// stack. Every change of a property or of the list of controls is one command on the stack; the
// stack's clean state is "saved". No widget code: the window, the command line and the recovery
// copy share it.

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class FormCommand;
class FormModel;
class QUndoStack;
class TPalmoControl;

class Document : public QObject {
    Q_OBJECT
public:
    explicit Document(QObject* parent = nullptr);
    ~Document() override;

    FormModel* form() const { return m_form.get(); }
    QUndoStack* undoStack() const { return m_stack; }
    // The file of the form; empty for a form never saved.
    QString fileName() const { return m_fileName; }
    // The file's name without its folder, or "Untitled".
    QString displayName() const;
    // Whether the form differs from its file: the undo stack is not at its clean state, or a
    // change was made outside the stack.
    bool isModified() const { return m_modified; }
    // Marks the form saved (the stack's current state is clean) or changed (no state of the
    // stack is clean any more).
    void setModified(bool modified);

    // An empty form, no file, nothing to save, no history.
    void newForm();
    // Reads path and, when it loads, makes its controls the form's (with no history). When it
    // does not, returns every problem ("FILE:LINE:COLUMN: message") and leaves the form and the
    // file name alone.
    QStringList open(const QString& path);
    // Writes the form to path (the document's file when empty). Returns "" and takes path as the
    // document's file, marking it saved; or returns why the save failed, changing nothing.
    QString save(const QString& path = QString());
    // Makes the controls of a form read elsewhere (a recovery copy) the form's, with the file
    // name and modified state given, and no history.
    void adopt(FormModel& source, const QString& fileName, bool modified);

    // The edits, each one undo step.
    // Runs change, which writes property values of controls, and records the values of those
    // controls before and after as one step named text; no step when no value changed. An
    // exception change raises passes on, after what it did write was recorded.
    void recordChange(const QString& text, const std::vector<TPalmoControl*>& controls,
                      const std::function<void()>& change);
    // Puts a new control, not yet on any form, at index (the end when out of range). Returns ""
    // or why its name is not usable (the control is then freed).
    QString addControl(std::unique_ptr<TPalmoControl> control, int index = -1);
    // Takes the controls off the form; undo puts them back at their places.
    void removeControls(const std::vector<TPalmoControl*>& controls);
    // Renames a control. Returns "" or why the name is refused (nothing recorded then).
    QString renameControl(TPalmoControl* control, const QString& newName);

    // "PalmoButton1", or "3 controls".
    static QString describe(const std::vector<TPalmoControl*>& controls);

signals:
    void modifiedChanged(bool modified);
    void fileNameChanged(const QString& fileName);
    // An undo or redo has changed the form (not emitted for the first redo of a change that had
    // been made already): rows that depend on values may have come or gone.
    void historyApplied();

private:
    friend class FormCommand;
    void replaceControls(FormModel& source);
    void setFileName(const QString& fileName);
    void syncModified();

    std::unique_ptr<FormModel> m_form;
    QUndoStack* m_stack;
    QString m_fileName;
    bool m_modified = false;
    // Set while the controls are being replaced, so that doing it is not taken for an edit.
    bool m_replacing = false;
    // Depth of recordChange calls and of commands applying themselves: changes the stack knows of.
    int m_recording = 0;
    int m_applying = 0;
};
