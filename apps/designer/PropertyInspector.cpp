#include "PropertyInspector.h"

#include "PropertyDelegate.h"
#include "PropertyModel.h"
#include "ValueCombo.h"

#include "host/palmo/PalmoCollection.h"

#include <QHeaderView>
#include <QLabel>
#include <QMetaProperty>
#include <QTreeView>
#include <QVBoxLayout>

#include <optional>

namespace {

// Whether a change of the editor's property adds or removes rows: a collection's Count does.
bool changesRows(TPropertyEditor* editor)
{
    try {
        return qobject_cast<TPalmoCollection*>(editor->GetComponent(0)) != nullptr;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace

PropertyInspector::PropertyInspector(QWidget* parent)
    : QWidget(parent), m_view(new QTreeView(this)), m_model(new PropertyModel(this, this)), m_error(new QLabel(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_error);

    m_view->setObjectName(QStringLiteral("inspectorView"));
    m_view->setModel(m_model);
    m_view->setUniformRowHeights(true);
    m_view->setAlternatingRowColors(false);
    m_view->setIndentation(14);
    m_view->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_view->header()->setStretchLastSection(true);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::AllEditTriggers);
    m_view->setItemDelegate(new PropertyDelegate(this));

    m_error->setObjectName(QStringLiteral("inspectorError"));
    m_error->setWordWrap(true);
    m_error->setStyleSheet(QStringLiteral("color: #b00020;"));
    m_error->hide();
}

PropertyInspector::~PropertyInspector()
{
    clear();
}

void PropertyInspector::setObjects(const std::vector<QObject*>& objects)
{
    m_objects = objects;
    rebuild();
}

void PropertyInspector::clear()
{
    m_objects.clear();
    rebuild();
}

void PropertyInspector::closeInPlaceEditors()
{
    // The lists close before their editors go, so none paints through an editor that is gone.
    for (ValueCombo* combo : m_view->viewport()->findChildren<ValueCombo*>())
        combo->release();
}

void PropertyInspector::rebuild()
{
    // In-place editors and their lists go first: the editors' code may belong to a package.
    closeInPlaceEditors();
    m_model->setObjects(m_objects);
    m_view->expandAll();
}

int PropertyInspector::rowCount() const
{
    return static_cast<int>(m_model->leaves().size());
}

int PropertyInspector::rowOf(const QString& propertyName) const
{
    for (int row = 0; row < rowCount(); ++row)
        if (m_model->leaves()[row]->path == propertyName)
            return row;
    return -1;
}

TPropertyEditor* PropertyInspector::editorAt(int row) const
{
    return sharedEditorAt(row).get();
}

std::shared_ptr<TPropertyEditor> PropertyInspector::sharedEditorAt(int row) const
{
    return row >= 0 && row < rowCount() ? m_model->leaves()[row]->editor : nullptr;
}

int PropertyInspector::rowOfEditor(const TPropertyEditor* editor) const
{
    for (int row = 0; row < rowCount(); ++row)
        if (m_model->leaves()[row]->editor.get() == editor)
            return row;
    return -1;
}

QModelIndex PropertyInspector::valueIndex(int row) const
{
    return row >= 0 && row < rowCount() ? m_model->indexOf(m_model->leaves()[row], 1) : QModelIndex();
}

std::shared_ptr<TPropertyEditor> PropertyInspector::editorOf(const QModelIndex& index) const
{
    const PropertyModel::Node* node = m_model->nodeOf(index);
    return node ? node->editor : nullptr;
}

QString PropertyInspector::nameAt(int row) const
{
    TPropertyEditor* editor = editorAt(row);
    return editor ? editor->GetName() : QString();
}

QString PropertyInspector::valueTextAt(int row) const
{
    return visualValueOf(editorAt(row));
}

QString PropertyInspector::visualValueOf(TPropertyEditor* editor)
{
    if (!editor)
        return QString();
    try {
        return editor->GetVisualValue();
    } catch (const std::exception&) {
        return QString();
    }
}

PropertyTarget PropertyInspector::targetOf(int row) const
{
    PropertyTarget target;
    if (row >= 0 && row < rowCount()) {
        const PropertyModel::Node* node = m_model->leaves()[row];
        target.objects.assign(node->owners.begin(), node->owners.end());
        target.property = node->editor->Property().name();
    }
    return target;
}

bool PropertyInspector::commitText(int row, const QString& text)
{
    return commitText(sharedEditorAt(row), text);
}

bool PropertyInspector::commitText(const std::shared_ptr<TPropertyEditor>& editor, const QString& text)
{
    return runEditor(editor, [&text](TPropertyEditor* e) { e->SetValue(text); }, QuoteForMessage(text));
}

bool PropertyInspector::edit(int row)
{
    return runEditor(sharedEditorAt(row), [](TPropertyEditor* editor) { editor->Edit(); });
}

bool PropertyInspector::edit(const PropertyTarget& target)
{
    std::vector<QObject*> objects;
    for (const QPointer<QObject>& object : target.objects) {
        if (!object) {
            report(tr("%1: the control was removed before its dialog could open").arg(QString::fromLatin1(target.property)));
            return false;
        }
        objects.push_back(object);
    }
    if (objects.empty())
        return false;
    for (const PropertyModel::Node* node : m_model->leaves())
        if (node->owners == objects && node->editor->Property().name() == target.property)
            return runEditor(node->editor, [](TPropertyEditor* e) { e->Edit(); });
    // The selection has moved on since the request: the edit still goes to the property it was
    // asked for, through an editor of its own.
    const QMetaObject* meta = objects.front()->metaObject();
    const int index = meta->indexOfProperty(target.property.constData());
    if (index < 0)
        return false;
    const std::shared_ptr<TPropertyEditor> editor = CreatePropertyEditor(this, objects, meta->property(index));
    return runEditor(editor, [](TPropertyEditor* e) { e->Edit(); });
}

QString PropertyInspector::busyReason() const
{
    if (m_running == 0)
        return QString();
    return tr("A property editor is at work (its dialog may be open); close it, then try again.");
}

bool PropertyInspector::runEditor(const std::shared_ptr<TPropertyEditor>& editor,
                                  const std::function<void(TPropertyEditor*)>& action, const QString& input)
{
    if (!editor)
        return false;
    // Held here, the editor outlives any rebuild that its own event loop (a modal dialog) causes;
    // the argument may refer to a row's own pointer, which such a rebuild frees, so only the
    // holder is used from here on.
    const std::shared_ptr<TPropertyEditor> holder = editor;
    // Messages name the row as the inspector shows it ("Appearance.Color").
    const int row = rowOfEditor(holder.get());
    const QString name = row >= 0 ? m_model->leaves()[row]->path : holder->GetName();
    // The action may run an event loop in which even this inspector goes.
    const QPointer<PropertyInspector> self(this);
    std::optional<QString> error;
    ++m_running;
    try {
        action(holder.get());
    } catch (const Exception& e) {
        error = e.Message();
    } catch (const std::exception& e) {
        error = QString::fromUtf8(e.what());
    } catch (...) {
        error = tr("Unknown error");
    }
    if (!self)
        return false;
    --m_running;
    // A collection's Count adds or removes item rows.
    if (!error && m_running == 0 && changesRows(holder.get()))
        rebuild();
    if (!error)
        report(QString());
    else if (input.isEmpty())
        report(tr("%1: %2").arg(name, *error));
    else
        report(tr("%1 = %2: %3").arg(name, input, *error));
    refresh();
    return !error;
}

void PropertyInspector::refresh()
{
    if (m_refreshing)
        return;
    m_refreshing = true;
    m_model->refresh();
    m_view->viewport()->update();
    m_refreshing = false;
}

void PropertyInspector::Rename(QObject* component, const String& newName)
{
    const QString refusal = renamer ? renamer(component, newName) : tr("Components cannot be renamed here");
    if (!refusal.isEmpty())
        throw EPropertyError(refusal);
}

void PropertyInspector::Modified()
{
    refresh();
    emit propertyModified();
}

void PropertyInspector::report(const QString& message)
{
    m_lastError = message;
    m_error->setText(message);
    m_error->setVisible(!message.isEmpty());
    if (!message.isEmpty())
        emit errorReported(message);
}
