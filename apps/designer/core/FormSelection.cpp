#include "core/FormSelection.h"

#include "core/FormModel.h"

#include <algorithm>

FormSelection::FormSelection(FormModel* form, QObject* parent) : QObject(parent), m_form(form)
{
    connect(form, &FormModel::controlRemoved, this, [this](int, TPalmoControl* control) { drop(control); });
}

TPalmoControl* FormSelection::current() const
{
    return m_current && contains(m_current) ? m_current : reference();
}

std::vector<TPalmoControl*> FormSelection::inFormOrder() const
{
    std::vector<TPalmoControl*> ordered;
    for (TPalmoControl* control : m_form->controls())
        if (contains(control))
            ordered.push_back(control);
    return ordered;
}

void FormSelection::select(TPalmoControl* control)
{
    setControls(control ? std::vector<TPalmoControl*>{control} : std::vector<TPalmoControl*>{});
}

void FormSelection::add(TPalmoControl* control)
{
    change({}, {control});
}

void FormSelection::toggle(TPalmoControl* control)
{
    if (contains(control))
        change({control}, {});
    else
        add(control);
}

void FormSelection::clear()
{
    setControls({});
}

void FormSelection::setControls(const std::vector<TPalmoControl*>& controls)
{
    beginBatch();
    const std::vector<TPalmoControl*> before = std::move(m_controls);
    m_controls.clear();
    m_members.clear();
    m_leaving.clear();
    for (TPalmoControl* control : controls)
        append(control);
    if (m_controls != before)
        m_changedInBatch = true;
    endBatch();
}

void FormSelection::change(const std::vector<TPalmoControl*>& removed, const std::vector<TPalmoControl*>& added)
{
    beginBatch();
    for (TPalmoControl* control : removed)
        drop(control);
    for (TPalmoControl* control : added)
        append(control);
    endBatch();
}

void FormSelection::append(TPalmoControl* control)
{
    if (!control || m_form->idOf(control) == 0)
        return;
    if (m_current != control) {
        m_current = control;
        m_changedInBatch = true;
    }
    if (m_members.contains(control))
        return;
    // Taken out earlier in this batch and back again: it goes to the end, not to its old place.
    if (m_leaving.remove(control))
        m_controls.erase(std::remove(m_controls.begin(), m_controls.end(), control), m_controls.end());
    m_members.insert(control);
    m_controls.push_back(control);
    m_changedInBatch = true;
}

void FormSelection::drop(TPalmoControl* control)
{
    if (!m_members.remove(control))
        return;
    m_changedInBatch = true;
    if (m_batch > 0) {
        m_leaving.insert(control);
        return;
    }
    m_controls.erase(std::remove(m_controls.begin(), m_controls.end(), control), m_controls.end());
    notify();
}

void FormSelection::beginBatch()
{
    ++m_batch;
}

void FormSelection::endBatch()
{
    if (--m_batch > 0)
        return;
    if (!m_leaving.isEmpty()) {
        std::erase_if(m_controls, [this](const TPalmoControl* control) { return m_leaving.contains(control); });
        m_leaving.clear();
    }
    notify();
}

void FormSelection::notify()
{
    if (m_batch > 0 || !m_changedInBatch)
        return;
    m_changedInBatch = false;
    emit changed();
}
