#pragma once
// The form's controls as a list model, one row per control in form order, showing its name (and
// its class as the tooltip). It follows the form row by row: a control coming or going is one
// inserted or removed row, a rename one changed row; it keeps no copy of anything. The reference
// of the selection (its first control, which the Format commands follow) is shown in bold, as
// the preview draws it apart.

#include <QAbstractListModel>

class FormModel;
class FormSelection;
class TPalmoControl;

class ControlListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit ControlListModel(FormModel* form, FormSelection* selection = nullptr, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // The control a row shows, or null.
    TPalmoControl* controlAt(const QModelIndex& index) const;

private:
    void markReference();

    FormModel* m_form;
    FormSelection* m_selection;
    // The reference last shown in bold, whose row goes back to normal when it changes.
    const TPalmoControl* m_reference = nullptr;
};
