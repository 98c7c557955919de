#pragma once
// What a view that edits property values needs of the form: its controls, renaming through the
// form's own check, and recording a change as an undo step. The inspector is given one at
// construction; the document is the one the designer gives.

#include <QString>

#include <functional>
#include <vector>

class TPalmoControl;

class FormEditing {
public:
    // The form's controls in form order.
    virtual const std::vector<TPalmoControl*>& formControls() const = 0;
    // Gives the control a new name; "" or why the name is refused (nothing changes then).
    virtual QString renameControl(TPalmoControl* control, const QString& newName) = 0;
    // Runs change, which writes values of those controls, as one undo step named text. Steps of
    // the same non-empty mergeKey that follow each other closely are one step.
    virtual void recordChange(const QString& text, const std::vector<TPalmoControl*>& controls,
                              const std::function<void()>& change, const QString& mergeKey) = 0;

protected:
    ~FormEditing() = default;
};
