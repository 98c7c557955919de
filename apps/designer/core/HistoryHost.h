#pragma once
// What the undo history's commands need of the document they change, and no more: the form, a
// bracket around every change they make (so the document tells the history's own changes from
// changes made around it), and which step may still take a later one into itself. No widget code.

class FormModel;
class QUndoCommand;

class HistoryHost {
public:
    virtual FormModel* historyForm() const = 0;
    // Before and after a command writes to the form, as an undo or a redo.
    virtual void beginApplying() = 0;
    virtual void endApplying() = 0;
    // The step a new step of the same kind may merge into: the one pushed last, until an undo, a
    // redo, a save or a step of another kind comes between. Null when none may.
    virtual const QUndoCommand* mergeTarget() const = 0;

protected:
    ~HistoryHost() = default;
};
