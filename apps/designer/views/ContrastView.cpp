#include "views/ContrastView.h"

#include "core/ContrastCheck.h"
#include "core/FormModel.h"
#include "core/StateCheck.h"

#include "host/cvcolor/CVColor.h"
#include "host/vcl/Contrast.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

void addLine(QTreeWidget* list, const QStringList& texts, const QString& firstValue, const QString& secondValue,
             const QString& description)
{
    auto* item = new QTreeWidgetItem(list, texts);
    item->setToolTip(ContrastView::TextColumn, firstValue);
    item->setToolTip(ContrastView::BackgroundColumn, secondValue);
    for (int column = 0; column < ContrastView::ColumnCount; ++column)
        item->setStatusTip(column, description);
}

}  // namespace

ContrastView::ContrastView(FormModel* form, QWidget* parent)
    : QWidget(parent), m_form(form), m_summary(new QLabel(this)), m_filter(new QComboBox(this)),
      m_minimumDeltaE(new QDoubleSpinBox(this)), m_list(new QTreeWidget(this))
{
    setObjectName(QStringLiteral("contrastView"));
    m_summary->setObjectName(QStringLiteral("contrastSummary"));
    // Wrapped, so that a long summary never widens the window.
    m_summary->setWordWrap(true);
    m_filter->setObjectName(QStringLiteral("readabilityFilter"));
    m_filter->addItems({tr("All colours"), tr("Text contrast"), tr("State colours")});
    m_minimumDeltaE->setObjectName(QStringLiteral("minimumDeltaE"));
    m_minimumDeltaE->setRange(1, 100);
    m_minimumDeltaE->setDecimals(1);
    m_minimumDeltaE->setPrefix(tr("States apart by \u0394E "));
    m_minimumDeltaE->setToolTip(tr("The smallest CIEDE2000 difference two state colours need, as seen with each "
                                   "dichromacy (10 unless set)"));
    m_minimumDeltaE->setValue(StateCheck::minimumDeltaE());
    m_list->setObjectName(QStringLiteral("contrastList"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setColumnCount(ColumnCount);
    m_list->setHeaderLabels({tr("Control"), tr("Colour"), tr("On or against"), tr("Measure"), tr("Try"), tr("Kind")});
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // Columns sized by the first lines only: a form of a thousand failing texts is measured
    // in a moment, and the lines below are alike.
    m_list->header()->setResizeContentsPrecision(100);

    auto* controls = new QHBoxLayout;
    controls->addWidget(m_filter);
    controls->addWidget(m_minimumDeltaE);
    controls->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_summary);
    layout->addLayout(controls);
    layout->addWidget(m_list);

    m_pending.setSingleShot(true);
    m_pending.setInterval(0);
    connect(&m_pending, &QTimer::timeout, this, &ContrastView::refresh);
    connect(m_form, &FormModel::changed, &m_pending, qOverload<>(&QTimer::start));
    connect(m_filter, &QComboBox::currentIndexChanged, this, &ContrastView::refresh);
    connect(m_minimumDeltaE, &QDoubleSpinBox::valueChanged, this, [this](double deltaE) {
        StateCheck::setMinimumDeltaE(deltaE);
        m_pending.start();
    });
    connect(m_list, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        emit pairActivated(item->text(ControlColumn), item->text(TextColumn));
    });
    refresh();
}

void ContrastView::refresh()
{
    m_pending.stop();
    m_list->clear();
    const bool showContrast = m_filter->currentIndex() != StateKind;
    const bool showStates = m_filter->currentIndex() != ContrastKind;

    const std::vector<ContrastPair> pairs = ContrastCheck::failing(*m_form);
    if (showContrast)
        for (const ContrastPair& pair : pairs) {
            const int better = ContrastCheck::suggestion(pair.text, pair.background);
            addLine(m_list, {pair.control->Name(), pair.textPath, pair.backgroundPath, ContrastCheck::ratioText(pair.ratio),
                             better >= 0 ? CVColors[better].Name : QString(), tr("Text contrast")},
                    pair.textValue, pair.backgroundValue, ContrastCheck::describe(pair));
        }
    const double minimumDeltaE = StateCheck::minimumDeltaE();
    const std::vector<StateWarning> states = StateCheck::failing(*m_form, minimumDeltaE);
    if (showStates)
        for (const StateWarning& warning : states) {
            const StatePairColors& pair = warning.pair;
            const int better = StateCheck::suggestion(pair.state, pair.other, minimumDeltaE);
            const QString measure = tr("\u0394E %1 (%2)").arg(warning.deltaE, 0, 'f', 1).arg(QString::fromLatin1(visionName(warning.vision)));
            addLine(m_list, {pair.control->Name(), pair.statePath, pair.otherPath, measure,
                             better >= 0 ? CVColors[better].Name : QString(), tr("State colours")},
                    pair.stateValue, pair.otherValue, StateCheck::describe(warning, minimumDeltaE));
        }

    const QString minimum = ContrastCheck::ratioText(MinimumTextContrast);
    QString summary;
    if (pairs.empty())
        summary = tr("All text reads well: every text colour has at least %1 on its background.").arg(minimum);
    else if (pairs.size() == 1)
        summary = tr("1 text colour below %1 on its background; double-click it to edit it.").arg(minimum);
    else
        summary = tr("%1 text colours below %2 on their background; double-click one to edit it.").arg(pairs.size()).arg(minimum);
    if (states.empty())
        summary += u' ' + tr("Every state can be told apart with each colour vision deficiency.");
    else if (states.size() == 1)
        summary += u' ' + tr("1 pair of state colours too alike for colour-blind eyes.");
    else
        summary += u' ' + tr("%1 warnings of state colours too alike for colour-blind eyes.").arg(states.size());
    m_summary->setText(summary);
}
