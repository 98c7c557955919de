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

Span horizontal(const QRect& r) { return {r.x(), r.width()}; }
Span vertical(const QRect& r) { return {r.y(), r.height()}; }

void setHorizontal(QRect& r, Span s) { r = QRect(s.start, r.y(), s.length, r.height()); }
void setVertical(QRect& r, Span s) { r = QRect(r.x(), s.start, r.width(), s.length); }

// Equal gaps between neighbours along one axis, the outermost two kept in place.
void spaceEvenly(std::vector<QRect>& rects, Span (*spanOf)(const QRect&), void (*setSpan)(QRect&, Span))
{
    std::vector<std::size_t> order(rects.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return spanOf(rects[a]).start < spanOf(rects[b]).start; });
    const Span first = spanOf(rects[order.front()]);
    const Span last = spanOf(rects[order.back()]);
    std::int64_t room = std::int64_t{last.start} + last.length - first.start;
    for (const QRect& r : rects)
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

QRect withEdgesMoved(const QRect& rect, int dLeft, int dTop, int dRight, int dBottom)
{
    // Each axis: the edge that did not move stays; the moving one stops a pixel short of it.
    const auto axis = [](int start, int end, int dStart, int dEnd) {
        if (dStart != 0 && dEnd == 0)
            return Span{std::min(start + dStart, end - 1), end - std::min(start + dStart, end - 1)};
        const int newStart = start + dStart;
        return Span{newStart, std::max(1, end + dEnd - newStart)};
    };
    const Span x = axis(rect.x(), rect.x() + rect.width(), dLeft, dRight);
    const Span y = axis(rect.y(), rect.y() + rect.height(), dTop, dBottom);
    return QRect(x.start, y.start, x.length, y.length);
}

std::size_t leastCountFor(Arrangement arrangement)
{
    return arrangement == Arrangement::SpaceAcross || arrangement == Arrangement::SpaceDown ? 3 : 2;
}

std::vector<QRect> arranged(Arrangement arrangement, const std::vector<QRect>& rects)
{
    std::vector<QRect> result = rects;
    if (rects.size() < leastCountFor(arrangement))
        return result;
    const QRect ref = rects.front();
    for (QRect& r : result) {
        switch (arrangement) {
        case Arrangement::AlignLefts: r.moveLeft(ref.x()); break;
        case Arrangement::AlignRights: r.moveLeft(clampToInt(rightEdge(ref) - r.width())); break;
        case Arrangement::AlignTops: r.moveTop(ref.y()); break;
        case Arrangement::AlignBottoms: r.moveTop(clampToInt(bottomEdge(ref) - r.height())); break;
        // In doubled coordinates a centre is exact: 2x + w.
        case Arrangement::AlignHorizontalCenters: r.moveLeft(clampToInt(floorDiv(ref.x() + rightEdge(ref) - r.width(), 2))); break;
        case Arrangement::AlignVerticalCenters: r.moveTop(clampToInt(floorDiv(ref.y() + bottomEdge(ref) - r.height(), 2))); break;
        case Arrangement::SameWidth: r.setWidth(ref.width()); break;
        case Arrangement::SameHeight: r.setHeight(ref.height()); break;
        case Arrangement::SameSize: r.setSize(ref.size()); break;
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
