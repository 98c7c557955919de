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
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int ControlRole = Qt::UserRole;
constexpr int IndexRole = Qt::UserRole + 1;

// A change of more controls than this lists the whole form again, once.
constexpr int MostControls = 64;

int kindIndex(FindingKind kind)
{
    return static_cast<int>(kind);
}

// What each kind measures, for the lines' tooltips.
QString meaningOf(FindingKind kind)
{
    switch (kind) {
    case FindingKind::TextContrast:
        return QObject::tr("Text contrast: the WCAG 2.x contrast ratio of the text on its background; 4.5:1 is what "
                           "normal-size text needs (level AA).");
    case FindingKind::StateDifference:
        return QObject::tr("State colours: the CIEDE2000 difference of the two colours as seen with the dichromacy; "
                           "about 1 is just noticeable, and states need a clear difference at a glance.");
    case FindingKind::WithoutColour:
        return QObject::tr("Without colour: the WCAG luminance ratio of the two colours; in greyscale, monochrome "
                           "print, achromatopsia or low vision only lightness tells them apart.");
    }
    return QString();
}

}  // namespace

ContrastView::ContrastView(FormModel* form, FormEditing* editing, QWidget* parent)
    : QWidget(parent), m_form(form), m_editing(editing), m_thresholds(readReadabilityThresholds()),
      m_summary(new QLabel(this)), m_filter(new QComboBox(this)), m_minimumDeltaE(new QDoubleSpinBox(this)),
      m_minimumLuminanceRatio(new QDoubleSpinBox(this)), m_fix(new QPushButton(tr("&Fix"), this)),
      m_fixAll(new QPushButton(tr("Fix &All"), this)), m_list(new QTreeWidget(this))
{
    setObjectName(QStringLiteral("contrastView"));
    m_summary->setObjectName(QStringLiteral("contrastSummary"));
    // Wrapped, so that a long summary never widens the window.
    m_summary->setWordWrap(true);
    m_filter->setObjectName(QStringLiteral("readabilityFilter"));
    m_filter->addItems({tr("All colours"), tr("Text contrast"), tr("State colours"), tr("Without colour")});
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
    m_list->setColumnCount(ColumnCount);
    m_list->setHeaderLabels({tr("Control"), tr("Colour"), tr("On or against"), tr("Measure"), tr("Kind")});
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // Columns sized by the first lines only: a form of a thousand failing texts is measured
    // in a moment, and the lines below are alike.
    m_list->header()->setResizeContentsPrecision(100);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);

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

    m_pending.setSingleShot(true);
    m_pending.setInterval(0);
    connect(&m_pending, &QTimer::timeout, this, &ContrastView::updatePending);
    for (TPalmoControl* control : m_form->controls())
        watch(control);
    connect(m_form, &FormModel::controlInserted, this, [this](int index) {
        watch(m_form->control(index));
        changedControl(m_form->control(index));
    });
    connect(m_form, &FormModel::controlRemoved, this, [this](int, TPalmoControl* control) {
        disconnect(control, nullptr, this, nullptr);
        m_dirty.remove(control);
        // Many controls leaving at once (an undone paste, another form read) are listed again
        // once; until then their lines stay, but name no finding.
        if (++m_removedInBurst > MostControls)
            m_relistAll = true;
        if (m_relistAll) {
            if (const auto found = m_lines.find(control); found != m_lines.end()) {
                for (const Finding& finding : found->findings)
                    --m_counts[kindIndex(finding.kind)];
                m_lines.erase(found);
            }
            m_pending.start();
        } else {
            dropLines(control);
        }
        updateSummary();
    });
    connect(m_form, &FormModel::controlRenamed, this, &ContrastView::changedControl);
    connect(m_filter, &QComboBox::currentIndexChanged, this, &ContrastView::refresh);
    connect(m_minimumDeltaE, &QDoubleSpinBox::valueChanged, this, &ContrastView::thresholdsEdited);
    connect(m_minimumLuminanceRatio, &QDoubleSpinBox::valueChanged, this, &ContrastView::thresholdsEdited);
    connect(m_list, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        emit pairActivated(item->text(ControlColumn), item->text(TextColumn));
    });
    connect(m_list, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) { m_fix->setEnabled(item); });
    connect(m_list, &QTreeWidget::customContextMenuRequested, this, &ContrastView::showLineMenu);
    connect(m_fix, &QPushButton::clicked, this, [this] { fixLine(m_list->currentItem()); });
    connect(m_fixAll, &QPushButton::clicked, this, &ContrastView::fixAll);
    refresh();
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
    m_removedInBurst = 0;
    if (m_relistAll) {
        refresh();
        return;
    }
    const QSet<TPalmoControl*> dirty = std::exchange(m_dirty, {});
    for (TPalmoControl* control : dirty)
        if (m_form->indexOf(control) >= 0)
            relistControl(control);
    updateSummary();
}

void ContrastView::refresh()
{
    m_pending.stop();
    m_dirty.clear();
    m_relistAll = false;
    m_removedInBurst = 0;
    m_list->clear();
    m_lines.clear();
    std::fill(std::begin(m_counts), std::end(m_counts), 0);
    QList<QTreeWidgetItem*> items;
    for (TPalmoControl* control : m_form->controls()) {
        ControlLines& lines = m_lines[control];
        lines.findings = Readability::findingsOf(*control, m_thresholds);
        addLines(lines, items);
    }
    m_list->addTopLevelItems(items);
    m_fix->setEnabled(m_list->currentItem());
    updateSummary();
}

void ContrastView::addLines(ControlLines& lines, QList<QTreeWidgetItem*>& items)
{
    for (std::size_t i = 0; i < lines.findings.size(); ++i) {
        const Finding& finding = lines.findings[i];
        ++m_counts[kindIndex(finding.kind)];
        if (shows(finding)) {
            lines.items.push_back(lineOf(finding, static_cast<int>(i)));
            items << lines.items.back();
        }
    }
}

void ContrastView::dropLines(TPalmoControl* control)
{
    const auto found = m_lines.find(control);
    if (found == m_lines.end())
        return;
    for (const Finding& finding : found->findings)
        --m_counts[kindIndex(finding.kind)];
    // The lines of one control follow each other: taken out as one run.
    if (!found->items.empty()) {
        const int first = m_list->indexOfTopLevelItem(found->items.front());
        for (std::size_t i = 0; i < found->items.size(); ++i)
            delete m_list->takeTopLevelItem(first);
    }
    m_lines.erase(found);
}

int ContrastView::insertionRow(TPalmoControl* control) const
{
    // After the lines of the nearest control before it that has any.
    for (int index = m_form->indexOf(control) - 1; index >= 0; --index)
        if (const auto found = m_lines.constFind(m_form->control(index)); found != m_lines.constEnd() && !found->items.empty())
            return m_list->indexOfTopLevelItem(found->items.back()) + 1;
    return 0;
}

void ContrastView::relistControl(TPalmoControl* control)
{
    std::vector<Finding> findings = Readability::findingsOf(*control, m_thresholds);
    if (const auto found = m_lines.constFind(control); found != m_lines.constEnd() && found->findings == findings
        && (found->items.empty() || found->items.front()->text(ControlColumn) == control->Name()))
        return;
    dropLines(control);
    ControlLines& lines = m_lines[control];
    lines.findings = std::move(findings);
    QList<QTreeWidgetItem*> items;
    addLines(lines, items);
    if (!items.isEmpty())
        m_list->insertTopLevelItems(insertionRow(control), items);
}

bool ContrastView::shows(const Finding& finding) const
{
    switch (m_filter->currentIndex()) {
    case ContrastKind:      return finding.kind == FindingKind::TextContrast;
    case StateKind:         return finding.kind == FindingKind::StateDifference;
    case WithoutColourKind: return finding.kind == FindingKind::WithoutColour;
    default:                return true;
    }
}

QTreeWidgetItem* ContrastView::lineOf(const Finding& finding, int index) const
{
    auto* item = new QTreeWidgetItem(QStringList{finding.control->Name(), finding.firstPath, finding.secondPath,
                                                 Readability::measureText(finding), Readability::kindName(finding.kind)});
    item->setData(ControlColumn, ControlRole, QVariant::fromValue(static_cast<void*>(finding.control)));
    item->setData(ControlColumn, IndexRole, index);
    const QString tip = wrappedToolTip({Readability::describe(finding), meaningOf(finding.kind)});
    for (int column = 0; column < ColumnCount; ++column) {
        item->setToolTip(column, tip);
        item->setStatusTip(column, Readability::describe(finding));
    }
    return item;
}

const Finding* ContrastView::findingOf(const QTreeWidgetItem* item) const
{
    if (!item)
        return nullptr;
    auto* control = static_cast<TPalmoControl*>(item->data(ControlColumn, ControlRole).value<void*>());
    const auto found = m_lines.constFind(control);
    const int index = item->data(ControlColumn, IndexRole).toInt();
    if (found == m_lines.constEnd() || index < 0 || index >= static_cast<int>(found->findings.size()))
        return nullptr;
    return &found->findings[static_cast<std::size_t>(index)];
}

void ContrastView::updateSummary()
{
    const int texts = m_counts[kindIndex(FindingKind::TextContrast)];
    const int states = m_counts[kindIndex(FindingKind::StateDifference)];
    const int withoutColour = m_counts[kindIndex(FindingKind::WithoutColour)];
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

bool ContrastView::fixLine(QTreeWidgetItem* item, int choice)
{
    const Finding* finding = findingOf(item);
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
    QTreeWidgetItem* item = m_list->itemAt(at);
    const Finding* finding = findingOf(item);
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
        connect(action, &QAction::triggered, this, [this, item, i] { fixLine(item, static_cast<int>(i)); });
    }
    if (fixes.empty())
        menu.addAction(tr("No colour passes with every colour it is used with"))->setEnabled(false);
    menu.exec(m_list->viewport()->mapToGlobal(at));
}
