#pragma once
// The inspector's filter: a property row is shown when its path holds the filter box's text
// (whatever its case), a part or collection row when one of its rows is. Escape in the box
// clears it and gives the keyboard back to the rows.

#include <QObject>

class PropertyModel;
class QLineEdit;
class QModelIndex;
class QTreeView;

class InspectorFilter : public QObject {
public:
    InspectorFilter(QLineEdit* box, QTreeView* view, PropertyModel* model, QObject* parent);

    // Hides the rows the text leaves out; when the current row is one of them, the first row
    // shown becomes current.
    void apply();
    // The row at the index or a row it belongs to is hidden.
    bool isHidden(const QModelIndex& index) const;
    // apply() is moving the current row.
    bool isApplying() const { return m_applying; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool apply(const QModelIndex& parent, const QString& text);

    QLineEdit* m_box;
    QTreeView* m_view;
    PropertyModel* m_model;
    bool m_applying = false;
};
