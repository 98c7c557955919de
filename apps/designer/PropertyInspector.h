#pragma once
// The property inspector: one row per property of the selected objects, each row edited by the
// editor the registry gives for it. Value cells are drawn through the editor's drawing hooks;
// typed text goes to SetValue; the "..." button calls Edit. A refused text is reported and the
// property keeps its value.

#include "host/designide/DesignIntf.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QLabel;
class QTableWidget;

class PropertyInspector : public QWidget, public IDesigner {
    Q_OBJECT
public:
    explicit PropertyInspector(QWidget* parent = nullptr);
    ~PropertyInspector() override;

    // Shows the properties the objects share (all of one class); an empty list clears the view.
    void setObjects(const std::vector<QObject*>& objects);
    const std::vector<QObject*>& objects() const { return m_objects; }
    // Drops every editor (their code may live in a package about to be unloaded).
    void clear();

    int rowCount() const;
    int rowOf(const QString& propertyName) const;
    TPropertyEditor* editorAt(int row) const;
    QString nameAt(int row) const;
    QString valueTextAt(int row) const;

    // The path of typed text: the editor's SetValue. Returns false, reports the error and leaves
    // the property as it was when the editor refuses the text.
    bool commitText(int row, const QString& text);
    // The "..." button: the editor's Edit. Returns false and reports the error when Edit raises.
    bool edit(int row);

    QString lastError() const { return m_lastError; }
    QTableWidget* table() const { return m_table; }

    // Re-reads every value text (after a change made elsewhere).
    void refresh();
    void Modified() override;

signals:
    void propertyModified();
    void errorReported(const QString& message);

private:
    // Runs an editor operation; an error it raises is reported (with the input that caused it,
    // when there is one), and the row shows the value the property holds afterwards.
    bool runEditor(int row, const std::function<void(TPropertyEditor*)>& action, const QString& input = QString());
    void report(const QString& message);
    void rebuild();

    QTableWidget* m_table;
    QLabel* m_error;
    std::vector<QObject*> m_objects;
    std::vector<std::unique_ptr<TPropertyEditor>> m_editors;
    QString m_lastError;
    bool m_refreshing = false;
};
