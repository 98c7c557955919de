#pragma once
// What the user has in the inspector's in-place value editor, so that rows built again for the
// same objects can open it again on the same property with the same text (typing goes on where
// it was going).

#include <QString>

#include <optional>

class InspectorRows;
class PropertyModel;
class QWidget;

struct ValueEditorState {
    QString path;
    QString text;
    bool typed = false;  // the user typed it: otherwise the value as it is now is shown
    int cursor = 0;
    int selectionStart = -1;
    int selectionLength = 0;
    bool allSelected = false;  // the whole text, whatever the value's text is now
    bool focused = false;
    QString message;  // a refusal shown beside it

    // The state of the editor open among the viewport's children, or none.
    static std::optional<ValueEditorState> of(const QWidget* viewport, const InspectorRows& rows,
                                              const PropertyModel& model);
    // Opens the editor again on the row (of path, in the rows as they are now) as it was.
    void restore(InspectorRows& rows, int row) const;
};
