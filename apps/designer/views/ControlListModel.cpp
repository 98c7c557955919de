#include "views/ControlListModel.h"

#include "core/FormModel.h"

ControlListModel::ControlListModel(FormModel* form, QObject* parent) : QAbstractListModel(parent), m_form(form)
{
    connect(form, &FormModel::controlAboutToBeInserted, this, [this](int row) { beginInsertRows({}, row, row); });
    connect(form, &FormModel::controlInserted, this, [this] { endInsertRows(); });
    connect(form, &FormModel::controlAboutToBeRemoved, this, [this](int row) { beginRemoveRows({}, row, row); });
    connect(form, &FormModel::controlRemoved, this, [this] { endRemoveRows(); });
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
    default: return {};
    }
}

TPalmoControl* ControlListModel::controlAt(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != this || index.row() >= m_form->count())
        return nullptr;
    return m_form->control(index.row());
}
