// Laying out controls as rectangles: the grid's lines, a grab handle's edges and the Format
// menu's align, size and space commands. Every expected rectangle is worked out by hand in the
// comment beside it.
#include "core/Arrange.h"

#include <gtest/gtest.h>

#include <QString>

namespace {

std::string text(const Box& r)
{
    return QStringLiteral("(%1, %2, %3 x %4)").arg(r.left).arg(r.top).arg(r.width).arg(r.height).toStdString();
}

std::vector<std::string> texts(const std::vector<Box>& rects)
{
    std::vector<std::string> result;
    for (const Box& r : rects)
        result.push_back(text(r));
    return result;
}

TEST(Arrange, GridLinesAreTheNearestAndTheNextEverySteps)
{
    EXPECT_EQ(GridStep, 8);
    // value → nearest line: half-way goes to the larger, left of the origin too.
    const int snaps[][2] = {{0, 0}, {3, 0}, {4, 8}, {11, 8}, {12, 16}, {20, 24}, {-4, 0}, {-5, -8}, {-12, -8}, {-13, -16}};
    for (const auto& [value, line] : snaps)
        EXPECT_EQ(snappedToGrid(value), line) << value;
    // value, direction → the next line strictly that way.
    const int nexts[][3] = {{21, 1, 24}, {24, 1, 32}, {21, -1, 16}, {24, -1, 16}, {0, -1, -8}, {-3, -1, -8}, {-3, 1, 0}, {-8, 1, 0}};
    for (const auto& [value, direction, line] : nexts)
        EXPECT_EQ(nextGridLine(value, direction), line) << value << " " << direction;
}

TEST(Arrange, AHandleMovesItsEdgesAndStopsAPixelBeforeTheOppositeOne)
{
    const Box r{20, 30, 100, 40};  // right edge 120, bottom 70
    const struct {
        int dLeft, dTop, dRight, dBottom;
        Box expected;
    } cases[] = {
        {10, 7, 0, 0, {30, 37, 90, 33}},
        {0, 0, 10, 7, {20, 30, 110, 47}},
        {-5, 0, 0, 0, {15, 30, 105, 40}},
        {150, 0, 0, 0, {119, 30, 1, 40}},    // the left edge stops at 120 - 1
        {0, 100, 0, 0, {20, 69, 100, 1}},    // the top at 70 - 1
        {0, 0, -150, -40, {20, 30, 1, 1}},   // right and bottom stop a pixel after left and top
        {0, 0, 0, 0, {20, 30, 100, 40}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(text(withEdgesMoved(r, c.dLeft, c.dTop, c.dRight, c.dBottom)), text(c.expected))
            << c.dLeft << " " << c.dTop << " " << c.dRight << " " << c.dBottom;
}

TEST(Arrange, AligningAndSizingFollowTheFirstRectangle)
{
    // The reference A spans x 10 … 110 (centre 60) and y 20 … 60 (centre 40).
    const std::vector<Box> given{{10, 20, 100, 40}, {50, 70, 41, 25}, {-7, 3, 30, 11}};
    const Box a = given[0];
    const struct {
        Arrangement arrangement;
        Box b, c;
    } cases[] = {
        {Arrangement::AlignLefts, {10, 70, 41, 25}, {10, 3, 30, 11}},
        {Arrangement::AlignRights, {69, 70, 41, 25}, {80, 3, 30, 11}},              // 110 - 41, 110 - 30
        {Arrangement::AlignTops, {50, 20, 41, 25}, {-7, 20, 30, 11}},
        {Arrangement::AlignBottoms, {50, 35, 41, 25}, {-7, 49, 30, 11}},            // 60 - 25, 60 - 11
        {Arrangement::AlignHorizontalCenters, {39, 70, 41, 25}, {45, 3, 30, 11}},   // 60 - 20.5 → 39
        {Arrangement::AlignVerticalCenters, {50, 27, 41, 25}, {-7, 34, 30, 11}},    // 40 - 12.5 → 27, 40 - 5.5 → 34
        {Arrangement::SameWidth, {50, 70, 100, 25}, {-7, 3, 100, 11}},
        {Arrangement::SameHeight, {50, 70, 41, 40}, {-7, 3, 30, 40}},
        {Arrangement::SameSize, {50, 70, 100, 40}, {-7, 3, 100, 40}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.arrangement));
        EXPECT_EQ(texts(arranged(c.arrangement, given)), texts({a, c.b, c.c}));
        // One rectangle has nothing to follow.
        EXPECT_EQ(texts(arranged(c.arrangement, {given[1]})), texts({given[1]}));
    }
    // A centre half a pixel left of the origin: -10 + 2.5 = -7.5, so x = -7.5 - 1 = -8.5 → -9.
    EXPECT_EQ(texts(arranged(Arrangement::AlignHorizontalCenters, {{-10, -10, 5, 5}, {0, 0, 2, 2}})),
              texts({{-10, -10, 5, 5}, {-9, 0, 2, 2}}));
    // A reference at the end of the range: its right edge is 2147483600 + 100 = 2147483700, so a
    // control 50 wide would start at 2147483650, past the last position: it stops at 2147483647.
    // Handles at the ends: the top dragged up past the first position stops there (the height
    // kept), and the right edge dragged 100 further makes the width 140, nothing wrapping round.
    const int last = 2147483647;
    EXPECT_EQ(texts(arranged(Arrangement::AlignRights, {{2147483600, 0, 100, 10}, {0, 0, 50, 10}})),
              texts({{2147483600, 0, 100, 10}, {last, 0, 50, 10}}));
    EXPECT_EQ(text(withEdgesMoved({2147483600, -2147483647 - 1, 40, 10}, 0, -5, 100, 0)),
              text({2147483600, -2147483647 - 1, 140, 10}));
}

TEST(Arrange, SpacingEvenlyMakesTheGapsEqualBetweenTheOuterTwo)
{
    const struct {
        const char* what;
        Arrangement arrangement;
        std::vector<Box> given, expected;
    } cases[] = {
        // By position Q (0), R (37), S (60), P (100): from 0 to 120, widths 85, room 35 = 12 + 12 + 11.
        {"across, odd room", Arrangement::SpaceAcross,
         {{100, 0, 20, 10}, {0, 0, 30, 10}, {37, 5, 10, 10}, {60, 0, 25, 10}},
         {{100, 0, 20, 10}, {0, 0, 30, 10}, {42, 5, 10, 10}, {64, 0, 25, 10}}},
        // Overlapping: from 0 to 71, widths 150, room -79 = -39 + -40.
        {"across, overlapping", Arrangement::SpaceAcross,
         {{0, 0, 50, 10}, {10, 0, 50, 10}, {21, 0, 50, 10}},
         {{0, 0, 50, 10}, {11, 0, 50, 10}, {21, 0, 50, 10}}},
        // By position T (0), V (15), U (50): from 0 to 70, heights 35, room 35 = 18 + 17.
        {"down", Arrangement::SpaceDown,
         {{0, 0, 10, 10}, {5, 50, 10, 20}, {0, 15, 10, 5}},
         {{0, 0, 10, 10}, {5, 50, 10, 20}, {0, 28, 10, 5}}},
        {"two are left alone", Arrangement::SpaceAcross,
         {{0, 0, 10, 10}, {50, 0, 10, 10}},
         {{0, 0, 10, 10}, {50, 0, 10, 10}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(texts(arranged(c.arrangement, c.given)), texts(c.expected)) << c.what;
    EXPECT_EQ(leastCountFor(Arrangement::SpaceDown), 3u);
    EXPECT_EQ(leastCountFor(Arrangement::AlignTops), 2u);
}

}  // namespace
