// SPDX-License-Identifier: MIT
#pragma once

#include "router/routinggrids.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The difference between two routings A and B, kept small: for every cell that differs, the gap
// to the previous such cell and the exclusive or of its two WireMap values and of its two NetMap
// values, each as a variable-length number; and the carried direction of both sides. Applied to A
// it gives B exactly, applied to B it gives A.
class GridsDelta {
public:
    GridsDelta() = default;
    static GridsDelta Between(const RoutingGrids& a, const RoutingGrids& b);
    // No difference: both sides are one routing whose carried direction is `direction`.
    static GridsDelta Unchanged(int32_t direction);

    // Turns `g`, which is one side, into the other: into A when `towardsA`, into B otherwise.
    void Apply(RoutingGrids& g, bool towardsA) const;
    // Side B moves on: with `next` the difference from B to a new routing C, this becomes the
    // difference from A to C.
    void ExtendB(const GridsDelta& next);
    // Side A moves on: with `next` the difference from A to a new routing C, this becomes the
    // difference from C to B.
    void ExtendA(const GridsDelta& next);

    bool empty() const { return bytes_.empty() && directionA_ == directionB_; }
    // How many cells differ.
    size_t cells() const { return cells_; }
    // The memory the difference holds, in bytes.
    size_t bytes() const { return sizeof(GridsDelta) + bytes_.capacity(); }
    int32_t directionA() const { return directionA_; }
    int32_t directionB() const { return directionB_; }

private:
    struct Cell {
        uint32_t at;
        uint32_t wire;
        uint32_t net;
    };
    std::vector<Cell> Decode() const;
    void Encode(const std::vector<Cell>& cells);
    // The exclusive or of two sets of differences.
    void Merge(const GridsDelta& other);

    std::vector<uint8_t> bytes_;
    size_t cells_ = 0;
    int32_t directionA_ = 2;
    int32_t directionB_ = 2;
};
