#pragma once
// The Readability view: every finding of the form's readability report (Readability.h), one line
// each: the control, the colour, the colour it is read on or against, the measure that failed
// against its threshold ("contrast 3.94:1 < 4.5:1", "ΔE 6.2 < 10 under deuteranopia", "luminance
// 1.06:1 < 1.5:1 without colour") and the kind. A filter shows one kind or all; the smallest
// difference and luminance ratio a state pair needs are the user's settings.
//
// It follows the form control by control: a change lists again only the controls it touched
// (a change of most of the form relists it whole, once). Activating a line (double-click, Enter)
// asks for that control and its first colour to be shown. Fix changes the current line's pair
// by the smaller change (its context menu offers both), Fix All every finding of the form; each
// is one undo step.

#include "core/Readability.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <vector>

class FormEditing;
class FormModel;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class TPalmoControl;
struct ColorFix;

class ContrastView : public QWidget {
    Q_OBJECT
public:
    enum Column { ControlColumn, TextColumn, BackgroundColumn, MeasureColumn, KindColumn, ColumnCount };
    enum Kinds { AllKinds, ContrastKind, StateKind, WithoutColourKind };

    // With editing, fixes are recorded through it as undo steps; without, Fix is not offered.
    explicit ContrastView(FormModel* form, FormEditing* editing = nullptr, QWidget* parent = nullptr);

    // Lists the whole form again now. A change of the form updates the lines of the controls it
    // touched once control returns to the event loop, so that a burst of changes costs one pass.
    void refresh();
    QTreeWidget* list() const { return m_list; }
    // "All text reads well …" or how many pairs fall short.
    QLabel* summary() const { return m_summary; }
    QComboBox* filter() const { return m_filter; }
    QDoubleSpinBox* minimumDeltaE() const { return m_minimumDeltaE; }
    QDoubleSpinBox* minimumLuminanceRatio() const { return m_minimumLuminanceRatio; }
    QPushButton* fixButton() const { return m_fix; }
    QPushButton* fixAllButton() const { return m_fixAll; }
    // The finding a line shows; null for no line of this view.
    const Finding* findingOf(const QTreeWidgetItem* item) const;
    // Fixes the line's finding by its fixes' choice-th (0: the smaller change). False when there
    // is no such fix or nothing to record it with.
    bool fixLine(QTreeWidgetItem* item, int choice = 0);
    // Fixes every finding of the form as one step; the number of colours changed.
    int fixAll();

    // How many findings the form has, of every kind.
    int findingCount() const { return m_counts[0] + m_counts[1] + m_counts[2]; }

signals:
    void pairActivated(const QString& controlName, const QString& textPath);
    // The number of findings changed (told once the view has caught up with a change).
    void findingCountChanged(int count);

private:
    struct ControlLines {
        std::vector<Finding> findings;
        std::vector<QTreeWidgetItem*> items;  // the shown ones, in the order of findings
    };

    void watch(TPalmoControl* control);
    void changedControl(TPalmoControl* control);
    void updatePending();
    void relistControl(TPalmoControl* control);
    void dropLines(TPalmoControl* control);
    bool shows(const Finding& finding) const;
    QTreeWidgetItem* lineOf(const Finding& finding, int index) const;
    void addLines(ControlLines& lines, QList<QTreeWidgetItem*>& items);
    int insertionRow(TPalmoControl* control) const;
    void updateSummary();
    void thresholdsEdited();
    void showLineMenu(const QPoint& at);

    FormModel* m_form;
    FormEditing* m_editing;
    ReadabilityThresholds m_thresholds;
    QLabel* m_summary;
    QComboBox* m_filter;
    QDoubleSpinBox* m_minimumDeltaE;
    QDoubleSpinBox* m_minimumLuminanceRatio;
    QPushButton* m_fix;
    QPushButton* m_fixAll;
    QTreeWidget* m_list;
    QTimer m_pending;
    QHash<TPalmoControl*, ControlLines> m_lines;
    QSet<TPalmoControl*> m_dirty;
    bool m_relistAll = false;
    int m_removedInBurst = 0;  // controls removed since the last update
    int m_counts[3] = {};  // findings by kind, over the whole form
    int m_toldCount = -1;  // the count last told by findingCountChanged
};
