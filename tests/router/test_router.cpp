// SPDX-License-Identifier: MIT
#include "router/router.h"
#include "tools/gen/schematicgen.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

using Cell = std::pair<int, int>;
using WireCells = std::map<Cell, int32_t>; // every cell holding a wire code

int AddElement(Schematic& s, int x, int y, int w, int h, const char* left, const char* right) {
    TElement e;
    e.Coord = {x, y};
    e.CellWidth = w;
    e.CellHeight = h;
    e.Legs = BuildLegs(QString::fromLatin1(left), QString::fromLatin1(right), w);
    return s.AddElement(e);
}

// Replaces the nets of `s` by `nets`.
void SetNets(Schematic& s, const std::vector<TConns>& nets) {
    while (!s.Conns().empty())
        s.RemoveNet(0);
    for (const TConns& net : nets)
        ASSERT_TRUE(s.AddNet(net));
}

WireCells Wires(const RoutingGrids& g) {
    WireCells cells;
    for (int x = 0; x <= GridMax; ++x)
        for (int y = 0; y <= GridMax; ++y) {
            const int32_t v = g.WireMap.at(x, y);
            if (v != WireFree && v != WireBody) cells[{x, y}] = v;
        }
    return cells;
}

void AddRun(WireCells& w, int x0, int y0, int x1, int y1) {
    for (int x = std::min(x0, x1); x <= std::max(x0, x1); ++x)
        for (int y = std::min(y0, y1); y <= std::max(y0, y1); ++y)
            w[{x, y}] = y0 == y1 ? WireHorizontal : WireVertical;
}

using RouteFn = void (*)(const Schematic&, RoutingGrids&);

// Every case runs on both routers.
class Routers : public ::testing::TestWithParam<RouteFn> {
protected:
    void Route() {
        s.DeriveCons();
        GetParam()(s, g);
    }
    int NetAt(int x, int y) const { return g.NetMap.at(x, y); }
    Schematic s;
    RoutingGrids g;
};

TEST_P(Routers, FacingPinsGetOneStraightWire) {
    AddElement(s, 10, 10, 3, 4, "", "01");
    AddElement(s, 20, 10, 3, 4, "01", "");
    SetNets(s, {{{2, 0}, {1, 0}}});
    Route();
    WireCells expected;
    AddRun(expected, 13, 12, 20, 12);
    EXPECT_EQ(Wires(g), expected);
    for (int x = 13; x <= 20; ++x)
        EXPECT_EQ(NetAt(x, 12), 0) << x;
    EXPECT_EQ(NetAt(12, 12), NoNet);
    EXPECT_EQ(NetAt(21, 12), NoNet);
}

struct CornerCase {
    const char* name;
    bool farPinFirst;
};

class RouterCorners : public ::testing::TestWithParam<std::tuple<RouteFn, CornerCase>> {};

TEST_P(RouterCorners, WireTurnsWhereTheWaveTurned) {
    const auto& [route, c] = GetParam();
    Schematic s;
    AddElement(s, 10, 10, 3, 4, "", "01"); // pin (13, 12)
    AddElement(s, 30, 20, 3, 4, "01", ""); // pin (30, 22)
    SetNets(s, {c.farPinFirst ? TConns{{2, 0}, {1, 0}} : TConns{{1, 0}, {2, 0}}});
    s.DeriveCons();
    RoutingGrids g;
    route(s, g);
    WireCells expected;
    if (c.farPinFirst) {
        AddRun(expected, 13, 12, 28, 12);
        AddRun(expected, 29, 13, 29, 21);
        expected[{29, 12}] = WireLeftDown;
        expected[{29, 22}] = WireRightUp;
        expected[{30, 22}] = WireHorizontal;
    } else {
        AddRun(expected, 15, 22, 30, 22);
        AddRun(expected, 14, 13, 14, 21);
        expected[{14, 22}] = WireRightUp;
        expected[{14, 12}] = WireLeftDown;
        expected[{13, 12}] = WireHorizontal;
    }
    EXPECT_EQ(Wires(g), expected);
    for (const auto& [cell, code] : expected)
        EXPECT_EQ(g.NetMap.at(cell.first, cell.second), 0);
}

INSTANTIATE_TEST_SUITE_P(BothOrders, RouterCorners,
                         ::testing::Combine(::testing::Values(&RouteWires, &RouteWiresReference),
                                            ::testing::Values(CornerCase{"far_pin_first", true},
                                                              CornerCase{"near_pin_first", false})),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param) == &RouteWires ? "fast_" : "plain_") +
                                    std::get<1>(info.param).name;
                         });

TEST_P(Routers, ThirdPinEndsInAJunctionThatKeepsItsCode) {
    AddElement(s, 10, 10, 3, 4, "", "01"); // (13, 12)
    AddElement(s, 30, 10, 3, 4, "01", ""); // (30, 12)
    AddElement(s, 21, 20, 3, 4, "1", "");  // (21, 21)
    AddElement(s, 26, 3, 3, 4, "01", "");  // (26, 5), above the first wire
    SetNets(s, {{{1, 0}, {2, 0}, {3, 0}, {4, 0}}});
    Route();
    // The third pin's wave leaves (21, 21) to the left and first meets the net at (20, 12).
    EXPECT_EQ(g.WireMap.at(20, 12), WireJunction);
    EXPECT_EQ(g.WireMap.at(20, 21), WireRightUp);
    EXPECT_EQ(g.WireMap.at(21, 21), WireHorizontal);
    for (int y = 13; y <= 20; ++y)
        EXPECT_EQ(g.WireMap.at(20, y), WireVertical) << y;
    // The fourth pin meets the net elsewhere; the junction at (20, 12) stays a dot.
    int junctions = 0;
    for (const auto& [cell, code] : Wires(g)) {
        if (code == WireJunction) ++junctions;
        EXPECT_EQ(g.NetMap.at(cell.first, cell.second), 0);
    }
    EXPECT_EQ(junctions, 2);
    for (int x = 13; x <= 30; ++x)
        EXPECT_TRUE(g.WireMap.at(x, 12) == WireHorizontal || g.WireMap.at(x, 12) == WireJunction) << x;
}

TEST_P(Routers, CrossingTakesTheLaterNet) {
    AddElement(s, 10, 10, 3, 4, "", "01"); // (13, 12)
    AddElement(s, 30, 10, 3, 4, "01", ""); // (30, 12)
    AddElement(s, 18, 2, 3, 4, "", "01");  // (21, 4)
    AddElement(s, 18, 20, 3, 4, "", "01"); // (21, 22)
    SetNets(s, {{{1, 0}, {2, 0}}, {{3, 0}, {4, 0}}});
    Route();
    EXPECT_EQ(g.WireMap.at(22, 12), WireCrossing);
    EXPECT_EQ(NetAt(22, 12), 1);
    for (int y = 5; y <= 21; ++y)
        if (y != 12) {
            EXPECT_EQ(g.WireMap.at(22, y), WireVertical) << y;
            EXPECT_EQ(NetAt(22, y), 1) << y;
        }
    EXPECT_EQ(g.WireMap.at(22, 4), WireLeftDown);
    EXPECT_EQ(g.WireMap.at(22, 22), WireLeftUp);
    EXPECT_EQ(NetAt(21, 12), 0);
    EXPECT_EQ(NetAt(23, 12), 0);
}

TEST_P(Routers, OnePinNetIsNotRouted) {
    AddElement(s, 10, 10, 3, 4, "", "01");
    EXPECT_FALSE(s.AddNet({{1, 0}})) << "the model takes no net of one pin";
    g.RouteDirection = 3;
    Route();
    EXPECT_TRUE(Wires(g).empty());
    EXPECT_EQ(NetAt(13, 12), NoNet);
    EXPECT_EQ(g.RouteDirection, 3);
}

TEST_P(Routers, GoalOnRowZeroCannotBeReachedButAStartThereRoutes) {
    AddElement(s, 10, -1, 3, 1, "", "1");  // pin (13, 0), free cell below it
    AddElement(s, 20, 10, 3, 4, "01", ""); // pin (20, 12)
    SetNets(s, {{{1, 0}, {2, 0}}});
    Route();
    EXPECT_TRUE(Wires(g).empty());
    for (int x = 0; x <= GridMax; ++x)
        EXPECT_EQ(NetAt(x, 0), NoNet);

    SetNets(s, {{{2, 0}, {1, 0}}});
    Route();
    EXPECT_EQ(g.WireMap.at(13, 0), WireVertical);
    EXPECT_EQ(NetAt(13, 0), 0);
    EXPECT_EQ(g.WireMap.at(20, 12), WireHorizontal);
    EXPECT_EQ(NetAt(20, 12), 0);
}

TEST_P(Routers, BoxedInPinGetsNoWireAndTheOthersRoute) {
    AddElement(s, 10, 10, 3, 4, "", "01"); // (13, 12)
    AddElement(s, 50, 50, 2, 2, "", "1");  // (52, 51), boxed in by the next element
    AddElement(s, 53, 49, 3, 4, "", "");
    AddElement(s, 30, 10, 3, 4, "01", ""); // (30, 12)
    SetNets(s, {{{1, 0}, {2, 0}, {4, 0}}});
    Route();
    EXPECT_EQ(g.WireMap.at(52, 51), WireBody);
    EXPECT_EQ(NetAt(52, 51), NoNet);
    WireCells expected;
    AddRun(expected, 13, 12, 30, 12);
    EXPECT_EQ(Wires(g), expected);
}

TEST_P(Routers, OnlyElementsInUseAreObstacles) {
    AddElement(s, 10, 10, 3, 4, "", "01");
    AddElement(s, 40, 40, 6, 6, "1", "1");
    Route();
    EXPECT_EQ(g.WireMap.at(43, 43), WireBody);
    s.SelectElement(2);
    s.DeleteSelected();
    Route();
    for (int x = 40; x <= 46; ++x)
        for (int y = 40; y <= 46; ++y)
            EXPECT_EQ(g.WireMap.at(x, y), WireFree);
    EXPECT_EQ(g.WireMap.at(10, 10), WireBody);
    EXPECT_EQ(g.WireMap.at(13, 14), WireBody);
    EXPECT_EQ(g.WireMap.at(14, 14), WireFree);
}

TEST_P(Routers, ElementCellsOutsideTheGridAreSkipped) {
    AddElement(s, 198, -3, 5, 5, "", "");
    AddElement(s, 2147483600, 2147483600, 100, 100, "1", "");
    Route();
    EXPECT_EQ(g.WireMap.at(198, 0), WireBody);
    EXPECT_EQ(g.WireMap.at(200, 2), WireBody);
    EXPECT_EQ(g.WireMap.at(197, 0), WireFree);
    EXPECT_EQ(g.WireMap.at(200, 3), WireFree);
}

TEST_P(Routers, DirectionCarriesToASearchWithNoFreeNeighbour) {
    // The first search ends moving right (2). The second net's start is boxed in, so its search
    // starts with that carried direction and its last probe turns right of it: 3.
    AddElement(s, 10, 10, 3, 4, "", "01");
    AddElement(s, 20, 10, 3, 4, "01", "");
    AddElement(s, 50, 50, 2, 2, "", "1");
    AddElement(s, 53, 49, 3, 4, "", "");
    AddElement(s, 60, 60, 2, 2, "", "1");
    SetNets(s, {{{2, 0}, {1, 0}}, {{5, 0}, {3, 0}}});
    g.RouteDirection = 1;
    Route();
    EXPECT_EQ(g.RouteDirection, 3);
    SetNets(s, {{{5, 0}, {3, 0}}});
    for (int carried = 1; carried <= 4; ++carried) {
        g.RouteDirection = carried;
        Route();
        EXPECT_EQ(g.RouteDirection, carried % 4 + 1) << carried;
    }
}

INSTANTIATE_TEST_SUITE_P(FastAndPlain, Routers, ::testing::Values(&RouteWires, &RouteWiresReference),
                         [](const auto& info) { return info.param == &RouteWires ? "fast" : "plain"; });

struct GenCase {
    std::string name;
    GenOptions options;
    int first; // seeds 1000 + first .. 1000 + first + count - 1
    int count;
};

// Each kind of schematic in chunks of a few, so that no single test runs long under sanitizers.
std::vector<GenCase> GeneratedCases() {
    const struct {
        const char* name;
        GenOptions options;
        int schematics, chunk;
    } kinds[] = {
        {"typical", GenOptions{.elements = 40, .nets = 60}, 24, 6},
        {"sparse", GenOptions{.elements = 12, .nets = 10, .maxPins = 6}, 150, 50},
        {"loose", GenOptions{.elements = 60, .nets = 40, .loose = true}, 100, 20},
        {"crowded", GenOptions{.elements = 150, .nets = 150, .loose = true}, 15, 3},
    };
    std::vector<GenCase> cases;
    for (const auto& k : kinds)
        for (int first = 0; first < k.schematics; first += k.chunk)
            cases.push_back({std::string(k.name) + "_" + std::to_string(first), k.options, first, k.chunk});
    return cases;
}

class RouterAgreement : public ::testing::TestWithParam<GenCase> {};

// The fast router must give exactly the reference's grids and carried direction.
TEST_P(RouterAgreement, FastEqualsReferenceCellForCell) {
    const GenCase& c = GetParam();
    int wires = 0;
    for (int i = c.first; i < c.first + c.count; ++i) {
        Schematic s;
        GenerateSchematic(s, 1000u + static_cast<uint32_t>(i), c.options);
        RoutingGrids fast, plain;
        fast.RouteDirection = plain.RouteDirection = 1 + i % 4;
        RouteWires(s, fast);
        RouteWiresReference(s, plain);
        ASSERT_TRUE(fast.WireMap == plain.WireMap) << "schematic " << i;
        ASSERT_TRUE(fast.NetMap == plain.NetMap) << "schematic " << i;
        ASSERT_EQ(fast.RouteDirection, plain.RouteDirection) << "schematic " << i;
        // A second run over the routed grids (as after the next click) must agree as well.
        RouteWires(s, fast);
        RouteWiresReference(s, plain);
        ASSERT_TRUE(fast.WireMap == plain.WireMap) << "schematic " << i << " again";
        wires += static_cast<int>(Wires(fast).size());
    }
    EXPECT_GT(wires, c.count * 10); // the generated schematics really route something
}

INSTANTIATE_TEST_SUITE_P(Generated, RouterAgreement, ::testing::ValuesIn(GeneratedCases()),
                         [](const auto& info) { return info.param.name; });

} // namespace
