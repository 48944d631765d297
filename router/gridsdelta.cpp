// SPDX-License-Identifier: MIT
#include "router/gridsdelta.h"

#include <QByteArray>

#include <algorithm>
#include <unordered_map>
#include <utility>

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

// NetMap values are -1 or a net number: shifted by one, "no net" is 0 and both sides of a cell
// that changed its number stay small, and so does their exclusive or.
uint32_t NetBits(int32_t net) {
    return static_cast<uint32_t>(net) + 1u;
}

// A signed difference as a small unsigned number (0, -1, 1, -2, ... as 0, 1, 2, 3, ...).
uint32_t ZigZag(int64_t v) {
    return static_cast<uint32_t>(v < 0 ? -2 * v - 1 : 2 * v);
}
int64_t UnZigZag(uint32_t v) {
    return v & 1 ? -static_cast<int64_t>(v / 2) - 1 : static_cast<int64_t>(v / 2);
}

// The numbering that takes A's nets to B's: each net of A takes the number most of its unchanged
// wire cells have in B, when no other net took that number first; every other net of A gets a
// number that B does not use, so the numbering can be undone. Empty when every net keeps its
// number.
std::vector<int32_t> ChooseRenumbering(const RoutingGrids& a, const RoutingGrids& b) {
    const int32_t* wa = a.WireMap.data();
    const int32_t* wb = b.WireMap.data();
    const int32_t* na = a.NetMap.data();
    const int32_t* nb = b.NetMap.data();
    int32_t maxA = -1, maxB = -1;
    std::unordered_map<uint64_t, int> votes; // (A number, B number) -> cells
    for (int i = 0; i < GridCells; ++i) {
        maxA = std::max(maxA, na[i]);
        maxB = std::max(maxB, nb[i]);
        if (na[i] >= 0 && nb[i] >= 0 && wa[i] == wb[i])
            ++votes[static_cast<uint64_t>(na[i]) << 32 | static_cast<uint32_t>(nb[i])];
    }
    std::vector<std::pair<int, uint64_t>> ranked;
    ranked.reserve(votes.size());
    for (const auto& [pair, count] : votes)
        ranked.emplace_back(count, pair);
    // Most cells first; ties by the pair, so the choice does not depend on the hash order.
    std::sort(ranked.begin(), ranked.end(), [](const auto& x, const auto& y) {
        return x.first != y.first ? x.first > y.first : x.second < y.second;
    });
    std::vector<int32_t> to(static_cast<size_t>(maxA + 1), -1);
    std::vector<bool> taken(static_cast<size_t>(maxB + 1), false);
    for (const auto& [count, pair] : ranked) {
        const auto from = static_cast<size_t>(pair >> 32);
        const auto into = static_cast<size_t>(pair & 0xFFFFFFFFu);
        if (to[from] >= 0 || taken[into]) continue;
        to[from] = static_cast<int32_t>(into);
        taken[into] = true;
    }
    bool identity = true;
    for (size_t v = 0; v < to.size(); ++v) {
        if (to[v] < 0) to[v] = std::max(maxA, maxB) + 1 + static_cast<int32_t>(v);
        identity = identity && to[v] == static_cast<int32_t>(v);
    }
    if (identity) to.clear();
    return to;
}

} // namespace

GridsDelta GridsDelta::Between(const RoutingGrids& a, const RoutingGrids& b) {
    GridsDelta d;
    d.directionA_ = a.RouteDirection;
    d.directionB_ = b.RouteDirection;
    const std::vector<int32_t> to = ChooseRenumbering(a, b);
    for (size_t v = 0; v < to.size(); ++v)
        PutNumber(d.renumbering_, ZigZag(int64_t{to[v]} - static_cast<int64_t>(v)));
    d.renumbering_.shrink_to_fit();

    const int32_t* wa = a.WireMap.data();
    const int32_t* wb = b.WireMap.data();
    const int32_t* na = a.NetMap.data();
    const int32_t* nb = b.NetMap.data();
    const auto renumbered = [&to](int32_t net) {
        return net >= 0 && !to.empty() ? to[static_cast<size_t>(net)] : net;
    };
    std::vector<Cell> cells;
    for (uint32_t i = 0; i < static_cast<uint32_t>(GridCells); ++i) {
        const int32_t n = renumbered(na[i]);
        if (wa[i] != wb[i] || n != nb[i])
            cells.push_back({i, static_cast<uint32_t>(wa[i]) ^ static_cast<uint32_t>(wb[i]),
                             NetBits(n) ^ NetBits(nb[i])});
    }
    std::vector<uint8_t> runs;
    uint32_t next = 0;
    for (size_t i = 0; i < cells.size();) {
        // A run of neighbouring cells that changed alike (a stretch of wire moved to another net) is
        // written once.
        size_t run = 1;
        while (i + run < cells.size() && cells[i + run].at == cells[i].at + run &&
               cells[i + run].wire == cells[i].wire && cells[i + run].net == cells[i].net)
            ++run;
        PutNumber(runs, cells[i].at - next);
        PutNumber(runs, cells[i].wire);
        PutNumber(runs, cells[i].net);
        PutNumber(runs, static_cast<uint32_t>(run - 1));
        next = cells[i].at + static_cast<uint32_t>(run);
        i += run;
    }
    // The runs repeat their gaps and codes a lot: deflated they take about a third.
    if (!runs.empty()) {
        d.runs_ = qCompress(runs.data(), static_cast<qsizetype>(runs.size()));
        d.runs_.squeeze();
    }
    d.cells_ = cells.size();
    return d;
}

GridsDelta GridsDelta::Unchanged(int32_t direction) {
    GridsDelta d;
    d.directionA_ = direction;
    d.directionB_ = direction;
    return d;
}

std::vector<int32_t> GridsDelta::Renumbering() const {
    std::vector<int32_t> to;
    const uint8_t* p = renumbering_.data();
    const uint8_t* end = p + renumbering_.size();
    while (p < end)
        to.push_back(static_cast<int32_t>(static_cast<int64_t>(to.size()) + UnZigZag(GetNumber(p))));
    return to;
}

template <class Visit> void GridsDelta::ForEachCell(Visit visit) const {
    if (runs_.isEmpty()) return;
    const QByteArray runs = qUncompress(runs_);
    const auto* p = reinterpret_cast<const uint8_t*>(runs.constData());
    const uint8_t* end = p + runs.size();
    uint32_t next = 0;
    while (p < end) {
        const uint32_t at = next + GetNumber(p);
        const uint32_t wire = GetNumber(p);
        const uint32_t net = GetNumber(p);
        const uint32_t run = GetNumber(p) + 1;
        for (uint32_t k = 0; k < run; ++k)
            visit(Cell{at + k, wire, net});
        next = at + run;
    }
}

void GridsDelta::Apply(RoutingGrids& g, bool towardsA) const {
    int32_t* wire = g.WireMap.data();
    int32_t* net = g.NetMap.data();
    const std::vector<int32_t> to = Renumbering();
    const auto renumber = [net](const std::vector<int32_t>& map) {
        for (int i = 0; i < GridCells; ++i)
            if (net[i] >= 0 && static_cast<size_t>(net[i]) < map.size())
                net[i] = map[static_cast<size_t>(net[i])];
    };
    const auto cells = [&] {
        ForEachCell([wire, net](const Cell& c) {
            wire[c.at] = static_cast<int32_t>(static_cast<uint32_t>(wire[c.at]) ^ c.wire);
            net[c.at] = static_cast<int32_t>((NetBits(net[c.at]) ^ c.net) - 1u);
        });
    };
    if (towardsA) {
        // The cells first, which leaves A's nets under their new numbers, then the numbers back.
        cells();
        if (!to.empty()) {
            std::vector<int32_t> back(static_cast<size_t>(*std::max_element(to.begin(), to.end())) + 1, -1);
            for (size_t v = 0; v < to.size(); ++v)
                back[static_cast<size_t>(to[v])] = static_cast<int32_t>(v);
            renumber(back);
        }
    } else {
        if (!to.empty()) renumber(to);
        cells();
    }
    g.RouteDirection = towardsA ? directionA_ : directionB_;
}
