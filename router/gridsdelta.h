// SPDX-License-Identifier: MIT
#pragma once

#include "router/routinggrids.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <vector>

// The difference between two routings A and B, kept small. An edit that removes or merges a net
// renumbers every later net, so most NetMap cells that change only take a new number: the
// difference holds a renumbering of A's net numbers (one number each, as a variable-length
// difference) and then, for every run of neighbouring cells (in storage order) that still differ
// alike, the gap to the previous run, the exclusive or of the two WireMap values and of the
// renumbered and the new NetMap value, and the run's length, the runs deflated together; and the
// carried direction of both sides. Applied to A it gives B exactly, applied to B it gives A.
class GridsDelta {
public:
    GridsDelta() = default;
    static GridsDelta Between(const RoutingGrids& a, const RoutingGrids& b);
    // No difference: both sides are one routing whose carried direction is `direction`.
    static GridsDelta Unchanged(int32_t direction);

    // Turns `g`, which is one side, into the other: into A when `towardsA`, into B otherwise.
    void Apply(RoutingGrids& g, bool towardsA) const;

    bool empty() const { return cells_ == 0 && renumbering_.empty() && directionA_ == directionB_; }
    // How many cells differ beyond the renumbering.
    size_t cells() const { return cells_; }
    // The memory the difference holds, in bytes.
    size_t bytes() const {
        return sizeof(GridsDelta) + static_cast<size_t>(runs_.capacity()) + renumbering_.capacity();
    }
    int32_t directionA() const { return directionA_; }
    int32_t directionB() const { return directionB_; }

private:
    struct Cell {
        uint32_t at;
        uint32_t wire;
        uint32_t net;
    };
    template <class Visit> void ForEachCell(Visit visit) const;
    // The new number of every net number of A (empty: every net keeps its number).
    std::vector<int32_t> Renumbering() const;

    std::vector<uint8_t> renumbering_;
    QByteArray runs_;
    size_t cells_ = 0;
    int32_t directionA_ = 2;
    int32_t directionB_ = 2;
};
