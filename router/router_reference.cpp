// SPDX-License-Identifier: MIT
// The plain router: it follows the routing rules step by step on (x, y) cells, takes a full copy
// of WireMap for every search and keeps its queue in a std::deque. Slow but easy to check; the
// fast router in router.cpp must give the same grids.
#include "router/router.h"

#include "router/directions.h"

#include <algorithm>
#include <deque>

namespace {

using namespace wave;

// Steps for direction d: straight, d - 1, d + 1.
constexpr int Steps[5][3][2] = {
    {{0, 0}, {0, 0}, {0, 0}},  {{0, -1}, {-1, 0}, {1, 0}}, {{1, 0}, {0, -1}, {0, 1}},
    {{0, 1}, {1, 0}, {-1, 0}}, {{-1, 0}, {0, 1}, {0, -1}},
};

bool InGrid(int x, int y) {
    return x >= 0 && x <= GridMax && y >= 0 && y <= GridMax;
}
bool InWaveArea(int x, int y) {
    return x >= 1 && x < GridMax && y >= 1 && y < GridMax;
}

TCellPoint Step(TCellPoint c, int d, int which) {
    return {c.x + Steps[d][which][0], c.y + Steps[d][which][1]};
}

class PinSearch {
public:
    PinSearch(RoutingGrids& s, int net, TCellPoint start, TCellPoint goal)
        : s_(s), net_(net), start_(start), goal_(goal), wave_(s.WireMap) {}

    void Run() {
        if (!InGrid(start_.x, start_.y)) return;
        join_ = s_.NetMap.at(start_.x, start_.y);
        if (InGrid(goal_.x, goal_.y) && s_.NetMap.at(goal_.x, goal_.y) != NoNet)
            join_ = s_.NetMap.at(goal_.x, goal_.y);

        int& dir = s_.RouteDirection;
        const struct { int dx, dy, d; } around[4] = {{1, 0, 2}, {-1, 0, 4}, {0, 1, 3}, {0, -1, 1}};
        for (const auto& a : around) {
            const int x = start_.x + a.dx, y = start_.y + a.dy;
            if (!InGrid(x, y)) continue;
            const int32_t v = wave_.at(x, y);
            if (v == WireFree || v == WireHorizontal || v == WireVertical) dir = a.d;
        }
        wave_.at(start_.x, start_.y) = dir * LabelBase + 1;
        queue_.push_back(start_);

        TCellPoint q, f;
        int d = 0, e = 0;
        for (;;) {
            if (queue_.empty()) return;
            q = queue_.front();
            queue_.pop_front();
            const int32_t label = wave_.at(q.x, q.y);
            d = label / LabelBase;
            const int distance = label % LabelBase;
            const int tries[3] = {d, TurnLeft(d), TurnRight(d)};
            bool reached = false;
            for (int i = 0; i < 3 && !reached; ++i) {
                if (i == 1 && s_.NetMap.at(q.x, q.y) != NoNet) break;
                dir = tries[i];
                f = Step(q, d, i);
                reached = Probe(f, dir, i == 0 ? distance : distance + 5);
            }
            if (reached) {
                e = dir;
                break;
            }
        }
        Finish(q, f, d, e);
    }

private:
    bool Probe(TCellPoint p, int e, int base) {
        if (!InWaveArea(p.x, p.y)) return false;
        const int distance = base + 1;
        if (distance > MaxDistance) return false; // the label could not hold it
        const int32_t label = e * LabelBase + distance;
        if (p == goal_ || (join_ != NoNet && s_.NetMap.at(p.x, p.y) == join_)) {
            wave_.at(p.x, p.y) = label;
            return true;
        }
        const int32_t v = wave_.at(p.x, p.y);
        if (v == WireBody) return false;
        if (v >= WireLeftUp && v <= WireJunction) return false;
        if (v == WireHorizontal && e % 2 == 0) return false;
        if (v == WireVertical && e % 2 == 1) return false;
        if (v >= LabelBase) {
            if (v % LabelBase <= distance) return false;
        } else if (v != WireFree && v < base) {
            return false;
        }
        wave_.at(p.x, p.y) = label;
        queue_.push_back(p);
        return false;
    }

    void Mark(TCellPoint p, int b, int prev, int w) {
        if (!InGrid(p.x, p.y)) return;
        int32_t& code = s_.WireMap.at(p.x, p.y);
        if (b == prev || b == Reverse(prev)) {
            if (s_.NetMap.at(p.x, p.y) == NoNet)
                code = WireHorizontal + b % 2;
            else if (code != WireJunction)
                code = WireCrossing;
        } else {
            code = CornerCode(Reverse(prev), b);
        }
        s_.NetMap.at(p.x, p.y) = w;
    }

    void Finish(TCellPoint q, TCellPoint f, int d, int e) {
        int w;
        TCellPoint cursor;
        int prev = Reverse(e);
        if (join_ == NoNet) {
            w = net_;
            cursor = goal_;
        } else {
            w = join_;
            s_.WireMap.at(f.x, f.y) = WireJunction;
            if (q == start_) {
                s_.WireMap.at(start_.x, start_.y) = WireHorizontal + d % 2;
                s_.NetMap.at(start_.x, start_.y) = w;
                return;
            }
            cursor = q;
            Mark(f, prev, prev, w);
        }
        for (;;) {
            const TCellPoint k = cursor;
            const int32_t label = wave_.at(k.x, k.y);
            const int b = Reverse(label / LabelBase);
            int best = label % LabelBase;
            int taken = -1;
            for (int i = 0; i < 3; ++i) {
                const TCellPoint c = Step(k, b, i);
                if (!InGrid(c.x, c.y)) continue;
                const int32_t v = wave_.at(c.x, c.y);
                if (v != WireFree && v % LabelBase < best) {
                    best = v % LabelBase;
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
                Mark({cursor.x - Steps[b][0][0], cursor.y - Steps[b][0][1]}, b, prev, w);
                prev = b;
            }
            if (taken >= 0 && !(cursor == start_)) continue;
            s_.WireMap.at(cursor.x, cursor.y) = WireHorizontal + prev % 2;
            s_.NetMap.at(cursor.x, cursor.y) = w;
            return;
        }
    }

    RoutingGrids& s_;
    int net_;
    TCellPoint start_, goal_;
    TGrid wave_;
    std::deque<TCellPoint> queue_;
    int join_ = NoNet;
};

} // namespace

void RouteWiresReference(const Schematic& s, RoutingGrids& g) {
    g.WireMap.fill(WireFree);
    g.NetMap.fill(NoNet);
    for (int i = 1; i <= s.ElementCount(); ++i) {
        const TElement& e = s.element(i);
        const int64_t x0 = std::max<int64_t>(e.Coord.x, 0);
        const int64_t x1 = std::min<int64_t>(int64_t{e.Coord.x} + e.CellWidth, GridMax);
        const int64_t y0 = std::max<int64_t>(e.Coord.y, 0);
        const int64_t y1 = std::min<int64_t>(int64_t{e.Coord.y} + e.CellHeight, GridMax);
        for (int64_t x = x0; x <= x1; ++x)
            for (int64_t y = y0; y <= y1; ++y)
                g.WireMap.at(static_cast<int>(x), static_cast<int>(y)) = WireBody;
    }
    for (size_t n = 0; n < s.Cons().size(); ++n) {
        const TCons& pins = s.Cons()[n];
        if (pins.size() < 2) continue;
        for (size_t l = 1; l < pins.size(); ++l) {
            PinSearch search(g, static_cast<int>(n), pins[l], pins[0]);
            search.Run();
        }
    }
}
