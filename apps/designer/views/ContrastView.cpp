#include "views/ContrastView.h"

#include "core/ContrastCheck.h"
#include "core/FormModel.h"

#include "host/cvcolor/CVColor.h"
#include "host/vcl/Contrast.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

ContrastView::ContrastView(FormModel* form, QWidget* parent)
    : QWidget(parent), m_form(form), m_summary(new QLabel(this)), m_list(new QTreeWidget(this))
{
    setObjectName(QStringLiteral("contrastView"));
    m_summary->setObjectName(QStringLiteral("contrastSummary"));
    // Wrapped, so that a long summary never widens the window.
    m_summary->setWordWrap(true);
    m_list->setObjectName(QStringLiteral("contrastList"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setColumnCount(ColumnCount);
    m_list->setHeaderLabels({tr("Control"), tr("Text"), tr("Background"), tr("Ratio"), tr("Try")});
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // Columns sized by the first lines only: a form of a thousand failing texts is measured
    // in a moment, and the lines below are alike.
    m_list->header()->setResizeContentsPrecision(100);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_summary);
    layout->addWidget(m_list);

    m_pending.setSingleShot(true);
    m_pending.setInterval(0);
    connect(&m_pending, &QTimer::timeout, this, &ContrastView::refresh);
    connect(m_form, &FormModel::changed, &m_pending, qOverload<>(&QTimer::start));
    connect(m_list, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        emit pairActivated(item->text(ControlColumn), item->text(TextColumn));
    });
    refresh();
}

void ContrastView::refresh()
{
    m_pending.stop();
    m_list->clear();
    const std::vector<ContrastPair> pairs = ContrastCheck::failing(*m_form);
    for (const ContrastPair& pair : pairs) {
        const int better = ContrastCheck::suggestion(pair.text, pair.background);
        auto* item = new QTreeWidgetItem(m_list, {pair.control->Name(), pair.textPath, pair.backgroundPath,
                                                  ContrastCheck::ratioText(pair.ratio), better >= 0 ? CVColors[better].Name : QString()});
        item->setToolTip(TextColumn, pair.textValue);
        item->setToolTip(BackgroundColumn, pair.backgroundValue);
        const QString description = ContrastCheck::describe(pair);
        for (int column = 0; column < ColumnCount; ++column)
            item->setStatusTip(column, description);
    }
    const QString minimum = ContrastCheck::ratioText(MinimumTextContrast);
    if (pairs.empty())
        m_summary->setText(tr("All text reads well: every text colour has at least %1 on its background.").arg(minimum));
    else if (pairs.size() == 1)
        m_summary->setText(tr("1 text colour below %1 on its background; double-click it to edit it.").arg(minimum));
    else
        m_summary->setText(tr("%1 text colours below %2 on their background; double-click one to edit it.")
                               .arg(pairs.size()).arg(minimum));
}
