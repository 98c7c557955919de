#include "PropertyInspector.h"

#include "PropertyDelegate.h"
#include "ValueCombo.h"

#include <QHeaderView>
#include <QLabel>
#include <QMetaProperty>
#include <QTableWidget>
#include <QVBoxLayout>

#include <optional>

PropertyInspector::PropertyInspector(QWidget* parent)
    : QWidget(parent), m_table(new QTableWidget(0, 2, this)), m_error(new QLabel(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_error);

    m_table->setObjectName(QStringLiteral("inspectorTable"));
    m_table->setHorizontalHeaderLabels({tr("Property"), tr("Value")});
    m_table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->verticalHeader()->hide();
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::AllEditTriggers);
    m_table->setItemDelegate(new PropertyDelegate(this));

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
    for (ValueCombo* combo : m_table->viewport()->findChildren<ValueCombo*>())
        combo->release();
}

void PropertyInspector::rebuild()
{
    // In-place editors and their lists go first: the editors' code may belong to a package.
    closeInPlaceEditors();
    m_table->setRowCount(0);
    m_editors.clear();
    if (m_objects.empty())
        return;
    const QMetaObject* meta = m_objects.front()->metaObject();
    // Properties of the appearance classes themselves; QObject's own objectName stays hidden.
    for (int i = QObject::staticMetaObject.propertyCount(); i < meta->propertyCount(); ++i) {
        const QMetaProperty prop = meta->property(i);
        if (!prop.isReadable() || !prop.isWritable())
            continue;
        std::shared_ptr<TPropertyEditor> editor = CreatePropertyEditor(this, m_objects, prop);
        if (!editor)
            continue;
        const int row = m_table->rowCount();
        m_table->insertRow(row);
        auto* nameItem = new QTableWidgetItem(editor->GetName());
        nameItem->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        m_table->setItem(row, 0, nameItem);
        m_table->setItem(row, 1, new QTableWidgetItem(visualValueOf(editor.get())));
        m_editors.push_back(std::move(editor));
    }
    m_table->resizeRowsToContents();
}

int PropertyInspector::rowCount() const
{
    return static_cast<int>(m_editors.size());
}

int PropertyInspector::rowOf(const QString& propertyName) const
{
    for (int row = 0; row < rowCount(); ++row)
        if (m_editors[row]->GetName() == propertyName)
            return row;
    return -1;
}

TPropertyEditor* PropertyInspector::editorAt(int row) const
{
    return sharedEditorAt(row).get();
}

std::shared_ptr<TPropertyEditor> PropertyInspector::sharedEditorAt(int row) const
{
    return row >= 0 && row < rowCount() ? m_editors[row] : nullptr;
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
    if (TPropertyEditor* editor = editorAt(row)) {
        target.objects.assign(m_objects.begin(), m_objects.end());
        target.property = editor->Property().name();
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
    if (objects == m_objects)
        for (const std::shared_ptr<TPropertyEditor>& editor : m_editors)
            if (editor->Property().name() == target.property)
                return runEditor(editor, [](TPropertyEditor* e) { e->Edit(); });
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
    // Held here, the editor outlives any rebuild that its own event loop (a modal dialog) causes.
    const std::shared_ptr<TPropertyEditor> holder = editor;
    const QString name = editor->GetName();
    // The action may run an event loop in which even this inspector goes.
    const QPointer<PropertyInspector> self(this);
    std::optional<QString> error;
    ++m_running;
    try {
        action(editor.get());
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
    for (int row = 0; row < rowCount(); ++row) {
        const QString text = visualValueOf(m_editors[row].get());
        if (QTableWidgetItem* item = m_table->item(row, 1); item && item->text() != text)
            item->setText(text);
    }
    m_table->viewport()->update();
    m_refreshing = false;
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
