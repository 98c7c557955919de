#include "views/ProblemsDialog.h"

#include "views/WindowFit.h"

#include <QAction>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

ProblemsDialog::ProblemsDialog(const QString& title, const QString& headline, const std::vector<FormProblem>& problems,
                               QWidget* parent)
    : QDialog(parent), m_headline(new QLabel(headline, this)), m_count(new QLabel(this)), m_list(new QListWidget(this))
{
    setObjectName(QStringLiteral("problemsDialog"));
    setWindowTitle(title);
    m_headline->setObjectName(QStringLiteral("problemsHeadline"));
    m_headline->setWordWrap(true);
    m_headline->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_count->setObjectName(QStringLiteral("problemsCount"));
    m_list->setObjectName(QStringLiteral("problemsList"));
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    // The reader stops after MaxProblems and says so in one more line.
    const int reported = static_cast<int>(problems.size());
    QString count = countText(reported);
    count[0] = count[0].toUpper();
    if (reported > FormFile::MaxProblems)
        count += tr("; the first %1 are listed").arg(FormFile::MaxProblems);
    m_count->setText(count);
    for (const FormProblem& problem : problems) {
        auto* item = new QListWidgetItem(QStringLiteral("%1:%2: %3").arg(problem.line).arg(problem.column).arg(problem.message), m_list);
        item->setData(Qt::UserRole, problem.text());
    }

    auto* copy = new QAction(tr("&Copy"), m_list);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(copy, &QAction::triggered, this, &ProblemsDialog::copyLines);
    m_list->addAction(copy);
    m_list->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("&OK"));
    QPushButton* copyButton = buttons->addButton(tr("&Copy Lines"), QDialogButtonBox::ActionRole);
    copyButton->setObjectName(QStringLiteral("copyLinesButton"));
    copyButton->setToolTip(tr("Copies the selected lines, or all, with the file's name"));
    connect(copyButton, &QPushButton::clicked, this, &ProblemsDialog::copyLines);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_headline);
    layout->addWidget(m_count);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);

    // As tall as RowsInView rows and as wide as the longest line, within the screen's free area.
    const QRect available = WindowFit::availableArea(parent ? *parent : *this);
    const int rowHeight = std::max(m_list->sizeHintForRow(0), fontMetrics().height());
    const int listHeight = rowHeight * std::min(reported, RowsInView) + 2 * m_list->frameWidth() + 4;
    const int listWidth = m_list->sizeHintForColumn(0) + 2 * m_list->frameWidth() + 24;
    const QMargins margins = layout->contentsMargins();
    const QSize wanted(std::max(listWidth, 420) + margins.left() + margins.right(),
                       layout->sizeHint().height() - m_list->sizeHint().height() + listHeight);
    if (available.isEmpty()) {
        resize(wanted);
        return;
    }
    const QSize room = WindowFit::fittingSize(QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX), available, WindowFit::AssumedFrame);
    setMaximumHeight(std::max(room.height(), minimumSizeHint().height()));
    resize(wanted.boundedTo(room).expandedTo(minimumSizeHint()));
}

QString ProblemsDialog::countText(int reported)
{
    if (reported > FormFile::MaxProblems)
        return tr("more than %1 problems").arg(FormFile::MaxProblems);
    return reported == 1 ? tr("1 problem") : tr("%1 problems").arg(reported);
}

void ProblemsDialog::copyLines()
{
    QList<QListWidgetItem*> chosen = m_list->selectedItems();
    if (chosen.isEmpty())
        for (int row = 0; row < m_list->count(); ++row)
            chosen << m_list->item(row);
    // In the order of the file, whatever the order they were selected in.
    std::sort(chosen.begin(), chosen.end(), [this](QListWidgetItem* a, QListWidgetItem* b) { return m_list->row(a) < m_list->row(b); });
    QStringList lines;
    for (const QListWidgetItem* item : chosen)
        lines << item->data(Qt::UserRole).toString();
    QGuiApplication::clipboard()->setText(lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
}
