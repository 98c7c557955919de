#include "core/Arrange.h"

#include "core/IntRange.h"

#include <algorithm>
#include <numeric>

namespace {

// Division rounding towards minus infinity, for coordinates left of or above the origin too.
// 64-bit: sums of two coordinates and a size never overflow there.
std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// One axis of a rectangle, so that each command is written once for both directions.
struct Span {
    int start;
    int length;
};

Span horizontal(const Box& b) { return {b.left, b.width}; }
Span vertical(const Box& b) { return {b.top, b.height}; }

void setHorizontal(Box& b, Span s) { b.left = s.start; b.width = s.length; }
void setVertical(Box& b, Span s) { b.top = s.start; b.height = s.length; }

// Equal gaps between neighbours along one axis, the outermost two kept in place.
void spaceEvenly(std::vector<Box>& rects, Span (*spanOf)(const Box&), void (*setSpan)(Box&, Span))
{
    std::vector<std::size_t> order(rects.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return spanOf(rects[a]).start < spanOf(rects[b]).start; });
    const Span first = spanOf(rects[order.front()]);
    const Span last = spanOf(rects[order.back()]);
    std::int64_t room = std::int64_t{last.start} + last.length - first.start;
    for (const Box& r : rects)
        room -= spanOf(r).length;
    const std::int64_t gaps = std::int64_t(rects.size()) - 1;
    const std::int64_t gap = floorDiv(room, gaps);
    std::int64_t wider = room - gap * gaps;  // this many gaps take a pixel more
    std::int64_t at = first.start;
    for (std::size_t i : order) {
        const int length = spanOf(rects[i]).length;
        // Past an end of the coordinates' range a control stops at it.
        setSpan(rects[i], {clampToInt(at), length});
        at += length + gap + (wider > 0 ? 1 : 0);
        --wider;
    }
}

}  // namespace

int snappedToGrid(int value, int step)
{
    return clampToInt(floorDiv(std::int64_t{value} + step / 2, step) * step);
}

int nextGridLine(int value, int direction, int step)
{
    return clampToInt(direction > 0 ? (floorDiv(value, step) + 1) * step : -floorDiv(-std::int64_t{value}, step) * step - step);
}

Box withEdgesMoved(const Box& box, int dLeft, int dTop, int dRight, int dBottom)
{
    // Each axis in 64 bits: the edge that did not move stays; the moving one stops a pixel short
    // of it, and no edge passes the end of the range.
    const auto axis = [](std::int64_t start, std::int64_t end, int dStart, int dEnd) {
        if (dStart != 0 && dEnd == 0) {
            const std::int64_t newStart = std::min(start + dStart, end - 1);
            return Span{clampToInt(newStart), clampToInt(end - clampToInt(newStart))};
        }
        const int newStart = clampToInt(start + dStart);
        return Span{newStart, clampToInt(std::max<std::int64_t>(1, end + dEnd - newStart))};
    };
    const Span x = axis(box.left, box.right(), dLeft, dRight);
    const Span y = axis(box.top, box.bottom(), dTop, dBottom);
    return {x.start, y.start, x.length, y.length};
}

std::size_t leastCountFor(Arrangement arrangement)
{
    return arrangement == Arrangement::SpaceAcross || arrangement == Arrangement::SpaceDown ? 3 : 2;
}

std::vector<Box> arranged(Arrangement arrangement, const std::vector<Box>& rects)
{
    std::vector<Box> result = rects;
    if (rects.size() < leastCountFor(arrangement))
        return result;
    const Box ref = rects.front();
    for (Box& r : result) {
        switch (arrangement) {
        case Arrangement::AlignLefts: r.left = ref.left; break;
        case Arrangement::AlignRights: r.left = clampToInt(ref.right() - r.width); break;
        case Arrangement::AlignTops: r.top = ref.top; break;
        case Arrangement::AlignBottoms: r.top = clampToInt(ref.bottom() - r.height); break;
        // In doubled coordinates a centre is exact: 2x + w.
        case Arrangement::AlignHorizontalCenters: r.left = clampToInt(floorDiv(ref.left + ref.right() - r.width, 2)); break;
        case Arrangement::AlignVerticalCenters: r.top = clampToInt(floorDiv(ref.top + ref.bottom() - r.height, 2)); break;
        case Arrangement::SameWidth: r.width = ref.width; break;
        case Arrangement::SameHeight: r.height = ref.height; break;
        case Arrangement::SameSize: r.width = ref.width; r.height = ref.height; break;
        case Arrangement::SpaceAcross:
        case Arrangement::SpaceDown: break;
        }
    }
    if (arrangement == Arrangement::SpaceAcross)
        spaceEvenly(result, horizontal, setHorizontal);
    else if (arrangement == Arrangement::SpaceDown)
        spaceEvenly(result, vertical, setVertical);
    return result;
}
