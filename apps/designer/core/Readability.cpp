#include "core/Readability.h"

#include "core/ContrastCheck.h"
#include "core/ControlClasses.h"
#include "core/FormModel.h"
#include "core/StateCheck.h"

#include "host/palmo/PalmoControl.h"
#include "host/vcl/Contrast.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace {

// ΔE to one decimal, never rounded up past the limit it is compared with: 9.96 shows as 9.9.
QString deltaEText(double deltaE)
{
    return QString::number(std::floor(deltaE * 10 + 1e-9) / 10, 'f', 1);
}

Finding textFinding(const ContrastPair& pair)
{
    Finding finding;
    finding.kind = FindingKind::TextContrast;
    finding.control = pair.control;
    finding.firstPath = pair.textPath;
    finding.secondPath = pair.backgroundPath;
    finding.firstValue = pair.textValue;
    finding.secondValue = pair.backgroundValue;
    finding.first = pair.text;
    finding.second = pair.background;
    finding.measure = pair.ratio;
    finding.threshold = MinimumTextContrast;
    return finding;
}

Finding stateFinding(const StatePairColors& pair, FindingKind kind, double measure, double threshold)
{
    Finding finding;
    finding.kind = kind;
    finding.control = pair.control;
    finding.firstPath = pair.statePath;
    finding.secondPath = pair.otherPath;
    finding.firstValue = pair.stateValue;
    finding.secondValue = pair.otherValue;
    finding.first = pair.state;
    finding.second = pair.other;
    finding.meaning = pair.meaning;
    finding.measure = measure;
    finding.threshold = threshold;
    return finding;
}

// The findings of the control's pairs with a colour at one of the paths (every pair when empty).
std::vector<Finding> findingsTouching(TPalmoControl& control, const ReadabilityThresholds& thresholds,
                                      const QStringList& paths)
{
    std::vector<Finding> found;
    for (const ContrastPair& pair : ContrastCheck::pairsOf(control, paths))
        if (pair.ratio < MinimumTextContrast)
            found.push_back(textFinding(pair));
    for (const StatePairColors& pair : StateCheck::pairsOf(control, paths)) {
        for (std::size_t i = 0; i < std::size(StateCheck::Dichromacies); ++i)
            if (pair.deltaEs[i] < thresholds.minimumDeltaE) {
                found.push_back(stateFinding(pair, FindingKind::StateDifference, pair.deltaEs[i], thresholds.minimumDeltaE));
                found.back().vision = StateCheck::Dichromacies[i];
            }
        if (pair.luminanceRatio < thresholds.minimumLuminanceRatio)
            found.push_back(stateFinding(pair, FindingKind::WithoutColour, pair.luminanceRatio, thresholds.minimumLuminanceRatio));
    }
    return found;
}

}  // namespace

namespace Readability {

std::vector<Finding> findingsOf(TPalmoControl& control, const ReadabilityThresholds& thresholds)
{
    return findingsTouching(control, thresholds, {});
}

std::vector<Finding> findingsAfter(TPalmoControl& control, const ReadabilityThresholds& thresholds,
                                   const std::vector<Finding>& before, const QStringList& paths)
{
    const bool counts = std::any_of(paths.begin(), paths.end(), [](const QString& path) {
        return path == QLatin1String("Count") || path.endsWith(QLatin1String(".Count"));
    });
    if (paths.isEmpty() || counts)
        return findingsOf(control, thresholds);
    const std::vector<Finding> fresh = findingsTouching(control, thresholds, paths);
    // In the class's order: for each declared pair, its findings measured now when it has a
    // colour at a changed path, else those it had.
    std::vector<Finding> found;
    // A pair declared twice has its findings listed once, as fresh and before have them.
    std::vector<std::tuple<QString, QString, bool>> taken;
    const auto take = [&](const QString& first, const QString& second, bool text) {
        if (std::find(taken.begin(), taken.end(), std::tuple(first, second, text)) != taken.end())
            return;
        taken.emplace_back(first, second, text);
        const bool changed = paths.contains(first) || paths.contains(second);
        for (const Finding& finding : changed ? fresh : before)
            if ((finding.kind == FindingKind::TextContrast) == text && finding.firstPath == first
                && finding.secondPath == second)
                found.push_back(finding);
    };
    for (const TextPair& pair : textPairsOf(control))
        take(pair.text, pair.background, true);
    for (const StatePair& pair : statePairsOf(control))
        take(pair.state, pair.other, false);
    return found;
}

std::vector<Finding> findings(const FormModel& form, const ReadabilityThresholds& thresholds)
{
    std::vector<Finding> all;
    for (TPalmoControl* control : form.controls())
        for (Finding& finding : findingsOf(*control, thresholds))
            all.push_back(std::move(finding));
    return all;
}

std::vector<Finding> findings(const FormModel& form, const ReadabilityThresholds& thresholds,
                              const std::vector<FormControlSource>& sources)
{
    std::vector<Finding> all;
    for (std::size_t i = 0; i < form.controls().size() && i < sources.size(); ++i)
        for (Finding& finding : findingsOf(*form.controls()[i], thresholds)) {
            finding.place = placeOf(finding, sources[i]);
            all.push_back(std::move(finding));
        }
    std::stable_sort(all.begin(), all.end(), [](const Finding& a, const Finding& b) {
        return std::pair(a.place.line, a.place.column) < std::pair(b.place.line, b.place.column);
    });
    return all;
}

FormPosition placeOf(const Finding& finding, const FormControlSource& source)
{
    const auto first = source.values.constFind(finding.firstPath);
    const auto second = source.values.constFind(finding.secondPath);
    const bool hasFirst = first != source.values.constEnd();
    const bool hasSecond = second != source.values.constEnd();
    if (hasFirst && hasSecond)
        return std::pair(first->line, first->column) <= std::pair(second->line, second->column) ? *first : *second;
    if (hasFirst)
        return *first;
    if (hasSecond)
        return *second;
    return source.object;
}

bool concerns(const Finding& finding, const QString& path)
{
    return finding.firstPath == path || finding.secondPath == path;
}

QString kindName(FindingKind kind)
{
    switch (kind) {
    case FindingKind::TextContrast:    return QStringLiteral("Text contrast");
    case FindingKind::StateDifference: return QStringLiteral("State colours");
    case FindingKind::WithoutColour:   return QStringLiteral("Without colour");
    }
    return QString();
}

QString measureValueText(FindingKind kind, double measure)
{
    return kind == FindingKind::StateDifference ? QStringLiteral("\u0394E %1").arg(deltaEText(measure))
                                                : ContrastCheck::ratioText(measure);
}

QString markText(const Finding& finding)
{
    return finding.kind == FindingKind::StateDifference
               ? QStringLiteral("%1 < %2").arg(measureValueText(finding.kind, finding.measure), QString::number(finding.threshold))
               : QStringLiteral("%1 < %2").arg(measureValueText(finding.kind, finding.measure), ContrastCheck::ratioText(finding.threshold));
}

QString measureText(const Finding& finding)
{
    switch (finding.kind) {
    case FindingKind::TextContrast:
        return QStringLiteral("contrast %1 < %2").arg(ContrastCheck::ratioText(finding.measure), ContrastCheck::ratioText(finding.threshold));
    case FindingKind::StateDifference:
        return QStringLiteral("\u0394E %1 < %2 under %3")
            .arg(deltaEText(finding.measure), QString::number(finding.threshold),
                 QString::fromLatin1(visionName(finding.vision)).toLower());
    case FindingKind::WithoutColour:
        return QStringLiteral("luminance %1 < %2 without colour")
            .arg(ContrastCheck::ratioText(finding.measure), ContrastCheck::ratioText(finding.threshold));
    }
    return QString();
}

QString describe(const Finding& finding)
{
    const QString name = finding.control ? finding.control->Name() : QString();
    if (finding.kind == FindingKind::TextContrast)
        return QStringLiteral("%1 %2 (%3) on %4 (%5): %6")
            .arg(name, finding.firstPath, finding.firstValue, finding.secondPath, finding.secondValue, measureText(finding));
    return QStringLiteral("%1 %2 (%3) against %4 (%5), %6: %7")
        .arg(name, finding.firstPath, finding.firstValue, finding.secondPath, finding.secondValue, finding.meaning,
             measureText(finding));
}

}  // namespace Readability
