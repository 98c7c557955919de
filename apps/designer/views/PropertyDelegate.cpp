#include "views/PropertyDelegate.h"

#include "views/CellCanvas.h"
#include "core/FormColors.h"
#include "views/PropertyInspector.h"
#include "views/PropertyModel.h"
#include "views/ValueCombo.h"

#include "host/vcl/ColorType.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QTreeView>
#include <QPainter>
#include <QFontMetrics>

#include <algorithm>
#include <QTimer>

PropertyDelegate::PropertyDelegate(PropertyInspector* inspector) : QStyledItemDelegate(inspector), m_inspector(inspector)
{
}

QColor PropertyDelegate::warningColor()
{
    return QColor(0xE6, 0x78, 0x00);
}

void PropertyDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    paintValue(painter, option, index);
    if (index.column() == 1)
        paintContrast(painter, option, index);
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

void PropertyDelegate::paintContrast(QPainter* painter, const QStyleOptionViewItem& given, const QModelIndex& index) const
{
    // Over what the editor drew: the ratio at the right end of the cell, and before it a warning
    // sign when the ratio is below 4.5:1.
    const QString ratio = index.data(PropertyModel::ContrastTextRole).toString();
    if (ratio.isEmpty())
        return;
    QStyleOptionViewItem option = given;
    initStyleOption(&option, index);
    const bool fails = index.data(PropertyModel::ContrastFailsRole).toBool();
    const QRect cell = option.rect.adjusted(1, 1, -3, -1);
    const QFontMetrics metrics(option.font);
    const int width = metrics.horizontalAdvance(ratio);
    const QRect textRect(cell.right() - width, cell.top(), width + 1, cell.height());
    const bool selected = option.state & QStyle::State_Selected;
    painter->save();
    painter->setFont(option.font);
    // A backing the cell's colour, so that the ratio reads over a long value text.
    painter->fillRect(textRect.adjusted(-3, 0, 0, 0),
                      selected ? option.palette.color(QPalette::Highlight) : option.palette.color(QPalette::Base));
    painter->setPen(selected ? option.palette.color(QPalette::HighlightedText) : option.palette.color(QPalette::Text));
    painter->drawText(textRect, Qt::AlignRight | Qt::AlignVCenter, ratio);
    if (fails) {
        const int side = std::max(7, cell.height() - 6);
        const int left = textRect.left() - 4 - side;
        const int top = cell.top() + (cell.height() - side) / 2;
        const QRect sign(left - 2, cell.top(), side + 4, cell.height());
        painter->fillRect(sign, selected ? option.palette.color(QPalette::Highlight) : option.palette.color(QPalette::Base));
        painter->setRenderHint(QPainter::Antialiasing, false);
        painter->setPen(Qt::NoPen);
        painter->setBrush(warningColor());
        const QPoint corners[3] = {QPoint(left + side / 2, top), QPoint(left + side, top + side), QPoint(left, top + side)};
        painter->drawPolygon(corners, 3);
        painter->setPen(Qt::black);
        painter->drawLine(left + side / 2, top + side / 3, left + side / 2, top + side - 3);
    }
    painter->restore();
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
    auto* combo = new ValueCombo(editor, parent, m_inspector->usedColors(editor.get()));
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
    static_cast<ValueCombo*>(editor)->showValue(PropertyInspector::visualValueOf(m_inspector->editorOf(index).get()));
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
        m_inspector->commitFromView(propertyEditor, text);
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
