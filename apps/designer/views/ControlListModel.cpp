#include "views/ControlListModel.h"

#include "core/FormModel.h"
#include "core/FormSelection.h"

#include <QFont>

#include <memory>
#include <vector>

ControlListModel::ControlListModel(FormModel* form, FormSelection* selection, QObject* parent)
    : QAbstractListModel(parent), m_form(form), m_selection(selection)
{
    if (selection)
        connect(selection, &FormSelection::changed, this, &ControlListModel::markReference);
    connect(form, &FormModel::controlAboutToBeInserted, this, [this](int row) { beginInsertRows({}, row, row); });
    connect(form, &FormModel::controlInserted, this, [this] { endInsertRows(); });
    connect(form, &FormModel::controlAboutToBeRemoved, this, [this](int row) { beginRemoveRows({}, row, row); });
    connect(form, &FormModel::controlRemoved, this, [this] { endRemoveRows(); });
    // Controls changing places: the rows a view keeps (its selection, its current row) follow
    // their controls.
    auto moving = std::make_shared<std::vector<TPalmoControl*>>();
    connect(form, &FormModel::controlsAboutToBeReordered, this, [this, moving] {
        emit layoutAboutToBeChanged();
        moving->clear();
        for (const QModelIndex& kept : persistentIndexList())
            moving->push_back(controlAt(kept));
    });
    connect(form, &FormModel::controlsReordered, this, [this, moving] {
        const QModelIndexList from = persistentIndexList();
        QModelIndexList to;
        for (std::size_t i = 0; i < moving->size() && i < std::size_t(from.size()); ++i)
            to << ((*moving)[i] ? index(m_form->indexOf((*moving)[i])) : QModelIndex());
        changePersistentIndexList(from.mid(0, to.size()), to);
        moving->clear();
        emit layoutChanged();
    });
    connect(form, &FormModel::controlRenamed, this, [this](TPalmoControl* control) {
        const QModelIndex changed = index(m_form->indexOf(control));
        emit dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
    });
}

int ControlListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_form->count();
}

QVariant ControlListModel::data(const QModelIndex& index, int role) const
{
    const TPalmoControl* control = controlAt(index);
    if (!control)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: return control->Name();
    case Qt::ToolTipRole: return QString::fromLatin1(control->metaObject()->className());
    case Qt::FontRole:
        if (m_selection && m_selection->reference() == control) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    default: return {};
    }
}

Qt::ItemFlags ControlListModel::flags(const QModelIndex& index) const
{
    // A name is edited in place (F2); the list's delegate hands it to the form's rename.
    return QAbstractListModel::flags(index) | (index.isValid() ? Qt::ItemIsEditable : Qt::NoItemFlags);
}

TPalmoControl* ControlListModel::controlAt(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != this || index.row() >= m_form->count())
        return nullptr;
    return m_form->control(index.row());
}

void ControlListModel::markReference()
{
    const TPalmoControl* reference = m_selection->reference();
    if (reference == m_reference)
        return;
    for (const TPalmoControl* control : {m_reference, reference})
        if (const int row = control ? m_form->indexOf(control) : -1; row >= 0)
            emit dataChanged(index(row), index(row), {Qt::FontRole});
    m_reference = reference;
}
