#include "core/ContrastCheck.h"

#include "core/ControlClasses.h"
#include "core/FormModel.h"
#include "core/FormProperties.h"

#include "host/cvcolor/CVColor.h"
#include "host/palmo/PalmoControl.h"
#include "host/vcl/ColorType.h"
#include "host/vcl/Contrast.h"
#include "host/vcl/Graphics.h"


#include <algorithm>
#include <cmath>
#include <limits>

namespace {

struct Channels {
    int r, g, b;
};

Channels channelsOf(TColor color)
{
    const TColor rgb = ColorToRGB(color);
    return {rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF};
}

bool isNeutral(const Channels& c)
{
    return std::max({c.r, c.g, c.b}) - std::min({c.r, c.g, c.b}) <= ContrastCheck::NeutralChroma;
}

// The HSV hue in degrees, 0 … 360 (for a colour that is not neutral).
double hueOf(const Channels& c)
{
    const int max = std::max({c.r, c.g, c.b});
    const double chroma = max - std::min({c.r, c.g, c.b});
    double sector;
    if (max == c.r)
        sector = std::fmod((c.g - c.b) / chroma + 6, 6);
    else if (max == c.g)
        sector = (c.b - c.r) / chroma + 2;
    else
        sector = (c.r - c.g) / chroma + 4;
    return sector * 60;
}

bool sameFamily(const Channels& a, const Channels& b)
{
    if (isNeutral(a) || isNeutral(b))
        return isNeutral(a) == isNeutral(b);
    const double apart = std::abs(hueOf(a) - hueOf(b));
    return std::min(apart, 360 - apart) <= ContrastCheck::HueTolerance;
}

int distanceSquared(const Channels& a, const Channels& b)
{
    return (a.r - b.r) * (a.r - b.r) + (a.g - b.g) * (a.g - b.g) + (a.b - b.b) * (a.b - b.b);
}

// The stored colour of a colour property; none for a property of another kind.
std::optional<TColor> storedColorOf(const FormProperty& property)
{
    const ValueKind kind = kindOf(property.property);
    if (kind != ValueKind::FrameworkColor && kind != ValueKind::ToolkitColor)
        return std::nullopt;
    return colorOf(property.owner, property.property);
}

}  // namespace

namespace ContrastCheck {

std::vector<ContrastPair> pairsOf(TPalmoControl& control, const QStringList& touching)
{
    std::vector<ContrastPair> pairs;
    for (const TextPair& declared : textPairsOf(control)) {
        if (!touching.isEmpty() && !touching.contains(declared.text) && !touching.contains(declared.background))
            continue;
        const std::optional<FormProperty> text = propertyAt(&control, declared.text);
        const std::optional<FormProperty> background = propertyAt(&control, declared.background);
        if (!text || !background)
            continue;
        const std::optional<TColor> backgroundColor = storedColorOf(*background);
        // A chosen colour is chosen as the preview paints it.
        const std::optional<TColor> textColor =
            declared.chosenColor && backgroundColor ? std::optional(LegibleTextOn(*backgroundColor)) : storedColorOf(*text);
        if (!textColor || !backgroundColor)
            continue;
        const QString textValue = declared.chosenColor ? (*textColor == clBlack ? QStringLiteral("Black, chosen")
                                                                               : QStringLiteral("White, chosen"))
                                                       : valueText(text->owner, text->property);
        pairs.push_back({&control, declared.text, declared.background, textValue,
                         valueText(background->owner, background->property), *textColor, *backgroundColor,
                         ContrastRatio(*textColor, *backgroundColor), declared.chosenColor});
    }
    return pairs;
}

std::vector<ContrastPair> failing(const FormModel& form)
{
    std::vector<ContrastPair> below;
    for (TPalmoControl* control : form.controls())
        for (ContrastPair& pair : pairsOf(*control))
            if (pair.ratio < MinimumTextContrast)
                below.push_back(std::move(pair));
    return below;
}

std::optional<ContrastPair> worst(TPalmoControl& control, const QString& textPath)
{
    std::optional<ContrastPair> lowest;
    for (ContrastPair& pair : pairsOf(control))
        if (pair.textPath == textPath && (!lowest || pair.ratio < lowest->ratio))
            lowest = std::move(pair);
    return lowest;
}

bool isNeutral(TColor color)
{
    return ::isNeutral(channelsOf(color));
}

int nearestInFamily(TColor wanted, const std::function<bool(TColor)>& passes, bool neutralOnly)
{
    const Channels channels = channelsOf(wanted);
    int best = -1;
    int bestDistance = std::numeric_limits<int>::max();
    for (int i = 0; i < WebColorCount; ++i) {
        const Channels candidate = channelsOf(CVColors[i].Value);
        const bool inFamily = neutralOnly ? ::isNeutral(candidate) : sameFamily(channels, candidate);
        if (!inFamily || !passes(CVColors[i].Value))
            continue;
        if (const int distance = distanceSquared(channels, candidate); distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

int suggestion(TColor text, TColor background)
{
    const auto reads = [background](TColor candidate) { return ContrastRatio(candidate, background) >= MinimumTextContrast; };
    const int inFamily = nearestInFamily(text, reads);
    return inFamily >= 0 ? inFamily : nearestInFamily(text, reads, true);
}

QString ratioText(double ratio)
{
    // The tiny allowance keeps a ratio computed as 20.999999… for 21 from showing as 20.99.
    const double cut = std::floor(ratio * 100 + 1e-9) / 100;
    QString text = QString::number(cut, 'f', 2);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    return text + QStringLiteral(":1");
}

QString describe(const ContrastPair& pair)
{
    QString text = QStringLiteral("%1 %2 (%3) on %4 (%5) has contrast %6, below %7")
                       .arg(pair.control->Name(), pair.textPath, pair.textValue, pair.backgroundPath, pair.backgroundValue,
                            ratioText(pair.ratio), ratioText(MinimumTextContrast));
    if (const int better = suggestion(pair.text, pair.background); better >= 0)
        text += QStringLiteral("; try %1").arg(CVColors[better].Name);
    return text;
}

}  // namespace ContrastCheck
