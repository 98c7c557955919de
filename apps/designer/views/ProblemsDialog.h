#pragma once
// The problems that kept a file from opening, as a list to scroll: what failed and the file's
// path once at the top, how many problems there are, then one "LINE:COLUMN: message" line each,
// and the OK button always in view. Copy puts the selected lines (all when none is selected) on
// the clipboard as "FILE:LINE:COLUMN: message", as compilers print them, for an editor to jump to. The dialog is never taller or wider than the screen's free
// area, however many problems there are.

#include "core/FormFile.h"

#include <QDialog>

#include <vector>

class QLabel;
class QListWidget;

class ProblemsDialog : public QDialog {
    Q_OBJECT
public:
    // headline says what failed and names the file ("PATH was not opened."); problems are the
    // reader's, all of that file.
    ProblemsDialog(const QString& title, const QString& headline, const std::vector<FormProblem>& problems,
                   QWidget* parent = nullptr);

    QListWidget* list() const { return m_list; }
    QLabel* headline() const { return m_headline; }
    // "60 problems"
    QLabel* count() const { return m_count; }
    // "1 problem", "60 problems", "more than 100 problems": the count wherever it is said, for
    // problems as the reader returns them (one line more than MaxProblems when it stopped).
    static QString countText(int reported);
    // Puts the selected lines, or all, on the clipboard with their file names.
    void copyLines();

    // As many problems as a message box says at a glance; more go to this dialog.
    static constexpr int FewProblems = 5;
    // The rows at most that the dialog shows before it scrolls.
    static constexpr int RowsInView = 20;

private:
    QLabel* m_headline;
    QLabel* m_count;
    QListWidget* m_list;
};
