#include "core/FormModel.h"

#include "core/ControlClasses.h"

#include "host/palmo/PalmoControl.h"

#include <QSet>

#include <algorithm>
#include <utility>

FormModel::FormModel(QObject* parent) : QObject(parent) {}

FormModel::~FormModel()
{
    // The controls are children and would be deleted anyway; deleting them here, first, keeps
    // their Changed connections from reaching a half-destroyed form.
    for (TPalmoControl* control : m_controls)
        delete control;
}

int FormModel::indexOf(const TPalmoControl* control) const
{
    // The places are listed afresh after the list changed, once for any number of questions (the
    // views ask for each of 10,000 controls just pasted).
    if (m_positions.size() != qsizetype(m_controls.size())) {
        m_positions.clear();
        m_positions.reserve(qsizetype(m_controls.size()));
        for (std::size_t i = 0; i < m_controls.size(); ++i)
            m_positions.insert(m_controls[i], static_cast<int>(i));
    }
    return m_positions.value(control, -1);
}

QString FormModel::key(const QString& name)
{
    QString lower = name;
    for (QChar& c : lower)
        if (c.unicode() >= u'A' && c.unicode() <= u'Z')
            c = QChar(char16_t(c.unicode() + (u'a' - u'A')));
    return lower;
}

TPalmoControl* FormModel::find(const QString& name) const
{
    return m_byName.value(key(name), nullptr);
}

QString FormModel::nextFreeName(const QString& className) const
{
    const QString base = className.startsWith(u'T') ? className.mid(1) : className;
    for (int n = 1;; ++n) {
        const QString name = base + QString::number(n);
        if (!m_byName.contains(key(name)))
            return name;
    }
}

TPalmoControl* FormModel::add(const QString& className)
{
    const ControlClass* controlClass = controlClassNamed(className);
    if (!controlClass)
        return nullptr;
    std::unique_ptr<TPalmoControl> control = controlClass->create();
    control->SetName(nextFreeName(className));
    TPalmoControl* added = control.get();
    insert(count(), std::move(control));
    return added;
}

void FormModel::beginChanges()
{
    if (m_changesHeld++ == 0) {
        m_limited = true;
        m_limitedTo.clear();
    }
}

void FormModel::limitChangesTo(const QStringList& paths)
{
    if (m_changesHeld == 0 || paths.isEmpty()) {
        m_limited = false;
        return;
    }
    for (const QString& path : paths)
        if (!m_limitedTo.contains(path))
            m_limitedTo.append(path);
}

void FormModel::endChanges()
{
    if (--m_changesHeld > 0 || !std::exchange(m_changedMeanwhile, false))
        return;
    // A batch in which nobody named the paths may have changed any value.
    m_changedPaths = m_limited && !m_limitedTo.isEmpty() ? std::exchange(m_limitedTo, {}) : QStringList();
    emit changed();
    m_changedPaths.clear();
}

void FormModel::controlChanged()
{
    if (m_changesHeld > 0)
        m_changedMeanwhile = true;
    else
        emit changed();
}

QString FormModel::insert(int index, std::unique_ptr<TPalmoControl>&& control)
{
    const QString problem = checkName(control->Name());
    if (!problem.isEmpty())
        return problem;
    index = std::clamp(index, 0, count());
    emit controlAboutToBeInserted(index);
    TPalmoControl* added = control.release();
    added->setParent(this);
    // Added at the end, the others keep their places (a paste, its redo).
    if (index == count() && m_positions.size() == count())
        m_positions.insert(added, index);
    else
        m_positions.clear();
    m_controls.insert(m_controls.begin() + index, added);
    m_byName.insert(key(added->Name()), added);
    m_ids.insert(added, ++m_lastId);
    connect(added, &TPalmoControl::Changed, this, &FormModel::controlChanged);
    emit controlInserted(index);
    emit changed();
    return {};
}

std::unique_ptr<TPalmoControl> FormModel::take(int index)
{
    TPalmoControl* taken = control(index);
    emit controlAboutToBeRemoved(index);
    // Taken from the end, the others keep their places (an undo of a paste).
    if (index + 1 == count() && m_positions.size() == count())
        m_positions.remove(taken);
    else
        m_positions.clear();
    m_controls.erase(m_controls.begin() + index);
    m_byName.remove(key(taken->Name()));
    m_ids.remove(taken);
    disconnect(taken, nullptr, this, nullptr);
    taken->setParent(nullptr);
    emit controlRemoved(index, taken);
    emit changed();
    return std::unique_ptr<TPalmoControl>(taken);
}

bool FormModel::remove(TPalmoControl* control)
{
    const int index = indexOf(control);
    if (index < 0)
        return false;
    take(index);
    return true;
}

bool FormModel::reorder(const std::vector<TPalmoControl*>& order)
{
    if (order.size() != m_controls.size())
        return false;
    QSet<const TPalmoControl*> seen;
    for (const TPalmoControl* control : order) {
        if (!m_ids.contains(control) || seen.contains(control))
            return false;
        seen.insert(control);
    }
    if (order == m_controls)
        return true;
    emit controlsAboutToBeReordered();
    m_controls = order;
    m_positions.clear();
    emit controlsReordered();
    emit changed();
    return true;
}

QString FormModel::checkName(const QString& name, const TPalmoControl* except) const
{
    if (name.isEmpty())
        return QStringLiteral("A control needs a name");
    if (name.size() > MaxNameLength)
        return QStringLiteral("A name has at most %1 characters").arg(MaxNameLength);
    const auto isLetter = [](char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_'; };
    bool valid = isLetter(name.front().unicode());
    for (const QChar c : name)
        valid = valid && (isLetter(c.unicode()) || (c.unicode() >= u'0' && c.unicode() <= u'9'));
    if (!valid)
        return QStringLiteral("'%1' is not a valid name: a name starts with an ASCII letter or '_' and holds "
                              "only ASCII letters, digits and '_'").arg(name.left(64));
    const TPalmoControl* holder = find(name);
    if (holder && holder != except)
        return QStringLiteral("A control named '%1' already exists").arg(holder->Name());
    return {};
}

QString FormModel::rename(TPalmoControl* control, const QString& newName)
{
    if (indexOf(control) < 0)
        return QStringLiteral("The control is not on this form");
    const QString problem = checkName(newName, control);
    if (!problem.isEmpty())
        return problem;
    m_byName.remove(key(control->Name()));
    control->SetName(newName);
    m_byName.insert(key(newName), control);
    emit controlRenamed(control);
    return {};
}
