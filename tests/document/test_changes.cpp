// SPDX-License-Identifier: MIT
// The pieces an undo step is made of: the navigator's change and the difference of two routings.
#include "model/navigator.h"
#include "model/schematicchange.h"
#include "model/schematicfiles.h"
#include "router/gridsdelta.h"
#include "router/router.h"
#include "tools/gen/schematicgen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// A tree written as lines of tabs and text; a trailing "*" marks a placed node with data 7.
void Build(Navigator& n, const char* text) {
    QByteArray plain;
    std::vector<int> placed;
    int index = 0;
    for (QByteArray line : QByteArray(text).split('\n')) {
        if (line.isEmpty()) continue;
        if (line.endsWith('*')) {
            line.chop(1);
            placed.push_back(index);
        }
        plain += line + "\r\n";
        ++index;
    }
    ASSERT_EQ(ReadTreeFile(plain, n), "");
    const std::vector<QStandardItem*> nodes = n.nodesInTreeOrder();
    for (int i : placed) {
        Navigator::setImageIndex(nodes[static_cast<size_t>(i)], Navigator::ImagePlaced);
        Navigator::setDataRef(nodes[static_cast<size_t>(i)], 7);
    }
}

struct TreeCase {
    const char* name;
    const char* before;
    const char* after;
    int rebuiltRoots; // root nodes that are not kept as they were (by identity)
};

void PrintTo(const TreeCase& c, std::ostream* os) {
    *os << c.name;
}

class NavigatorChange : public ::testing::TestWithParam<TreeCase> {};

// The change turns either tree into the other, and only the nodes of its run are made anew: the
// other roots are the same items as before (a view keeps them expanded).
TEST_P(NavigatorChange, TurnsEitherTreeIntoTheOther) {
    const TreeCase& c = GetParam();
    Navigator before, after, work;
    Build(before, c.before);
    Build(after, c.after);
    Build(work, c.before);
    const std::vector<TNodeRecord> b = NavigatorRecords(before), a = NavigatorRecords(after);
    const TNavigatorChange change = DiffNavigator(b, a);
    const auto same = [](const std::vector<TNodeRecord>& x, const std::vector<TNodeRecord>& y) {
        if (x.size() != y.size()) return false;
        for (size_t i = 0; i < x.size(); ++i)
            if (x[i].depth != y[i].depth || x[i].text != y[i].text || x[i].image != y[i].image ||
                x[i].data != y[i].data)
                return false;
        return true;
    };
    std::vector<QStandardItem*> roots;
    for (int r = 0; r < work.model().rowCount(); ++r)
        roots.push_back(work.model().item(r));

    ApplyNavigatorChange(work, change, true);
    EXPECT_TRUE(same(NavigatorRecords(work), a));
    int kept = 0;
    for (int r = 0; r < work.model().rowCount(); ++r)
        kept += std::count(roots.begin(), roots.end(), work.model().item(r)) > 0;
    EXPECT_EQ(work.model().rowCount() - kept, c.rebuiltRoots);

    ApplyNavigatorChange(work, change, false);
    EXPECT_TRUE(same(NavigatorRecords(work), b));
}

INSTANTIATE_TEST_SUITE_P(
    Trees, NavigatorChange,
    ::testing::Values(TreeCase{"chip_listed_above_one_of_its_marking", "K\n\tD1.1\n\tD1.2\n",
                               "K\n\tD2.1\n\tD2.2\nK\n\tD1.1\n\tD1.2\n", 1},
                      TreeCase{"special_listed_among_its_kind", "K\n\tD1\nS\n\tI1\n\tP1\n",
                               "K\n\tD1\nS\n\tI1\n\tI2\n\tP1\n", 0},
                      TreeCase{"special_group_made", "K\n\tD1\n", "K\n\tD1\nS\n\tI1\n", 1},
                      TreeCase{"group_removed_and_the_rest_relinked", "A\n\tD1*\nB\n\tD2*\n", "B\n\tD2\n", 0},
                      TreeCase{"node_placed", "A\n\tD1\n\tD2\n", "A\n\tD1\n\tD2*\n", 0},
                      TreeCase{"node_moved_deeper", "A\n\tD1\n\tD2\nB\n", "A\n\tD1\n\t\tD2\nB\n", 1},
                      TreeCase{"everything_removed", "A\n\tD1\nB\n", "", 0},
                      TreeCase{"first_tree", "", "A\n\tD1\n", 1}),
    [](const ::testing::TestParamInfo<TreeCase>& info) { return std::string(info.param.name); });

// Two routings of a generated schematic before and after one element moved.
class Routings : public ::testing::Test {
protected:
    void SetUp() override {
        GenerateSchematic(s, 2024u, GenOptions{.elements = 40, .nets = 60});
        RouteWires(s, a);
        s.SetCoord(3, {s.element(3).Coord.x + 2, s.element(3).Coord.y});
        s.DeriveCons();
        RouteWires(s, b);
        b.RouteDirection = 4;
    }
    Schematic s;
    RoutingGrids a, b;
};

TEST_F(Routings, TheDifferenceTurnsEitherSideIntoTheOtherAndIsSmall) {
    ASSERT_NE(a.WireMap, b.WireMap);
    const GridsDelta d = GridsDelta::Between(a, b);
    RoutingGrids g = a;
    d.Apply(g, false);
    EXPECT_EQ(g.WireMap, b.WireMap);
    EXPECT_EQ(g.NetMap, b.NetMap);
    EXPECT_EQ(g.RouteDirection, 4);
    d.Apply(g, true);
    EXPECT_EQ(g.WireMap, a.WireMap);
    EXPECT_EQ(g.NetMap, a.NetMap);
    EXPECT_EQ(g.RouteDirection, 2);
    // A few bytes a changed cell, far below a copy of the two grids.
    EXPECT_GT(d.cells(), 0u);
    EXPECT_LT(d.bytes(), sizeof(GridsDelta) + 6 * d.cells());
    EXPECT_TRUE(GridsDelta::Between(a, a).empty());
}

// A routing that is no edit moves one side; the difference follows it on either side.
TEST_F(Routings, EitherSideMovesOnToAThirdRouting) {
    RoutingGrids c = a;
    c.WireMap.at(100, 100) = WireHorizontal;
    c.NetMap.at(100, 100) = 5;
    c.RouteDirection = 3;

    GridsDelta towardsC = GridsDelta::Between(a, b);
    towardsC.ExtendB(GridsDelta::Between(b, c));
    RoutingGrids g = a;
    towardsC.Apply(g, false);
    EXPECT_EQ(g.WireMap, c.WireMap);
    EXPECT_EQ(g.NetMap, c.NetMap);
    EXPECT_EQ(g.RouteDirection, 3);

    GridsDelta fromC = GridsDelta::Between(a, b);
    fromC.ExtendA(GridsDelta::Between(a, c));
    g = c;
    fromC.Apply(g, false);
    EXPECT_EQ(g.WireMap, b.WireMap);
    EXPECT_EQ(g.NetMap, b.NetMap);
    fromC.Apply(g, true);
    EXPECT_EQ(g.WireMap, c.WireMap);
    EXPECT_EQ(g.RouteDirection, 3);
}

} // namespace
