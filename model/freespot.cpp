// SPDX-License-Identifier: MIT
#include "model/freespot.h"

#include "model/schematic.h"

#include <algorithm>
#include <array>

TCellBox CellBoxOf(const TElement& e) {
    return {e.Coord.x, e.Coord.y, e.Coord.x + e.CellWidth, e.Coord.y + e.CellHeight};
}

namespace {

// Counts of occupied cells with prefix sums, so a box is tested in constant time.
class Occupancy {
public:
    void Mark(const TCellBox& b) {
        for (int32_t y = std::max(b.top, 0); y <= std::min(b.bottom, GridMax); ++y)
            for (int32_t x = std::max(b.left, 0); x <= std::min(b.right, GridMax); ++x)
                cells_[Index(x + 1, y + 1)] = 1;
    }
    void Sum() {
        for (int y = 1; y <= GridSize; ++y)
            for (int x = 1; x <= GridSize; ++x)
                cells_[Index(x, y)] +=
                    cells_[Index(x - 1, y)] + cells_[Index(x, y - 1)] - cells_[Index(x - 1, y - 1)];
    }
    // Occupied cells in the box clipped to the grid.
    int Count(TCellBox b) const {
        b.left = std::max(b.left, 0);
        b.top = std::max(b.top, 0);
        b.right = std::min(b.right, GridMax);
        b.bottom = std::min(b.bottom, GridMax);
        return cells_[Index(b.right + 1, b.bottom + 1)] - cells_[Index(b.left, b.bottom + 1)] -
               cells_[Index(b.right + 1, b.top)] + cells_[Index(b.left, b.top)];
    }

private:
    static size_t Index(int x, int y) {
        return static_cast<size_t>(y) * (GridSize + 1) + static_cast<size_t>(x);
    }
    std::vector<int> cells_ = std::vector<int>(static_cast<size_t>(GridSize + 1) * (GridSize + 1), 0);
};

} // namespace

TPoint32 FirstFreeSpot(const Schematic& s, int32_t width, int32_t height, TPoint32 from,
                       const std::vector<int>& ignore) {
    width = std::clamp(width, 0, GridMax);
    height = std::clamp(height, 0, GridMax);
    Occupancy occupied;
    for (int k = 1; k <= s.ElementCount(); ++k)
        if (std::find(ignore.begin(), ignore.end(), k) == ignore.end())
            occupied.Mark(CellBoxOf(s.element(k)));
    occupied.Sum();
    const int32_t lastX = GridMax - width, lastY = GridMax - height;
    from.x = std::clamp(from.x, 0, lastX);
    from.y = std::clamp(from.y, 0, lastY);
    const auto free = [&](int32_t x, int32_t y) {
        return occupied.Count({x - 1, y - 1, x + width + 1, y + height + 1}) == 0;
    };
    // Right of and below `from` first (the part in view), then the whole grid.
    const std::array<std::pair<TPoint32, TPoint32>, 2> passes = {
        {{from, {lastX, lastY}}, {{0, 0}, {lastX, lastY}}}};
    for (const auto& [start, end] : passes)
        for (int32_t y = start.y; y <= end.y; ++y)
            for (int32_t x = start.x; x <= end.x; ++x)
                if (free(x, y)) return {x, y};
    return from;
}
