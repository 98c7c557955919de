#pragma once
// What the inspector's cells need of the inspector: its rows, their editors, and the paths by
// which a cell's in-place editor commits, reports and edits. The delegate that draws the cells
// and opens their editors is given one, so the two know each other only through this.

#include "core/FormColors.h"
#include "host/designide/DesignIntf.h"

#include <QByteArray>
#include <QPointer>
#include <QRect>

#include <memory>
#include <vector>

class QModelIndex;
class QTreeView;
class TPalmoControl;
class ValueCombo;

// What a deferred edit is about: the edited objects and the property, never a row, which may show
// another property by the time the edit runs.
struct PropertyTarget {
    std::vector<QPointer<QObject>> objects;
    QByteArray property;
};

class InspectorRows {
public:
    // Where a changed row's reset button is, inside its name cell at rect.
    static QRect resetButtonRect(const QRect& nameCell);

    virtual QTreeView* view() const = 0;
    // The row shown at a view index, or -1 for a part or collection row.
    virtual int rowOfIndex(const QModelIndex& index) const = 0;
    // The row of an editor, or -1.
    virtual int rowOfEditor(const TPropertyEditor* editor) const = 0;
    virtual PropertyTarget targetOf(int row) const = 0;
    // The row's editor, shared: whoever holds it keeps it alive across a rebuild.
    virtual std::shared_ptr<TPropertyEditor> sharedEditorAt(int row) const = 0;
    // Opens the row's in-place editor, as a click on its value cell does, and returns it.
    virtual ValueCombo* openInPlaceEditor(int row) = 0;
    // Writes the class's default to every object of the row, as one recorded change.
    virtual bool resetToDefault(int row) = 0;
    // The row's value differs, on one of the objects at least, from its class's default.
    virtual bool isChanged(int row) const = 0;
    // The editor of the property at a model index; null for a part or collection row.
    virtual std::shared_ptr<TPropertyEditor> editorOf(const QModelIndex& index) const = 0;
    // The colours of the row's type the form already uses, for its value list.
    virtual std::vector<UsedColor> usedColors(const TPropertyEditor* editor) const = 0;
    // Typed text committed from a cell's in-place editor (see PropertyInspector).
    virtual bool commitFromView(const std::shared_ptr<TPropertyEditor>& editor, const QString& text,
                                bool confirmedInPlace = false) = 0;
    // The "..." button for a target taken earlier.
    virtual bool edit(const PropertyTarget& target) = 0;
    // Shows a message (the empty text hides it); lastError is the last one either way.
    virtual void report(const QString& message) = 0;
    virtual QString lastError() const = 0;
    // The row of a property's path ("Appearance.Color"), or -1; and a row's path.
    virtual int rowOf(const QString& path) const = 0;
    virtual QString pathAt(int row) const = 0;
    // The row's dialog: its editor's Edit.
    virtual bool edit(int row) = 0;
    // Whether the row's colour may be replaced all over the form, and the replacing (see
    // PropertyInspector).
    virtual bool canReplaceColor(int row) const = 0;
    virtual bool replaceColor(int row, const QString& text) = 0;
    // The form's controls, in form order.
    virtual const std::vector<TPalmoControl*>& formControls() const = 0;
    // Keeps the rows' editors (package code) from being dropped until the hold returned goes: a
    // menu or question whose event loop may run anything holds it.
    virtual std::shared_ptr<void> holdEditors() = 0;

protected:
    ~InspectorRows() = default;
};
