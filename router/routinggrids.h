// SPDX-License-Identifier: MIT
#pragma once

#include "model/types.h"

#include <array>
#include <cstdint>

// A 201 x 201 grid of int32 cells indexed [x][y], stored x-major.
class TGrid {
public:
    explicit TGrid(int32_t fill = 0) { data_.fill(fill); }
    int32_t& at(int x, int y) { return data_[static_cast<size_t>(x * GridSize + y)]; }
    int32_t at(int x, int y) const { return data_[static_cast<size_t>(x * GridSize + y)]; }
    void fill(int32_t v) { data_.fill(v); }
    int32_t* data() { return data_.data(); }
    const int32_t* data() const { return data_.data(); }
    friend bool operator==(const TGrid&, const TGrid&) = default;

private:
    std::array<int32_t, GridCells> data_;
};

constexpr int32_t WireFree = 0;
constexpr int32_t WireBody = 9999999;
constexpr int32_t NoNet = -1;

// What the router leaves behind: the wire code and the net of every cell, and the search
// direction (1 up, 2 right, 3 down, 4 left) that one pin's search hands to the next when its
// start has no free neighbour; 2 before the first search.
struct RoutingGrids {
    TGrid WireMap{WireFree};
    TGrid NetMap{NoNet};
    int32_t RouteDirection = 2;
};
