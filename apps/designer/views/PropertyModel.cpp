#include "views/PropertyModel.h"

#include "core/ContrastCheck.h"
#include "core/FormColors.h"
#include "core/FormProperties.h"
#include "core/PropertyDefaults.h"
#include "core/Readability.h"
#include "views/ReadabilitySettings.h"
#include "views/SharedPropertyEditor.h"
#include "views/WrappedToolTip.h"

#include "host/palmo/PalmoCollection.h"
#include "host/palmo/PalmoControl.h"
#include "host/vcl/Contrast.h"

#include <QFont>
#include <QMetaProperty>

#include <algorithm>
#include <limits>
#include <utility>

namespace {

bool isSubObject(const QMetaProperty& prop)
{
    return (prop.metaType().flags() & QMetaType::PointerToQObject) != 0;
}

// The part of that name on each owner, or an empty list when one has none.
std::vector<QObject*> subObjects(const char* name, const std::vector<QObject*>& owners)
{
    std::vector<QObject*> objects;
    objects.reserve(owners.size());
    // The property is looked up by name once for each class among the owners (10,000 selected
    // buttons are one class).
    const QMetaObject* lastClass = nullptr;
    QMetaProperty property;
    for (QObject* owner : owners) {
        if (owner->metaObject() != lastClass) {
            lastClass = owner->metaObject();
            const int index = lastClass->indexOfProperty(name);
            if (index < 0 || !isSubObject(lastClass->property(index)))
                return {};
            property = lastClass->property(index);
        }
        QObject* object = subObject(owner, property);
        if (!object)
            return {};
        objects.push_back(object);
    }
    return objects;
}

// Whether every owner has a readable value property of that name and type, whichever class
// declares it there: rows are shared by path ("Appearance.Color" of a button and of a list item),
// not by a common base class. Writes go through each declaring class (SharedPropertyEditor).
bool sharedByAll(const QMetaProperty& prop, const std::vector<QObject*>& owners)
{
    // Each class among the owners is asked once.
    const QMetaObject* lastClass = nullptr;
    return std::all_of(owners.begin(), owners.end(), [&](const QObject* owner) {
        if (owner->metaObject() == lastClass)
            return true;
        lastClass = owner->metaObject();
        const int index = lastClass->indexOfProperty(prop.name());
        if (index < 0)
            return false;
        const QMetaProperty own = lastClass->property(index);
        return own.isReadable() && !isSubObject(own) && own.metaType() == prop.metaType();
    });
}

// The control a part or a collection item belongs to (the object itself for a control).
TPalmoControl* controlOf(QObject* object)
{
    while (object && !qobject_cast<TPalmoControl*>(object))
        object = object->parent();
    return qobject_cast<TPalmoControl*>(object);
}

// The number of items every collection has.
int commonCount(const std::vector<QObject*>& collections)
{
    int common = std::numeric_limits<int>::max();
    for (const QObject* object : collections)
        common = std::min(common, qobject_cast<const TPalmoCollection*>(object)->Count());
    return collections.empty() ? 0 : common;
}

}  // namespace

PropertyModel::PropertyModel(IDesigner* designer, QObject* parent)
    : QAbstractItemModel(parent), m_designer(designer), m_defaults(std::make_unique<PropertyDefaults>())
{
}

PropertyModel::~PropertyModel() = default;

void PropertyModel::setObjects(const std::vector<QObject*>& objects)
{
    beginResetModel();
    m_root.children.clear();
    m_leaves.clear();
    m_collections.clear();
    m_root.owners = objects;
    if (!objects.empty())
        addProperties(&m_root, objects);
    endResetModel();
}

bool PropertyModel::hasRowsFor(const std::vector<QObject*>& objects) const
{
    return objects == m_root.owners && std::all_of(m_collections.begin(), m_collections.end(), [](const Node* node) {
        return commonCount(node->owners) == node->items;
    });
}

PropertyModel::Node* PropertyModel::addChild(Node* parent, const QString& name)
{
    auto node = std::make_unique<Node>();
    node->name = name;
    node->path = parent == &m_root ? name : (name.startsWith('[') ? parent->path + name : parent->path + '.' + name);
    node->parent = parent;
    node->row = static_cast<int>(parent->children.size());
    parent->children.push_back(std::move(node));
    return parent->children.back().get();
}

void PropertyModel::addProperties(Node* parent, const std::vector<QObject*>& owners)
{
    const QMetaObject* meta = owners.front()->metaObject();
    const int first = QObject::staticMetaObject.propertyCount();  // objectName stays hidden
    // The objects' own values first, in declaration order.
    for (int i = first; i < meta->propertyCount(); ++i) {
        const QMetaProperty prop = meta->property(i);
        if (!prop.isReadable() || isSubObject(prop) || !sharedByAll(prop, owners))
            continue;
        std::shared_ptr<TPropertyEditor> editor;
        if (prop.isWritable())
            editor = SharedPropertyEditor::create(m_designer, owners, prop.name());
        else if (qstrcmp(prop.name(), "Name") == 0 && owners.size() == 1)
            // Only the designer renames a component: it alone knows the other names.
            editor = std::make_shared<TComponentNameProperty>(m_designer, owners, prop);
        if (!editor)
            continue;
        Node* node = addChild(parent, QString::fromLatin1(prop.name()));
        node->owners = owners;
        node->editor = std::move(editor);
        m_leaves.push_back(node);
    }
    // Then each part (a control's Appearance), and each collection with its items.
    for (int i = first; i < meta->propertyCount(); ++i) {
        const QMetaProperty prop = meta->property(i);
        if (!prop.isReadable() || !isSubObject(prop))
            continue;
        const std::vector<QObject*> objects = subObjects(prop.name(), owners);
        if (objects.empty())
            continue;
        Node* node = addChild(parent, QString::fromLatin1(prop.name()));
        node->owners = objects;
        addProperties(node, objects);
        std::vector<TPalmoCollection*> collections;
        for (QObject* object : objects)
            if (auto* collection = qobject_cast<TPalmoCollection*>(object))
                collections.push_back(collection);
        if (collections.size() != objects.size()) {
            if (node->children.empty()) {
                // Parts of different classes with nothing in common: no row.
                parent->children.pop_back();
                continue;
            }
            const QMetaObject* partClass = objects.front()->metaObject();
            const bool oneClass = std::all_of(objects.begin(), objects.end(),
                                              [&](const QObject* object) { return object->metaObject() == partClass; });
            node->summary = oneClass ? QStringLiteral("(%1)").arg(QString::fromLatin1(partClass->className())) : QString();
            continue;
        }
        addItems(node, collections);
    }
}

void PropertyModel::addItems(Node* node, const std::vector<TPalmoCollection*>& collections)
{
    // Only the items every selected control has.
    const int common = commonCount(node->owners);
    node->summary = tr("(%n item(s))", nullptr, common);
    node->items = common;
    m_collections.push_back(node);
    for (int item = 0; item < common; ++item) {
        std::vector<QObject*> items;
        for (const TPalmoCollection* collection : collections)
            items.push_back(collection->Item(item));
        Node* itemNode = addChild(node, QStringLiteral("[%1]").arg(item));
        itemNode->owners = items;
        itemNode->summary = QStringLiteral("(%1)").arg(QString::fromLatin1(items.front()->metaObject()->className()));
        addProperties(itemNode, items);
    }
}

PropertyModel::Node* PropertyModel::nodeOf(const QModelIndex& index) const
{
    return index.isValid() ? static_cast<Node*>(index.internalPointer()) : nullptr;
}

QModelIndex PropertyModel::indexOf(const Node* node, int column) const
{
    if (!node || node == &m_root)
        return QModelIndex();
    return createIndex(node->row, column, const_cast<Node*>(node));
}

QModelIndex PropertyModel::index(int row, int column, const QModelIndex& parent) const
{
    const Node* owner = parent.isValid() ? nodeOf(parent) : &m_root;
    if (row < 0 || column < 0 || column > 1 || row >= static_cast<int>(owner->children.size()))
        return QModelIndex();
    return createIndex(row, column, owner->children[row].get());
}

QModelIndex PropertyModel::parent(const QModelIndex& child) const
{
    const Node* node = nodeOf(child);
    return node ? indexOf(node->parent, 0) : QModelIndex();
}

int PropertyModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() && parent.column() != 0)
        return 0;
    const Node* node = parent.isValid() ? nodeOf(parent) : &m_root;
    return static_cast<int>(node->children.size());
}

int PropertyModel::columnCount(const QModelIndex&) const
{
    return 2;
}


namespace {

// The leaf's object at that place, or null when it has gone.
QObject* componentOf(const PropertyModel::Node* leaf, std::size_t owner)
{
    try {
        return leaf->editor->GetComponent(static_cast<int>(owner));
    } catch (const std::exception&) {
        return nullptr;
    }
}

}  // namespace

std::optional<QVariant> PropertyModel::defaultValue(const Node* leaf, std::size_t owner) const
{
    if (!leaf || !leaf->editor || owner >= leaf->owners.size() || !leaf->editor->Property().isWritable())
        return std::nullopt;
    const TPalmoControl* control = controlOf(componentOf(leaf, owner));
    if (!control)
        return std::nullopt;
    return m_defaults->of(*control, leaf->path);
}

bool PropertyModel::isChanged(const Node* leaf) const
{
    if (!leaf || !leaf->editor)
        return false;
    if (leaf->changedAt == stampOf(leaf))
        return leaf->changed;
    leaf->changed = false;
    leaf->changedAt = stampOf(leaf);
    if (!leaf->editor->Property().isWritable())
        return false;
    // The objects of a shared row may declare the property in different classes: each control
    // class's property and default are looked up once, not once per control, and each object's
    // control class once for the rows' lifetime.
    if (leaf->controlClasses.size() != leaf->owners.size()) {
        leaf->controlClasses.clear();
        for (std::size_t i = 0; i < leaf->owners.size(); ++i) {
            const TPalmoControl* control = controlOf(componentOf(leaf, i));
            leaf->controlClasses.push_back(control ? control->metaObject() : nullptr);
        }
    }
    struct OfClass {
        QMetaProperty property;
        std::optional<QVariant> fresh;
    };
    std::map<const QMetaObject*, OfClass> classes;
    const OfClass* last = nullptr;
    const QMetaObject* lastClass = nullptr;
    const char* name = leaf->editor->Property().name();
    for (std::size_t i = 0; i < leaf->owners.size() && !leaf->changed; ++i) {
        const QMetaObject* controlClass = leaf->controlClasses[i];
        QObject* object = controlClass ? componentOf(leaf, i) : nullptr;
        if (!object)
            continue;
        if (controlClass != lastClass) {
            auto [ofClass, added] = classes.try_emplace(controlClass);
            if (added) {
                ofClass->second.property = object->metaObject()->property(object->metaObject()->indexOfProperty(name));
                if (const TPalmoControl* control = controlOf(object))
                    ofClass->second.fresh = m_defaults->of(*control, leaf->path);
            }
            last = &ofClass->second;
            lastClass = controlClass;
        }
        leaf->changed = last->fresh && last->property.read(object) != *last->fresh;
    }
    return leaf->changed;
}

const QString& PropertyModel::shownOf(const Node* leaf) const
{
    if (leaf->shownAt != stampOf(leaf)) {
        leaf->shown = visualValueOf(leaf->editor.get());
        leaf->shownAt = stampOf(leaf);
    }
    return leaf->shown;
}

void PropertyModel::invalidate(const QStringList& paths)
{
    if (paths.isEmpty()) {
        invalidate();
        return;
    }
    ++m_state;
    for (Node* leaf : m_leaves)
        if (paths.contains(leaf->path))
            leaf->touchedAt = m_state;
}

quint64 PropertyModel::valuesStamp(const TPropertyEditor* editor) const
{
    for (const Node* leaf : m_leaves)
        if (leaf->editor.get() == editor)
            return stampOf(leaf);
    return 0;
}

std::vector<Finding> PropertyModel::findingsOf(const Node* leaf) const
{
    std::vector<Finding> found;
    if (!leaf || !leaf->editor || m_root.owners.size() != 1 || leaf->owners.size() != 1
        || !FormColors::isColor(leaf->editor->Property()))
        return found;
    TPalmoControl* control = controlOf(componentOf(leaf, 0));
    if (!control)
        return found;
    // Text is marked at its text colour (its background's row would stand for every text drawn
    // on it); a state pair at both of its colours.
    for (Finding& finding : Readability::findingsOf(*control, readReadabilityThresholds()))
        if (finding.kind == FindingKind::TextContrast ? finding.firstPath == leaf->path : Readability::concerns(finding, leaf->path))
            found.push_back(std::move(finding));
    return found;
}

std::optional<ContrastPair> PropertyModel::contrastOf(const Node* leaf) const
{
    // With several controls shown a row stands for several pairs: nothing is said then.
    if (!leaf || !leaf->editor || m_root.owners.size() != 1 || leaf->owners.size() != 1
        || !FormColors::isColor(leaf->editor->Property()))
        return std::nullopt;
    TPalmoControl* control = controlOf(componentOf(leaf, 0));
    if (!control)
        return std::nullopt;
    return ContrastCheck::worst(*control, leaf->path);
}

QVariant PropertyModel::data(const QModelIndex& index, int role) const
{
    const Node* node = nodeOf(index);
    // A place a drag in the preview shows, not written yet.
    if (node && index.column() == 1 && role == Qt::DisplayRole && !m_shownTexts.isEmpty())
        if (const auto shown = m_shownTexts.constFind(node->path); shown != m_shownTexts.cend())
            return *shown;
    if (node && index.column() == 1
        && (role == ContrastTextRole || role == ContrastFailsRole || role == Qt::ToolTipRole)) {
        // A colour that a finding concerns is marked with the finding's measure and says each
        // finding in its tooltip; a text colour that passes shows its worst ratio.
        const std::vector<Finding> findings = findingsOf(node);
        if (role == ContrastFailsRole)
            return findings.empty() && !contrastOf(node) ? QVariant() : QVariant(!findings.empty());
        if (role == ContrastTextRole) {
            if (!findings.empty())
                return Readability::markText(findings.front());
            const std::optional<ContrastPair> pair = contrastOf(node);
            return pair ? ContrastCheck::ratioText(pair->ratio) : QVariant();
        }
        QStringList why;
        for (const Finding& finding : findings)
            why << Readability::describe(finding);
        return why.isEmpty() ? QVariant() : QVariant(wrappedToolTip(why));
    }
    if (node && role == Qt::AccessibleDescriptionRole)
        return accessibleDescription(node);
    if (node && role == Qt::FontRole && isChanged(node)) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    if (!node || (role != Qt::DisplayRole && role != Qt::EditRole))
        return QVariant();
    if (index.column() == 0)
        return node->name;
    return node->editor ? shownOf(node) : node->summary;
}

QString PropertyModel::accessibleDescription(const Node* node) const
{
    // What the row shows besides its text: the warning sign with its measure, a text colour's
    // ratio, the bold of a changed value and the reset button beside its name.
    QStringList parts;
    if (!node->editor)
        return QString();
    const std::vector<Finding> findings = findingsOf(node);
    for (const Finding& finding : findings)
        parts << tr("Warning: %1").arg(Readability::describe(finding));
    if (findings.empty())
        if (const std::optional<ContrastPair> pair = contrastOf(node))
            parts << tr("Contrast %1").arg(ContrastCheck::ratioText(pair->ratio));
    if (isChanged(node))
        parts << tr("Changed from the default; the reset button beside the name, or Reset to Default in the "
                    "context menu, restores it");
    return parts.join(QStringLiteral(". "));
}

Qt::ItemFlags PropertyModel::flags(const QModelIndex& index) const
{
    const Node* node = nodeOf(index);
    if (!node)
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (node->editor && index.column() == 1)
        result |= Qt::ItemIsEditable;
    return result;
}

void PropertyModel::setShownTexts(const QHash<QString, QString>& texts)
{
    if (texts == m_shownTexts)
        return;
    const QHash<QString, QString> before = std::exchange(m_shownTexts, texts);
    for (const Node* leaf : m_leaves)
        if (before.contains(leaf->path) || m_shownTexts.contains(leaf->path)) {
            const QModelIndex value = indexOf(leaf, 1);
            emit dataChanged(value, value, {Qt::DisplayRole});
        }
}

QVariant PropertyModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    return section == 0 ? tr("Property") : tr("Value");
}

void PropertyModel::refresh()
{
    refresh(&m_root);
}

void PropertyModel::refresh(const Node* node)
{
    if (node->children.empty())
        return;
    emit dataChanged(index(0, 0, indexOf(node, 0)),
                     index(static_cast<int>(node->children.size()) - 1, 1, indexOf(node, 0)));
    for (const auto& child : node->children)
        refresh(child.get());
}
