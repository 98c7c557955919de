#pragma once
// The Contrast view: every pair of colours of the form that a control draws as text on a
// background with less than 4.5:1 contrast, one line each (control, text property, background
// property, ratio, a web colour to try), kept up to date as the form changes. Activating a line
// (double-click, Enter) asks for that control and its text property to be shown.

#include <QTimer>
#include <QWidget>

class FormModel;
class QLabel;
class QTreeWidget;

class ContrastView : public QWidget {
    Q_OBJECT
public:
    enum Column { ControlColumn, TextColumn, BackgroundColumn, RatioColumn, SuggestionColumn, ColumnCount };

    explicit ContrastView(FormModel* form, QWidget* parent = nullptr);

    // Reads the form again now; a change of the form does it once control returns to the event
    // loop, so that a burst of changes (a file being read) costs one pass.
    void refresh();
    QTreeWidget* list() const { return m_list; }
    // "All text reads well …" or how many pairs fall short.
    QLabel* summary() const { return m_summary; }

signals:
    void pairActivated(const QString& controlName, const QString& textPath);

private:
    FormModel* m_form;
    QLabel* m_summary;
    QTreeWidget* m_list;
    QTimer m_pending;
};
