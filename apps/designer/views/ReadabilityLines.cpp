#include "views/ReadabilityLines.h"

#include "core/FormModel.h"
#include "views/WrappedToolTip.h"

#include "host/palmo/PalmoControl.h"

#include <algorithm>

namespace {

// Separate runs of rows to take out or put in beyond which the view is told to start afresh:
// one notice per run costs the view a pass over its rows.
constexpr int MostRuns = 64;

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

// The runs [first, last] of rows for which taken holds, in ascending order.
template <typename Row, typename Taken>
std::vector<std::pair<int, int>> runsOf(const std::vector<Row>& rows, Taken taken)
{
    std::vector<std::pair<int, int>> runs;
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        if (!taken(rows[static_cast<std::size_t>(row)]))
            continue;
        if (!runs.empty() && runs.back().second == row - 1)
            runs.back().second = row;
        else
            runs.emplace_back(row, row);
    }
    return runs;
}

}  // namespace

ReadabilityLines::ReadabilityLines(const FormModel* form, QObject* parent) : QAbstractTableModel(parent), m_form(form)
{
}

std::vector<Finding> ReadabilityLines::findingsNow(TPalmoControl* control, const QStringList& paths) const
{
    const auto before = m_findings.constFind(control);
    if (paths.isEmpty() || before == m_findings.constEnd() || m_measuredWith != m_thresholds)
        return Readability::findingsOf(*control, m_thresholds);
    return Readability::findingsAfter(*control, m_thresholds, *before, paths);
}

void ReadabilityLines::updateAll(const QStringList& paths)
{
    QSet<const TPalmoControl*> touched;
    touched.reserve(m_form->count());
    // Each control's entry is updated where it is; those of controls gone are taken out.
    for (TPalmoControl* control : m_form->controls()) {
        std::vector<Finding> now = findingsNow(control, paths);
        m_findings[control] = std::move(now);
        touched.insert(control);
    }
    if (m_findings.size() != touched.size())
        m_findings.removeIf([&](const auto& entry) { return !touched.contains(entry.key()); });
    m_measuredWith = m_thresholds;
    replaceRows(linesNow(), touched);
}

void ReadabilityLines::update(const QSet<TPalmoControl*>& controls, const QStringList& paths)
{
    if (m_measuredWith != m_thresholds) {
        updateAll();
        return;
    }
    QSet<const TPalmoControl*> touched;
    for (TPalmoControl* control : controls) {
        touched.insert(control);
        if (m_form->indexOf(control) >= 0)
            m_findings.insert(control, findingsNow(control, paths));
        else
            m_findings.remove(control);
    }
    replaceRows(linesNow(), touched);
}

void ReadabilityLines::forget(TPalmoControl* control)
{
    const auto found = m_findings.find(control);
    if (found == m_findings.end())
        return;
    for (const Finding& finding : *found)
        --m_counts[static_cast<int>(finding.kind)];
    m_findings.erase(found);
    for (Line& line : m_lines)
        if (line.control == control)
            line.control = nullptr;
}

std::vector<ReadabilityLines::Line> ReadabilityLines::linesNow() const
{
    std::vector<Line> lines;
    for (TPalmoControl* control : m_form->controls()) {
        const auto found = m_findings.constFind(control);
        if (found == m_findings.constEnd())
            continue;
        for (std::size_t i = 0; i < found->size(); ++i)
            if (!m_shownKind || (*found)[i].kind == *m_shownKind)
                lines.push_back({control, static_cast<int>(i)});
    }
    return lines;
}

void ReadabilityLines::replaceRows(std::vector<Line> lines, const QSet<const TPalmoControl*>& touched)
{
    countFindings();
    // A control with as many rows as before keeps them (their texts may change): only the rows
    // of the controls whose number of rows changed are replaced.
    QHash<const TPalmoControl*, int> before, after;
    for (const Line& line : m_lines)
        ++before[line.control];
    for (const Line& line : lines)
        ++after[line.control];
    QSet<const TPalmoControl*> moved;
    for (const TPalmoControl* control : touched)
        if (before.value(control) != after.value(control))
            moved.insert(control);
    // Rows left blank, or of a control listed afresh, come out; then each run of new rows goes in
    // at its place, in order, so that the rows end as lines.
    const auto out = runsOf(m_lines, [&](const Line& line) { return !line.control || moved.contains(line.control); });
    const auto in = runsOf(lines, [&](const Line& line) { return moved.contains(line.control); });
    if (out.size() + in.size() > MostRuns) {
        beginResetModel();
        m_lines = std::move(lines);
        endResetModel();
        return;
    }
    for (auto run = out.rbegin(); run != out.rend(); ++run) {
        beginRemoveRows(QModelIndex(), run->first, run->second);
        m_lines.erase(m_lines.begin() + run->first, m_lines.begin() + run->second + 1);
        endRemoveRows();
    }
    for (const auto& [first, last] : in) {
        beginInsertRows(QModelIndex(), first, last);
        m_lines.insert(m_lines.begin() + first, lines.begin() + first, lines.begin() + last + 1);
        endInsertRows();
    }
    // The rows now stand where the lines do; a control whose findings differ in kind but not in
    // number shows its new ones.
    m_lines = std::move(lines);
    if (!m_lines.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

void ReadabilityLines::countFindings()
{
    std::fill(std::begin(m_counts), std::end(m_counts), 0);
    for (const std::vector<Finding>& findings : std::as_const(m_findings))
        for (const Finding& finding : findings)
            ++m_counts[static_cast<int>(finding.kind)];
}

const Finding* ReadabilityLines::findingAt(int row) const
{
    if (row < 0 || row >= rowCount() || !m_lines[static_cast<std::size_t>(row)].control)
        return nullptr;
    const Line& line = m_lines[static_cast<std::size_t>(row)];
    const auto found = m_findings.constFind(line.control);
    if (found == m_findings.constEnd() || line.index >= static_cast<int>(found->size()))
        return nullptr;
    return &(*found)[static_cast<std::size_t>(line.index)];
}

int ReadabilityLines::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_lines.size());
}

int ReadabilityLines::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ReadabilityLines::data(const QModelIndex& index, int role) const
{
    const Finding* finding = index.isValid() ? findingAt(index.row()) : nullptr;
    if (!finding)
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case ControlColumn:    return finding->control->Name();
        case TextColumn:       return finding->firstPath;
        case BackgroundColumn: return finding->secondPath;
        case MeasureColumn:    return Readability::measureText(*finding);
        case KindColumn:       return Readability::kindName(finding->kind);
        }
        return QVariant();
    case Qt::ToolTipRole:
        return wrappedToolTip({Readability::describe(*finding), meaningOf(finding->kind)});
    case Qt::StatusTipRole:
        return Readability::describe(*finding);
    }
    return QVariant();
}

QVariant ReadabilityLines::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    switch (section) {
    case ControlColumn:    return tr("Control");
    case TextColumn:       return tr("Colour");
    case BackgroundColumn: return tr("On or against");
    case MeasureColumn:    return tr("Measure");
    case KindColumn:       return tr("Kind");
    }
    return QVariant();
}
