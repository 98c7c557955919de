#include "core/FormHistory.h"

#include "core/FormModel.h"
#include "core/FormProperties.h"
#include "core/HistoryHost.h"

#include "host/palmo/PalmoControl.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <optional>

std::vector<ControlValues> snapshotOf(const std::vector<TPalmoControl*>& controls, const QStringList& paths)
{
    std::vector<ControlValues> snapshot;
    snapshot.reserve(controls.size());
    for (TPalmoControl* control : controls) {
        if (!control)
            continue;
        ControlValues values{control, {}};
        const auto take = [&](const FormProperty& property) {
            if (property.property.isWritable())
                values.values.emplace_back(property.path, property.property.read(property.owner));
        };
        if (paths.isEmpty()) {
            for (const FormProperty& property : propertiesOf(control))
                take(property);
        }
        for (const QString& path : paths)
            if (const std::optional<FormProperty> property = propertyAt(control, path))
                take(*property);
        snapshot.push_back(std::move(values));
    }
    return snapshot;
}

bool writeValue(TPalmoControl* control, const QString& path, const QVariant& value)
{
    const std::optional<FormProperty> property = control ? propertyAt(control, path) : std::nullopt;
    return property && property->property.isWritable() && property->property.write(property->owner, value);
}

FormCommand::FormCommand(HistoryHost* host, const QString& text) : QUndoCommand(text), m_host(host) {}

void FormCommand::redo()
{
    if (m_done)
        return;
    m_host->beginApplying();
    apply();
    m_host->endApplying();
}

void FormCommand::undo()
{
    m_done = false;
    m_host->beginApplying();
    revert();
    m_host->endApplying();
}

namespace {

using Values = std::vector<std::pair<QString, QVariant>>;

// The entries of from whose path is missing in other or holds another value there.
Values differing(const Values& from, const Values& other)
{
    Values out;
    for (std::size_t i = 0; i < from.size(); ++i) {
        const auto& entry = from[i];
        // Two snapshots of one control list its paths in the same order: the same place first.
        const bool samePlace = i < other.size() && other[i].first == entry.first;
        const auto match = samePlace ? other.begin() + std::ptrdiff_t(i)
                                     : std::find_if(other.begin(), other.end(), [&](const auto& o) { return o.first == entry.first; });
        if (match == other.end() || match->second != entry.second)
            out.push_back(entry);
    }
    return out;
}

void writeAll(TPalmoControl* control, const Values& values)
{
    for (const auto& [path, value] : values)
        writeValue(control, path, value);
}

}  // namespace

PropertyChangeCommand::PropertyChangeCommand(HistoryHost* host, const QString& text,
                                             const std::vector<ControlValues>& before,
                                             const std::vector<ControlValues>& after, const QString& mergeKey,
                                             qint64 at)
    : FormCommand(host, text), m_mergeKey(mergeKey), m_at(at)
{
    m_done = true;
    // After lists the controls in before's order (less those gone): each is found where the
    // walk has come to, and by a table only when not.
    QHash<const TPalmoControl*, const ControlValues*> afterOf;
    std::size_t next = 0;
    for (const ControlValues& was : before) {
        const ControlValues* now = nullptr;
        if (next < after.size() && after[next].control == was.control) {
            now = &after[next++];
        } else {
            if (afterOf.isEmpty())
                for (const ControlValues& values : after)
                    afterOf.insert(values.control.data(), &values);
            now = afterOf.value(was.control.data());
        }
        if (!was.control || !now)
            continue;
        Change change{was.control, differing(was.values, now->values), differing(now->values, was.values)};
        if (!change.before.empty() || !change.after.empty())
            m_changes.push_back(std::move(change));
    }
}

bool PropertyChangeCommand::changesSomething() const
{
    return !m_changes.empty();
}

int PropertyChangeCommand::id() const
{
    // One id for every mergeable step; mergeWith compares the keys.
    return m_mergeKey.isEmpty() ? -1 : 1;
}

bool PropertyChangeCommand::mergeWith(const QUndoCommand* other)
{
    const auto* next = dynamic_cast<const PropertyChangeCommand*>(other);
    if (!next || m_host->mergeTarget() != this || next->m_mergeKey != m_mergeKey || next->m_at - m_at > MergePauseMs)
        return false;
    m_at = next->m_at;
    // Each control's change found by the control: where a run of steps over the same controls
    // has it (the same place), else by a table, so that a run over a thousand controls stays
    // linear.
    QHash<const TPalmoControl*, std::size_t> changeOf;
    const auto changeIndexOf = [&](std::size_t place, const TPalmoControl* control) -> std::optional<std::size_t> {
        if (changeOf.isEmpty()) {
            if (place < m_changes.size() && m_changes[place].control == control)
                return place;
            for (std::size_t i = 0; i < m_changes.size(); ++i)
                changeOf.insert(m_changes[i].control.data(), i);
        }
        const auto found = changeOf.constFind(control);
        return found == changeOf.constEnd() ? std::nullopt : std::optional(*found);
    };
    for (std::size_t place = 0; place < next->m_changes.size(); ++place) {
        const Change& later = next->m_changes[place];
        const std::optional<std::size_t> found = changeIndexOf(place, later.control.data());
        if (!found) {
            changeOf.insert(later.control.data(), m_changes.size());
            m_changes.push_back(later);
            continue;
        }
        Change* change = &m_changes[*found];
        // Before: the first step's value, or the later step's for a path the first left alone.
        // After: the later step's value, or the first step's for a path the later left alone.
        for (const auto& entry : later.before)
            if (std::none_of(change->before.begin(), change->before.end(), [&](const auto& e) { return e.first == entry.first; }))
                change->before.push_back(entry);
        for (const auto& entry : later.after) {
            const auto same = std::find_if(change->after.begin(), change->after.end(), [&](const auto& e) { return e.first == entry.first; });
            if (same != change->after.end())
                same->second = entry.second;
            else
                change->after.push_back(entry);
        }
    }
    // A run that ends where it began changes nothing: the step goes.
    for (Change& change : m_changes) {
        Values before = differing(change.before, change.after);
        change.after = differing(change.after, change.before);
        change.before = std::move(before);
    }
    m_changes.erase(std::remove_if(m_changes.begin(), m_changes.end(),
                                   [](const Change& c) { return c.before.empty() && c.after.empty(); }),
                    m_changes.end());
    setObsolete(m_changes.empty());
    return true;
}

void PropertyChangeCommand::limitToItsPaths() const
{
    QSet<QString> paths;
    QStringList list;
    for (const Change& change : m_changes)
        for (const Values* values : {&change.before, &change.after})
            for (const auto& entry : *values)
                if (!paths.contains(entry.first)) {
                    paths.insert(entry.first);
                    list.append(entry.first);
                }
    m_host->historyForm()->limitChangesTo(list);
}

void PropertyChangeCommand::apply()
{
    limitToItsPaths();
    for (const Change& change : m_changes)
        writeAll(change.control, change.after);
}

void PropertyChangeCommand::revert()
{
    limitToItsPaths();
    for (auto it = m_changes.rbegin(); it != m_changes.rend(); ++it)
        writeAll(it->control, it->before);
}

InsertControlsCommand::InsertControlsCommand(HistoryHost* host, const QString& text,
                                             std::vector<std::pair<int, std::unique_ptr<TPalmoControl>>>&& controls)
    : FormCommand(host, text)
{
    for (auto& [index, control] : controls) {
        m_indices.push_back(index);
        m_controls.push_back(control.get());
        m_kept.push_back(std::move(control));
    }
}

InsertControlsCommand::~InsertControlsCommand() = default;

namespace {

// Puts the kept controls (m_kept[i] not null) back at their indices, ascending; a control whose
// name another control took meanwhile stays kept.
void putBack(FormModel* form, const std::vector<int>& indices, std::vector<std::unique_ptr<TPalmoControl>>& kept)
{
    for (std::size_t i = 0; i < kept.size(); ++i)
        if (kept[i])
            form->insert(indices[i], std::move(kept[i]));
}

// Takes the controls off the form, from the last place to the first so that the places still to
// take stay where they were, and keeps them.
void takeOff(FormModel* form, const std::vector<TPalmoControl*>& controls,
             std::vector<std::unique_ptr<TPalmoControl>>& kept)
{
    kept.resize(controls.size());
    for (std::size_t i = controls.size(); i-- > 0;)
        if (const int index = form->indexOf(controls[i]); index >= 0)
            kept[i] = form->take(index);
}

}  // namespace

void InsertControlsCommand::apply()
{
    putBack(m_host->historyForm(), m_indices, m_kept);
}

void InsertControlsCommand::revert()
{
    takeOff(m_host->historyForm(), m_controls, m_kept);
}

RemoveControlsCommand::RemoveControlsCommand(HistoryHost* host, const QString& text,
                                             const std::vector<TPalmoControl*>& controls)
    : FormCommand(host, text)
{
    FormModel* form = host->historyForm();
    std::vector<std::pair<int, TPalmoControl*>> placed;
    for (TPalmoControl* control : controls)
        if (const int index = form->indexOf(control); index >= 0)
            placed.emplace_back(index, control);
    std::sort(placed.begin(), placed.end());
    placed.erase(std::unique(placed.begin(), placed.end()), placed.end());
    for (const auto& [index, control] : placed) {
        m_indices.push_back(index);
        m_controls.push_back(control);
    }
}

RemoveControlsCommand::~RemoveControlsCommand() = default;

void RemoveControlsCommand::apply()
{
    takeOff(m_host->historyForm(), m_controls, m_kept);
}

void RemoveControlsCommand::revert()
{
    putBack(m_host->historyForm(), m_indices, m_kept);
}

ReplaceControlsCommand::ReplaceControlsCommand(HistoryHost* host, const QString& text,
                                               std::vector<std::unique_ptr<TPalmoControl>>&& controls)
    : FormCommand(host, text), m_offForm(std::move(controls))
{
}

ReplaceControlsCommand::~ReplaceControlsCommand() = default;

void ReplaceControlsCommand::apply()
{
    swap();
}

void ReplaceControlsCommand::revert()
{
    swap();
}

void ReplaceControlsCommand::swap()
{
    FormModel* form = m_host->historyForm();
    std::vector<std::unique_ptr<TPalmoControl>> shown(static_cast<std::size_t>(form->count()));
    // From the last place to the first: the places still to take stay where they were.
    for (int index = form->count(); index-- > 0;)
        shown[static_cast<std::size_t>(index)] = form->take(index);
    // The form is empty and the names are unique among the new controls: insert cannot refuse.
    for (std::unique_ptr<TPalmoControl>& control : m_offForm)
        form->insert(form->count(), std::move(control));
    m_offForm = std::move(shown);
}

RenameControlCommand::RenameControlCommand(HistoryHost* host, TPalmoControl* control, const QString& oldName,
                                           const QString& newName)
    : FormCommand(host, QObject::tr("Rename %1 to %2").arg(oldName, newName)),
      m_control(control),
      m_oldName(oldName),
      m_newName(newName)
{
}

void RenameControlCommand::apply()
{
    if (m_control)
        m_host->historyForm()->rename(m_control, m_newName);
}

void RenameControlCommand::revert()
{
    if (m_control)
        m_host->historyForm()->rename(m_control, m_oldName);
}

ReorderControlsCommand::ReorderControlsCommand(HistoryHost* host, const QString& text,
                                               const std::vector<TPalmoControl*>& before,
                                               const std::vector<TPalmoControl*>& after)
    : FormCommand(host, text), m_before(before.begin(), before.end()), m_after(after.begin(), after.end())
{
}

namespace {

// The form's controls in the order given, those the order does not name after them in the
// form's order: the history holds every control it speaks of, so normally that is the order as
// given.
void putInOrder(FormModel* form, const std::vector<QPointer<TPalmoControl>>& order)
{
    std::vector<TPalmoControl*> placed;
    QSet<const TPalmoControl*> named;
    for (TPalmoControl* control : order)
        if (control && form->indexOf(control) >= 0 && !named.contains(control)) {
            named.insert(control);
            placed.push_back(control);
        }
    for (TPalmoControl* control : form->controls())
        if (!named.contains(control))
            placed.push_back(control);
    form->reorder(placed);
}

}  // namespace

void ReorderControlsCommand::apply()
{
    putInOrder(m_host->historyForm(), m_after);
}

void ReorderControlsCommand::revert()
{
    putInOrder(m_host->historyForm(), m_before);
}
