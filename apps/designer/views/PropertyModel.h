#pragma once
// The inspector's rows as a tree: the selected objects' properties, each leaf edited by the
// property editor the registry gives for it, and sub-objects (a control's Appearance) and
// collections (a spinner's Slots) as rows whose children are their properties. The model keeps no
// value: every text it shows is asked of the leaf's editor when it is shown.

#include "host/designide/DesignIntf.h"

#include <QAbstractItemModel>
#include <QHash>
#include <QStringList>
#include <QVariant>

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class PropertyDefaults;
class TPalmoCollection;
class TPalmoControl;
struct ContrastPair;
struct Finding;

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
        int items = -1;                          // a collection row: how many items it lists
        // A leaf's value text and whether it differs from the default, worked out once for each
        // state of its values (see invalidate()): a row over 10,000 controls is painted many times.
        mutable std::vector<const QMetaObject*> controlClasses;  // of each owner's control
        quint64 touchedAt = 0;  // when the leaf's own values were last said to have changed
        mutable quint64 changedAt = 0;
        mutable bool changed = false;
        mutable quint64 shownAt = 0;
        mutable QString shown;
    };

    // A colour row of the one control shown that a finding of the readability report is about
    // (a text colour for text, either colour of a state pair) fails, and gives in its value cell the first such finding's measure against its threshold
    // ("3.94:1 < 4.5:1", "ΔE 2.9 < 10"); its tooltip, wrapped, says each finding in full. A text
    // colour row that passes gives its worst ratio over its backgrounds ("4.6:1").
    enum Role { ContrastTextRole = Qt::UserRole + 1, ContrastFailsRole };

    PropertyModel(IDesigner* designer, QObject* parent);
    ~PropertyModel() override;

    // Builds the rows for the properties the objects share: every property path that all of them
    // have with the same type, whichever class declares it ("Left" of any controls, "Appearance.
    // Color" of a button and a list item, whose Appearance parts are of different classes), and a
    // collection's items only when every object has that collection. An empty list leaves no row.
    void setObjects(const std::vector<QObject*>& objects);
    // Whether setObjects(objects) would build the rows there are: the objects are those shown,
    // and every collection row lists as many items as they have in common.
    bool hasRowsFor(const std::vector<QObject*>& objects) const;
    // Texts the value cells of these paths show instead of the properties' values, while a drag
    // in the preview shows places not written yet ("Left" → "120"); none: the values themselves.
    void setShownTexts(const QHash<QString, QString>& texts);
    // The value a leaf's property has on a freshly made control of the class of the owner's
    // control (owner: an index into the leaf's owners); none when that is not known.
    std::optional<QVariant> defaultValue(const Node* leaf, std::size_t owner) const;
    // Whether the leaf's value differs, on any of its objects, from the default of its class.
    bool isChanged(const Node* leaf) const;
    // The leaves in the order they are shown, depth first.
    const std::vector<Node*>& leaves() const { return m_leaves; }
    // The objects the rows are for.
    const std::vector<QObject*>& objects() const { return m_root.owners; }
    Node* nodeOf(const QModelIndex& index) const;
    QModelIndex indexOf(const Node* node, int column) const;
    // The leaf's worst text/background pair when it is a text colour of the one control shown.
    std::optional<ContrastPair> contrastOf(const Node* leaf) const;
    // The readability report's findings about the leaf's colour, when it is a colour of the one
    // control shown.
    std::vector<Finding> findingsOf(const Node* leaf) const;
    // Forgets what the leaves show: a value may have changed. Cheap; the views are not told.
    void invalidate() { m_allAt = ++m_state; }
    // Forgets what the leaves at these paths show (every leaf when paths is empty).
    void invalidate(const QStringList& paths);
    // A number that changes whenever the leaf's values may have changed; 0 for no leaf.
    quint64 valuesStamp(const TPropertyEditor* editor) const;
    // What assistive technology hears of a row beyond its name and value: its warnings with their
    // measures, a text colour's ratio, and whether it differs from its default (and can be reset).
    QString accessibleDescription(const Node* node) const;
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
    // A collection row's items: those every one of its collections has.
    void addItems(Node* node, const std::vector<TPalmoCollection*>& collections);
    Node* addChild(Node* parent, const QString& name);
    void refresh(const Node* node);
    // The leaf's value text as the form is now.
    const QString& shownOf(const Node* leaf) const;

    IDesigner* m_designer;
    // Grows its fresh controls' collections as rows ask for items beyond them.
    std::unique_ptr<PropertyDefaults> m_defaults;
    // See setShownTexts.
    QHash<QString, QString> m_shownTexts;
    Node m_root;
    std::vector<Node*> m_leaves;
    std::vector<Node*> m_collections;
    // Counts invalidations; m_allAt is the last that was about every leaf.
    quint64 m_state = 1;
    quint64 m_allAt = 1;
    quint64 stampOf(const Node* leaf) const { return std::max(m_allAt, leaf->touchedAt); }
};
