#include "core/ReadabilityFix.h"

#include "core/ColorDifference.h"
#include "core/ContrastCheck.h"
#include "core/ControlClasses.h"
#include "core/FormProperties.h"
#include "core/StateCheck.h"

#include "host/cvcolor/CVColor.h"
#include "host/palmo/PalmoControl.h"
#include "host/vcl/ColorType.h"
#include "host/vcl/Contrast.h"

#include <QHash>
#include <QVariant>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

Rgb8 rgbOf(TColor color)
{
    const TColor rgb = ColorToRGB(color);
    return {static_cast<std::uint8_t>(rgb & 0xFF), static_cast<std::uint8_t>((rgb >> 8) & 0xFF),
            static_cast<std::uint8_t>((rgb >> 16) & 0xFF)};
}

TColor colorOf(Rgb8 c)
{
    return TColor(c.r) | TColor(c.g) << 8 | TColor(c.b) << 16;
}

double ratioOf(double a, double b)
{
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

// One search for the nearest passing colour. Every pair is judged with the same arithmetic as
// the report's (ContrastRatio's luminances, CIEDE2000 of the simulated colours, each pair's
// colours in the report's order), so that a colour found here passes there.
//
// The passing colours are a union of regions bounded by a luminance or a simulated-difference
// surface, and the nearest one lies on such a boundary. The search:
//   1. starts where the passing region begins in many directions from the colour: along 98
//      rays (every direction of a 5 × 5 × 5 cube's shell), and along the straight lines to the
//      few passing points of a coarse lattice (9 levels a channel) nearest to the colour;
//   2. from the nearest eight starts, a descent over the grid moves to the nearest passing
//      neighbour among the 26 around it, 16 levels apart, then 8, 4, 2 and 1, while one is nearer.
// The nearest end point is the answer.
class NearestSearch {
public:
    NearestSearch(Rgb8 from, const std::vector<ColorRequirement>& requirements, const ReadabilityThresholds& thresholds)
        : m_from(from), m_target(labOf(from)), m_thresholds(thresholds)
    {
        for (const ColorRequirement& requirement : requirements) {
            Partner partner{requirement, RelativeLuminance(requirement.partner), {}};
            if (!requirement.textContrast)
                for (std::size_t i = 0; i < std::size(StateCheck::Dichromacies); ++i)
                    partner.seen[i] = labOf(simulate(StateCheck::Dichromacies[i], rgbOf(requirement.partner)));
            m_partners.push_back(partner);
        }
    }

    bool passes(Rgb8 c) const
    {
        const double luminance = RelativeLuminance(colorOf(c));
        for (const Partner& partner : m_partners) {
            const double ratio = ratioOf(luminance, partner.luminance);
            if (partner.requirement.textContrast) {
                if (ratio < MinimumTextContrast)
                    return false;
                continue;
            }
            if (ratio < m_thresholds.minimumLuminanceRatio)
                return false;
            for (std::size_t i = 0; i < std::size(StateCheck::Dichromacies); ++i) {
                const Lab seen = labOf(simulate(StateCheck::Dichromacies[i], c));
                const double apart = partner.requirement.fixedIsFirst ? ciede2000(seen, partner.seen[i])
                                                                      : ciede2000(partner.seen[i], seen);
                if (apart < m_thresholds.minimumDeltaE)
                    return false;
            }
        }
        return true;
    }

    std::optional<Rgb8> run() const
    {
        if (passes(m_from))
            return m_from;
        std::vector<Rgb8> starts;
        for (const Rgb8 seed : latticeSeeds(9))
            starts.push_back(boundary(seed));
        for (int dr = -2; dr <= 2; ++dr)
            for (int dg = -2; dg <= 2; ++dg)
                for (int db = -2; db <= 2; ++db)
                    if (std::max({std::abs(dr), std::abs(dg), std::abs(db)}) == 2 || (std::abs(dr) + std::abs(dg) + std::abs(db) == 1))
                        if (const std::optional<Rgb8> entry = alongRay(dr, dg, db))
                            starts.push_back(*entry);
        if (starts.empty())
            for (const Rgb8 seed : latticeSeeds(17))
                starts.push_back(boundary(seed));
        // The nearest few starts, each once, are descended from.
        std::vector<std::pair<double, Rgb8>> ranked;
        for (const Rgb8 start : starts)
            ranked.emplace_back(objective(start), start);
        std::sort(ranked.begin(), ranked.end(), nearerFirst);
        ranked.erase(std::unique(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.second == b.second; }),
                     ranked.end());
        std::optional<Rgb8> best;
        double bestDistance = 0;
        for (std::size_t i = 0; i < ranked.size() && i < MostDescents; ++i) {
            const Rgb8 end = descend(ranked[i].second);
            const double distance = objective(end);
            if (!best || nearerFirst({distance, end}, {bestDistance, *best})) {
                best = end;
                bestDistance = distance;
            }
        }
        return best;
    }

private:
    struct Partner {
        ColorRequirement requirement;
        double luminance;
        Lab seen[3];
    };

    static constexpr std::size_t MostDescents = 8;

    static std::uint32_t packed(Rgb8 c) { return colorOf(c); }

    static bool nearerFirst(const std::pair<double, Rgb8>& a, const std::pair<double, Rgb8>& b)
    {
        return a.first != b.first ? a.first < b.first : packed(a.second) < packed(b.second);
    }

    // Where the ray from the colour in direction d first passes: walked 8 levels at a time along
    // d's longest component, then bisected; none when it leaves the grid first.
    std::optional<Rgb8> alongRay(int dr, int dg, int db) const
    {
        const double longest = std::max({std::abs(dr), std::abs(dg), std::abs(db)});
        const auto at = [&](double t) -> std::optional<Rgb8> {
            const auto level = [&](int from, int d) { return std::lround(from + d * t / longest); };
            const long r = level(m_from.r, dr), g = level(m_from.g, dg), b = level(m_from.b, db);
            if (r < 0 || r > 255 || g < 0 || g > 255 || b < 0 || b > 255)
                return std::nullopt;
            return Rgb8{std::uint8_t(r), std::uint8_t(g), std::uint8_t(b)};
        };
        double failing = 0;
        for (double t = 8;; t += 8) {
            const std::optional<Rgb8> point = at(t);
            if (!point)
                return std::nullopt;
            if (!passes(*point)) {
                failing = t;
                continue;
            }
            double passing = t;
            for (int i = 0; i < 3; ++i) {
                const double middle = (failing + passing) / 2;
                const std::optional<Rgb8> inside = at(middle);
                (inside && passes(*inside) ? passing : failing) = middle;
            }
            return at(passing);
        }
    }

    double objective(Rgb8 c) const { return ciede2000(m_target, labOf(c)); }

    // The passing points of a lattice of levels × levels × levels nearest to the colour, at most
    // six, nearest first.
    std::vector<Rgb8> latticeSeeds(int levels) const
    {
        std::vector<std::pair<double, Rgb8>> lattice;
        lattice.reserve(static_cast<std::size_t>(levels * levels * levels));
        const auto level = [levels](int i) { return static_cast<std::uint8_t>(std::min(255, i * 256 / (levels - 1))); };
        for (int r = 0; r < levels; ++r)
            for (int g = 0; g < levels; ++g)
                for (int b = 0; b < levels; ++b) {
                    const Rgb8 c{level(r), level(g), level(b)};
                    lattice.emplace_back(objective(c), c);
                }
        std::sort(lattice.begin(), lattice.end(), nearerFirst);
        std::vector<Rgb8> seeds;
        for (const auto& [distance, c] : lattice)
            if (passes(c) && seeds.size() < 6)
                seeds.push_back(c);
        return seeds;
    }

    // Where the straight line from the colour (which fails) to a passing point first passes, to
    // within a thousandth of its length.
    Rgb8 boundary(Rgb8 passing) const
    {
        const auto at = [&](double t) {
            const auto mix = [t](int a, int b) { return static_cast<std::uint8_t>(std::lround(a + t * (b - a))); };
            return Rgb8{mix(m_from.r, passing.r), mix(m_from.g, passing.g), mix(m_from.b, passing.b)};
        };
        double low = 0, high = 1;
        for (int i = 0; i < 10; ++i) {
            const double middle = (low + high) / 2;
            (passes(at(middle)) ? high : low) = middle;
        }
        const Rgb8 found = at(high);
        return passes(found) ? found : passing;
    }

    Rgb8 descend(Rgb8 current) const
    {
        double distance = objective(current);
        for (int step = 16; step >= 1; step /= 2) {
            // Each move is strictly nearer, and there are finitely many colours: it ends.
            for (;;) {
                std::array<std::pair<double, Rgb8>, 26> nearer;
                std::size_t count = 0;
                for (int dr = -1; dr <= 1; ++dr)
                    for (int dg = -1; dg <= 1; ++dg)
                        for (int db = -1; db <= 1; ++db) {
                            const auto move = [step](int level, int d) {
                                return static_cast<std::uint8_t>(std::clamp(level + d * step, 0, 255));
                            };
                            const Rgb8 n{move(current.r, dr), move(current.g, dg), move(current.b, db)};
                            if (n == current)
                                continue;
                            if (const double d = objective(n); d < distance)
                                nearer[count++] = {d, n};
                        }
                std::sort(nearer.begin(), nearer.begin() + static_cast<std::ptrdiff_t>(count), nearerFirst);
                const auto next = std::find_if(nearer.begin(), nearer.begin() + static_cast<std::ptrdiff_t>(count),
                                               [this](const auto& candidate) { return passes(candidate.second); });
                if (next == nearer.begin() + static_cast<std::ptrdiff_t>(count))
                    break;
                current = next->second;
                distance = next->first;
            }
        }
        return current;
    }

    Rgb8 m_from;
    Lab m_target;
    ReadabilityThresholds m_thresholds;
    std::vector<Partner> m_partners;
};

std::optional<FormProperty> colorPropertyAt(TPalmoControl& control, const QString& path)
{
    std::optional<FormProperty> found = propertyAt(&control, path);
    if (!found)
        return std::nullopt;
    const ValueKind kind = kindOf(found->property);
    return kind == ValueKind::FrameworkColor || kind == ValueKind::ToolkitColor ? found : std::nullopt;
}

// The finding's measure had its colour at path been `to`.
double measureWith(const Finding& finding, bool firstChanges, TColor to)
{
    const TColor first = firstChanges ? to : finding.first;
    const TColor second = firstChanges ? finding.second : to;
    switch (finding.kind) {
    case FindingKind::TextContrast:
    case FindingKind::WithoutColour:
        return ContrastRatio(first, second);
    case FindingKind::StateDifference:
        return StateCheck::deltaE(first, second, finding.vision);
    }
    return 0;
}

}  // namespace

namespace ReadabilityFix {

std::optional<TColor> nearestPassing(TColor from, const std::vector<ColorRequirement>& requirements,
                                     const ReadabilityThresholds& thresholds)
{
    // A form repeats its colours over many controls: each search is made once (per thread; the
    // memo starts again when it grows large).
    QByteArray key;
    const auto add = [&key](const auto& value) { key.append(reinterpret_cast<const char*>(&value), sizeof value); };
    add(ColorToRGB(from));
    add(thresholds.minimumDeltaE);
    add(thresholds.minimumLuminanceRatio);
    for (const ColorRequirement& requirement : requirements) {
        add(ColorToRGB(requirement.partner));
        add(char(requirement.textContrast ? 't' : requirement.fixedIsFirst ? 'f' : 's'));
    }
    thread_local QHash<QByteArray, std::optional<TColor>> known;
    if (const auto found = known.constFind(key); found != known.constEnd())
        return *found;
    if (known.size() > 10000)
        known.clear();
    const std::optional<Rgb8> nearest = NearestSearch(rgbOf(from), requirements, thresholds).run();
    const std::optional<TColor> answer = nearest ? std::optional(colorOf(*nearest)) : std::nullopt;
    known.insert(key, answer);
    return answer;
}

bool passes(TColor color, const std::vector<ColorRequirement>& requirements, const ReadabilityThresholds& thresholds)
{
    return NearestSearch(rgbOf(color), requirements, thresholds).passes(rgbOf(color));
}

std::vector<ColorRequirement> requirementsOf(TPalmoControl& control, const QString& path)
{
    std::vector<ColorRequirement> requirements;
    for (const ContrastPair& pair : ContrastCheck::pairsOf(control)) {
        if (pair.chosenColor)
            continue;
        if (pair.textPath == path && pair.backgroundPath != path)
            requirements.push_back({pair.background, true, true});
        else if (pair.backgroundPath == path && pair.textPath != path)
            requirements.push_back({pair.text, true, false});
    }
    for (const StatePair& pair : statePairsOf(control)) {
        const std::optional<FormProperty> state = colorPropertyAt(control, pair.state);
        const std::optional<FormProperty> other = colorPropertyAt(control, pair.other);
        if (!state || !other)
            continue;
        if (pair.state == path && pair.other != path)
            requirements.push_back({::colorOf(other->owner, other->property), false, true});
        else if (pair.other == path && pair.state != path)
            requirements.push_back({::colorOf(state->owner, state->property), false, false});
    }
    return requirements;
}

std::vector<ColorFix> fixesOf(const Finding& finding, const ReadabilityThresholds& thresholds)
{
    std::vector<ColorFix> fixes;
    if (!finding.control)
        return fixes;
    for (const bool firstChanges : {true, false}) {
        const QString& path = firstChanges ? finding.firstPath : finding.secondPath;
        const std::optional<FormProperty> property = colorPropertyAt(*finding.control, path);
        if (!property)
            continue;
        const TColor from = ::colorOf(property->owner, property->property);
        const std::optional<TColor> to = nearestPassing(from, requirementsOf(*finding.control, path), thresholds);
        // A colour that passes already is no fix (the pair then fails for a reason no colour of
        // its own can mend).
        if (!to || *to == ColorToRGB(from))
            continue;
        ColorFix fix;
        fix.control = finding.control;
        fix.path = path;
        fix.from = from;
        fix.to = *to;
        fix.change = ciede2000(labOf(rgbOf(from)), labOf(rgbOf(*to)));
        fix.fromText = valueText(property->owner, property->property);
        fix.kind = finding.kind;
        fix.measure = measureWith(finding, firstChanges, *to);
        fixes.push_back(std::move(fix));
    }
    std::stable_sort(fixes.begin(), fixes.end(), [](const ColorFix& a, const ColorFix& b) { return a.change < b.change; });
    return fixes;
}

bool apply(ColorFix& fix)
{
    if (!fix.control)
        return false;
    const std::optional<FormProperty> property = colorPropertyAt(*fix.control, fix.path);
    if (!property)
        return false;
    const QVariant value = kindOf(property->property) == ValueKind::FrameworkColor ? QVariant::fromValue(TCVColor{fix.to})
                                                                                   : QVariant::fromValue(TColorValue{fix.to});
    if (!property->property.write(property->owner, value))
        return false;
    fix.toText = valueText(property->owner, property->property);
    return true;
}

std::vector<ColorFix> fixAll(const std::vector<TPalmoControl*>& controls, const ReadabilityThresholds& thresholds)
{
    std::vector<ColorFix> done;
    for (TPalmoControl* control : controls) {
        // Each round makes the pair of the finding it fixes pass and leaves every other pair of
        // that colour passing: the failing pairs only become fewer, and a round that finds no fix
        // is the last. The count of findings bounds the rounds all the same.
        for (std::size_t round = 0, rounds = Readability::findingsOf(*control, thresholds).size(); round < rounds; ++round) {
            std::optional<ColorFix> next;
            for (const Finding& finding : Readability::findingsOf(*control, thresholds))
                if (std::vector<ColorFix> fixes = fixesOf(finding, thresholds); !fixes.empty()) {
                    next = std::move(fixes.front());
                    break;
                }
            if (!next || !apply(*next))
                break;
            done.push_back(std::move(*next));
        }
    }
    return done;
}

}  // namespace ReadabilityFix
