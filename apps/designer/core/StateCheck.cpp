#include "core/StateCheck.h"

#include "core/ColorDifference.h"
#include "core/ControlClasses.h"
#include "core/FormModel.h"
#include "core/FormProperties.h"

#include "host/palmo/PalmoControl.h"
#include "host/vcl/Contrast.h"
#include "host/vcl/Graphics.h"

#include <QHash>

#include <algorithm>
#include <cmath>

namespace {

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

}  // namespace

namespace StateCheck {

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

std::vector<StatePairColors> pairsOf(TPalmoControl& control, const QStringList& touching)
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
        if (!touching.isEmpty() && !touching.contains(declared.state) && !touching.contains(declared.other))
            continue;
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

}  // namespace StateCheck
