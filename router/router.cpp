// SPDX-License-Identifier: MIT
// The router on flat arrays. The grids are held with a one-cell margin (203 x 203) so that every
// neighbour of a grid cell has an index; margin cells are obstacles. The wave grid lives for the
// whole run: a search writes labels into it and, when it ends, puts back the WireMap value of
// every cell it touched, so no search copies the grid. While a wave runs, the goal and the cells
// of the net being joined carry a mark in the wave grid and the border cells read as obstacles,
// so a probe reads one cell only; before the walk back they show their WireMap values again.
// The queue is a ring that grows before it could fill.
//
// The time goes into the waves: the queue is worked in first-in first-out order and a search ends
// at the first probe that reaches, so a wave labels every cell fewer steps away than its target,
// about a third of the grid for a wire across a spread-out schematic. Tried and measured without
// gain, results kept identical: 16-bit wave cells (half the memory), probes without branches
// (slower), prefetching the queue's cells ahead, and holding each wave to an ellipse around the
// start and the targets with a proof that the cells outside could not have changed the result
// (the ellipse of two points on a diagonal still holds the whole rectangle between them, and
// the proof costs about as much as the wave it saves).
#include "router/router.h"

#include "router/directions.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace {

using namespace wave;

constexpr int Stride = GridSize + 2;
constexpr int PaddedCells = Stride * Stride;

// Inside a search a label (direction d, distance D) is held as LabelMark + D * 32 + X * 16 + N * 8
// + d: above every wire code, with the distance one shift away. N is 1 when the cell lies on a
// routed wire (the wave does not turn there): only the crossable straight codes can be labelled,
// so N follows from the value a cell had when it was first labelled. X is 1 once the cell has been
// expanded with this label; a new label clears it. Translated back where the walk reads a label.
constexpr int32_t LabelMark = 1 << 24;
constexpr int32_t NoTurn = 8;
constexpr int32_t Expanded = 16;
constexpr bool IsLabel(int32_t v) {
    return v >= LabelMark;
}
constexpr int32_t MakeLabel(int distance, int dir) {
    return LabelMark + (distance << 5) + dir;
}
constexpr int LabelDistance(int32_t v) {
    return (v - LabelMark) >> 5;
}
static_assert(MakeLabel(MaxDistance, 4) + Expanded + NoTurn < (1 << 25));
// The distance part of a wave value as the routing rules read it (value mod 100000).
constexpr int Remainder(int32_t v) {
    return IsLabel(v) ? LabelDistance(v) : v % LabelBase;
}
// The direction part (value div 100000).
constexpr int Direction(int32_t v) {
    return IsLabel(v) ? v & 7 : v / LabelBase;
}
// While a wave runs, the goal and the cells of the net being joined hold this value, and the
// cells of row and column 0 and GridMax hold WireBody; the walk sees their real values.
constexpr int32_t TargetMark = -1;

constexpr int Index(int x, int y) {
    return (x + 1) * Stride + (y + 1);
}

// Index offsets for direction d: straight, d - 1, d + 1 (up is y - 1, right is x + 1).
constexpr int Up = -1, Right = Stride, Down = 1, Left = -Stride;
constexpr int Offsets[5][3] = {
    {0, 0, 0}, {Up, Left, Right}, {Right, Up, Down}, {Down, Right, Left}, {Left, Down, Up},
};

// The storage of a run, kept for the next one: allocating about 1 MB afresh on every call costs
// more than a small schematic takes to route.
struct RouterStorage {
    std::vector<int32_t> wire, net, wave;
    std::vector<int> border, touched, queue, gathered;
    std::vector<uint32_t> seen;
    std::vector<std::vector<int>> netCells;
};

class Router {
public:
    // Takes over the storage; every grid is set afresh. Give it back with Return.
    Router(const Schematic& s, RoutingGrids& g, RouterStorage& st)
        : s_(s), g_(g), wire_(std::move(st.wire)), net_(std::move(st.net)), wave_(std::move(st.wave)),
          border_(std::move(st.border)), touched_(std::move(st.touched)), queue_(std::move(st.queue)),
          netCells_(std::move(st.netCells)), seen_(std::move(st.seen)), gathered_(std::move(st.gathered)) {
        seen_.assign(PaddedCells, 0u);
        wire_.assign(PaddedCells, WireBody);
        net_.assign(PaddedCells, NoNet);
        touched_.resize(2 * PaddedCells + 16);
        if (queue_.size() < (1u << 15)) queue_.resize(1u << 15);
        for (auto& cells : netCells_)
            cells.clear();
        if (netCells_.size() < s.Cons().size()) netCells_.resize(s.Cons().size());
        if (border_.empty())
            for (int i = 0; i <= GridMax; ++i)
                for (int k : {Index(i, 0), Index(i, GridMax), Index(0, i), Index(GridMax, i)})
                    border_.push_back(k);
    }

    void Return(RouterStorage& st) {
        st.wire = std::move(wire_);
        st.net = std::move(net_);
        st.wave = std::move(wave_);
        st.border = std::move(border_);
        st.touched = std::move(touched_);
        st.queue = std::move(queue_);
        st.netCells = std::move(netCells_);
        st.seen = std::move(seen_);
        st.gathered = std::move(gathered_);
    }

    void Run() {
        for (int x = 0; x <= GridMax; ++x)
            std::fill_n(&wire_[static_cast<size_t>(Index(x, 0))], GridSize, WireFree);
        for (int i = 1; i <= s_.ElementCount(); ++i) {
            const TElement& e = s_.element(i);
            const int64_t x0 = std::max<int64_t>(e.Coord.x, 0);
            const int64_t x1 = std::min<int64_t>(int64_t{e.Coord.x} + e.CellWidth, GridMax);
            const int64_t y0 = std::max<int64_t>(e.Coord.y, 0);
            const int64_t y1 = std::min<int64_t>(int64_t{e.Coord.y} + e.CellHeight, GridMax);
            for (int64_t x = x0; x <= x1; ++x)
                for (int64_t y = y0; y <= y1; ++y)
                    wire_[static_cast<size_t>(Index(static_cast<int>(x), static_cast<int>(y)))] = WireBody;
        }
        wave_ = wire_;
        HideBorder();

        for (size_t n = 0; n < s_.Cons().size(); ++n) {
            const TCons& pins = s_.Cons()[n];
            if (pins.size() < 2) continue;
            for (size_t l = 1; l < pins.size(); ++l)
                Search(static_cast<int>(n), pins[l], pins[0]);
        }
        if (deferred_.pending) RunDeferred();

        for (int x = 0; x <= GridMax; ++x) {
            std::memcpy(&g_.WireMap.at(x, 0), &wire_[static_cast<size_t>(Index(x, 0))],
                        GridSize * sizeof(int32_t));
            std::memcpy(&g_.NetMap.at(x, 0), &net_[static_cast<size_t>(Index(x, 0))],
                        GridSize * sizeof(int32_t));
        }
    }

private:
    static bool InGrid(TCellPoint c) { return c.x >= 0 && c.x <= GridMax && c.y >= 0 && c.y <= GridMax; }
    static bool InGridIndex(int k) {
        const int x = k / Stride - 1, y = k % Stride - 1;
        return x >= 0 && x <= GridMax && y >= 0 && y <= GridMax;
    }

    // Doubles the ring, keeping the order of the waiting cells.
    void Grow() {
        const size_t n = queue_.size();
        std::vector<int> bigger(n * 2);
        for (size_t i = head_; i != tail_; ++i)
            bigger[i - head_] = queue_[i & (n - 1)];
        tail_ -= head_;
        head_ = 0;
        queue_.swap(bigger);
    }

    void SetLabel(int k, int32_t label) {
        int32_t& v = wave_[static_cast<size_t>(k)];
        if (!IsLabel(v)) touched_[touchedCount_++] = k;
        v = label;
    }

    void SetWire(int k, int32_t code) {
        wire_[static_cast<size_t>(k)] = code;
        touched_[touchedCount_++] = k;
    }

    void SetNet(int k, int w) {
        net_[static_cast<size_t>(k)] = w;
        netCells_[static_cast<size_t>(w)].push_back(k);
    }

    // Marks a cell the wave reaches (the goal or a cell of the joined net); not on the border.
    void MarkTarget(int k) {
        int32_t& v = wave_[static_cast<size_t>(k)];
        if (v == TargetMark || !InWaveArea(k)) return;
        v = TargetMark;
        targets_.push_back(k);
    }

    static bool InWaveArea(int k) {
        const int x = k / Stride - 1, y = k % Stride - 1;
        return x >= 1 && x < GridMax && y >= 1 && y < GridMax;
    }

    void HideBorder() {
        for (int k : border_)
            wave_[static_cast<size_t>(k)] = WireBody;
    }
    // Before a walk: the wave grid shows every unlabelled cell as WireMap has it.
    void ShowHidden() {
        for (int k : border_)
            if (!IsLabel(wave_[static_cast<size_t>(k)]))
                wave_[static_cast<size_t>(k)] = wire_[static_cast<size_t>(k)];
        for (int k : targets_)
            if (wave_[static_cast<size_t>(k)] == TargetMark)
                wave_[static_cast<size_t>(k)] = wire_[static_cast<size_t>(k)];
    }

    // One probe into cell p moving in direction e from a cell of distance `base` (plus the turn
    // penalty); true when p is reached. Reads one wave-grid cell.
    bool Probe(int p, int e, int base) {
        const size_t pi = static_cast<size_t>(p);
        const int32_t v = wave_[pi];
        const int distance = base + 1;
        if (distance > MaxDistance) [[unlikely]]
            return false;
        int32_t noTurn = 0;
        if (v == WireFree) {
            touched_[touchedCount_++] = p;
        } else if (IsLabel(v)) {
            if (LabelDistance(v) <= distance) return false;
            noTurn = v & NoTurn;
        } else if (v == TargetMark) {
            wave_[pi] = MakeLabel(distance, e);
            return true;
        } else if (v == WireVertical - (e & 1) && v >= base) {
            touched_[touchedCount_++] = p;
            noTurn = NoTurn;
        } else {
            return false;
        }
        wave_[pi] = MakeLabel(distance, e) | noTurn;
        queue_[tail_ & (queue_.size() - 1)] = p;
        ++tail_;
        return false;
    }

    // True when a neighbour of the start cell sets the direction a search begins with, so that the
    // direction carried from the search before does not matter.
    bool StartSetsDirection(int start) const {
        for (int o : {Right, Left, Down, Up}) {
            const int32_t v = wire_[static_cast<size_t>(start + o)];
            if (v == WireFree || v == WireHorizontal || v == WireVertical) return true;
        }
        return false;
    }

    // True when the wave cannot reach any marked target. A wave reaches a target along cells
    // that each probe the next: the start cell, then free cells or straight wires, each crossed
    // in the direction it is left by (a crossed wire does not turn). Gathering, from the targets
    // backwards, every cell that could probe a gathered one: when that ends within a few dozen
    // cells and never meets the start, no wave gets there. (A larger bound finds a few more such
    // searches but costs every search that succeeds more than it saves.)
    bool CertainToFail(int start) {
        const int sides[4][2] = {{Up, 3}, {Right, 4}, {Down, 1}, {Left, 2}}; // neighbour, way back
        ++stamp_;
        if (stamp_ == 0) {
            std::fill(seen_.begin(), seen_.end(), 0u);
            stamp_ = 1;
        }
        gathered_.assign(targets_.begin(), targets_.end());
        for (int t : targets_)
            seen_[static_cast<size_t>(t)] = stamp_;
        for (size_t i = 0; i < gathered_.size(); ++i) {
            const int t = gathered_[i];
            for (const auto& side : sides) {
                const int k = t + side[0];
                if (k == start) return false;
                if (seen_[static_cast<size_t>(k)] == stamp_) continue;
                const int32_t v = wave_[static_cast<size_t>(k)];
                if (v == WireFree || (v == WireHorizontal && side[1] % 2 == 1) ||
                    (v == WireVertical && side[1] % 2 == 0)) {
                    if (gathered_.size() >= 64) return false;
                    seen_[static_cast<size_t>(k)] = stamp_;
                    gathered_.push_back(k);
                }
            }
        }
        return true;
    }

    void RunDeferred() {
        deferred_.pending = false;
        Search(deferred_.net, deferred_.start, deferred_.goal, false);
    }

    // A search certain to fail changes nothing but the carried direction. It is put off, and run
    // only when the next search (or the caller) reads that direction.
    void Search(int net, TCellPoint startCell, TCellPoint goalCell, bool mayDefer = true) {
        if (!InGrid(startCell)) return;
        const int start = Index(startCell.x, startCell.y);
        if (deferred_.pending) {
            if (StartSetsDirection(start))
                deferred_.pending = false;
            else
                RunDeferred();
        }
        goal_ = InGrid(goalCell) ? Index(goalCell.x, goalCell.y) : -1;
        join_ = net_[static_cast<size_t>(start)];
        if (goal_ >= 0 && net_[static_cast<size_t>(goal_)] != NoNet) join_ = net_[static_cast<size_t>(goal_)];

        targets_.clear();
        if (goal_ >= 0) MarkTarget(goal_);
        if (join_ != NoNet)
            for (int k : netCells_[static_cast<size_t>(join_)])
                if (net_[static_cast<size_t>(k)] == join_) MarkTarget(k);
        if (mayDefer && CertainToFail(start)) {
            for (int k : targets_)
                wave_[static_cast<size_t>(k)] = wire_[static_cast<size_t>(k)];
            deferred_ = {true, net, startCell, goalCell};
            return;
        }

        int dir = g_.RouteDirection;
        const int around[4][2] = {{Right, 2}, {Left, 4}, {Down, 3}, {Up, 1}};
        for (const auto& a : around) {
            const int32_t v = wire_[static_cast<size_t>(start + a[0])];
            if (v == WireFree || v == WireHorizontal || v == WireVertical) dir = a[1];
        }
        head_ = tail_ = 0;
        touchedCount_ = 0;
        // A start cell on the joined net stays reachable: it shows its label only to the first
        // step of the wave, which expands it.
        const bool startIsTarget = wave_[static_cast<size_t>(start)] == TargetMark;
        const int32_t startLabel =
            MakeLabel(1, dir) | (net_[static_cast<size_t>(start)] != NoNet ? NoTurn : 0);
        SetLabel(start, startLabel);
        queue_[tail_++] = start;

        int q = 0, f = 0, d = 0;
        bool reached = false;
        while (head_ != tail_) {
            if (tail_ - head_ + 3 > queue_.size()) Grow();
            const size_t mask = queue_.size() - 1;
            q = queue_[head_ & mask];
            ++head_;
            const int32_t label = wave_[static_cast<size_t>(q)];
            d = label & 7;
            // A cell waits in the queue once for every label it got, but is expanded with the
            // label it holds now: a second expansion with the same label labels nothing (its
            // neighbours already hold distances at most as large, and a target would have ended
            // the search), so only its effect on the carried direction is kept.
            if (label & Expanded) {
                dir = label & NoTurn ? d : TurnRight(d);
                continue;
            }
            wave_[static_cast<size_t>(q)] = label | Expanded;
            if (head_ == 1 && startIsTarget) wave_[static_cast<size_t>(start)] = TargetMark;
            const int distance = LabelDistance(label);
            const int* off = Offsets[d];
            dir = d;
            if (Probe(f = q + off[0], d, distance)) {
                reached = true;
                break;
            }
            if (label & NoTurn) continue;
            dir = TurnLeft(d);
            if (Probe(f = q + off[1], dir, distance + 5)) {
                reached = true;
                break;
            }
            dir = TurnRight(d);
            if (Probe(f = q + off[2], dir, distance + 5)) {
                reached = true;
                break;
            }
        }
        g_.RouteDirection = dir;
        if (reached) {
            touched_[touchedCount_++] = f;
            if (wave_[static_cast<size_t>(start)] == TargetMark)
                wave_[static_cast<size_t>(start)] = startLabel;
            ShowHidden();
            Finish(net, start, q, f, d, dir);
        }
        for (size_t i = 0; i < touchedCount_; ++i) {
            const size_t k = static_cast<size_t>(touched_[i]);
            wave_[k] = wire_[k];
        }
        for (int k : targets_)
            wave_[static_cast<size_t>(k)] = wire_[static_cast<size_t>(k)];
        if (reached)
            HideBorder();
        else if (!InWaveArea(start))
            wave_[static_cast<size_t>(start)] = WireBody;
    }

    void Mark(int p, int b, int prev, int w) {
        if (!InGridIndex(p)) return;
        int32_t code = wire_[static_cast<size_t>(p)];
        if (b == prev || b == Reverse(prev)) {
            if (net_[static_cast<size_t>(p)] == NoNet)
                code = WireHorizontal + b % 2;
            else if (code != WireJunction)
                code = WireCrossing;
        } else {
            code = CornerCode(Reverse(prev), b);
        }
        SetWire(p, code);
        SetNet(p, w);
    }

    void Finish(int net, int start, int q, int f, int d, int e) {
        int w;
        int cursor;
        int prev = Reverse(e);
        if (join_ == NoNet) {
            w = net;
            cursor = goal_;
        } else {
            w = join_;
            SetWire(f, WireJunction);
            if (q == start) {
                SetWire(start, WireHorizontal + d % 2);
                SetNet(start, w);
                return;
            }
            cursor = q;
            Mark(f, prev, prev, w);
        }
        for (;;) {
            const int k = cursor;
            const int32_t label = wave_[static_cast<size_t>(k)];
            const int b = Reverse(Direction(label));
            int best = Remainder(label);
            int taken = -1;
            for (int i = 0; i < 3; ++i) {
                const int c = k + Offsets[b][i];
                const int32_t v = wave_[static_cast<size_t>(c)];
                // Margin cells hold WireBody, whose remainder is never below a distance.
                if (v != WireFree && Remainder(v) < best) {
                    best = Remainder(v);
                    taken = i;
                    cursor = c;
                }
            }
            if (taken == 1 || taken == 2) {
                // A side step: the cell just left joins the side it was entered by and the side
                // towards the new cursor.
                const int side = taken == 1 ? TurnLeft(b) : TurnRight(b);
                Mark(k, side, prev, w);
                prev = side;
            } else {
                Mark(cursor - Offsets[b][0], b, prev, w);
                prev = b;
            }
            if (taken >= 0 && cursor != start) continue;
            SetWire(cursor, WireHorizontal + prev % 2);
            SetNet(cursor, w);
            return;
        }
    }

    const Schematic& s_;
    RoutingGrids& g_;
    std::vector<int32_t> wire_, net_, wave_;
    std::vector<int> border_;  // cells of row and column 0 and GridMax
    std::vector<int> touched_; // cells whose wave value must be put back after a search
    size_t touchedCount_ = 0;
    std::vector<int> queue_; // ring; head_ and tail_ count up and are masked
    size_t head_ = 0, tail_ = 0;
    std::vector<std::vector<int>> netCells_; // cells once marked for each net
    std::vector<int> targets_;
    std::vector<uint32_t> seen_; // cells gathered by CertainToFail while it equals stamp_
    uint32_t stamp_ = 0;
    std::vector<int> gathered_;
    struct {
        bool pending = false;
        int net = 0;
        TCellPoint start, goal;
    } deferred_;
    int goal_ = -1;
    int join_ = NoNet;
};

} // namespace

void RouteWires(const Schematic& s, RoutingGrids& grids) {
    thread_local RouterStorage storage;
    Router router(s, grids, storage);
    router.Run();
    router.Return(storage);
}
