// SPDX-License-Identifier: MIT
// The pieces an undo step is made of: the navigator's change and the difference of two routings.
#include "model/navigator.h"
#include "model/schematicchange.h"
#include "model/schematicfiles.h"
#include "router/gridsdelta.h"
#include "router/router.h"
#include "tools/gen/schematicgen.h"

#include <QPoint>

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
    // The roots are marked rather than remembered by address: a root made anew may take the
    // address of one that was deleted.
    constexpr int MarkRole = Qt::UserRole + 100;
    for (int r = 0; r < work.model().rowCount(); ++r)
        work.model().item(r)->setData(true, MarkRole);

    ApplyNavigatorChange(work, change, true);
    EXPECT_TRUE(same(NavigatorRecords(work), a));
    int kept = 0;
    for (int r = 0; r < work.model().rowCount(); ++r)
        kept += work.model().item(r)->data(MarkRole).toBool();
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
        for (int x = 0; x <= GridMax && wireCell.x() < 0; ++x)
            for (int y = 0; y <= GridMax && wireCell.x() < 0; ++y)
                if (a.WireMap.at(x, y) == WireHorizontal) wireCell = QPoint(x, y);
        s.SetCoord(3, {s.element(3).Coord.x + 2, s.element(3).Coord.y});
        s.DeriveCons();
        RouteWires(s, b);
        b.RouteDirection = 4;
    }
    // The cells of net n in A.
    size_t CellsOf(int n) const {
        size_t count = 0;
        for (int x = 0; x <= GridMax; ++x)
            for (int y = 0; y <= GridMax; ++y)
                count += a.NetMap.at(x, y) == n;
        return count;
    }

    Schematic s;
    RoutingGrids a, b;
    QPoint wireCell{-1, -1}; // a cell of A that holds a wire
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
    EXPECT_LT(d.bytes(), sizeof(GridsDelta) + 300 + 5 * d.cells());
    EXPECT_TRUE(GridsDelta::Between(a, a).empty());
}

// Removing a net renumbers every later one: the difference keeps the renumbering, not the cells.
// Nets that merge or split, and numbers that pass from one net to another, still come out exactly.
TEST_F(Routings, ARenumberingCostsNoCells) {
    const auto renumbered = [](RoutingGrids g, auto map) {
        for (int x = 0; x <= GridMax; ++x)
            for (int y = 0; y <= GridMax; ++y)
                if (g.NetMap.at(x, y) >= 0) g.NetMap.at(x, y) = map(g.NetMap.at(x, y));
        return g;
    };
    struct Case {
        const char* name;
        RoutingGrids to;
        size_t cells; // at most
    };
    const int n0 = a.NetMap.at(wireCell.x(), wireCell.y());
    const std::vector<Case> cases = {
        {"net 10 removed", renumbered(a, [](int n) { return n > 10    ? n - 1
                                                            : n == 10 ? NoNet
                                                                      : n; }), 2000},
        {"nets swapped", renumbered(a, [](int n) { return n == 4   ? 9
                                                          : n == 9 ? 4
                                                                   : n; }), 0},
        {"two nets merged", renumbered(a, [](int n) { return n == 7 ? 3 : n; }), 2000},
        {"one wire moved to a new net", renumbered(a, [n0](int n) { return n == n0 ? 60 : n; }), 0},
        {"moved and renumbered", renumbered(b, [](int n) { return n > 20 ? n + 1 : n; }), 100000},
    };
    for (const Case& c : cases) {
        const GridsDelta d = GridsDelta::Between(a, c.to);
        RoutingGrids g = a;
        d.Apply(g, false);
        EXPECT_EQ(g.NetMap, c.to.NetMap) << c.name;
        EXPECT_EQ(g.WireMap, c.to.WireMap) << c.name;
        d.Apply(g, true);
        EXPECT_EQ(g.NetMap, a.NetMap) << c.name;
        EXPECT_EQ(g.WireMap, a.WireMap) << c.name;
        EXPECT_LE(d.cells(), c.cells) << c.name;
    }
    // Only the cells of the removed net differ beyond the renumbering.
    EXPECT_EQ(GridsDelta::Between(a, cases[0].to).cells(), CellsOf(10));
}

} // namespace
