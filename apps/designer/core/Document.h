#pragma once
// The form being edited as a document: one form for the designer's lifetime, whose controls are
// replaced when another file is opened, the file it was read from or saved to, and its undo
// stack. Every change of a property or of the list of controls is one command on the stack; the
// stack's clean state is "saved". No widget code: the window, the command line and the recovery
// copy share it.

#include "core/HistoryHost.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class Clock;
class FormModel;
class FormSelection;
class QUndoStack;
class TPalmoControl;

class Document : public QObject, private HistoryHost {
    Q_OBJECT
public:
    explicit Document(QObject* parent = nullptr);
    ~Document() override;

    FormModel* form() const { return m_form.get(); }
    // The controls selected on the form, in the order they were selected.
    FormSelection* selection() const { return m_selection; }
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
    // Makes the controls of a form read from fileName the form's, unmodified and with no history;
    // contents are the file's bytes as read, against which changedOnDisk compares.
    void adoptFile(FormModel& source, const QString& fileName, const QByteArray& contents);
    // Makes the controls of a form kept elsewhere (a recovery copy) the form's, modified and with
    // no history. fileName is only a suggestion: the copy may be older than the file, or name a
    // file this user never opened, so the first save asks where to (fileConfirmed is false).
    // When fileName exists and reads as a form, that form is taken first, as if opened, and the
    // recovered controls replace it as one step: one undo steps back to the form as it is on disk.
    void adoptRecovered(FormModel& source, const QString& fileName);
    // Whether saving to fileName is what the user chose (they opened or saved that file).
    bool fileConfirmed() const { return m_fileConfirmed; }
    // Whether the file now holds other bytes than it did when the form was read from it or last
    // saved to it (another program wrote it). False when the file is gone or was never read.
    bool changedOnDisk() const;
    // Reads the file again and makes its controls the form's as one step ("Reload NAME"): undo
    // brings back the controls shown before. The form is then saved (it is what the file holds).
    // Returns every problem when the file does not load, changing nothing.
    QStringList reload();
    // Keeps this form over what another program wrote: the file's present bytes become the ones
    // changedOnDisk compares with, and the form counts as changed (it differs from the file).
    void keepOwnVersion();

    // Undo and redo, which do nothing while a change is being recorded (a property editor's
    // dialog is open): the step it will make has its values before already, and a step undone
    // meanwhile would be folded into it.
    bool canUndo() const;
    bool canRedo() const;
    void undo();
    void redo();

    // The edits, each one undo step.
    // Runs change, which writes property values of controls, and records the values of those
    // controls before and after as one step named text; no step when no value changed. An
    // exception change raises passes on, after what it did write was recorded. A step of a
    // non-empty mergeKey merges into the step directly before it when that has the same key and
    // came at most a pause of two seconds earlier, and no undo, redo, save or other step came
    // between (a run of nudges by the arrow keys, of texts typed into a property). With scope,
    // only the values at those paths are compared and recorded: change writes no other (a
    // typed colour for 10,000 controls records 10,000 values, not every property of each).
    void recordChange(const QString& text, const std::vector<TPalmoControl*>& controls,
                      const std::function<void()>& change, const QString& mergeKey = QString(),
                      const QStringList& scope = {});
    // Puts a new control, not yet on any form, at index (the end when out of range). Returns ""
    // or why its name is not usable (the control is then freed).
    QString addControl(std::unique_ptr<TPalmoControl> control, int index = -1);
    // Puts new controls, not yet on any form, at the end in this order as one step named text.
    // Returns "" or why a name is not usable, on the form or among them (all are freed then).
    QString addControls(std::vector<std::unique_ptr<TPalmoControl>> controls, const QString& text);
    // Takes the controls off the form as one step named text ("Delete …" when empty); undo puts
    // them back at their places.
    void removeControls(const std::vector<TPalmoControl*>& controls, const QString& text = QString());
    // Puts the form's controls in this order (each once) as one step named text. False, with no
    // step, when order is not the form's controls or is the order they have.
    bool reorderControls(const std::vector<TPalmoControl*>& order, const QString& text);
    // Renames a control. Returns "" or why the name is refused (nothing recorded then).
    QString renameControl(TPalmoControl* control, const QString& newName);

    // The clock that tells a run of steps from a pause (Qt's monotonic clock unless set).
    void setClock(std::unique_ptr<Clock> clock);

    // "PalmoButton1", or "3 controls".
    static QString describe(const std::vector<TPalmoControl*>& controls);

signals:
    void modifiedChanged(bool modified);
    void fileNameChanged(const QString& fileName);
    // An undo or redo has changed the form (not emitted for the first redo of a change that had
    // been made already): rows that depend on values may have come or gone.
    void historyApplied();
    // canUndo, canRedo or the names of their steps may have changed.
    void undoStateChanged();

private:
    FormModel* historyForm() const override { return m_form.get(); }
    void beginApplying() override;
    void endApplying() override;
    const QUndoCommand* mergeTarget() const override;
    // Pushes a step; one that other steps may merge into (mayTakeMerges) becomes the merge target.
    void pushStep(QUndoCommand* command, bool mayTakeMerges = false);
    void replaceControls(FormModel& source);
    // Replaces the controls by source's as one step named text.
    void pushReplacement(FormModel& source, const QString& text);
    void setFileName(const QString& fileName);
    void syncModified();
    void setRecording(int depth);

    std::unique_ptr<FormModel> m_form;
    std::unique_ptr<Clock> m_clock;
    QUndoStack* m_stack;
    FormSelection* m_selection;
    // The step pushed last, while later steps may still merge into it; see mergeTarget().
    const QUndoCommand* m_mergeTarget = nullptr;
    bool m_pushing = false;
    QString m_fileName;
    bool m_fileConfirmed = true;
    // A digest of the file's bytes as last read or written; empty when unknown.
    QByteArray m_diskDigest;
    bool m_modified = false;
    // Set while the controls are being replaced, so that doing it is not taken for an edit.
    bool m_replacing = false;
    // Depth of recordChange calls and of commands applying themselves: changes the stack knows of.
    int m_recording = 0;
    int m_applying = 0;
};
