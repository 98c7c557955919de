#pragma once
// The Readability view's lines as a model: one row per finding of the form's readability report
// that is shown (every kind, or one), control by control in form order. A row's texts are made
// when it is painted, so that a form of thousands of findings is listed again in a moment; an
// update touches the rows of the controls it names and leaves the others (with the current line
// and the scroll place) alone. A row never outlives its control: a control that leaves the form
// leaves its rows blank until the next update takes them out.

#include "core/Readability.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QSet>
#include <QStringList>

#include <optional>
#include <vector>

class FormModel;

class ReadabilityLines : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { ControlColumn, TextColumn, BackgroundColumn, MeasureColumn, KindColumn, ColumnCount };

    explicit ReadabilityLines(const FormModel* form, QObject* parent = nullptr);

    // The kind shown (none: every kind), and the thresholds the findings are measured against;
    // either takes effect at the next update.
    void setShownKind(std::optional<FindingKind> kind) { m_shownKind = kind; }
    void setThresholds(const ReadabilityThresholds& thresholds) { m_thresholds = thresholds; }
    // Works out the findings of every control again; with paths, of the pairs with a colour
    // there (the controls' values changed at those paths alone since the last update).
    void updateAll(const QStringList& paths = {});
    // Works out the findings of these controls again (those still on the form), as updateAll
    // does, and takes out the rows of controls that left it.
    void update(const QSet<TPalmoControl*>& controls, const QStringList& paths = {});
    // The control is leaving the form: its rows go blank now and leave at the next update.
    void forget(TPalmoControl* control);

    // The finding a row shows; null for a blank row or no row.
    const Finding* findingAt(int row) const;
    // Findings of a kind over the whole form, shown or not.
    int count(FindingKind kind) const { return m_counts[static_cast<int>(kind)]; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    struct Line {
        TPalmoControl* control;  // null once the control has left the form
        int index;               // into the control's findings
    };
    // The rows the findings give now, in form order.
    std::vector<Line> linesNow() const;
    void replaceRows(std::vector<Line> lines, const QSet<const TPalmoControl*>& touched);
    void countFindings();
    // The control's findings now, from those it had when paths are the only change since.
    std::vector<Finding> findingsNow(TPalmoControl* control, const QStringList& paths) const;

    const FormModel* m_form;
    ReadabilityThresholds m_thresholds;
    ReadabilityThresholds m_measuredWith;  // the thresholds of the findings held
    std::optional<FindingKind> m_shownKind;
    QHash<const TPalmoControl*, std::vector<Finding>> m_findings;
    std::vector<Line> m_lines;
    int m_counts[3] = {};
};
