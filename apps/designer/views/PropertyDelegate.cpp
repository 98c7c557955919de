#include "views/PropertyDelegate.h"

#include "views/CellCanvas.h"
#include "core/FormColors.h"
#include "core/ShownText.h"
#include "views/InspectorRows.h"
#include "views/SharedPropertyEditor.h"
#include "views/PropertyModel.h"
#include "views/ValueCombo.h"

#include "host/vcl/ColorType.h"
#include "host/vcl/Contrast.h"

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QStyle>
#include <QTimer>
#include <QTreeView>

#include <algorithm>

PropertyDelegate::PropertyDelegate(InspectorRows* rows, QObject* parent) : QStyledItemDelegate(parent), m_inspector(rows)
{
    // Escape, or an arrow key to another row, closes an editor without a commit: a refusal shown
    // beside it is over.
    connect(this, &QAbstractItemDelegate::closeEditor, this, [this](QWidget* editor) {
        if (auto* combo = qobject_cast<ValueCombo*>(editor); combo && !combo->message().isEmpty()) {
            combo->clearMessage();
            m_inspector->report(QString());
        }
    });
}

namespace {

QColor mixed(const QColor& from, const QColor& to, double share)
{
    const auto channel = [share](int a, int b) { return int(a + (b - a) * share + 0.5); };
    return QColor(channel(from.red(), to.red()), channel(from.green(), to.green()), channel(from.blue(), to.blue()));
}

}  // namespace

QColor PropertyDelegate::warningColor(const QColor& background)
{
    const QColor orange(0xE6, 0x78, 0x00);
    const TColor ground = TColorOf(background);
    const auto visible = [ground](const QColor& mark) { return ContrastRatio(TColorOf(mark), ground) >= MinimumGraphicContrast; };
    // Black or white reaches at least 4.58:1 on any colour, so the search ends by the last step.
    constexpr int steps = 64;
    for (int step = 0; step <= steps; ++step) {
        const QColor darker = mixed(orange, Qt::black, double(step) / steps);
        if (visible(darker))
            return darker;
        const QColor lighter = mixed(orange, Qt::white, double(step) / steps);
        if (visible(lighter))
            return lighter;
    }
    return QColor(Qt::black);
}

void PropertyDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QString ratio = index.column() == 1 ? index.data(PropertyModel::ContrastTextRole).toString() : QString();
    if (!ratio.isEmpty())
        paintWithContrast(painter, option, index, ratio);
    else
        paintValue(painter, option, index);
    // A changed value's name cell carries the button that resets it.
    if (index.column() == 0 && m_inspector->isChanged(m_inspector->rowOfIndex(index))) {
        const QRect button = InspectorRows::resetButtonRect(option.rect);
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

void PropertyDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    // Asked for a size, a cell may have no width yet: then as wide as a screen.
    constexpr int NoWidthYet = 4096;
    option->text = cutToRoom(option->text, option->rect.width() > 0 ? option->rect.width() : NoWidthYet);
}

namespace {

// The room an editor draws a cell's value or name in: the cell less a pixel at its top and left.
QRect drawingRoom(const QRect& cell)
{
    return cell.adjusted(1, 1, 0, 0);
}

}  // namespace

void PropertyDelegate::paintValue(QPainter* painter, const QStyleOptionViewItem& given, const QModelIndex& index,
                                  const QRect& room) const
{
    // The row's font (bold for a changed value) goes to the editor's drawing.
    QStyleOptionViewItem option = given;
    initStyleOption(&option, index);
    const std::shared_ptr<TPropertyEditor> editor = m_inspector->editorOf(index);
    auto* drawing = dynamic_cast<ICustomPropertyDrawing*>(editor.get());
    if (!drawing) {
        if (!room.isNull()) {
            // The style draws the whole cell; the text is cut to the room it has.
            const int margin = 2 * (option.widget ? option.widget->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1 : 4);
            option.text = option.fontMetrics.elidedText(option.text, Qt::ElideRight, std::max(0, room.width() - margin));
        }
        const QWidget* widget = option.widget;
        (widget ? widget->style() : QApplication::style())->drawControl(QStyle::CE_ItemViewItem, &option, painter, widget);
        return;
    }
    paintCell(painter, option, room.isNull() ? drawingRoom(option.rect) : room,
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

int PropertyDelegate::valueWidth(const QStyleOptionViewItem& given, const QModelIndex& index) const
{
    QStyleOptionViewItem option = given;
    initStyleOption(&option, index);
    if (!dynamic_cast<ICustomPropertyDrawing*>(m_inspector->editorOf(index).get()))
        return option.fontMetrics.horizontalAdvance(option.text) + 8;
    // The editor's drawing is its own: draw it once on a scratch cell wider than any value, and
    // take the last column it drew in.
    const int height = std::max(1, option.rect.height());
    option.rect = QRect(0, 0, 2048, height);
    option.state &= ~QStyle::State_Selected;
    QImage scratch(option.rect.size(), QImage::Format_RGB32);
    {
        QPainter painter(&scratch);
        paintValue(&painter, option, index);
    }
    const QRgb background = scratch.pixel(scratch.width() - 1, 0);
    for (int x = scratch.width() - 1; x >= 0; --x)
        for (int y = 0; y < height; ++y)
            if (scratch.pixel(x, y) != background)
                return x;  // the room the value is drawn in starts a column in
    return 0;
}

PropertyDelegate::ContrastLayout PropertyDelegate::contrastLayout(const QRect& cell, int valueWidth,
                                                                  const QFontMetrics& metrics, const QString& ratio,
                                                                  bool fails)
{
    // Between the value and what follows it, and between the sign and the ratio.
    constexpr int gap = 6;
    constexpr int signGap = 4;
    const int side = std::max(7, cell.height() - 6);
    const int signWidth = fails ? side + 4 : 0;
    const int ratioWidth = metrics.horizontalAdvance(ratio) + 1;
    // The least of the value worth showing: its swatch (as wide as the cell is high) and a couple
    // of letters before the ellipsis.
    const int least = std::min(valueWidth, cell.height() + metrics.horizontalAdvance(QStringLiteral("Mm\u2026")));
    const int withRatio = least + gap + ratioWidth + (fails ? signGap + signWidth : 0);

    ContrastLayout layout;
    int right = cell.left() + cell.width();  // one past the last column still free
    if (withRatio <= cell.width()) {
        layout.ratio = QRect(right - ratioWidth, cell.top(), ratioWidth, cell.height());
        right = layout.ratio.left() - (fails ? signGap : 0);
    }
    if (fails) {
        layout.sign = QRect(right - signWidth, cell.top(), signWidth, cell.height());
        right = layout.sign.left();
    }
    if (!layout.ratio.isNull() || fails)
        right -= gap;
    layout.value = QRect(cell.left(), cell.top(), std::max(0, right - cell.left()), cell.height());
    layout.elided = valueWidth > layout.value.width();
    return layout;
}

void PropertyDelegate::paintWithContrast(QPainter* painter, const QStyleOptionViewItem& given,
                                         const QModelIndex& index, const QString& ratio) const
{
    QStyleOptionViewItem option = given;
    initStyleOption(&option, index);
    const bool fails = index.data(PropertyModel::ContrastFailsRole).toBool();
    const QRect cell = drawingRoom(option.rect).adjusted(0, 0, -3, -1);
    const QFontMetrics metrics(option.font);
    const ContrastLayout layout = contrastLayout(cell, valueWidth(option, index), metrics, ratio, fails);
    paintValue(painter, given, index, layout.value);

    const bool selected = option.state & QStyle::State_Selected;
    const bool alternate = option.features & QStyleOptionViewItem::Alternate;
    const QColor background = option.palette.color(selected    ? QPalette::Highlight
                                                    : alternate ? QPalette::AlternateBase
                                                                : QPalette::Base);
    const QColor text = option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
    painter->save();
    painter->setFont(option.font);
    painter->setPen(text);
    const QString ellipsis = QStringLiteral("\u2026");
    const int ellipsisWidth = metrics.horizontalAdvance(ellipsis);
    if (layout.elided && layout.value.width() > ellipsisWidth) {
        // The cut value ends in an ellipsis, over what the editor drew there (with two columns
        // more, so that no sliver of a cut letter stands before it).
        const QRect end(layout.value.right() - ellipsisWidth - 1, cell.top(), ellipsisWidth + 2, cell.height());
        painter->fillRect(end, background);
        painter->drawText(end, Qt::AlignRight | Qt::AlignVCenter, ellipsis);
    }
    if (!layout.ratio.isNull()) {
        painter->fillRect(layout.ratio, background);
        painter->drawText(layout.ratio, Qt::AlignRight | Qt::AlignVCenter, ratio);
    }
    if (!layout.sign.isNull()) {
        painter->fillRect(layout.sign, background);
        const int side = layout.sign.width() - 4;
        const int left = layout.sign.left() + 2;
        const int top = cell.top() + (cell.height() - side) / 2;
        painter->setRenderHint(QPainter::Antialiasing, false);
        painter->setPen(Qt::NoPen);
        const QColor mark = warningColor(background);
        painter->setBrush(mark);
        const QPoint corners[3] = {QPoint(left + side / 2, top), QPoint(left + side, top + side), QPoint(left, top + side)};
        painter->drawPolygon(corners, 3);
        // The stroke inside: black, or white on a mark darkened for a light-on-dark row.
        const TColor markColor = TColorOf(mark);
        painter->setPen(ContrastRatio(markColor, 0x000000) >= ContrastRatio(markColor, 0xFFFFFF) ? Qt::black : Qt::white);
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
    // Named by its property ("Appearance.Color") where the platform reads a drop-down's name
    // (on Linux Qt gives its text as the name).
    QStringList path;
    for (QModelIndex at = index.siblingAtColumn(0); at.isValid(); at = at.parent())
        path.prepend(at.data().toString());
    combo->combo()->setAccessibleName(path.join(u'.').replace(QStringLiteral(".["), QStringLiteral("[")));
    // There an editable drop-down's name is its text, and a screen reader names it by the label
    // that is its buddy: one, never shown, says the property.
    auto* label = new QLabel(combo->combo()->accessibleName(), combo);
    label->setObjectName(QStringLiteral("valueName"));
    label->setBuddy(combo->combo());
    label->hide();
    const PropertyTarget target = m_inspector->targetOf(m_inspector->rowOfEditor(editor.get()));
    // Qt declares createEditor const; the signals below belong to the delegate all the same.
    auto* self = const_cast<PropertyDelegate*>(this);
    connect(combo, &ValueCombo::committed, self, [self, combo] {
        emit self->commitData(combo);
        // A refused text stays in the editor, selected, with the reason beside it.
        if (combo->message().isEmpty())
            emit self->closeEditor(combo, QAbstractItemDelegate::NoHint);
    });
    connect(combo, &ValueCombo::refused, self, [self](const QString& message) { self->m_inspector->report(message); });
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
        QTimer::singleShot(0, self, [inspector = self->m_inspector, target] { inspector->edit(target); });
    });
    return combo;
}

void PropertyDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    static_cast<ValueCombo*>(editor)->showValue(visualValueOf(m_inspector->editorOf(index).get()));
}

void PropertyDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex&) const
{
    // The text goes to the editor the in-place editor was opened for; none when that has gone.
    const QPointer<ValueCombo> combo = static_cast<ValueCombo*>(editor);
    const std::shared_ptr<TPropertyEditor> propertyEditor = combo->editor();
    if (!propertyEditor)
        return;
    const bool confirmed = combo->isConfirming();
    if (!confirmed && combo->showsRefusal()) {
        // The user leaves a row whose refused text is untouched since: the property keeps its
        // value, and the message goes with the editor.
        combo->clearMessage();
        m_inspector->report(QString());
        return;
    }
    const QString text = combo->text().trimmed();
    bool accepted = true;
    if (text != visualValueOf(propertyEditor.get()))
        accepted = m_inspector->commitFromView(propertyEditor, text, confirmed);
    // A package's SetValue may run an event loop in which the editor goes.
    if (!combo)
        return;
    if (!accepted && confirmed) {
        combo->showMessage(m_inspector->lastError());
    } else if (!combo->message().isEmpty()) {
        combo->clearMessage();
        // The value shown again (nothing to write) ends the refusal too.
        if (accepted)
            m_inspector->report(QString());
    }
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
