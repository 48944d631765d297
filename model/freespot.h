// SPDX-License-Identifier: MIT
#pragma once

#include "model/types.h"

#include <vector>

class Schematic;

// The grid cells an element covers: its box from Coord to Coord + (CellWidth, CellHeight), edges
// included (its pins lie on the left and right edges).
struct TCellBox {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};
TCellBox CellBoxOf(const TElement& e);

// Where a new element of `width` x `height` cells lands: the first top-left cell, row by row and
// right of and below `from`, whose box and a one-cell margin around it overlap no element of `s`
// other than those listed in `ignore`, with the box inside the grid. Without one there, the whole
// grid from its top-left is scanned; a full grid gives `from` itself.
TPoint32 FirstFreeSpot(const Schematic& s, int32_t width, int32_t height, TPoint32 from,
                       const std::vector<int>& ignore = {});
