#include "core/StateCheck.h"

#include "core/ColorDifference.h"
#include "core/ContrastCheck.h"
#include "core/ControlClasses.h"
#include "core/FormModel.h"
#include "core/FormProperties.h"

#include "host/cvcolor/CVColor.h"
#include "host/palmo/PalmoControl.h"
#include "host/vcl/Contrast.h"
#include "host/vcl/Graphics.h"

#include <QHash>
#include <QSettings>

#include <algorithm>
#include <cmath>

namespace {

const QString DeltaEKey = QStringLiteral("readability/minimumDeltaE");

Rgb8 rgbOf(TColor color)
{
    const TColor rgb = ColorToRGB(color);
    return {static_cast<std::uint8_t>(rgb & 0xFF), static_cast<std::uint8_t>((rgb >> 8) & 0xFF),
            static_cast<std::uint8_t>((rgb >> 16) & 0xFF)};
}

// Two colours as one key, each as it paints (a system colour resolved through today's palette),
// for the memos below.
quint64 keyOf(TColor first, TColor second)
{
    return (quint64(quint32(ColorToRGB(first))) << 32) | quint32(ColorToRGB(second));
}

// ContrastRatio (WCAG) of two colours, each colour's luminance worked out once.
double ratioOf(TColor first, TColor second)
{
    thread_local QHash<TColor, double> known;
    const auto luminance = [](TColor color) {
        const TColor rgb = ColorToRGB(color);
        if (const auto found = known.constFind(rgb); found != known.constEnd())
            return *found;
        if (known.size() > 100000)
            known.clear();
        const double value = RelativeLuminance(rgb);
        known.insert(rgb, value);
        return value;
    };
    const double a = luminance(first);
    const double b = luminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

bool byHueAlone(const StatePairColors& pair)
{
    return pair.luminanceRatio < StateCheck::MinimumLuminanceRatio && !ContrastCheck::isNeutral(pair.state) &&
           !ContrastCheck::isNeutral(pair.other);
}

QString visionWord(Vision vision)
{
    return QString::fromLatin1(visionName(vision)).toLower();
}

// ΔE to one decimal, never rounded up past the limit it is compared with: 9.96 shows as 9.9.
QString deltaEText(double deltaE)
{
    return QString::number(std::floor(deltaE * 10 + 1e-9) / 10, 'f', 1);
}

}  // namespace

namespace StateCheck {

double minimumDeltaE()
{
    bool ok = false;
    const double stored = QSettings().value(DeltaEKey).toDouble(&ok);
    return ok && stored > 0 && stored <= 100 ? stored : DefaultMinimumDeltaE;
}

void setMinimumDeltaE(double deltaE)
{
    QSettings().setValue(DeltaEKey, deltaE);
}

double deltaE(TColor first, TColor second, Vision vision)
{
    // A form repeats a few colours over many controls, and a suggestion tries each web colour
    // against the same one: each difference is worked out once (per thread; the memo is small,
    // and starts again when it is not).
    thread_local QHash<std::pair<quint64, int>, double> known;
    const std::pair<quint64, int> key{keyOf(first, second), int(vision)};
    if (const auto found = known.constFind(key); found != known.constEnd())
        return *found;
    if (known.size() > 100000)
        known.clear();
    const double apart = ciede2000(labOf(simulate(vision, rgbOf(first))), labOf(simulate(vision, rgbOf(second))));
    known.insert(key, apart);
    return apart;
}

std::vector<StatePairColors> pairsOf(TPalmoControl& control)
{
    const auto colorAt = [&](const QString& path) -> std::optional<FormProperty> {
        std::optional<FormProperty> found = propertyAt(&control, path);
        if (!found)
            return std::nullopt;
        const ValueKind kind = kindOf(found->property);
        return kind == ValueKind::FrameworkColor || kind == ValueKind::ToolkitColor ? found : std::nullopt;
    };
    std::vector<StatePairColors> pairs;
    for (const StatePair& declared : statePairsOf(control)) {
        const std::optional<FormProperty> state = colorAt(declared.state);
        const std::optional<FormProperty> other = colorAt(declared.other);
        if (!state || !other)
            continue;
        StatePairColors pair{&control, declared.state, declared.other, declared.meaning,
                             valueText(state->owner, state->property), valueText(other->owner, other->property),
                             colorOf(state->owner, state->property), colorOf(other->owner, other->property)};
        pair.luminanceRatio = ratioOf(pair.state, pair.other);
        for (std::size_t i = 0; i < std::size(Dichromacies); ++i)
            pair.deltaEs[i] = deltaE(pair.state, pair.other, Dichromacies[i]);
        pairs.push_back(std::move(pair));
    }
    return pairs;
}

std::vector<StateWarning> warningsOf(const StatePairColors& pair, double minimumDeltaE)
{
    const bool hueOnly = byHueAlone(pair);
    std::vector<StateWarning> warnings;
    for (std::size_t i = 0; i < std::size(Dichromacies); ++i) {
        const Vision vision = Dichromacies[i];
        const double apart = pair.deltaEs[i];
        // Hue is the cue red-green dichromats lose first: a pair told apart by hue alone fails
        // for them whatever the simulated difference.
        const bool redGreen = vision == Vision::Protanopia || vision == Vision::Deuteranopia;
        if (apart < minimumDeltaE || (hueOnly && redGreen))
            warnings.push_back({pair, vision, apart, hueOnly});
    }
    return warnings;
}

std::vector<StateWarning> failing(const FormModel& form, double minimumDeltaE)
{
    std::vector<StateWarning> all;
    for (TPalmoControl* control : form.controls())
        for (const StatePairColors& pair : pairsOf(*control))
            for (StateWarning& warning : warningsOf(pair, minimumDeltaE))
                all.push_back(std::move(warning));
    return all;
}

std::optional<StateWarning> worst(TPalmoControl& control, const QString& path, double minimumDeltaE)
{
    for (const StatePairColors& pair : pairsOf(control))
        if (pair.statePath == path || pair.otherPath == path)
            if (std::vector<StateWarning> warnings = warningsOf(pair, minimumDeltaE); !warnings.empty())
                return *std::min_element(warnings.begin(), warnings.end(),
                                         [](const StateWarning& a, const StateWarning& b) { return a.deltaE < b.deltaE; });
    return std::nullopt;
}

int suggestion(TColor state, TColor other, double minimumDeltaE)
{
    // The same pair comes back for every control that has it: the answer is kept.
    thread_local QHash<std::pair<quint64, double>, int> known;
    const std::pair<quint64, double> key{keyOf(state, other), minimumDeltaE};
    if (const auto found = known.constFind(key); found != known.constEnd())
        return *found;
    if (known.size() > 10000)
        known.clear();
    const int best = ContrastCheck::nearestInFamily(state, [&](TColor candidate) {
        StatePairColors pair;
        pair.state = candidate;
        pair.other = other;
        pair.luminanceRatio = ratioOf(candidate, other);
        if (byHueAlone(pair))
            return false;
        return std::all_of(std::begin(Dichromacies), std::end(Dichromacies),
                           [&](Vision vision) { return deltaE(candidate, other, vision) >= minimumDeltaE; });
    });
    known.insert(key, best);
    return best;
}

QString describe(const StateWarning& warning, double minimumDeltaE)
{
    const StatePairColors& pair = warning.pair;
    QString text = QStringLiteral("%1 %2 (%3) against %4 (%5), %6,")
                       .arg(pair.control->Name(), pair.statePath, pair.stateValue, pair.otherPath, pair.otherValue,
                            pair.meaning);
    if (warning.deltaE < minimumDeltaE)
        text += QStringLiteral(" differ by \u0394E %1 with %2, below %3")
                    .arg(deltaEText(warning.deltaE), visionWord(warning.vision), QString::number(minimumDeltaE));
    else
        text += QStringLiteral(" differ by \u0394E %1 with %2").arg(deltaEText(warning.deltaE), visionWord(warning.vision));
    if (warning.hueOnly)
        text += QStringLiteral("; only hue tells them apart (luminance ratio %1, below %2)")
                    .arg(ContrastCheck::ratioText(pair.luminanceRatio), ContrastCheck::ratioText(MinimumLuminanceRatio));
    if (const int better = suggestion(pair.state, pair.other, minimumDeltaE); better >= 0)
        text += QStringLiteral("; try %1").arg(CVColors[better].Name);
    return text;
}

}  // namespace StateCheck
