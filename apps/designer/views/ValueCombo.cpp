#include "views/ValueCombo.h"

#include "views/AccessibleEvents.h"

#include "views/CellCanvas.h"
#include "core/FormColors.h"

#include "host/designide/DesignIntf.h"
#include "host/vcl/TextLengthGuard.h"
#include "host/vcl/ColorType.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QCompleter>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProxyStyle>
#include <QScrollBar>
#include <QStyleOptionComboBox>
#include <QStandardItemModel>
#include <QStringListModel>
#include <QToolButton>

#include <algorithm>

ValueListDelegate::ValueListDelegate(std::weak_ptr<TPropertyEditor> editor, QObject* parent)
    : QStyledItemDelegate(parent), m_editor(std::move(editor))
{
}

namespace {

int kindOf(const QModelIndex& index)
{
    return index.data(ValueList::KindRole).toInt();
}

QString countText(const QModelIndex& index)
{
    return QStringLiteral("\u00D7%1").arg(index.data(ValueList::CountRole).toInt());
}

}  // namespace

void ValueListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const int kind = kindOf(index);
    if (kind == ValueList::Separator) {
        painter->save();
        painter->setPen(option.palette.color(QPalette::Mid));
        const int y = option.rect.center().y();
        painter->drawLine(option.rect.left() + 2, y, option.rect.right() - 2, y);
        painter->restore();
        return;
    }
    const std::shared_ptr<TPropertyEditor> editor = m_editor.lock();
    auto* drawing = dynamic_cast<ICustomPropertyListDrawing*>(editor.get());
    if (!drawing || kind == ValueList::Heading) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    paintCell(painter, option, option.rect, [&](TCanvas& canvas, const TRect& cell, bool selected) {
        drawing->ListDrawValue(index.data().toString(), canvas, cell, selected);
    });
    if (kind == ValueList::UsedLine) {
        // The count at the right end, over the editor's drawing.
        painter->save();
        painter->setFont(option.font);
        const bool selected = option.state & QStyle::State_Selected;
        painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(option.rect.adjusted(0, 0, -4, 0), Qt::AlignRight | Qt::AlignVCenter, countText(index));
        painter->restore();
    }
}

QSize ValueListDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const int kind = kindOf(index);
    if (kind == ValueList::Separator)
        return {1, 5};
    const std::shared_ptr<TPropertyEditor> editor = m_editor.lock();
    auto* drawing = dynamic_cast<ICustomPropertyListDrawing*>(editor.get());
    if (!drawing || kind == ValueList::Heading)
        return QStyledItemDelegate::sizeHint(option, index);
    QImage scratch(1, 1, QImage::Format_RGB32);
    TCanvas canvas(scratch);
    canvas.Font = option.font;
    const QString value = index.data().toString();
    int width = canvas.TextWidth(value) + 8;
    int height = canvas.TextHeight(value) + 2;
    drawing->ListMeasureWidth(value, canvas, width);
    drawing->ListMeasureHeight(value, canvas, height);
    if (kind == ValueList::UsedLine)
        width += canvas.TextWidth(countText(index)) + 12;
    return {width, height};
}

namespace {

// A drop-down with no list to drop: the arrow is not drawn and takes no room, and the text has the
// whole field, so that the row reads as a line edit.
class PlainEntryStyle : public QProxyStyle {
public:
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                         const QWidget* widget) const override
    {
        if (control == CC_ComboBox && part == SC_ComboBoxArrow)
            return QRect();
        if (control == CC_ComboBox && part == SC_ComboBoxEditField) {
            const int frame = pixelMetric(PM_ComboBoxFrameWidth, option, widget);
            return option->rect.adjusted(frame, frame, -frame, -frame);
        }
        return QProxyStyle::subControlRect(control, option, part, widget);
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget) const override
    {
        const auto* combo = control == CC_ComboBox ? qstyleoption_cast<const QStyleOptionComboBox*>(option) : nullptr;
        if (!combo || !combo->editable) {
            QProxyStyle::drawComplexControl(control, option, painter, widget);
            return;
        }
        // The frame of a line edit around the field.
        QStyleOptionFrame frame;
        frame.QStyleOption::operator=(*option);
        frame.lineWidth = pixelMetric(PM_DefaultFrameWidth, option, widget);
        frame.midLineWidth = 0;
        frame.state |= State_Sunken;
        drawPrimitive(PE_PanelLineEdit, &frame, painter, widget);
    }
};

}  // namespace

void ValueListCombo::showPopup()
{
    m_opening = true;
    // The value shown is the line the list opens on (the typed text alone moves no index).
    if (isEditable()) {
        const QString shown = currentText();
        const int line = findText(shown, Qt::MatchFixedString);
        if (line >= 0 && line != currentIndex()) {
            setCurrentIndex(line);
            setEditText(shown);
        }
    }
    // Qt makes the list as wide as the widest plain text of its lines; the lines are drawn by the
    // editor (a swatch before the name) and a used colour's count follows the name, so the list
    // takes the width the lines measure, and the scroll bar's beside it.
    const int lines = view()->sizeHintForColumn(modelColumn());
    if (lines > 0)
        view()->setMinimumWidth(lines + 2 * view()->frameWidth() + view()->verticalScrollBar()->sizeHint().width());
    QComboBox::showPopup();
    if (currentIndex() >= 0)
        view()->scrollTo(view()->model()->index(currentIndex(), modelColumn()), QAbstractItemView::PositionAtCenter);
    m_opening = false;
}

void ValueCombo::addUsedColours(const std::vector<UsedColor>& used)
{
    // The form's own colours first, drawn as the editor draws its lines.
    m_combo->addItem(tr("Used on this form"));
    m_combo->setItemData(0, ValueList::Heading, ValueList::KindRole);
    if (auto* items = qobject_cast<QStandardItemModel*>(m_combo->model()))
        items->item(0)->setFlags(Qt::NoItemFlags);
    for (const UsedColor& colour : used) {
        const int line = m_combo->count();
        m_combo->addItem(colour.text);
        m_combo->setItemData(line, ValueList::UsedLine, ValueList::KindRole);
        m_combo->setItemData(line, colour.count, ValueList::CountRole);
        m_combo->setItemData(line, colour.count == 1 ? tr("Held by 1 property of this form")
                                                 : tr("Held by %1 properties of this form").arg(colour.count),
                             Qt::ToolTipRole);
    }
    m_combo->insertSeparator(m_combo->count());
    m_combo->setItemData(m_combo->count() - 1, ValueList::Separator, ValueList::KindRole);
}

void ValueCombo::narrowWhileTyping(const std::shared_ptr<TPropertyEditor>& editor, const QStringList& values, bool withUsed)
{
    // Typing narrows the list to the names that contain the text, whatever its case.
    // It narrows the editor's own lines: the form's colours are among them already.
    auto* completer = withUsed ? new QCompleter(new QStringListModel(values, m_combo), m_combo)
                               : new QCompleter(m_combo->model(), m_combo);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setFilterMode(Qt::MatchContains);
    completer->setCompletionMode(QCompleter::PopupCompletion);
    if (dynamic_cast<ICustomPropertyListDrawing*>(editor.get()))
        completer->popup()->setItemDelegate(new ValueListDelegate(editor, completer->popup()));
    m_combo->setCompleter(completer);
    m_combo->lineEdit()->installEventFilter(this);
    // Installed after the completer's own filter, so it sees the list's keys first.
    completer->popup()->installEventFilter(this);
    // A paste longer than the entry holds is refused whole, never cut.
    auto* guard = new TextLengthGuard(m_combo->lineEdit());
    connect(guard, &TextLengthGuard::refused, this, &ValueCombo::refused);
}

ValueCombo::ValueCombo(const std::shared_ptr<TPropertyEditor>& editor, QWidget* parent,
                       const std::vector<UsedColor>& used)
    : QWidget(parent), m_editor(editor), m_combo(new ValueListCombo(this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_combo, 1);
    setFocusProxy(m_combo);

    const TPropertyAttributes attributes = editor->GetAttributes();
    m_valueList = (attributes & paValueList) != 0;
    if (!m_valueList) {
        // Owned here rather than by the drop-down, which is destroyed first.
        auto* plain = new PlainEntryStyle;
        plain->setParent(this);
        m_combo->setStyle(plain);
    }
    m_combo->setEditable(!(attributes & paReadOnly));
    m_combo->setInsertPolicy(QComboBox::NoInsert);
    m_combo->setMaxVisibleItems(16);
    const bool drawn = dynamic_cast<ICustomPropertyListDrawing*>(editor.get()) != nullptr;
    QStringList values;
    if (attributes & paValueList) {
        editor->GetValues([&values](const String& value) { values << value; });
        if (attributes & paSortList)
            values.sort(Qt::CaseInsensitive);
    }
    const bool withUsed = drawn && !used.empty() && !values.isEmpty();
    if (withUsed)
        addUsedColours(used);
    m_combo->addItems(values);
    if (drawn) {
        m_combo->setItemDelegate(new ValueListDelegate(editor, m_combo));
        // The combo's popup draws its lines through the item delegate only with a plain view.
        m_combo->view()->setItemDelegate(new ValueListDelegate(editor, m_combo->view()));
    }
    if (m_combo->isEditable())
        narrowWhileTyping(editor, values, withUsed);
    m_combo->installEventFilter(this);
    m_combo->view()->installEventFilter(this);
    connect(m_combo, &QComboBox::activated, this, [this] {
        if (!m_combo->isOpening())
            commit();
    });

    if (attributes & paDialog) {
        m_button = new QToolButton(this);
        m_button->setText(QStringLiteral("..."));
        m_button->setObjectName(QStringLiteral("dialogButton"));
        m_button->setToolTip(tr("Open the editor's dialog (Ctrl+Enter)"));
        // Reached with Tab from the text.
        m_button->setFocusPolicy(Qt::StrongFocus);
        m_button->installEventFilter(this);
        layout->addWidget(m_button);
        connect(m_button, &QToolButton::clicked, this, &ValueCombo::dialogRequested);
    }
}

ValueCombo::~ValueCombo()
{
    // The drop-down and its line edit outlive this object's own destructor by a little (children
    // go last), and losing the focus on their way out they would still call back into it.
    disconnect(m_combo, nullptr, this, nullptr);
    m_combo->removeEventFilter(this);
    m_combo->view()->removeEventFilter(this);
    if (QLineEdit* line = m_combo->lineEdit())
        line->removeEventFilter(this);
    if (QCompleter* completer = m_combo->completer(); completer && completer->popup())
        completer->popup()->removeEventFilter(this);
    if (m_button)
        m_button->removeEventFilter(this);
    delete m_message;
}

void ValueCombo::release()
{
    closeLists();
    m_editor.reset();
}

void ValueCombo::closeLists()
{
    m_combo->hidePopup();
    if (QCompleter* completer = m_combo->completer(); completer && completer->popup())
        completer->popup()->hide();
}

void ValueCombo::hideEvent(QHideEvent* event)
{
    closeLists();
    if (m_message)
        m_message->hide();
    QWidget::hideEvent(event);
}

void ValueCombo::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    placeMessage();
}

void ValueCombo::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    placeMessage();
}

void ValueCombo::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeMessage();
}

void ValueCombo::showMessage(const QString& message)
{
    if (message.isEmpty()) {
        clearMessage();
        return;
    }
    if (!m_message && parentWidget()) {
        m_message = new QLabel(parentWidget());
        m_message->setObjectName(QStringLiteral("inPlaceMessage"));
        // The quoted text is the user's: shown as it is, never read as markup.
        m_message->setTextFormat(Qt::PlainText);
        m_message->setWordWrap(true);
        m_message->setAutoFillBackground(true);
        m_message->setStyleSheet(
            QStringLiteral("QLabel { background: #fdecee; color: #b00020; border: 1px solid #b00020; padding: 3px; }"));
        // Clicks reach the rows under it.
        m_message->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    m_refusedText = text();
    // Confirming the text again (fixed or not) is a new confirmation.
    m_committed = false;
    if (m_message) {
        m_message->setText(message);
        placeMessage();
        // Spoken at once, and kept as the entry's description while the refused text is in it.
        raiseAlert(m_message);
    }
    if (QLineEdit* line = m_combo->lineEdit()) {
        line->setAccessibleDescription(message);
        line->selectAll();
        line->setFocus();
    }
}

void ValueCombo::clearMessage()
{
    m_refusedText.clear();
    if (m_message) {
        m_message->clear();
        m_message->hide();
    }
    if (QLineEdit* line = m_combo->lineEdit(); line && !line->accessibleDescription().isEmpty())
        line->setAccessibleDescription(QString());
}

QString ValueCombo::message() const
{
    return m_message ? m_message->text() : QString();
}

void ValueCombo::placeMessage()
{
    QWidget* area = parentWidget();
    if (!m_message || !area || m_message->text().isEmpty())
        return;
    if (!isVisible()) {
        m_message->hide();
        return;
    }
    constexpr int margin = 2;
    const int width = std::max(40, area->width() - 2 * margin);
    const int height = m_message->heightForWidth(width);
    // Under the editor; above it when there is no room below and there is above.
    int top = geometry().bottom() + 1;
    if (top + height > area->height() && geometry().top() - height >= 0)
        top = geometry().top() - height;
    m_message->setGeometry(margin, top, width, height);
    m_message->show();
    m_message->raise();
}

QString ValueCombo::text() const
{
    return m_combo->currentText();
}

void ValueCombo::setText(const QString& text)
{
    // The list's current line is the value's, so that the list opens on it.
    m_combo->setCurrentIndex(m_combo->findText(text, Qt::MatchFixedString));
    if (m_combo->isEditable())
        m_combo->setEditText(text);
}

void ValueCombo::showValue(const QString& value)
{
    if (isTyped())
        return;
    m_shownValue = value;
    setText(value);
}

bool ValueCombo::isListOpen() const
{
    const QCompleter* completer = m_combo->completer();
    return m_combo->view()->isVisible() || (completer && completer->popup() && completer->popup()->isVisible());
}

bool ValueCombo::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Wheel:
        // The wheel scrolls the inspector; it changes a value only inside an open list.
        if ((watched == m_combo || watched == m_combo->lineEdit()) && !isListOpen()) {
            if (parentWidget())
                QCoreApplication::sendEvent(parentWidget(), event);
            return true;
        }
        break;
    case QEvent::MouseButtonDblClick:
        // A double click on the value opens the dialog, as on the cell before the editor opened.
        if (watched == m_combo->lineEdit() && m_button) {
            emit dialogRequested();
            return true;
        }
        break;
    case QEvent::KeyPress:
        return filterKey(watched, static_cast<QKeyEvent*>(event)) || QWidget::eventFilter(watched, event);
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

bool ValueCombo::filterKey(QObject* watched, QKeyEvent* event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    QCompleter* completer = m_combo->completer();
    if (completer && watched == completer->popup()) {
        // Enter in the narrowed list takes its highlighted line (or the text when none is) and
        // confirms it, once.
        if (enter && mods == Qt::NoModifier) {
            const QModelIndex line = completer->popup()->currentIndex();
            const QString chosen = line.isValid() ? line.data().toString() : m_combo->currentText();
            completer->popup()->hide();
            m_combo->setEditText(chosen);
            commit();
            return true;
        }
        return false;
    }
    if (watched == m_button) {
        if (key == Qt::Key_Backtab || (key == Qt::Key_Tab && (mods & Qt::ShiftModifier))) {
            m_combo->setFocus(Qt::BacktabFocusReason);
            return true;
        }
        return false;
    }
    if (watched == m_combo->view())
        return false;
    // The text and the drop-down.
    if (enter && mods == Qt::ControlModifier && m_button) {
        emit dialogRequested();
        return true;
    }
    if (enter && mods == Qt::NoModifier && (watched == m_combo->lineEdit() || watched == m_combo)) {
        // Enter confirms the typed text here and goes no further: passed on, it would reach the
        // inspector as a second confirmation of an editor already closed.
        commit();
        return true;
    }
    if (key == Qt::Key_Tab && mods == Qt::NoModifier && m_button) {
        m_button->setFocus(Qt::TabFocusReason);
        return true;
    }
    const bool listKey = (key == Qt::Key_Down && mods == Qt::AltModifier) || (key == Qt::Key_F4 && mods == Qt::NoModifier);
    if (listKey) {
        m_combo->showPopup();
        return true;
    }
    if (!isListOpen() && mods == Qt::NoModifier
        && (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown)) {
        // The drop-down would step its value; here the keys move between rows.
        emit navigated(key);
        return true;
    }
    return false;
}

void ValueCombo::commit()
{
    // Return in an editable drop-down also reports the text as chosen: confirm it once.
    if (m_committed)
        return;
    m_committed = true;
    const QPointer<ValueCombo> self(this);
    m_confirming = true;
    emit committed();
    if (self)
        m_confirming = false;
}
