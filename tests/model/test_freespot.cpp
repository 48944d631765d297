// SPDX-License-Identifier: MIT
// Where a new element lands: the first spot, row by row from a given cell, that overlaps no
// element (with a cell of room around it) and lies inside the grid.
#include "model/freespot.h"
#include "model/schematic.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace {

struct SpotCase {
    const char* name;
    std::vector<TPoint32> taken; // 4 x 5 cell elements at these cells
    TPoint32 from;
    TPoint32 expected;
    std::vector<int> ignore = {};
};

void PrintTo(const SpotCase& c, std::ostream* os) {
    *os << c.name;
}

class FreeSpot : public ::testing::TestWithParam<SpotCase> {};

TEST_P(FreeSpot, LandsOnTheFirstSpotOverlappingNothing) {
    const SpotCase& c = GetParam();
    Schematic s;
    for (TPoint32 at : c.taken) {
        TElement e;
        e.Name = QStringLiteral("D%1").arg(s.ElementCount() + 1);
        e.Coord = at;
        e.CellWidth = 4;
        e.CellHeight = 5;
        s.AddElement(e);
    }
    const TPoint32 spot = FirstFreeSpot(s, 4, 5, c.from, c.ignore);
    EXPECT_EQ(spot.x, c.expected.x);
    EXPECT_EQ(spot.y, c.expected.y);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FreeSpot,
    ::testing::Values(SpotCase{"EmptyFieldTakesTheStart", {}, {0, 0}, {0, 0}},
                      // Boxes [0..4] x [0..5]: the next box needs a free column between (x - 1 > 4).
                      SpotCase{"BesideAnElementWithACellBetween", {{0, 0}}, {0, 0}, {6, 0}},
                      SpotCase{"BesideTwo", {{0, 0}, {6, 0}}, {0, 0}, {12, 0}},
                      SpotCase{"StartsAtTheCellInView", {{0, 0}}, {30, 20}, {30, 20}},
                      SpotCase{"AnElementInViewPushesItRight", {{30, 20}}, {30, 20}, {36, 20}},
                      // Against the right edge the row ends: the next row that clears the element.
                      SpotCase{"RowEndGoesDown", {{196, 0}}, {196, 0}, {196, 7}},
                      SpotCase{"ClampedIntoTheGrid", {}, {500, 500}, {196, 195}},
                      SpotCase{"AnIgnoredElementDoesNotCount", {{0, 0}}, {0, 0}, {0, 0}, {1}},
                      // Nothing free right of and below the start: the whole grid from its top-left.
                      SpotCase{"WrapsToTheTopLeft", {{196, 195}}, {196, 195}, {0, 0}}),
    [](const ::testing::TestParamInfo<SpotCase>& info) { return std::string(info.param.name); });

TEST(FreeSpotFull, AFieldWithNoRoomGivesTheStart) {
    Schematic s;
    TElement e;
    e.Name = QStringLiteral("D1");
    e.CellWidth = GridMax;
    e.CellHeight = GridMax;
    s.AddElement(e);
    const TPoint32 spot = FirstFreeSpot(s, 4, 5, {10, 12});
    EXPECT_EQ(spot.x, 10);
    EXPECT_EQ(spot.y, 12);
}

} // namespace
