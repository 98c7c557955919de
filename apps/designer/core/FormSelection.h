#pragma once
// The controls selected on a form, in the order they were selected, and the current control (the
// one the last click or key was about). The first selected is the reference that every Format
// command aligns and sizes the others to, whichever view the selection was made in: the control
// list and the preview are two views of this one selection. A control that leaves the form leaves
// the selection. No widget code.

#include <QObject>
#include <QSet>

#include <vector>

class FormModel;
class TPalmoControl;

class FormSelection : public QObject {
    Q_OBJECT
public:
    explicit FormSelection(FormModel* form, QObject* parent = nullptr);

    const std::vector<TPalmoControl*>& controls() const { return m_controls; }
    bool isEmpty() const { return m_controls.empty(); }
    std::size_t size() const { return m_controls.size(); }
    bool contains(const TPalmoControl* control) const { return m_members.contains(control); }
    // The first selected, or null.
    TPalmoControl* reference() const { return m_controls.empty() ? nullptr : m_controls.front(); }
    // The control last selected or toggled while it is still selected, else the reference.
    TPalmoControl* current() const;
    // The selected controls in the form's order (what is copied, cut or duplicated).
    std::vector<TPalmoControl*> inFormOrder() const;

    // The control alone (null: nothing).
    void select(TPalmoControl* control);
    // The control after those selected, unless it is selected already.
    void add(TPalmoControl* control);
    // Takes a selected control out (a Ctrl+click on it); adds one that is not.
    void toggle(TPalmoControl* control);
    void clear();
    // These controls, in this order (each once; controls not on the form are left out).
    void setControls(const std::vector<TPalmoControl*>& controls);
    // Takes out removed, then adds added after the rest in their order: how a view that shows a
    // set of selected rows reports a change of it, keeping the order the selection was made in.
    void change(const std::vector<TPalmoControl*>& removed, const std::vector<TPalmoControl*>& added);

    // Between these, any number of changes (controls leaving the form among them) are one
    // changed() at the end, so that an undo that takes a thousand controls away updates every
    // view once. They nest.
    void beginBatch();
    void endBatch();

signals:
    // The selection, its order or the current control changed.
    void changed();

private:
    void drop(TPalmoControl* control);
    void append(TPalmoControl* control);
    void notify();

    FormModel* m_form;
    std::vector<TPalmoControl*> m_controls;
    QSet<const TPalmoControl*> m_members;
    TPalmoControl* m_current = nullptr;
    int m_batch = 0;
    bool m_changedInBatch = false;
    // Controls taken out inside a batch, dropped from m_controls in one pass at its end.
    QSet<const TPalmoControl*> m_leaving;
};
