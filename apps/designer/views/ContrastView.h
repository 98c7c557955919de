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
#include "views/ReadabilityLines.h"

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
class QTreeView;
class TPalmoControl;
struct ColorFix;

class ContrastView : public QWidget {
    Q_OBJECT
public:
    using Column = ReadabilityLines::Column;
    static constexpr Column ControlColumn = ReadabilityLines::ControlColumn;
    static constexpr Column TextColumn = ReadabilityLines::TextColumn;
    static constexpr Column BackgroundColumn = ReadabilityLines::BackgroundColumn;
    static constexpr Column MeasureColumn = ReadabilityLines::MeasureColumn;
    static constexpr Column KindColumn = ReadabilityLines::KindColumn;
    enum Kinds { AllKinds, ContrastKind, StateKind, WithoutColourKind };

    // With editing, fixes are recorded through it as undo steps; without, Fix is not offered.
    explicit ContrastView(FormModel* form, FormEditing* editing = nullptr, QWidget* parent = nullptr);

    // Lists the whole form again now. A change of the form updates the lines of the controls it
    // touched once control returns to the event loop, so that a burst of changes costs one pass.
    void refresh();
    QTreeView* list() const { return m_list; }
    ReadabilityLines* lines() const { return m_lines; }
    // "All text reads well …" or how many pairs fall short.
    QLabel* summary() const { return m_summary; }
    QComboBox* filter() const { return m_filter; }
    QDoubleSpinBox* minimumDeltaE() const { return m_minimumDeltaE; }
    QDoubleSpinBox* minimumLuminanceRatio() const { return m_minimumLuminanceRatio; }
    QPushButton* fixButton() const { return m_fix; }
    QPushButton* fixAllButton() const { return m_fixAll; }
    // Fixes the finding of the line at row by its fixes' choice-th (0: the smaller change). False
    // when there is no such line or fix, or nothing to record it with.
    bool fixLine(int row, int choice = 0);
    // Fixes every finding of the form as one step; the number of colours changed.
    int fixAll();

    // How many findings the form has, of every kind.
    int findingCount() const
    {
        return m_lines->count(FindingKind::TextContrast) + m_lines->count(FindingKind::StateDifference)
             + m_lines->count(FindingKind::WithoutColour);
    }

signals:
    void pairActivated(const QString& controlName, const QString& textPath);
    // The number of findings changed (told once the view has caught up with a change).
    void findingCountChanged(int count);

private:
    void layOut();
    void setUpThresholdBoxes();
    // Follows the form's controls, each change listed once the event loop runs.
    void followForm();
    void watch(TPalmoControl* control);
    void changedControl(TPalmoControl* control);
    void updatePending();
    // Updates the lines (those of the controls changed, or all of them), keeping the current one.
    void updateLines(bool onlyDirty);
    int currentRow() const;
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
    QTreeView* m_list;
    ReadabilityLines* m_lines;
    QTimer m_pending;
    QSet<TPalmoControl*> m_dirty;
    bool m_relistAll = false;
    // The paths the form's values changed at since the last update; any once a change did not say.
    QStringList m_changedPaths;
    bool m_anyPath = false;
    int m_toldCount = -1;  // the count last told by findingCountChanged
};
