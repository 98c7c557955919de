#include "views/PropertyInspector.h"

#include "views/EditorFacts.h"
#include "views/InspectorFilter.h"
#include "views/InspectorRowMenu.h"
#include "views/InspectorView.h"
#include "views/PropertyDelegate.h"
#include "views/PropertyModel.h"
#include "views/SharedPropertyEditor.h"
#include "views/ValueCombo.h"
#include "views/ValueEditorState.h"

#include "core/ColorText.h"
#include "core/FormColors.h"
#include "core/FormEditing.h"
#include "core/FormProperties.h"

#include "host/palmo/PalmoControl.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMetaProperty>
#include <QPointer>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>
#include <utility>


PropertyInspector::PropertyInspector(FormEditing& form, QWidget* parent)
    : QWidget(parent), m_form(&form), m_view(new InspectorView(this, this)), m_model(new PropertyModel(this, this)),
      m_filter(new QLineEdit(this)), m_error(new QLabel(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_filter);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_error);

    m_filter->setObjectName(QStringLiteral("inspectorFilter"));
    m_filter->setPlaceholderText(tr("Filter properties (Ctrl+F)"));
    m_filter->setClearButtonEnabled(true);

    m_view->setObjectName(QStringLiteral("inspectorView"));
    m_view->setModel(m_model);
    m_rowFilter = new InspectorFilter(m_filter, m_view, m_model, this);
    m_view->setUniformRowHeights(true);
    m_view->setAlternatingRowColors(false);
    m_view->setIndentation(14);
    m_view->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_view->header()->setStretchLastSection(true);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    // Only the keys and clicks the view handles itself open an editor: moving to another row
    // never does, so that arrows and the wheel never reach a value.
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setItemDelegate(new PropertyDelegate(this, this));
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_view, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) { showRowMenu(*this, at); });
    // A row the program makes current (the Contrast view points at one) is shown, whatever the
    // filter says.
    connect(m_view->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
        if (!m_rowFilter->isApplying() && m_rowFilter->isHidden(current))
            m_filter->clear();
    });

    m_error->setObjectName(QStringLiteral("inspectorError"));
    // The quoted text is the user's: shown as it is, never read as markup.
    m_error->setTextFormat(Qt::PlainText);
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
    report(QString());
    rebuild();
}

void PropertyInspector::showObjects(const std::vector<QObject*>& objects)
{
    if (m_rebuildPending || !m_model->hasRowsFor(objects)) {
        setObjects(objects);
        return;
    }
    report(QString());
    // The form's notices have already marked the values that changed.
    showValues();
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
    if (m_viewCommits > 0) {
        if (!m_rebuildPending)
            QMetaObject::invokeMethod(this, [this] { if (m_rebuildPending) rebuild(); }, Qt::QueuedConnection);
        m_rebuildPending = true;
        return;
    }
    m_rebuildPending = false;
    // New rows show the values as they are.
    m_refreshPending = false;
    const std::optional<ValueEditorState> inPlace = m_model->objects() == m_objects ? ValueEditorState::of(m_view->viewport(), *this, *m_model) : std::nullopt;
    // In-place editors and their lists go first: the editors' code may belong to a package.
    closeInPlaceEditors();
    // The row the user was on stays current when it is still shown.
    const PropertyModel::Node* current = m_model->nodeOf(m_view->currentIndex());
    const QString currentPath = current ? current->path : QString();
    const int currentColumn = m_view->currentIndex().column();
    m_model->setObjects(m_objects);
    static_cast<InspectorView*>(m_view)->expandParts();
    m_rowFilter->apply();
    if (!currentPath.isEmpty()) {
        const int row = rowOf(currentPath);
        if (row >= 0 && isRowShown(row))
            m_view->setCurrentIndex(valueIndex(row).siblingAtColumn(std::max(currentColumn, 0)));
    }
    if (inPlace)
        inPlace->restore(*this, rowOf(inPlace->path));
}

bool PropertyInspector::isRowShown(int row) const
{
    const QModelIndex index = valueIndex(row);
    return index.isValid() && !m_rowFilter->isHidden(index);
}

void PropertyInspector::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Find)) {
        m_filter->setFocus(Qt::ShortcutFocusReason);
        m_filter->selectAll();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

int PropertyInspector::rowOfIndex(const QModelIndex& index) const
{
    const PropertyModel::Node* node = m_model->nodeOf(index);
    if (!node || !node->editor)
        return -1;
    const auto& leaves = m_model->leaves();
    const auto found = std::find(leaves.begin(), leaves.end(), node);
    return found == leaves.end() ? -1 : static_cast<int>(found - leaves.begin());
}

ValueCombo* PropertyInspector::openInPlaceEditor(int row)
{
    const QModelIndex index = valueIndex(row);
    if (!index.isValid())
        return nullptr;
    // A row asked for by name is shown, whatever the filter says.
    if (m_rowFilter->isHidden(index))
        m_filter->clear();
    m_view->scrollTo(index);
    m_view->setCurrentIndex(index);
    m_view->edit(index);
    for (ValueCombo* combo : m_view->viewport()->findChildren<ValueCombo*>())
        if (combo->isVisible() && combo->editor() == sharedEditorAt(row))
            return combo;
    return nullptr;
}

bool PropertyInspector::isChanged(int row) const
{
    return row >= 0 && row < rowCount() && m_model->isChanged(m_model->leaves()[row]);
}

bool PropertyInspector::resetToDefault(int row)
{
    if (!isChanged(row))
        return false;
    const PropertyModel::Node* node = m_model->leaves()[row];
    const std::shared_ptr<TPropertyEditor> editor = node->editor;
    // The defaults first: the row is rebuilt below, and the node with it.
    std::vector<std::pair<QObject*, QVariant>> writes;
    for (std::size_t i = 0; i < node->owners.size(); ++i)
        if (const std::optional<QVariant> fresh = m_model->defaultValue(node, i))
            writes.emplace_back(editor->GetComponent(static_cast<int>(i)), *fresh);
    // Written by name: the objects of a shared row may declare the property in different classes.
    const QByteArray name = editor->Property().name();
    m_form->resetProperty(node->path, controlsOf(editor.get()), name, writes);
    report(QString());
    if (changesRows(editor.get()))
        rebuild();
    refresh();
    emit propertyModified();
    return true;
}

const std::vector<TPalmoControl*>& PropertyInspector::formControls() const
{
    return m_form->formControls();
}

QString PropertyInspector::pathAt(int row) const
{
    return row >= 0 && row < rowCount() ? m_model->leaves()[static_cast<std::size_t>(row)]->path : QString();
}

std::shared_ptr<void> PropertyInspector::holdEditors()
{
    ++m_holding;
    return std::shared_ptr<void>(nullptr, [inspector = QPointer<PropertyInspector>(this)](void*) {
        if (inspector)
            --inspector->m_holding;
    });
}

bool PropertyInspector::canReplaceColor(int row) const
{
    const std::shared_ptr<TPropertyEditor> editor = sharedEditorAt(row);
    return editor && FormColors::isColor(editor->Property()) && !visualValueOf(editor.get()).isEmpty();
}

std::vector<UsedColor> PropertyInspector::usedColors(const TPropertyEditor* editor) const
{
    if (!editor || !dynamic_cast<const ICustomPropertyListDrawing*>(editor)
        || !FormColors::isColor(editor->Property()))
        return {};
    return FormColors::used(m_form->formControls(), editor->Property());
}

bool PropertyInspector::replaceColor(int row, const QString& text)
{
    if (!canReplaceColor(row))
        return false;
    const std::shared_ptr<TPropertyEditor> editor = sharedEditorAt(row);
    const QMetaProperty property = editor->Property();
    QVariant old;
    try {
        old = editor->GetComponent(0)->property(property.name());
    } catch (const std::exception&) {
        return false;
    }
    const QString oldText = visualValueOf(editor.get());
    const QString value = text.trimmed();
    const ValueKind kind = kindOf(property);
    const std::optional<TColor> color = ColorText::parseColorText(kind, value);
    if (!color) {
        report(tr("Replace Colour = %1: %2").arg(QuoteForMessage(value), ColorText::refusal(kind, value)));
        return false;
    }
    const QVariant replacement =
        kind == ValueKind::FrameworkColor ? QVariant::fromValue(TCVColor{*color}) : QVariant::fromValue(TColorValue{*color});
    if (m_form->replaceColor(property, old, replacement, oldText, value) == 0)
        return false;
    report(QString());
    refresh();
    emit propertyModified();
    return true;
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
    // Blanks around a typed text are never part of a value.
    const QString value = text.trimmed();
    return runEditor(editor, [&value](TPropertyEditor* e) { e->SetValue(value); }, QuoteForMessage(value));
}

bool PropertyInspector::commitFromView(const std::shared_ptr<TPropertyEditor>& editor, const QString& text,
                                       bool confirmedInPlace)
{
    ++m_viewCommits;
    const bool wasInPlace = m_messageInPlace;
    m_messageInPlace = confirmedInPlace;
    // A package's SetValue may run an event loop in which the inspector goes.
    const auto done = qScopeGuard([self = QPointer<PropertyInspector>(this), wasInPlace] {
        if (self) {
            --self->m_viewCommits;
            self->m_messageInPlace = wasInPlace;
        }
    });
    return commitText(editor, text);
}

bool PropertyInspector::edit(int row)
{
    return runEditor(sharedEditorAt(row), [](TPropertyEditor* editor) { editor->Edit(); });
}

bool PropertyInspector::edit(const PropertyTarget& target)
{
    // A request queued behind another (a key held down, input faster than the designer) runs
    // inside the first dialog's loop: one dialog at a time, the repeat is dropped.
    if (m_running > 0)
        return false;
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
        if (node->owners == objects && node->editor->Property().name() == target.property) {
            const QString path = node->path;
            const QPointer<PropertyInspector> self(this);
            const bool done = runEditor(node->editor, [](TPropertyEditor* e) { e->Edit(); });
            // The keyboard goes back to the row the dialog was opened from, not to whatever had
            // it before (the preview, whose arrow keys move controls).
            if (const int row = self ? rowOf(path) : -1; row >= 0) {
                m_view->setCurrentIndex(valueIndex(row));
                m_view->setFocus();
            }
            return done;
        }
    // The selection has moved on since the request: the edit still goes to the property it was
    // asked for, through an editor of its own.
    const std::shared_ptr<TPropertyEditor> editor = SharedPropertyEditor::create(this, objects, target.property);
    return runEditor(editor, [](TPropertyEditor* e) { e->Edit(); });
}

QString PropertyInspector::busyReason() const
{
    if (m_running > 0)
        return tr("A property editor is at work (its dialog may be open); close it, then try again.");
    if (m_holding > 0)
        return tr("A menu or question about a property is open; close it, then try again.");
    return QString();
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
    m_toldOfChange = false;
    const QString outerPath = std::exchange(m_runningPath, name);
    try {
        // The form, not this inspector, is used afterwards: the change may run a dialog's event
        // loop in which the inspector goes.
        m_form->setProperty(name, controlsOf(holder.get()), [&] { action(holder.get()); }, !input.isEmpty());
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
    m_runningPath = outerPath;
    // A collection's Count adds or removes item rows.
    if (!error && m_running == 0 && changesRows(holder.get()))
        rebuild();
    if (!error)
        report(QString());
    else if (input.isEmpty())
        report(tr("%1: %2").arg(name, *error));
    else {
        QString message = tr("%1 = %2: %3").arg(name, input, *error);
        const QString accepted = acceptedValues(holder.get());
        if (!accepted.isEmpty())
            message += (message.endsWith(u'.') ? QStringLiteral(" ") : QStringLiteral(". ")) + accepted;
        report(message);
    }
    // The form's notice has marked what the editor changed; without one (a form that tells
    // nothing) every value is read again.
    if (m_toldOfChange)
        showValues();
    else
        refresh();
    return !error;
}

void PropertyInspector::refreshSoon(const QStringList& paths)
{
    m_toldOfChange = true;
    // Whatever is painted before the refresh reads those values afresh.
    m_model->invalidate(paths);
    if (m_refreshPending)
        return;
    m_refreshPending = true;
    QMetaObject::invokeMethod(this, [this] { if (m_refreshPending) showValues(); }, Qt::QueuedConnection);
}

void PropertyInspector::refresh()
{
    m_model->invalidate();
    showValues();
}

void PropertyInspector::showValues()
{
    m_refreshPending = false;
    if (m_refreshing)
        return;
    m_refreshing = true;
    m_model->refresh();
    m_view->viewport()->update();
    m_refreshing = false;
}

quint64 PropertyInspector::ValuesStamp(const TPropertyEditor* editor) const
{
    return m_model->valuesStamp(editor);
}

void PropertyInspector::Rename(QObject* component, const String& newName)
{
    auto* control = qobject_cast<TPalmoControl*>(component);
    const QString refusal = control ? m_form->rename(control, newName) : tr("Only controls can be renamed");
    if (!refusal.isEmpty())
        throw EPropertyError(refusal);
}

void PropertyInspector::Modified()
{
    // While an editor runs (its dialog may be open), the form holds its notice until the run
    // ends: the row being edited shows its new value now, and the others are read again then.
    if (m_running > 0) {
        m_model->invalidate(QStringList{m_runningPath});
        showValues();
    } else {
        refresh();
    }
    emit propertyModified();
}

void PropertyInspector::report(const QString& message)
{
    m_lastError = message;
    // A refusal of a text confirmed in place is shown by the in-place editor, beside the text.
    const bool onErrorLine = !message.isEmpty() && !m_messageInPlace;
    m_error->setText(onErrorLine ? message : QString());
    m_error->setVisible(onErrorLine);
    if (onErrorLine)
        emit errorReported(message);
}
