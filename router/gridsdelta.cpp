// SPDX-License-Identifier: MIT
#include "router/gridsdelta.h"

namespace {

void PutNumber(std::vector<uint8_t>& out, uint32_t v) {
    while (v >= 0x80) {
        out.push_back(static_cast<uint8_t>(v | 0x80));
        v >>= 7;
    }
    out.push_back(static_cast<uint8_t>(v));
}

uint32_t GetNumber(const uint8_t*& p) {
    uint32_t v = 0;
    for (int shift = 0;; shift += 7) {
        const uint8_t b = *p++;
        v |= static_cast<uint32_t>(b & 0x7F) << shift;
        if (!(b & 0x80)) return v;
    }
}

// NetMap values are -1 or a net number: shifted by one, "no net" is 0 and both sides of a wire
// that changed nets stay small, and so does their exclusive or.
uint32_t NetBits(int32_t net) {
    return static_cast<uint32_t>(net) + 1u;
}

} // namespace

GridsDelta GridsDelta::Between(const RoutingGrids& a, const RoutingGrids& b) {
    std::vector<Cell> cells;
    const int32_t* wa = a.WireMap.data();
    const int32_t* wb = b.WireMap.data();
    const int32_t* na = a.NetMap.data();
    const int32_t* nb = b.NetMap.data();
    for (uint32_t i = 0; i < static_cast<uint32_t>(GridCells); ++i)
        if (wa[i] != wb[i] || na[i] != nb[i])
            cells.push_back({i, static_cast<uint32_t>(wa[i]) ^ static_cast<uint32_t>(wb[i]),
                             NetBits(na[i]) ^ NetBits(nb[i])});
    GridsDelta d;
    d.Encode(cells);
    d.directionA_ = a.RouteDirection;
    d.directionB_ = b.RouteDirection;
    return d;
}

GridsDelta GridsDelta::Unchanged(int32_t direction) {
    GridsDelta d;
    d.directionA_ = direction;
    d.directionB_ = direction;
    return d;
}

void GridsDelta::Encode(const std::vector<Cell>& cells) {
    bytes_.clear();
    uint32_t next = 0;
    for (const Cell& c : cells) {
        PutNumber(bytes_, c.at - next);
        PutNumber(bytes_, c.wire);
        PutNumber(bytes_, c.net);
        next = c.at + 1;
    }
    bytes_.shrink_to_fit();
    cells_ = cells.size();
}

std::vector<GridsDelta::Cell> GridsDelta::Decode() const {
    std::vector<Cell> cells;
    cells.reserve(cells_);
    const uint8_t* p = bytes_.data();
    const uint8_t* end = p + bytes_.size();
    uint32_t next = 0;
    while (p < end) {
        Cell c{};
        c.at = next + GetNumber(p);
        c.wire = GetNumber(p);
        c.net = GetNumber(p);
        next = c.at + 1;
        cells.push_back(c);
    }
    return cells;
}

void GridsDelta::Apply(RoutingGrids& g, bool towardsA) const {
    int32_t* wire = g.WireMap.data();
    int32_t* net = g.NetMap.data();
    const uint8_t* p = bytes_.data();
    const uint8_t* end = p + bytes_.size();
    uint32_t next = 0;
    while (p < end) {
        const uint32_t at = next + GetNumber(p);
        wire[at] = static_cast<int32_t>(static_cast<uint32_t>(wire[at]) ^ GetNumber(p));
        net[at] = static_cast<int32_t>((NetBits(net[at]) ^ GetNumber(p)) - 1u);
        next = at + 1;
    }
    g.RouteDirection = towardsA ? directionA_ : directionB_;
}

void GridsDelta::Merge(const GridsDelta& other) {
    const std::vector<Cell> a = Decode();
    const std::vector<Cell> b = other.Decode();
    std::vector<Cell> out;
    out.reserve(a.size() + b.size());
    size_t i = 0, j = 0;
    while (i < a.size() || j < b.size()) {
        if (j == b.size() || (i < a.size() && a[i].at < b[j].at)) {
            out.push_back(a[i++]);
        } else if (i == a.size() || b[j].at < a[i].at) {
            out.push_back(b[j++]);
        } else {
            const Cell c{a[i].at, a[i].wire ^ b[j].wire, a[i].net ^ b[j].net};
            if (c.wire != 0 || c.net != 0) out.push_back(c);
            ++i;
            ++j;
        }
    }
    Encode(out);
}

void GridsDelta::ExtendB(const GridsDelta& next) {
    Merge(next);
    directionB_ = next.directionB_;
}

void GridsDelta::ExtendA(const GridsDelta& next) {
    Merge(next);
    directionA_ = next.directionB_;
}
