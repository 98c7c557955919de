#include "views/ContrastView.h"

#include "core/FormEditing.h"
#include "core/FormModel.h"
#include "core/ReadabilityFix.h"
#include "views/ReadabilitySettings.h"
#include "views/WrappedToolTip.h"

#include "host/vcl/Contrast.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// A change of more controls than this lists the whole form again, once.
constexpr int MostControls = 64;

}  // namespace

ContrastView::ContrastView(FormModel* form, FormEditing* editing, QWidget* parent)
    : QWidget(parent), m_form(form), m_editing(editing), m_thresholds(readReadabilityThresholds()),
      m_summary(new QLabel(this)), m_filter(new QComboBox(this)), m_minimumDeltaE(new QDoubleSpinBox(this)),
      m_minimumLuminanceRatio(new QDoubleSpinBox(this)), m_fix(new QPushButton(tr("&Fix"), this)),
      m_fixAll(new QPushButton(tr("Fix &All"), this)), m_list(new QTreeView(this)),
      m_lines(new ReadabilityLines(form, this))
{
    setObjectName(QStringLiteral("contrastView"));
    m_summary->setObjectName(QStringLiteral("contrastSummary"));
    // Wrapped, so that a long summary never widens the window.
    m_summary->setWordWrap(true);
    m_filter->setObjectName(QStringLiteral("readabilityFilter"));
    m_filter->addItems({tr("All colours"), tr("Text contrast"), tr("State colours"), tr("Without colour")});
    setUpThresholdBoxes();
    m_fix->setObjectName(QStringLiteral("fixButton"));
    m_fix->setToolTip(wrappedToolTip({tr("Change the colour of the selected line's pair that needs the smaller change "
                                         "to the nearest colour that passes with every colour it is used with.")}));
    m_fixAll->setObjectName(QStringLiteral("fixAllButton"));
    m_fixAll->setToolTip(wrappedToolTip({tr("Fix every line of the form, in one step.")}));
    m_fix->setVisible(m_editing);
    m_fixAll->setVisible(m_editing);
    m_list->setObjectName(QStringLiteral("contrastList"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setModel(m_lines);
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // Columns sized by the first lines only: a form of a thousand failing texts is measured
    // in a moment, and the lines below are alike.
    m_list->header()->setResizeContentsPrecision(100);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);

    layOut();

    m_pending.setSingleShot(true);
    m_pending.setInterval(0);
    connect(&m_pending, &QTimer::timeout, this, &ContrastView::updatePending);
    followForm();
    connect(m_filter, &QComboBox::currentIndexChanged, this, &ContrastView::refresh);
    connect(m_minimumDeltaE, &QDoubleSpinBox::valueChanged, this, &ContrastView::thresholdsEdited);
    connect(m_minimumLuminanceRatio, &QDoubleSpinBox::valueChanged, this, &ContrastView::thresholdsEdited);
    connect(m_list, &QTreeView::activated, this, [this](const QModelIndex& index) {
        if (const Finding* finding = m_lines->findingAt(index.row()))
            emit pairActivated(finding->control->Name(), finding->firstPath);
    });
    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { m_fix->setEnabled(m_lines->findingAt(current.row())); });
    connect(m_list, &QTreeView::customContextMenuRequested, this, &ContrastView::showLineMenu);
    connect(m_fix, &QPushButton::clicked, this, [this] { fixLine(currentRow()); });
    connect(m_fixAll, &QPushButton::clicked, this, &ContrastView::fixAll);
    refresh();
}

void ContrastView::layOut()
{
    // Two rows, so that the view never makes the window wider than it was.
    auto* actions = new QHBoxLayout;
    actions->addWidget(m_filter);
    actions->addStretch(1);
    actions->addWidget(m_fix);
    actions->addWidget(m_fixAll);
    auto* thresholds = new QHBoxLayout;
    thresholds->addWidget(m_minimumDeltaE);
    thresholds->addWidget(m_minimumLuminanceRatio);
    thresholds->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_summary);
    layout->addLayout(actions);
    layout->addLayout(thresholds);
    layout->addWidget(m_list);
}

void ContrastView::setUpThresholdBoxes()
{
    m_minimumDeltaE->setObjectName(QStringLiteral("minimumDeltaE"));
    m_minimumDeltaE->setRange(1, 100);
    m_minimumDeltaE->setDecimals(1);
    m_minimumDeltaE->setPrefix(tr("States apart by \u0394E "));
    // A prefix is shown, not a name: a screen reader needs the box named.
    m_minimumDeltaE->setAccessibleName(tr("States apart by \u0394E"));
    m_minimumDeltaE->setToolTip(wrappedToolTip({tr("The smallest CIEDE2000 difference two state colours need, as seen "
                                                   "with each dichromacy (10 unless set).")}));
    m_minimumDeltaE->setValue(m_thresholds.minimumDeltaE);
    m_minimumLuminanceRatio->setObjectName(QStringLiteral("minimumLuminanceRatio"));
    m_minimumLuminanceRatio->setRange(1, 21);
    m_minimumLuminanceRatio->setDecimals(2);
    m_minimumLuminanceRatio->setSingleStep(0.1);
    m_minimumLuminanceRatio->setPrefix(tr("Lightness apart by "));
    m_minimumLuminanceRatio->setAccessibleName(tr("Lightness apart by"));
    m_minimumLuminanceRatio->setSuffix(tr(":1"));
    m_minimumLuminanceRatio->setToolTip(wrappedToolTip({tr("The smallest luminance ratio two state colours need, so "
                                                           "that they differ in lightness without colour (1.5:1 unless set).")}));
    m_minimumLuminanceRatio->setValue(m_thresholds.minimumLuminanceRatio);
}

void ContrastView::followForm()
{
    for (TPalmoControl* control : m_form->controls())
        watch(control);
    connect(m_form, &FormModel::controlInserted, this, [this](int index) {
        watch(m_form->control(index));
        changedControl(m_form->control(index));
    });
    connect(m_form, &FormModel::controlRemoved, this, [this](int, TPalmoControl* control) {
        disconnect(control, nullptr, this, nullptr);
        m_dirty.remove(control);
        // Its lines go blank now and leave at the update, which a burst of removals shares.
        m_lines->forget(control);
        m_pending.start();
        updateSummary();
    });
    connect(m_form, &FormModel::controlRenamed, this, &ContrastView::changedControl);
    // The lines follow the form's order.
    connect(m_form, &FormModel::controlsReordered, this, [this] { m_pending.start(); });
    // Findings of pairs with no colour where values changed stay as they are.
    connect(m_form, &FormModel::changed, this, [this] {
        if (m_form->changedPaths().isEmpty())
            m_anyPath = true;
        for (const QString& path : m_form->changedPaths())
            if (!m_changedPaths.contains(path))
                m_changedPaths.append(path);
    });
}

void ContrastView::watch(TPalmoControl* control)
{
    connect(control, &TPalmoControl::Changed, this, [this, control] { changedControl(control); });
}

void ContrastView::changedControl(TPalmoControl* control)
{
    if (!m_relistAll) {
        m_dirty.insert(control);
        if (m_dirty.size() > MostControls) {
            m_relistAll = true;
            m_dirty.clear();
        }
    }
    m_pending.start();
}

void ContrastView::updatePending()
{
    updateLines(!m_relistAll);
}

void ContrastView::refresh()
{
    m_anyPath = true;
    updateLines(false);
}

int ContrastView::currentRow() const
{
    return m_list->currentIndex().isValid() ? m_list->currentIndex().row() : -1;
}

void ContrastView::updateLines(bool onlyDirty)
{
    m_pending.stop();
    // The current line is the same finding after the update when its control still has it.
    const Finding* current = m_lines->findingAt(currentRow());
    const std::optional<Finding> was = current ? std::optional<Finding>(*current) : std::nullopt;
    const int column = std::max(0, m_list->currentIndex().column());
    const QSet<TPalmoControl*> dirty = std::exchange(m_dirty, {});
    const QStringList paths = m_anyPath ? QStringList() : m_changedPaths;
    m_changedPaths.clear();
    m_anyPath = false;
    m_relistAll = false;
    const std::optional<FindingKind> kinds[] = {std::nullopt, FindingKind::TextContrast, FindingKind::StateDifference,
                                                FindingKind::WithoutColour};
    m_lines->setShownKind(kinds[std::clamp(m_filter->currentIndex(), 0, 3)]);
    m_lines->setThresholds(m_thresholds);
    if (onlyDirty)
        m_lines->update(dirty, paths);
    else
        m_lines->updateAll(paths);
    if (const Finding* now = m_lines->findingAt(currentRow()); was && !(now && *now == *was)) {
        for (int row = 0; row < m_lines->rowCount(); ++row)
            if (const Finding* line = m_lines->findingAt(row); line && line->control == was->control && *line == *was) {
                m_list->setCurrentIndex(m_lines->index(row, column));
                break;
            }
    }
    m_fix->setEnabled(m_lines->findingAt(currentRow()));
    updateSummary();
}

void ContrastView::updateSummary()
{
    const int texts = m_lines->count(FindingKind::TextContrast);
    const int states = m_lines->count(FindingKind::StateDifference);
    const int withoutColour = m_lines->count(FindingKind::WithoutColour);
    const QString minimum = Readability::measureValueText(FindingKind::TextContrast, MinimumTextContrast);
    QString summary;
    if (texts == 0)
        summary = tr("All text reads well: every text colour has at least %1 on its background.").arg(minimum);
    else if (texts == 1)
        summary = tr("1 text colour below %1 on its background; double-click it to edit it.").arg(minimum);
    else
        summary = tr("%1 text colours below %2 on their background; double-click one to edit it.").arg(texts).arg(minimum);
    if (states == 0)
        summary += u' ' + tr("Every state can be told apart with each colour vision deficiency.");
    else if (states == 1)
        summary += u' ' + tr("1 pair of state colours too alike for colour-blind eyes.");
    else
        summary += u' ' + tr("%1 warnings of state colours too alike for colour-blind eyes.").arg(states);
    if (withoutColour == 1)
        summary += u' ' + tr("1 pair of state colours too alike in lightness to tell apart without colour.");
    else if (withoutColour > 1)
        summary += u' ' + tr("%1 pairs of state colours too alike in lightness to tell apart without colour.").arg(withoutColour);
    m_summary->setText(summary);
    m_fixAll->setEnabled(texts + states + withoutColour > 0);
    if (const int count = findingCount(); count != m_toldCount) {
        // The first count (the form as opened) is shown, not told.
        if (m_toldCount >= 0)
            emit findingCountChanged(count);
        m_toldCount = count;
    }
}

void ContrastView::thresholdsEdited()
{
    m_thresholds.minimumDeltaE = m_minimumDeltaE->value();
    m_thresholds.minimumLuminanceRatio = m_minimumLuminanceRatio->value();
    writeReadabilityThresholds(m_thresholds);
    m_relistAll = true;
    m_pending.start();
}

bool ContrastView::fixLine(int row, int choice)
{
    const Finding* finding = m_lines->findingAt(row);
    if (!finding || !m_editing)
        return false;
    std::vector<ColorFix> fixes = ReadabilityFix::fixesOf(*finding, m_thresholds);
    if (choice < 0 || choice >= static_cast<int>(fixes.size()))
        return false;
    ColorFix fix = fixes[static_cast<std::size_t>(choice)];
    m_editing->fixColor(fix);
    return true;
}

int ContrastView::fixAll()
{
    if (!m_editing)
        return 0;
    return static_cast<int>(m_editing->fixAllColors(m_thresholds));
}

void ContrastView::showLineMenu(const QPoint& at)
{
    const int row = m_list->indexAt(at).row();
    const Finding* finding = m_lines->findingAt(row);
    if (!finding || !m_editing)
        return;
    QMenu menu(this);
    const std::vector<ColorFix> fixes = ReadabilityFix::fixesOf(*finding, m_thresholds);
    for (std::size_t i = 0; i < fixes.size(); ++i) {
        const ColorFix& fix = fixes[i];
        const QString to = QStringLiteral("$") + QString::number(fix.to, 16).toUpper().rightJustified(8, u'0');
        QAction* action = menu.addAction(tr("Fix: %1 %2 \u2192 %3 (a change of \u0394E %4)")
                                             .arg(fix.path, fix.fromText, to, QString::number(fix.change, 'f', 1)));
        action->setObjectName(QStringLiteral("fix%1").arg(i));
        connect(action, &QAction::triggered, this, [this, row, i] { fixLine(row, static_cast<int>(i)); });
    }
    if (fixes.empty())
        menu.addAction(tr("No colour passes with every colour it is used with"))->setEnabled(false);
    menu.exec(m_list->viewport()->mapToGlobal(at));
}
