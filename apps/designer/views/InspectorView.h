#pragma once
// The inspector's tree of rows, with the keys and clicks of a property grid.

#include "views/InspectorRows.h"
#include "views/ValueCombo.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>
#include <QTreeView>

// The inspector's tree: arrows move between rows and never change a value, typing starts a
// fresh text in the value cell, F2 edits the text shown, Alt+Down or F4 opens the value list,
// Ctrl+Enter or a double click opens the row's dialog, and a click on a changed row's reset
// button restores its default.
class InspectorView : public QTreeView {
public:
    InspectorView(InspectorRows* rows, QWidget* parent) : QTreeView(parent), m_inspector(rows) {}

    // Opens every part and collection row. QTreeView::expandAll marks the leaves expanded as well,
    // and assistive technology then reports every property as "expanded".
    void expandParts(const QModelIndex& parent = QModelIndex())
    {
        for (int row = 0; row < model()->rowCount(parent); ++row) {
            const QModelIndex index = model()->index(row, 0, parent);
            if (model()->hasChildren(index)) {
                expand(index);
                expandParts(index);
            }
        }
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        const int row = m_inspector->rowOfIndex(currentIndex());
        const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
        const int key = event->key();
        // The context menu from the keyboard, as everywhere: the Menu key or Shift+F10.
        if (row >= 0 && (key == Qt::Key_Menu || (key == Qt::Key_F10 && mods == Qt::ShiftModifier))) {
            emit customContextMenuRequested(visualRect(currentIndex()).center());
            event->accept();
            return;
        }
        if (row >= 0 && state() != EditingState) {
            const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
            if ((key == Qt::Key_Down && mods == Qt::AltModifier) || (key == Qt::Key_F4 && mods == Qt::NoModifier)) {
                if (ValueCombo* editor = m_inspector->openInPlaceEditor(row))
                    editor->combo()->showPopup();
                event->accept();
                return;
            }
            if (enter && mods == Qt::ControlModifier) {
                openDialog(row);
                event->accept();
                return;
            }
            if ((enter && mods == Qt::NoModifier) || (key == Qt::Key_F2 && mods == Qt::NoModifier)) {
                // The text shown, to be changed: the caret at its end.
                if (ValueCombo* editor = m_inspector->openInPlaceEditor(row))
                    if (QLineEdit* line = editor->combo()->lineEdit())
                        line->end(false);
                event->accept();
                return;
            }
            const QString text = event->text();
            if (!(mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) && !text.isEmpty()
                && text.front().isPrint()) {
                // As in a spreadsheet: the key starts a fresh text.
                if (ValueCombo* editor = m_inspector->openInPlaceEditor(row)) {
                    if (QLineEdit* line = editor->combo()->lineEdit()) {
                        line->clear();
                        QCoreApplication::sendEvent(line, event);
                    }
                }
                event->accept();
                return;
            }
        }
        QTreeView::keyPressEvent(event);
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        const QModelIndex index = indexAt(event->position().toPoint());
        const int row = m_inspector->rowOfIndex(index);
        if (row >= 0 && event->button() == Qt::LeftButton && event->modifiers() == Qt::NoModifier) {
            if (index.column() == 0 && m_inspector->isChanged(row)
                && InspectorRows::resetButtonRect(visualRect(index)).contains(event->position().toPoint())) {
                setCurrentIndex(index);
                m_inspector->resetToDefault(row);
                event->accept();
                return;
            }
            if (index.column() == 1) {
                // A click on a value edits it at once, the whole text selected: what is typed
                // replaces the value rather than being added to it.
                QTreeView::mousePressEvent(event);
                if (ValueCombo* editor = m_inspector->openInPlaceEditor(row))
                    if (QLineEdit* line = editor->combo()->lineEdit())
                        line->selectAll();
                return;
            }
        }
        QTreeView::mousePressEvent(event);
    }

    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        const QModelIndex index = indexAt(event->position().toPoint());
        const int row = m_inspector->rowOfIndex(index);
        if (row >= 0 && index.column() == 1 && event->button() == Qt::LeftButton) {
            openDialog(row);
            event->accept();
            return;
        }
        QTreeView::mouseDoubleClickEvent(event);
    }

private:
    // The row's dialog, from the event loop (as the "..." button does): it runs a modal loop.
    void openDialog(int row)
    {
        const std::shared_ptr<TPropertyEditor> editor = m_inspector->sharedEditorAt(row);
        if (!editor || !(editor->GetAttributes() & paDialog))
            return;
        const PropertyTarget target = m_inspector->targetOf(row);
        QTimer::singleShot(0, this, [inspector = m_inspector, target] { inspector->edit(target); });
    }

    InspectorRows* m_inspector;
};
