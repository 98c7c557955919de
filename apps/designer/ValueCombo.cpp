#include "ValueCombo.h"

#include "CellCanvas.h"

#include "host/designide/DesignIntf.h"
#include "host/vcl/TextLengthGuard.h"
#include "host/vcl/ColorType.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QToolButton>

ValueListDelegate::ValueListDelegate(std::weak_ptr<TPropertyEditor> editor, QObject* parent)
    : QStyledItemDelegate(parent), m_editor(std::move(editor))
{
}

void ValueListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const std::shared_ptr<TPropertyEditor> editor = m_editor.lock();
    auto* drawing = dynamic_cast<ICustomPropertyListDrawing*>(editor.get());
    if (!drawing) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    paintCell(painter, option, option.rect, [&](TCanvas& canvas, const TRect& cell, bool selected) {
        drawing->ListDrawValue(index.data().toString(), canvas, cell, selected);
    });
}

QSize ValueListDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const std::shared_ptr<TPropertyEditor> editor = m_editor.lock();
    auto* drawing = dynamic_cast<ICustomPropertyListDrawing*>(editor.get());
    if (!drawing)
        return QStyledItemDelegate::sizeHint(option, index);
    QImage scratch(1, 1, QImage::Format_RGB32);
    TCanvas canvas(scratch);
    canvas.Font = option.font;
    const QString value = index.data().toString();
    int width = canvas.TextWidth(value) + 8;
    int height = canvas.TextHeight(value) + 2;
    drawing->ListMeasureWidth(value, canvas, width);
    drawing->ListMeasureHeight(value, canvas, height);
    return {width, height};
}

void ValueListCombo::showPopup()
{
    m_opening = true;
    QComboBox::showPopup();
    m_opening = false;
}

ValueCombo::ValueCombo(const std::shared_ptr<TPropertyEditor>& editor, QWidget* parent)
    : QWidget(parent), m_editor(editor), m_combo(new ValueListCombo(this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_combo, 1);
    setFocusProxy(m_combo);

    const TPropertyAttributes attributes = editor->GetAttributes();
    m_combo->setEditable(!(attributes & paReadOnly));
    m_combo->setInsertPolicy(QComboBox::NoInsert);
    m_combo->setMaxVisibleItems(16);
    if (attributes & paValueList) {
        QStringList values;
        editor->GetValues([&values](const String& value) { values << value; });
        if (attributes & paSortList)
            values.sort(Qt::CaseInsensitive);
        m_combo->addItems(values);
    }
    const bool drawn = dynamic_cast<ICustomPropertyListDrawing*>(editor.get()) != nullptr;
    if (drawn) {
        m_combo->setItemDelegate(new ValueListDelegate(editor, m_combo));
        // The combo's popup draws its lines through the item delegate only with a plain view.
        m_combo->view()->setItemDelegate(new ValueListDelegate(editor, m_combo->view()));
    }
    if (m_combo->isEditable()) {
        // Typing narrows the list to the names that contain the text, whatever its case.
        auto* completer = new QCompleter(m_combo->model(), m_combo);
        completer->setCaseSensitivity(Qt::CaseInsensitive);
        completer->setFilterMode(Qt::MatchContains);
        completer->setCompletionMode(QCompleter::PopupCompletion);
        if (drawn)
            completer->popup()->setItemDelegate(new ValueListDelegate(editor, completer->popup()));
        m_combo->setCompleter(completer);
        m_combo->lineEdit()->installEventFilter(this);
        // A paste longer than the entry holds is refused whole, never cut.
        auto* guard = new TextLengthGuard(m_combo->lineEdit());
        connect(guard, &TextLengthGuard::refused, this, &ValueCombo::refused);
    }
    connect(m_combo, &QComboBox::activated, this, [this] {
        if (!m_combo->isOpening())
            commit();
    });

    if (attributes & paDialog) {
        m_button = new QToolButton(this);
        m_button->setText(QStringLiteral("..."));
        m_button->setObjectName(QStringLiteral("dialogButton"));
        m_button->setToolTip(tr("Open the editor's dialog"));
        layout->addWidget(m_button);
        connect(m_button, &QToolButton::clicked, this, &ValueCombo::dialogRequested);
    }
}

ValueCombo::~ValueCombo()
{
    // The drop-down and its line edit outlive this object's own destructor by a little (children
    // go last), and losing the focus on their way out they would still call back into it.
    disconnect(m_combo, nullptr, this, nullptr);
    if (QLineEdit* line = m_combo->lineEdit())
        line->removeEventFilter(this);
}

void ValueCombo::release()
{
    m_combo->hidePopup();
    if (QCompleter* completer = m_combo->completer(); completer && completer->popup())
        completer->popup()->hide();
    m_editor.reset();
}

QString ValueCombo::text() const
{
    return m_combo->currentText();
}

void ValueCombo::setText(const QString& text)
{
    if (m_combo->isEditable())
        m_combo->setEditText(text);
    else
        m_combo->setCurrentIndex(m_combo->findText(text));
}

bool ValueCombo::isListOpen() const
{
    const QCompleter* completer = m_combo->completer();
    return m_combo->view()->isVisible() || (completer && completer->popup() && completer->popup()->isVisible());
}

bool ValueCombo::eventFilter(QObject* watched, QEvent* event)
{
    // Enter confirms the typed text here and goes no further: passed on, it would reach the
    // inspector as a second confirmation of an editor already closed.
    if (watched == m_combo->lineEdit() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            commit();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ValueCombo::commit()
{
    // Return in an editable drop-down also reports the text as chosen: confirm it once.
    if (m_committed)
        return;
    m_committed = true;
    emit committed();
}
