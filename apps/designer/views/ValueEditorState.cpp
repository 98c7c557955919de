#include "views/ValueEditorState.h"

#include "views/InspectorRows.h"
#include "views/PropertyModel.h"
#include "views/ValueCombo.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>

std::optional<ValueEditorState> ValueEditorState::of(const QWidget* viewport, const InspectorRows& rows, const PropertyModel& model)
{
    for (ValueCombo* combo : viewport->findChildren<ValueCombo*>()) {
        const std::shared_ptr<TPropertyEditor> editor = combo->editor();
        const int row = combo->isVisible() && editor ? rows.rowOfEditor(editor.get()) : -1;
        if (row < 0)
            continue;
        ValueEditorState state;
        state.path = model.leaves()[static_cast<std::size_t>(row)]->path;
        state.text = combo->text();
        state.typed = combo->isTyped();
        if (const QLineEdit* line = combo->combo()->lineEdit()) {
            state.cursor = line->cursorPosition();
            state.selectionStart = line->selectionStart();
            state.selectionLength = line->selectionLength();
            state.allSelected = !line->text().isEmpty() && line->selectedText() == line->text();
        }
        state.focused = combo->isAncestorOf(QApplication::focusWidget());
        state.message = combo->message();
        return state;
    }
    return std::nullopt;
}

void ValueEditorState::restore(InspectorRows& rows, int row) const
{
    ValueCombo* combo = row >= 0 ? rows.openInPlaceEditor(row) : nullptr;
    if (!combo)
        return;
    QLineEdit* line = combo->combo()->lineEdit();
    if (typed)
        combo->setText(text);
    if (line && allSelected) {
        line->selectAll();
    } else if (line) {
        line->setCursorPosition(cursor);
        if (selectionStart >= 0)
            line->setSelection(selectionStart, selectionLength);
    }
    if (focused)
        (line ? static_cast<QWidget*>(line) : combo)->setFocus();
    if (!message.isEmpty())
        combo->showMessage(message);
}
