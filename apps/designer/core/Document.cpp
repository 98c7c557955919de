#include "core/Document.h"

#include "core/Clock.h"
#include "core/FileAccess.h"
#include "core/FormFile.h"
#include "core/FormHistory.h"
#include "core/FormModel.h"
#include "core/FormSelection.h"

#include "host/palmo/PalmoControl.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QPointer>
#include <QSet>
#include <QUndoStack>

namespace {

QByteArray digestOf(const QByteArray& contents)
{
    return QCryptographicHash::hash(contents, QCryptographicHash::Sha256);
}

}  // namespace

Document::Document(QObject* parent)
    : QObject(parent),
      m_form(std::make_unique<FormModel>()),
      m_clock(makeTimerClock()),
      m_stack(new QUndoStack(this)),
      m_selection(new FormSelection(m_form.get(), this))
{
    connect(m_form.get(), &FormModel::changed, this, [this] {
        if (m_replacing || m_recording > 0 || m_applying > 0)
            return;
        // A change the stack does not know of: undoing cannot bring back the saved state.
        m_stack->resetClean();
        syncModified();
    });
    connect(m_stack, &QUndoStack::cleanChanged, this, &Document::syncModified);
    // An undo, a redo, a clear or a move to the clean state: no later step merges across it.
    connect(m_stack, &QUndoStack::indexChanged, this, [this] {
        if (!m_pushing)
            m_mergeTarget = nullptr;
    });
    connect(m_stack, &QUndoStack::cleanChanged, this, [this] { m_mergeTarget = nullptr; });
    connect(m_stack, &QUndoStack::indexChanged, this, &Document::syncModified);
    for (const auto signal : {&QUndoStack::canUndoChanged, &QUndoStack::canRedoChanged})
        connect(m_stack, signal, this, &Document::undoStateChanged);
    for (const auto signal : {&QUndoStack::undoTextChanged, &QUndoStack::redoTextChanged})
        connect(m_stack, signal, this, &Document::undoStateChanged);
}

Document::~Document()
{
    // The stack clears itself when it goes and would report that to a half-destroyed document.
    m_stack->disconnect(this);
    m_stack->blockSignals(true);
    m_stack->clear();
}

QString Document::displayName() const
{
    return m_fileName.isEmpty() ? tr("Untitled") : QFileInfo(m_fileName).fileName();
}

void Document::syncModified()
{
    const bool modified = !m_stack->isClean();
    if (m_modified == modified)
        return;
    m_modified = modified;
    emit modifiedChanged(modified);
}

void Document::setModified(bool modified)
{
    m_mergeTarget = nullptr;
    if (modified)
        m_stack->resetClean();
    else
        m_stack->setClean();
    syncModified();
}

void Document::setFileName(const QString& fileName)
{
    if (m_fileName == fileName)
        return;
    m_fileName = fileName;
    emit fileNameChanged(fileName);
}

void Document::newForm()
{
    FormModel empty;
    replaceControls(empty);
    m_diskDigest.clear();
    m_fileConfirmed = true;
    setFileName(QString());
    setModified(false);
}

QStringList Document::open(const QString& path)
{
    QByteArray contents;
    FormReadResult result = FormFile::readFormFile(path, &contents);
    if (!result.form)
        return result.messages();
    adoptFile(*result.form, path, contents);
    return {};
}

QString Document::save(const QString& path)
{
    const QString target = path.isEmpty() ? m_fileName : path;
    if (target.isEmpty())
        return tr("The form has no file yet: choose one with Save As");
    const QByteArray contents = FormFile::serialize(*m_form);
    const QString failure = FormFile::writeContents(contents, target);
    if (!failure.isEmpty())
        return failure;
    m_diskDigest = digestOf(contents);
    m_fileConfirmed = true;
    setFileName(QFileInfo(target).absoluteFilePath());
    setModified(false);
    return QString();
}

void Document::adoptFile(FormModel& source, const QString& fileName, const QByteArray& contents)
{
    replaceControls(source);
    m_diskDigest = digestOf(contents);
    m_fileConfirmed = true;
    setFileName(QFileInfo(fileName).absoluteFilePath());
    setModified(false);
}

void Document::adoptRecovered(FormModel& source, const QString& fileName)
{
    if (!fileName.isEmpty()) {
        QByteArray contents;
        FormReadResult onDisk = FormFile::readFormFile(fileName, &contents);
        if (onDisk.form) {
            adoptFile(*onDisk.form, fileName, contents);
            pushReplacement(source, tr("Restore Unsaved Changes"));
            m_fileConfirmed = false;
            return;
        }
    }
    replaceControls(source);
    m_diskDigest.clear();
    m_fileConfirmed = fileName.isEmpty();
    setFileName(fileName);
    setModified(true);
}

QStringList Document::reload()
{
    if (m_fileName.isEmpty())
        return {tr("The form has no file to reload")};
    QByteArray contents;
    FormReadResult result = FormFile::readFormFile(m_fileName, &contents);
    if (!result.form)
        return result.messages();
    pushReplacement(*result.form, tr("Reload %1").arg(displayName()));
    m_diskDigest = digestOf(contents);
    m_fileConfirmed = true;
    setModified(false);
    return {};
}

void Document::keepOwnVersion()
{
    if (m_fileName.isEmpty())
        return;
    const FileContents now = readRegularFile(m_fileName, FormFile::MaxFileSize);
    if (!now.error.isEmpty())
        return;
    m_diskDigest = digestOf(now.bytes);
    setModified(true);
}

void Document::pushReplacement(FormModel& source, const QString& text)
{
    std::vector<std::unique_ptr<TPalmoControl>> controls;
    while (source.count() > 0)
        controls.push_back(source.take(0));
    m_selection->clear();
    pushStep(new ReplaceControlsCommand(this, text, std::move(controls)));
}

bool Document::changedOnDisk() const
{
    if (m_fileName.isEmpty() || m_diskDigest.isEmpty())
        return false;
    const FileContents now = readRegularFile(m_fileName, FormFile::MaxFileSize);
    if (now.missing)
        return false;
    return !now.error.isEmpty() || digestOf(now.bytes) != m_diskDigest;
}

bool Document::canUndo() const
{
    return m_recording == 0 && m_stack->canUndo();
}

bool Document::canRedo() const
{
    return m_recording == 0 && m_stack->canRedo();
}

void Document::undo()
{
    if (canUndo())
        m_stack->undo();
}

void Document::redo()
{
    if (canRedo())
        m_stack->redo();
}

void Document::setRecording(int depth)
{
    const bool changes = (m_recording == 0) != (depth == 0);
    m_recording = depth;
    if (changes)
        emit undoStateChanged();
}

void Document::replaceControls(FormModel& source)
{
    // The history speaks of the controls that are about to go.
    m_stack->clear();
    m_mergeTarget = nullptr;
    m_replacing = true;
    m_selection->beginBatch();
    while (m_form->count() > 0)
        m_form->take(m_form->count() - 1);
    while (source.count() > 0) {
        // The names are unique in the source, and the form is empty: insert cannot refuse.
        std::unique_ptr<TPalmoControl> control = source.take(0);
        m_form->insert(m_form->count(), std::move(control));
    }
    m_selection->endBatch();
    m_replacing = false;
}

QString Document::describe(const std::vector<TPalmoControl*>& controls)
{
    if (controls.size() == 1 && controls.front())
        return controls.front()->Name();
    return tr("%1 controls").arg(controls.size());
}

void Document::recordChange(const QString& text, const std::vector<TPalmoControl*>& controls,
                            const std::function<void()>& change, const QString& mergeKey,
                            const QStringList& scope)
{
    const std::vector<ControlValues> before = snapshotOf(controls, scope);
    // A property editor's dialog runs an event loop, in which even the document may go.
    const QPointer<Document> self(this);
    setRecording(m_recording + 1);
    const auto record = [&] {
        if (!self)
            return;
        setRecording(m_recording - 1);
        std::vector<TPalmoControl*> still;
        for (const ControlValues& values : before)
            if (values.control)
                still.push_back(values.control);
        auto command = std::make_unique<PropertyChangeCommand>(static_cast<HistoryHost*>(this), text, before, snapshotOf(still, scope), mergeKey, m_clock->now());
        if (command->changesSomething())
            pushStep(command.release(), !mergeKey.isEmpty());
    };
    // The form tells its views of the change once, while the change is still known as recorded.
    m_form->beginChanges();
    m_form->limitChangesTo(scope);
    try {
        change();
    } catch (...) {
        if (self)
            m_form->endChanges();
        record();
        throw;
    }
    if (self)
        m_form->endChanges();
    record();
}

QString Document::addControl(std::unique_ptr<TPalmoControl> control, int index)
{
    if (!control)
        return tr("No control to add");
    const QString problem = m_form->checkName(control->Name());
    if (!problem.isEmpty())
        return problem;
    if (index < 0 || index > m_form->count())
        index = m_form->count();
    const QString text = tr("Add %1").arg(control->Name());
    std::vector<std::pair<int, std::unique_ptr<TPalmoControl>>> controls;
    controls.emplace_back(index, std::move(control));
    pushStep(new InsertControlsCommand(this, text, std::move(controls)));
    return {};
}

QString Document::addControls(std::vector<std::unique_ptr<TPalmoControl>> controls, const QString& text)
{
    if (controls.empty())
        return tr("No control to add");
    // The names are checked against a form holding the controls added before them, so that two
    // of them cannot share a name either.
    // Names are compared as the form compares them: ASCII letters without regard to case.
    QSet<QString> names;
    for (const std::unique_ptr<TPalmoControl>& control : controls) {
        if (!control)
            return tr("No control to add");
        const QString problem = m_form->checkName(control->Name());
        if (!problem.isEmpty())
            return problem;
        const QString key = control->Name().toLower();
        if (names.contains(key))
            return tr("Two of the controls are named '%1'").arg(control->Name());
        names.insert(key);
    }
    std::vector<std::pair<int, std::unique_ptr<TPalmoControl>>> placed;
    for (std::unique_ptr<TPalmoControl>& control : controls)
        placed.emplace_back(m_form->count() + static_cast<int>(placed.size()), std::move(control));
    pushStep(new InsertControlsCommand(this, text, std::move(placed)));
    return {};
}

void Document::removeControls(const std::vector<TPalmoControl*>& controls, const QString& text)
{
    std::vector<TPalmoControl*> onForm;
    for (TPalmoControl* control : controls)
        if (m_form->indexOf(control) >= 0)
            onForm.push_back(control);
    if (onForm.empty())
        return;
    pushStep(new RemoveControlsCommand(this, text.isEmpty() ? tr("Delete %1").arg(describe(onForm)) : text, onForm));
}

bool Document::reorderControls(const std::vector<TPalmoControl*>& order, const QString& text)
{
    const std::vector<TPalmoControl*> before = m_form->controls();
    if (order == before || order.size() != before.size())
        return false;
    const QSet<const TPalmoControl*> all(before.begin(), before.end());
    const QSet<const TPalmoControl*> given(order.begin(), order.end());
    if (given != all)
        return false;
    pushStep(new ReorderControlsCommand(this, text, before, order));
    return true;
}

void Document::setClock(std::unique_ptr<Clock> clock)
{
    m_clock = std::move(clock);
}

void Document::pushStep(QUndoCommand* command, bool mayTakeMerges)
{
    const int before = m_stack->index();
    m_pushing = true;
    m_stack->push(command);  // may merge command into the step before and free it
    m_pushing = false;
    const int after = m_stack->index();
    if (after == before + 1)
        m_mergeTarget = mayTakeMerges ? m_stack->command(after - 1) : nullptr;
    else if (after != before)
        m_mergeTarget = nullptr;  // merged into a step that then changed nothing, and went
}

const QUndoCommand* Document::mergeTarget() const
{
    return m_mergeTarget;
}

void Document::beginApplying()
{
    if (m_applying++ == 0) {
        m_selection->beginBatch();
        m_form->beginChanges();
    }
}

void Document::endApplying()
{
    if (m_applying == 1)
        m_form->endChanges();
    if (--m_applying == 0)
        m_selection->endBatch();
    emit historyApplied();
}

QString Document::renameControl(TPalmoControl* control, const QString& newName)
{
    if (m_form->indexOf(control) < 0)
        return tr("The control is not on this form");
    const QString problem = m_form->checkName(newName, control);
    if (!problem.isEmpty())
        return problem;
    if (control->Name() == newName)
        return {};
    pushStep(new RenameControlCommand(this, control, control->Name(), newName));
    return {};
}
