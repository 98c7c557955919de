#pragma once
// The form's controls as a list model, one row per control in form order, showing its name (and
// its class as the tooltip). It follows the form row by row: a control coming or going is one
// inserted or removed row, a rename one changed row; it keeps no copy of anything.

#include <QAbstractListModel>

class FormModel;
class TPalmoControl;

class ControlListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit ControlListModel(FormModel* form, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // The control a row shows, or null.
    TPalmoControl* controlAt(const QModelIndex& index) const;

private:
    FormModel* m_form;
};
