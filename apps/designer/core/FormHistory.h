#pragma once
// What the document's undo stack records: the values of controls' properties before and after a
// change, and the commands that add, delete and rename controls or change their values. No widget
// code.

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QUndoCommand>
#include <QVariant>

#include <memory>
#include <utility>
#include <vector>

class FormModel;
class HistoryHost;
class TPalmoControl;

// Writable values of one control, by path ("Appearance.Color", "Slots[2].TextColor"), in the
// order propertiesOf walks them (a collection's Count before its items).
struct ControlValues {
    QPointer<TPalmoControl> control;
    std::vector<std::pair<QString, QVariant>> values;
};
// Every writable value of each control; with paths, only the values at those paths (a path a
// control lacks is left out).
std::vector<ControlValues> snapshotOf(const std::vector<TPalmoControl*>& controls, const QStringList& paths = {});

// Writes a value to the property at path on control, finding the path afresh (a Count written
// before may have made or dropped the items a path names). False when the path does not exist or
// the property refuses the value.
bool writeValue(TPalmoControl* control, const QString& path, const QVariant& value);

// A base for the document's commands: it marks the time it applies itself, so that the document
// tells changes the stack makes from changes made around it.
class FormCommand : public QUndoCommand {
public:
    FormCommand(HistoryHost* host, const QString& text);
    void redo() final;
    void undo() final;

protected:
    virtual void apply() = 0;
    virtual void revert() = 0;
    // The change had already been made when the command was pushed: its first redo does nothing.
    bool m_done = false;
    HistoryHost* m_host;
};

// A change of property values made elsewhere (by a property editor, a move): holds the values
// that differed, before and after.
class PropertyChangeCommand : public FormCommand {
public:
    // A step of a non-empty mergeKey merges into the step directly before it when that one has
    // the same key, is still the host's merge target (no undo, redo, save or other step came
    // between) and was changed at most MergePauseMs before (at is the time of the change, in ms):
    // a run of nudges of one selection, of texts typed into one property, is undone together,
    // back to the values before the first.
    PropertyChangeCommand(HistoryHost* host, const QString& text, const std::vector<ControlValues>& before,
                          const std::vector<ControlValues>& after, const QString& mergeKey = QString(),
                          qint64 at = 0);
    static constexpr qint64 MergePauseMs = 2000;
    // Whether any value differs between before and after.
    bool changesSomething() const;
    int id() const override;
    bool mergeWith(const QUndoCommand* other) override;

protected:
    void apply() override;
    void revert() override;

private:
    // Tells the form that the values this step writes are at its paths alone.
    void limitToItsPaths() const;
    struct Change {
        QPointer<TPalmoControl> control;
        std::vector<std::pair<QString, QVariant>> before;  // the values to restore on undo
        std::vector<std::pair<QString, QVariant>> after;   // the values to write on redo
    };
    std::vector<Change> m_changes;
    QString m_mergeKey;
    qint64 m_at;  // the time of the latest change merged into this step
};

// Puts controls on the form at their indices; undo takes them off again and keeps them.
class InsertControlsCommand : public FormCommand {
public:
    // controls are (index, control) pairs in ascending index order, not yet on the form.
    InsertControlsCommand(HistoryHost* host, const QString& text,
                          std::vector<std::pair<int, std::unique_ptr<TPalmoControl>>>&& controls);
    ~InsertControlsCommand() override;

protected:
    void apply() override;
    void revert() override;

private:
    std::vector<int> m_indices;
    std::vector<TPalmoControl*> m_controls;              // the controls, on the form or not
    std::vector<std::unique_ptr<TPalmoControl>> m_kept;  // m_kept[i] holds m_controls[i] while it is off the form
};

// Takes controls off the form and keeps them, so that undo puts the very same objects back at
// their places.
class RemoveControlsCommand : public FormCommand {
public:
    RemoveControlsCommand(HistoryHost* host, const QString& text, const std::vector<TPalmoControl*>& controls);
    ~RemoveControlsCommand() override;

protected:
    void apply() override;
    void revert() override;

private:
    std::vector<TPalmoControl*> m_controls;              // in ascending order of their indices
    std::vector<int> m_indices;                          // their places when they were on the form
    std::vector<std::unique_ptr<TPalmoControl>> m_kept;  // m_kept[i] holds m_controls[i] while it is off the form
};

// Replaces every control of the form by others (a file read again, a recovery copy restored):
// undo puts back the very controls that were there, redo the new ones again.
class ReplaceControlsCommand : public FormCommand {
public:
    // controls are not yet on any form, in their order; their names are unique among them.
    ReplaceControlsCommand(HistoryHost* host, const QString& text, std::vector<std::unique_ptr<TPalmoControl>>&& controls);
    ~ReplaceControlsCommand() override;

protected:
    void apply() override;
    void revert() override;

private:
    // Takes the controls on the form off, in their order, and puts m_offForm on instead.
    void swap();
    std::vector<std::unique_ptr<TPalmoControl>> m_offForm;  // the controls not shown now
};

// Gives a control another name; undo gives it back its old one.
class RenameControlCommand : public FormCommand {
public:
    RenameControlCommand(HistoryHost* host, TPalmoControl* control, const QString& oldName, const QString& newName);

protected:
    void apply() override;
    void revert() override;

private:
    QPointer<TPalmoControl> m_control;
    QString m_oldName;
    QString m_newName;
};

// Puts the form's controls in another order; undo puts them back in the order they had.
class ReorderControlsCommand : public FormCommand {
public:
    ReorderControlsCommand(HistoryHost* host, const QString& text, const std::vector<TPalmoControl*>& before,
                           const std::vector<TPalmoControl*>& after);

protected:
    void apply() override;
    void revert() override;

private:
    std::vector<QPointer<TPalmoControl>> m_before;
    std::vector<QPointer<TPalmoControl>> m_after;
};
