// SPDX-License-Identifier: MIT
// The router on flat arrays. The grids are held with a one-cell margin (203 x 203) so that every
// neighbour of a grid cell has an index; margin cells are obstacles. The wave grid lives for the
// whole run: a search writes labels into it and, when it ends, puts back the WireMap value of
// every cell it touched, so no search copies the grid. The queue is a ring that grows when full.
#include "router.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <vector>

namespace {

constexpr int LabelBase = 100000;
constexpr int MaxDistance = LabelBase - 1;
constexpr int LabelEnd = 5 * LabelBase;  // labels are 100001..499999
constexpr int Stride = GridSize + 2;
constexpr int PaddedCells = Stride * Stride;

constexpr int Index(int x, int y) { return (x + 1) * Stride + (y + 1); }

// Index offsets for direction d: straight, d - 1, d + 1 (up is y - 1, right is x + 1).
constexpr int Up = -1, Right = Stride, Down = 1, Left = -Stride;
constexpr int Offsets[5][3] = {
    {0, 0, 0}, {Up, Left, Right}, {Right, Up, Down}, {Down, Right, Left}, {Left, Down, Up},
};

constexpr int TurnLeft(int d) { return d == 1 ? 4 : d - 1; }
constexpr int TurnRight(int d) { return d == 4 ? 1 : d + 1; }
constexpr int Reverse(int d) { return d + 2 > 4 ? d - 2 : d + 2; }
constexpr bool IsLabel(int32_t v) { return v >= LabelBase && v < LabelEnd; }

// 1 for the cells a probe may enter: x and y in 1..GridMax - 1.
const std::array<uint8_t, PaddedCells>& WaveArea() {
    static const std::array<uint8_t, PaddedCells> area = [] {
        std::array<uint8_t, PaddedCells> a{};
        for (int x = 1; x < GridMax; ++x)
            for (int y = 1; y < GridMax; ++y) a[static_cast<size_t>(Index(x, y))] = 1;
        return a;
    }();
    return area;
}

int32_t CornerCode(int entered, int towards) {
    auto has = [&](int side) { return entered == side || towards == side; };
    if (has(4) && has(1)) return WireLeftUp;
    if (has(4) && has(3)) return WireLeftDown;
    if (has(2) && has(1)) return WireRightUp;
    return WireRightDown;
}

class Router {
public:
    explicit Router(Schematic& s)
        : s_(s), area_(WaveArea().data()), wire_(PaddedCells, WireBody), net_(PaddedCells, NoNet),
          queue_(1u << 14) {
        touched_.reserve(4096);
    }

    void Run() {
        for (int i = 1; i <= s_.ElementCount; ++i) {
            const TElement& e = s_.element(i);
            const int64_t x0 = std::max<int64_t>(e.Coord.x, 0);
            const int64_t x1 = std::min<int64_t>(int64_t{e.Coord.x} + e.CellWidth, GridMax);
            const int64_t y0 = std::max<int64_t>(e.Coord.y, 0);
            const int64_t y1 = std::min<int64_t>(int64_t{e.Coord.y} + e.CellHeight, GridMax);
            for (int64_t x = x0; x <= x1; ++x)
                for (int64_t y = y0; y <= y1; ++y)
                    bodies_.push_back(Index(static_cast<int>(x), static_cast<int>(y)));
        }
        for (int x = 0; x <= GridMax; ++x)
            std::fill_n(&wire_[static_cast<size_t>(Index(x, 0))], GridSize, WireFree);
        for (int k : bodies_) wire_[static_cast<size_t>(k)] = WireBody;
        wave_ = wire_;

        for (size_t n = 0; n < s_.Cons.size(); ++n) {
            const TCons& pins = s_.Cons[n];
            if (pins.size() < 2) continue;
            for (size_t l = 1; l < pins.size(); ++l) Search(static_cast<int>(n), pins[l], pins[0]);
        }

        for (int x = 0; x <= GridMax; ++x) {
            std::memcpy(&s_.WireMap.at(x, 0), &wire_[static_cast<size_t>(Index(x, 0))], GridSize * sizeof(int32_t));
            std::memcpy(&s_.NetMap.at(x, 0), &net_[static_cast<size_t>(Index(x, 0))], GridSize * sizeof(int32_t));
        }
    }

private:
    static bool InGrid(TCellPoint c) { return c.x >= 0 && c.x <= GridMax && c.y >= 0 && c.y <= GridMax; }

    void Push(int k) {
        queue_[tail_] = k;
        tail_ = (tail_ + 1) & (queue_.size() - 1);
        if (tail_ == head_) Grow();
    }

    // Called when the ring has just become full: doubles it, keeping the order of waiting cells.
    void Grow() {
        std::vector<int> bigger(queue_.size() * 2);
        const size_t n = queue_.size();
        for (size_t i = 0; i < n; ++i) bigger[i] = queue_[(head_ + i) & (n - 1)];
        queue_.swap(bigger);
        head_ = 0;
        tail_ = n;
    }

    void SetLabel(int k, int32_t label) {
        int32_t& v = wave_[static_cast<size_t>(k)];
        if (!IsLabel(v)) touched_.push_back(k);
        v = label;
    }

    void SetWire(int k, int32_t code) {
        wire_[static_cast<size_t>(k)] = code;
        touched_.push_back(k);
    }

    // Returns true when p is reached.
    bool Probe(int p, int e, int base) {
        if (!area_[p]) return false;
        const int distance = base + 1;
        if (distance > MaxDistance) return false;
        const int32_t label = e * LabelBase + distance;
        if (p == goal_ || net_[static_cast<size_t>(p)] == joinKey_) {
            SetLabel(p, label);
            return true;
        }
        int32_t& v = wave_[static_cast<size_t>(p)];
        if (v == WireFree) {
            touched_.push_back(p);
        } else if (IsLabel(v)) {
            if (v % LabelBase <= distance) return false;
        } else {
            if (v == WireBody || v >= WireLeftUp) return false;
            if (v == WireHorizontal ? e % 2 == 0 : e % 2 == 1) return false;
            if (v < base) return false;
            touched_.push_back(p);
        }
        v = label;
        Push(p);
        return false;
    }

    void Search(int net, TCellPoint startCell, TCellPoint goalCell) {
        if (!InGrid(startCell)) return;
        const int start = Index(startCell.x, startCell.y);
        goal_ = InGrid(goalCell) ? Index(goalCell.x, goalCell.y) : -1;
        join_ = net_[static_cast<size_t>(start)];
        if (goal_ >= 0 && net_[static_cast<size_t>(goal_)] != NoNet) join_ = net_[static_cast<size_t>(goal_)];
        joinKey_ = join_ == NoNet ? INT_MIN : join_;

        int dir = s_.RouteDirection;
        const int around[4][2] = {{Right, 2}, {Left, 4}, {Down, 3}, {Up, 1}};
        for (const auto& a : around) {
            const int32_t v = wire_[static_cast<size_t>(start + a[0])];
            if (v == WireFree || v == WireHorizontal || v == WireVertical) dir = a[1];
        }
        head_ = tail_ = 0;
        touched_.clear();
        SetLabel(start, dir * LabelBase + 1);
        Push(start);

        int q = 0, f = 0, d = 0;
        bool reached = false;
        while (head_ != tail_) {
            q = queue_[head_];
            head_ = (head_ + 1) & (queue_.size() - 1);
            const int32_t label = wave_[static_cast<size_t>(q)];
            d = label / LabelBase;
            const int distance = label % LabelBase;
            const int* off = Offsets[d];
            dir = d;
            if (Probe(f = q + off[0], d, distance)) {
                reached = true;
                break;
            }
            if (net_[static_cast<size_t>(q)] != NoNet) continue;
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
        s_.RouteDirection = dir;
        if (reached) Finish(net, start, q, f, d, dir);
        for (int k : touched_) wave_[static_cast<size_t>(k)] = wire_[static_cast<size_t>(k)];
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
        net_[static_cast<size_t>(p)] = w;
    }

    static bool InGridIndex(int k) {
        const int x = k / Stride - 1, y = k % Stride - 1;
        return x >= 0 && x <= GridMax && y >= 0 && y <= GridMax;
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
                net_[static_cast<size_t>(start)] = w;
                return;
            }
            cursor = q;
            Mark(f, prev, prev, w);
        }
        for (;;) {
            const int k = cursor;
            const int32_t label = wave_[static_cast<size_t>(k)];
            const int b = Reverse(label / LabelBase);
            int best = label % LabelBase;
            int taken = -1;
            for (int i = 0; i < 3; ++i) {
                const int c = k + Offsets[b][i];
                const int32_t v = wave_[static_cast<size_t>(c)];
                // Margin cells hold WireBody, whose remainder is never below a distance.
                if (v != WireFree && v % LabelBase < best) {
                    best = v % LabelBase;
                    taken = i;
                    cursor = c;
                }
            }
            if (taken == 1 || taken == 2) {
                const int side = taken == 1 ? TurnLeft(b) : TurnRight(b);
                Mark(k, side, prev, w);
                prev = side;
            } else {
                Mark(cursor - Offsets[b][0], b, prev, w);
                prev = b;
            }
            if (taken >= 0 && cursor != start) continue;
            SetWire(cursor, WireHorizontal + prev % 2);
            net_[static_cast<size_t>(cursor)] = w;
            return;
        }
    }

    Schematic& s_;
    const uint8_t* area_;
    std::vector<int32_t> wire_, net_, wave_;
    std::vector<int> bodies_;
    std::vector<int> queue_;
    size_t head_ = 0, tail_ = 0;
    std::vector<int> touched_;
    int goal_ = -1;
    int join_ = NoNet;
    int joinKey_ = INT_MIN;
};

}  // namespace

void RouteWires(Schematic& s) {
    Router router(s);
    router.Run();
}
