#pragma once
// The inspector's rows as a tree: the selected objects' properties, each leaf edited by the
// property editor the registry gives for it, and sub-objects (a control's Appearance) and
// collections (a spinner's Slots) as rows whose children are their properties. The model keeps no
// value: every text it shows is asked of the leaf's editor when it is shown.

#include "host/designide/DesignIntf.h"

#include <QAbstractItemModel>

#include <memory>
#include <vector>

class PropertyModel : public QAbstractItemModel {
    Q_OBJECT
public:
    struct Node {
        QString name;                            // the name column: "Color", "Appearance", "[0]"
        QString path;                            // "Appearance.Color", "Slots[0].TextColor"
        Node* parent = nullptr;
        int row = 0;                             // place among the parent's children
        std::vector<QObject*> owners;            // the objects whose property this row shows
        std::vector<std::unique_ptr<Node>> children;
        std::shared_ptr<TPropertyEditor> editor; // leaves only
        QString summary;                         // what a sub-object or collection row shows
    };

    PropertyModel(IDesigner* designer, QObject* parent);
    ~PropertyModel() override;

    // Builds the rows for the objects (all of one class); an empty list leaves no row.
    void setObjects(const std::vector<QObject*>& objects);
    // The leaves in the order they are shown, depth first.
    const std::vector<Node*>& leaves() const { return m_leaves; }
    Node* nodeOf(const QModelIndex& index) const;
    QModelIndex indexOf(const Node* node, int column) const;
    // Tells the views that every value may have changed.
    void refresh();

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void addProperties(Node* parent, const std::vector<QObject*>& owners);
    Node* addChild(Node* parent, const QString& name);
    void refresh(const Node* node);

    IDesigner* m_designer;
    Node m_root;
    std::vector<Node*> m_leaves;
};
