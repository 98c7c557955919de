#pragma once
// The Readability view: every pair of colours of the form that falls short, one line each, kept
// up to date as the form changes. Text drawn on a background with less than 4.5:1 contrast
// (control, text property, background property, ratio, a web colour to try), and pairs of state
// colours too alike for colour-blind eyes (control, state colour, the colour it must be told
// from, the difference and the dichromacy, a web colour to try). A filter shows one kind or
// both; the smallest difference a state pair needs is the user's setting. Activating a line
// (double-click, Enter) asks for that control and the property of its first colour to be shown.

#include <QTimer>
#include <QWidget>

class FormModel;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QTreeWidget;

class ContrastView : public QWidget {
    Q_OBJECT
public:
    enum Column { ControlColumn, TextColumn, BackgroundColumn, RatioColumn, SuggestionColumn, KindColumn, ColumnCount };
    enum Kinds { AllKinds, ContrastKind, StateKind };

    explicit ContrastView(FormModel* form, QWidget* parent = nullptr);

    // Reads the form again now; a change of the form does it once control returns to the event
    // loop, so that a burst of changes (a file being read) costs one pass.
    void refresh();
    QTreeWidget* list() const { return m_list; }
    // "All text reads well …" or how many pairs fall short.
    QLabel* summary() const { return m_summary; }
    QComboBox* filter() const { return m_filter; }
    QDoubleSpinBox* minimumDeltaE() const { return m_minimumDeltaE; }

signals:
    void pairActivated(const QString& controlName, const QString& textPath);

private:
    FormModel* m_form;
    QLabel* m_summary;
    QComboBox* m_filter;
    QDoubleSpinBox* m_minimumDeltaE;
    QTreeWidget* m_list;
    QTimer m_pending;
};
