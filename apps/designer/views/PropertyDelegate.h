#pragma once
// Draws the inspector's name and value cells through the property editors' drawing hooks and
// opens the in-place value editor.

#include <QColor>
#include <QFontMetrics>
#include <QRect>
#include <QStyledItemDelegate>

class InspectorRows;

class PropertyDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    // rows: the inspector whose cells these are; parent: the delegate's owner.
    PropertyDelegate(InspectorRows* rows, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // The colour of the sign a text colour row with too little contrast carries, on a row of the
    // given background: orange #E67800 where that reaches 3:1 against it, else the orange darkened
    // or lightened by the least that does.
    static QColor warningColor(const QColor& background = QColor(Qt::white));

    // Where a text colour row's value cell puts its parts: the editor's drawing of the value (its
    // swatch and name) from the left, the worst contrast ratio at the right end, and before the
    // ratio the warning sign when the ratio fails. Nothing overlaps: the value gives way first and
    // is cut (with an ellipsis at its end) down to its swatch and a few letters; when even that
    // leaves no room for the ratio, the ratio is dropped, and the sign stays.
    struct ContrastLayout {
        QRect value;          // the room the editor draws the value in
        bool elided = false;  // the value needs more: an ellipsis ends it
        QRect ratio;          // empty when dropped
        QRect sign;           // empty when the ratio passes
    };
    // cell: the value cell less its margins; valueWidth: what the value's drawing takes from the
    // cell's left; metrics: of the cell's font.
    static ContrastLayout contrastLayout(const QRect& cell, int valueWidth, const QFontMetrics& metrics,
                                         const QString& ratio, bool fails);
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;

protected:
    // A value of millions of characters (a form file may hold one) is cut to what the cell could
    // show before the style measures or draws it; the whole text only goes to the editor.
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    // A text colour row's value cell, laid out by contrastLayout.
    void paintWithContrast(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index,
                           const QString& ratio) const;
    // The cell's background over the whole cell, and the value drawn into room (the cell less its
    // margins when room is null).
    void paintValue(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index,
                    const QRect& room = QRect()) const;
    // The width the value's drawing takes from the left of a cell of that font and height.
    int valueWidth(const QStyleOptionViewItem& option, const QModelIndex& index) const;

    InspectorRows* m_inspector;
};
