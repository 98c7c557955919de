#pragma once
// The inspector's in-place value editor: an editable drop-down of the editor's value list whose
// lines the property editor draws (ListDrawValue) and measures (ListMeasureHeight/Width), narrowed
// by typing, with a "..." button when the editor has a dialog.

#include <QComboBox>
#include <QStyledItemDelegate>
#include <QWidget>

class QToolButton;
class TPropertyEditor;
class ICustomPropertyListDrawing;

// Paints one line of a value list through the property editor's list drawing hook.
class ValueListDelegate : public QStyledItemDelegate {
public:
    ValueListDelegate(ICustomPropertyListDrawing* drawing, QObject* parent);
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    ICustomPropertyListDrawing* m_drawing;
};

class ValueCombo : public QWidget {
    Q_OBJECT
public:
    ValueCombo(TPropertyEditor* editor, QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);
    QComboBox* combo() const { return m_combo; }
    QToolButton* dialogButton() const { return m_button; }

signals:
    // The user confirmed a text (Enter or a line chosen from the list).
    void committed();
    // The user pressed the "..." button.
    void dialogRequested();

private:
    QComboBox* m_combo;
    QToolButton* m_button = nullptr;
};
