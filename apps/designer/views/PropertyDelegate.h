#pragma once
// Draws the inspector's name and value cells through the property editors' drawing hooks and
// opens the in-place value editor.

#include <QColor>
#include <QStyledItemDelegate>

class PropertyInspector;

class PropertyDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit PropertyDelegate(PropertyInspector* inspector);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // The colour of the sign a text colour row with too little contrast carries.
    static QColor warningColor();
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    void paintContrast(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;
    void paintValue(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;

    PropertyInspector* m_inspector;
};
