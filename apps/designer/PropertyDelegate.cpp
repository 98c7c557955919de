#include "PropertyDelegate.h"

#include "CellCanvas.h"
#include "PropertyInspector.h"
#include "ValueCombo.h"

#include "host/vcl/ColorType.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QTreeView>
#include <QPainter>
#include <QTimer>

PropertyDelegate::PropertyDelegate(PropertyInspector* inspector) : QStyledItemDelegate(inspector), m_inspector(inspector)
{
}

void PropertyDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    paintValue(painter, option, index);
    // A changed value's name cell carries the button that resets it.
    if (index.column() == 0 && m_inspector->isChanged(m_inspector->rowOfIndex(index))) {
        const QRect button = PropertyInspector::resetButtonRect(option.rect);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, false);
        painter->setPen(option.palette.color(QPalette::Mid));
        painter->setBrush(option.palette.color(QPalette::Button));
        painter->drawRect(button.adjusted(0, 0, -1, -1));
        painter->setPen(option.palette.color(QPalette::ButtonText));
        painter->drawText(button, Qt::AlignCenter, QStringLiteral("\u21BA"));
        painter->restore();
    }
}

void PropertyDelegate::paintValue(QPainter* painter, const QStyleOptionViewItem& given, const QModelIndex& index) const
{
    const std::shared_ptr<TPropertyEditor> editor = m_inspector->editorOf(index);
    auto* drawing = dynamic_cast<ICustomPropertyDrawing*>(editor.get());
    if (!drawing) {
        QStyledItemDelegate::paint(painter, given, index);
        return;
    }
    // The row's font (bold for a changed value) goes to the editor's drawing.
    QStyleOptionViewItem option = given;
    initStyleOption(&option, index);
    paintCell(painter, option, option.rect.adjusted(1, 1, 0, 0),
              [&](TCanvas& canvas, const TRect& cell, bool selected) {
                  try {
                      if (index.column() == 0)
                          drawing->PropDrawName(canvas, cell, selected);
                      else
                          drawing->PropDrawValue(canvas, cell, selected);
                  } catch (const std::exception&) {
                      // A value that cannot be drawn (its object is gone) leaves the cell blank.
                  }
              });
}

QSize PropertyDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(qMax(size.height(), option.fontMetrics.height() + 6));
    // Room for the reset button at the end of a name.
    if (index.column() == 0)
        size.rwidth() += size.height() + 4;
    return size;
}

QWidget* PropertyDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const
{
    const std::shared_ptr<TPropertyEditor> editor = m_inspector->editorOf(index);
    if (!editor || index.column() != 1)
        return nullptr;
    auto* combo = new ValueCombo(editor, parent);
    const PropertyTarget target = m_inspector->targetOf(m_inspector->rowOfEditor(editor.get()));
    // Qt declares createEditor const; the signals below belong to the delegate all the same.
    auto* self = const_cast<PropertyDelegate*>(this);
    connect(combo, &ValueCombo::committed, self, [self, combo] {
        emit self->commitData(combo);
        emit self->closeEditor(combo, QAbstractItemDelegate::NoHint);
    });
    connect(combo, &ValueCombo::refused, m_inspector, &PropertyInspector::report);
    connect(combo, &ValueCombo::navigated, self, [self, combo](int key) {
        // Up and Down leave the text as it was and move to another row.
        emit self->closeEditor(combo, QAbstractItemDelegate::RevertModelCache);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(self->m_inspector->view(), &press);
    });
    connect(combo, &ValueCombo::dialogRequested, self, [self, combo, target] {
        // Close the in-place editor first; the dialog then runs from the event loop, not from
        // inside the button that is about to be destroyed. What it edits goes with it: by then a
        // click may have selected another control.
        emit self->closeEditor(combo, QAbstractItemDelegate::RevertModelCache);
        QTimer::singleShot(0, self->m_inspector, [inspector = self->m_inspector, target] { inspector->edit(target); });
    });
    return combo;
}

void PropertyDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    static_cast<ValueCombo*>(editor)->setText(PropertyInspector::visualValueOf(m_inspector->editorOf(index).get()));
}

void PropertyDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex&) const
{
    // The text goes to the editor the in-place editor was opened for; none when that has gone.
    auto* combo = static_cast<ValueCombo*>(editor);
    const std::shared_ptr<TPropertyEditor> propertyEditor = combo->editor();
    if (!propertyEditor)
        return;
    const QString text = combo->text().trimmed();
    if (text != PropertyInspector::visualValueOf(propertyEditor.get()))
        m_inspector->commitText(propertyEditor, text);
}

void PropertyDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex&) const
{
    editor->setGeometry(option.rect);
}

void PropertyDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const
{
    // A closed editor may still report its text as chosen while it loses the focus on its way
    // out; the view no longer owns it, so nothing it says counts.
    editor->disconnect(this);
    editor->removeEventFilter(const_cast<PropertyDelegate*>(this));
    QStyledItemDelegate::destroyEditor(editor, index);
}

bool PropertyDelegate::eventFilter(QObject* object, QEvent* event)
{
    // The focus moves into the value list while it is open; that is not the user leaving the
    // editor, so the editor stays (the base class would commit and close it).
    if (event->type() == QEvent::FocusOut)
        if (auto* combo = qobject_cast<ValueCombo*>(object); combo && combo->isListOpen())
            return false;
    return QStyledItemDelegate::eventFilter(object, event);
}
