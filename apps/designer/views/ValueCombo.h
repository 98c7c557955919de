#pragma once
// The inspector's in-place value editor: an editable drop-down of the editor's value list whose
// lines the property editor draws (ListDrawValue) and measures (ListMeasureHeight/Width), narrowed
// by typing, with a "..." button when the editor has a dialog. A row without a value list (a
// number, a plain text) shows no drop-down arrow: it looks and works as a line edit. A refused
// text stays in it, selected, with the reason in a label just under it.

#include "core/FormColors.h"

#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

class QToolButton;
class TPropertyEditor;
class ICustomPropertyListDrawing;

// What a line of the value list is: one of the editor's own values, one of the colours the form
// already uses (with its count), the heading above those, or the separator after them.
namespace ValueList {
enum Role { KindRole = Qt::UserRole + 20, CountRole };
enum Kind { EditorLine = 0, UsedLine, Heading, Separator };
}  // namespace ValueList

// Paints one line of a value list through the property editor's list drawing hook, as long as
// the editor exists; once it has gone, the line is plain text.
class ValueListDelegate : public QStyledItemDelegate {
public:
    ValueListDelegate(std::weak_ptr<TPropertyEditor> editor, QObject* parent);
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    std::weak_ptr<TPropertyEditor> m_editor;
};

// The drop-down itself. Opening the list moves the focus out of the typed text, and Qt then reports
// the typed text as chosen; the flag lets the owner tell that from a real choice. The list opens
// on the line of the value shown.
class ValueListCombo : public QComboBox {
public:
    using QComboBox::QComboBox;
    void showPopup() override;
    bool isOpening() const { return m_opening; }

private:
    bool m_opening = false;
};

class ValueCombo : public QWidget {
    Q_OBJECT
public:
    // used: the colours the form already uses, listed above the editor's own lines (which follow
    // unchanged, in their order) under a heading and followed by a separator; none, no such part.
    ValueCombo(const std::shared_ptr<TPropertyEditor>& editor, QWidget* parent = nullptr,
               const std::vector<UsedColor>& used = {});
    ~ValueCombo() override;

    // The editor whose value this edits; null once it has gone or been released.
    std::shared_ptr<TPropertyEditor> editor() const { return m_editor.lock(); }
    // Closes the lists and lets go of the editor: its owner is about to free it.
    void release();

    QString text() const;
    void setText(const QString& text);
    // Shows the property's value, unless the user has typed over the value shown last: the view
    // gives the value again whenever the row's data changes, and typing is never overwritten.
    void showValue(const QString& value);
    // The user has typed over (or chosen a line instead of) the value shown last.
    bool isTyped() const { return m_shownValue && text() != *m_shownValue; }
    QComboBox* combo() const { return m_combo; }
    QToolButton* dialogButton() const { return m_button; }
    // The value list or the narrowed list of typed text is showing.
    bool isListOpen() const;
    // The row offers a value list: only then does the drop-down show its arrow.
    bool hasValueList() const { return m_valueList; }

    // Shows why the text was refused in a label just under the editor (above it at the bottom of
    // the view), as wide as the view and wrapped, and selects the text, which stays; a later
    // confirmation is taken again. The message goes with clearMessage or with the editor.
    void showMessage(const QString& message);
    void clearMessage();
    QString message() const;
    QLabel* messageLabel() const { return m_message; }
    // A refusal is shown and the editor still holds the text that was refused.
    bool showsRefusal() const { return !message().isEmpty() && text() == m_refusedText; }
    // The user is confirming the text (Enter, a line chosen), not leaving the editor.
    bool isConfirming() const { return m_confirming; }

signals:
    // The user confirmed a text (Enter or a line chosen from the list).
    void committed();
    // The user pressed Up, Down, Page Up or Page Down with no list open: the key, for the rows.
    void navigated(int key);
    // The user pressed the "..." button.
    void dialogRequested();
    // A text was refused before it reached the property (see TextLengthGuard).
    void refused(const QString& message);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // A closed editor waits hidden for its deletion: its lists close with it at once.
    void hideEvent(QHideEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // The message label follows the editor as the view scrolls or resizes it.
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void addUsedColours(const std::vector<UsedColor>& used);
    // Typing narrows the list of values (with the form's colours before them: withUsed).
    void narrowWhileTyping(const std::shared_ptr<TPropertyEditor>& editor, const QStringList& values, bool withUsed);
    void closeLists();
    void commit();
    void placeMessage();
    bool filterKey(QObject* watched, QKeyEvent* event);

    std::weak_ptr<TPropertyEditor> m_editor;
    ValueListCombo* m_combo;
    bool m_committed = false;
    bool m_confirming = false;
    bool m_valueList = false;
    // A sibling in the view, over the rows below the editor.
    QPointer<QLabel> m_message;
    QString m_refusedText;
    std::optional<QString> m_shownValue;
    QToolButton* m_button = nullptr;
};
