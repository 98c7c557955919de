#pragma once
// The geometry of laying out controls, over boxes (left, top, width, height; the right edge is
// left + width, worked out in 64 bits): the layout grid, sizing by a grab handle, and the Format
// menu's commands that align, size and space several controls. No widgets and no form: the preview draws with these
// and the window writes what they give back.

#include "core/IntRange.h"

#include <cstddef>
#include <vector>

// The layout grid: its lines run every GridStep pixels from the form's origin.
inline constexpr int GridStep = 8;

// The grid line nearest to value (a value half-way between two goes to the larger).
int snappedToGrid(int value, int step = GridStep);
// The first grid line strictly after value in direction (1: larger, -1: smaller).
int nextGridLine(int value, int direction, int step = GridStep);

// box with its left, top, right and bottom edges moved by these amounts, as a grab handle moves
// them. It never gets smaller than one pixel: a moving edge that would pass the opposite one stops
// a pixel before it, and the opposite edge stays where it was.
Box withEdgesMoved(const Box& box, int dLeft, int dTop, int dRight, int dBottom);

// The Format menu's commands. The first rectangle is the reference the others follow; the
// spacing commands have none (see arranged()).
enum class Arrangement {
    AlignLefts,
    AlignRights,
    AlignTops,
    AlignBottoms,
    AlignHorizontalCenters,  // the centres on one vertical line: the controls move sideways
    AlignVerticalCenters,    // the centres on one horizontal line: the controls move up or down
    SameWidth,
    SameHeight,
    SameSize,
    SpaceAcross,
    SpaceDown,
};

// How many rectangles the command needs to do anything: 2 for aligning and sizing, 3 for spacing.
std::size_t leastCountFor(Arrangement arrangement);

// The rectangles after the command, in the order given.
// - Aligning moves each rectangle (its size kept) so that the edge or centre named is the first's.
//   A centre that falls between two pixels goes to the left or top one.
// - Sizing sets the width, the height or both to the first's; the top-left corner stays.
// - Spacing takes the rectangles by position (their left edges, or top edges; the earlier given
//   first where two are level), keeps the first and the last of them where they are, and moves
//   those between so that the gaps between neighbours are equal. Gaps that cannot be equal to the
//   pixel differ by one, the larger ones first, so the first and last stay exactly in place; gaps
//   are negative when the rectangles are wider together than the room between the outer edges.
// Fewer rectangles than leastCountFor come back unchanged.
std::vector<Box> arranged(Arrangement arrangement, const std::vector<Box>& boxes);
