#include "PropertyInspector.h"

#include "PropertyDelegate.h"

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

void PropertyInspector::rebuild()
{
    // Editors and their in-place widgets go first: their code may belong to a package.
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
        std::unique_ptr<TPropertyEditor> editor = CreatePropertyEditor(this, m_objects, prop);
        if (!editor)
            continue;
        const int row = m_table->rowCount();
        m_table->insertRow(row);
        auto* nameItem = new QTableWidgetItem(editor->GetName());
        nameItem->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        m_table->setItem(row, 0, nameItem);
        m_table->setItem(row, 1, new QTableWidgetItem(editor->GetVisualValue()));
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
    return row >= 0 && row < rowCount() ? m_editors[row].get() : nullptr;
}

QString PropertyInspector::nameAt(int row) const
{
    TPropertyEditor* editor = editorAt(row);
    return editor ? editor->GetName() : QString();
}

QString PropertyInspector::valueTextAt(int row) const
{
    TPropertyEditor* editor = editorAt(row);
    return editor ? editor->GetVisualValue() : QString();
}

bool PropertyInspector::commitText(int row, const QString& text)
{
    return runEditor(row, [&text](TPropertyEditor* editor) { editor->SetValue(text); }, QuoteForMessage(text));
}

bool PropertyInspector::edit(int row)
{
    return runEditor(row, [](TPropertyEditor* editor) { editor->Edit(); });
}

bool PropertyInspector::runEditor(int row, const std::function<void(TPropertyEditor*)>& action, const QString& input)
{
    TPropertyEditor* editor = editorAt(row);
    if (!editor)
        return false;
    std::optional<QString> error;
    try {
        action(editor);
    } catch (const Exception& e) {
        error = e.Message();
    } catch (const std::exception& e) {
        error = QString::fromUtf8(e.what());
    }
    if (!error)
        report(QString());
    else if (input.isEmpty())
        report(tr("%1: %2").arg(editor->GetName(), *error));
    else
        report(tr("%1 = %2: %3").arg(editor->GetName(), input, *error));
    refresh();
    return !error;
}

void PropertyInspector::refresh()
{
    if (m_refreshing)
        return;
    m_refreshing = true;
    for (int row = 0; row < rowCount(); ++row) {
        QString text;
        try {
            text = m_editors[row]->GetVisualValue();
        } catch (const std::exception&) {
        }
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
