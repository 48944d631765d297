// SPDX-License-Identifier: MIT
// Editing the schematic: the pin hit test and deleting the selected elements.
#include "model/pinhit.h"
#include "model/schematic.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

struct LegAtCase {
    const char* name;
    int cellWidth;
    std::vector<std::pair<int, int>> legs; // (X, Y) in leg order
    int x, y;
    int leg; // expected, -1 for none
};

class LegAtTest : public ::testing::TestWithParam<LegAtCase> {};

TEST_P(LegAtTest, AtScaleTen) {
    const LegAtCase& c = GetParam();
    TElement e;
    e.CellWidth = c.cellWidth;
    for (const auto& [x, y] : c.legs) {
        TLeg leg;
        leg.X = x;
        leg.Y = y;
        e.Legs.push_back(leg);
    }
    EXPECT_EQ(LegAt(e, c.x, c.y, 10), c.leg);
}

// A 4-cell-wide element with a left pin in row 2 (leg 0) and a right pin in row 1 (leg 1).
const std::vector<std::pair<int, int>> Chip = {{0, 2}, {4, 1}};

INSTANTIATE_TEST_SUITE_P(
    Pins, LegAtTest,
    ::testing::Values(
        LegAtCase{"left_pin_centre", 4, Chip, 0, 20, 0},
        LegAtCase{"left_pin_one_cell_outside", 4, Chip, -9, 20, 0},
        LegAtCase{"left_pin_last_column_before_inner", 4, Chip, 9, 20, 0},
        LegAtCase{"left_pin_top", 4, Chip, 0, 16, 0}, LegAtCase{"left_pin_bottom", 4, Chip, 0, 24, 0},
        LegAtCase{"left_pin_corner", 4, Chip, -9, 24, 0}, LegAtCase{"left_of_left_pin", 4, Chip, -10, 20, -1},
        LegAtCase{"inner_column_start", 4, Chip, 10, 20, -1}, LegAtCase{"above_left_pin", 4, Chip, 0, 15, -1},
        LegAtCase{"below_left_pin", 4, Chip, 0, 25, -1}, LegAtCase{"right_pin", 4, Chip, 31, 10, 1},
        LegAtCase{"right_pin_one_cell_outside", 4, Chip, 49, 14, 1},
        LegAtCase{"inner_column_end", 4, Chip, 30, 10, -1},
        LegAtCase{"right_of_right_pin", 4, Chip, 50, 10, -1},
        LegAtCase{"row_without_pin", 4, Chip, 0, 10, -1},
        // A leg inside the body is covered by the inner columns and never hit...
        LegAtCase{"leg_in_inner_columns", 4, {{2, 1}}, 15, 10, -1},
        // ...while the same leg on the right side of a narrower element is.
        LegAtCase{"same_leg_as_right_pin", 2, {{2, 1}}, 15, 10, 0},
        // One cell wide: both pins of row 1 cover x 1..9, the first leg wins.
        LegAtCase{"first_leg_wins", 1, {{0, 1}, {1, 1}}, 5, 10, 0},
        LegAtCase{"only_the_right_one", 1, {{0, 1}, {1, 1}}, 12, 10, 1}),
    [](const auto& info) { return std::string(info.param.name); });

// Four elements with two legs each; `selected` are marked for deletion.
class DeleteSelectedTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 1; i <= 4; ++i) {
            TElement e;
            e.Name = QStringLiteral("D%1").arg(i);
            e.CellWidth = 3;
            e.Legs = BuildLegs(QStringLiteral("1"), QStringLiteral("1"), 3);
            ASSERT_EQ(s.AddElement(e), i);
        }
        QObject::connect(&s, &Schematic::elementDeleted, [this](int index) { deleted.push_back(index); });
    }

    Schematic s;
    std::vector<int> deleted;
};

TEST_F(DeleteSelectedTest, PinsLeaveTheirNetsShortNetsGoAndLaterElementsMoveDown) {
    ASSERT_TRUE(s.AddNet({{1, 0}, {2, 0}, {4, 1}}));
    ASSERT_TRUE(s.AddNet({{2, 1}, {3, 0}}));
    ASSERT_TRUE(s.AddNet({{3, 1}, {4, 0}}));
    s.SelectElement(2);
    s.DeleteSelected();
    EXPECT_EQ(s.ElementCount(), 3);
    EXPECT_EQ(s.element(2).Name, QStringLiteral("D3"));
    EXPECT_EQ(s.element(3).Name, QStringLiteral("D4"));
    ASSERT_EQ(s.Conns().size(), 2u);
    EXPECT_EQ(s.Conns()[0], (TConns{{1, 0}, {3, 1}}));
    EXPECT_EQ(s.Conns()[1], (TConns{{2, 1}, {3, 0}}));
    EXPECT_EQ(deleted, std::vector<int>{2});
}

TEST_F(DeleteSelectedTest, TwoConsecutiveShortNetsAreBothRemoved) {
    ASSERT_TRUE(s.AddNet({{1, 0}, {3, 0}}));
    ASSERT_TRUE(s.AddNet({{2, 0}, {3, 1}}));
    ASSERT_TRUE(s.AddNet({{2, 1}, {4, 0}}));
    s.SelectElement(3);
    s.DeleteSelected();
    ASSERT_EQ(s.Conns().size(), 1u);
    EXPECT_EQ(s.Conns()[0], (TConns{{2, 1}, {3, 0}}));
}

TEST_F(DeleteSelectedTest, SeveralElementsAreDeletedInTheNumberingLeftByTheEarlierOnes) {
    ASSERT_TRUE(s.AddNet({{1, 0}, {4, 0}}));
    s.SelectElement(1);
    s.SelectElement(3);
    s.DeleteSelected();
    // Element 1 goes, then old 3 is element 2.
    EXPECT_EQ(deleted, (std::vector<int>{1, 2}));
    EXPECT_EQ(s.ElementCount(), 2);
    EXPECT_EQ(s.element(1).Name, QStringLiteral("D2"));
    EXPECT_EQ(s.element(2).Name, QStringLiteral("D4"));
    EXPECT_TRUE(s.Conns().empty());
}

TEST_F(DeleteSelectedTest, DeletingEverythingLeavesNoNetsAndNothingSelectedChangesNothing) {
    ASSERT_TRUE(s.AddNet({{1, 0}, {2, 0}, {3, 0}, {4, 0}}));
    const uint64_t revision = s.Revision();
    int removed = 0;
    QObject::connect(&s, &Schematic::elementsRemoved, [&removed] { ++removed; });
    s.DeleteSelected();
    EXPECT_EQ(s.ElementCount(), 4);
    EXPECT_EQ(s.Revision(), revision);
    EXPECT_EQ(removed, 0);
    s.SelectAll();
    s.DeleteSelected();
    EXPECT_EQ(s.ElementCount(), 0);
    EXPECT_TRUE(s.Conns().empty());
    EXPECT_EQ(removed, 1);
}

TEST_F(DeleteSelectedTest, ChannelsOfADeletedProbeClearAndLaterProbesKeepTheirChannel) {
    ASSERT_TRUE(s.SetOscChannel(2, 2));
    ASSERT_TRUE(s.SetOscChannel(4, 4));
    ASSERT_TRUE(s.SetOscChannel(5, 1));
    int changed = 0;
    QObject::connect(&s, &Schematic::channelsChanged, [&changed] { ++changed; });
    s.SelectElement(2);
    s.DeleteSelected();
    EXPECT_EQ(s.OscChannel(2), 0);
    EXPECT_EQ(s.OscChannel(4), 3); // the same probe, one slot down
    EXPECT_EQ(s.OscChannel(5), 1);
    EXPECT_EQ(s.element(s.OscChannel(4)).Name, QStringLiteral("D4"));
    EXPECT_EQ(changed, 1);
}

TEST(SetOscChannel, RefusesChannelsAndElementsOutOfRange) {
    Schematic s;
    s.AddElement(TElement{});
    EXPECT_FALSE(s.SetOscChannel(0, 1));
    EXPECT_FALSE(s.SetOscChannel(6, 1));
    EXPECT_FALSE(s.SetOscChannel(1, 2));
    EXPECT_FALSE(s.SetOscChannel(1, -1));
    EXPECT_TRUE(s.SetOscChannel(5, 1));
    EXPECT_EQ(s.OscChannel(5), 1);
    EXPECT_TRUE(s.SetOscChannel(5, 0));
    EXPECT_EQ(s.OscChannel(5), 0);
}

} // namespace

namespace {

// Four elements with two pins each: pin (e, 0) on the left, (e, 1) on the right.
Schematic& FourElements(Schematic& s) {
    for (int i = 0; i < 4; ++i) {
        TElement e;
        e.CellWidth = 3;
        e.Legs = BuildLegs(QStringLiteral("1"), QStringLiteral("1"), 3);
        s.AddElement(e);
    }
    return s;
}

struct ConnectCase {
    const char* name;
    std::vector<TConns> before;
    TPinRef a, b;
    bool changed;
    std::vector<TConns> after;
};

class ConnectPinsTest : public ::testing::TestWithParam<ConnectCase> {};

TEST_P(ConnectPinsTest, JoinsThePinsKeepingNetAndPinOrder) {
    const ConnectCase& c = GetParam();
    Schematic s;
    FourElements(s);
    for (const TConns& net : c.before)
        ASSERT_TRUE(s.AddNet(net));
    const uint64_t revision = s.Revision();
    EXPECT_EQ(s.ConnectPins(c.a, c.b), c.changed);
    EXPECT_EQ(s.Conns(), c.after);
    EXPECT_EQ(s.Revision() > revision, c.changed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConnectPinsTest,
    ::testing::Values(
        ConnectCase{"no_nets_yet", {}, {1, 1}, {2, 0}, true, {{{1, 1}, {2, 0}}}},
        ConnectCase{"neither_connected",
                    {{{3, 0}, {4, 0}}},
                    {1, 1},
                    {2, 0},
                    true,
                    {{{3, 0}, {4, 0}}, {{1, 1}, {2, 0}}}},
        ConnectCase{
            "same_net", {{{1, 1}, {2, 0}, {3, 0}}}, {3, 0}, {1, 1}, false, {{{1, 1}, {2, 0}, {3, 0}}}},
        ConnectCase{
            "a_unconnected_joins_b", {{{1, 1}, {2, 0}}}, {3, 0}, {2, 0}, true, {{{1, 1}, {2, 0}, {3, 0}}}},
        ConnectCase{
            "b_unconnected_joins_a", {{{1, 1}, {2, 0}}}, {2, 0}, {4, 1}, true, {{{1, 1}, {2, 0}, {4, 1}}}},
        ConnectCase{"two_nets_merge_into_a",
                    {{{1, 1}, {2, 0}}, {{3, 1}, {4, 0}}, {{2, 1}, {3, 0}}},
                    {3, 0},
                    {4, 0},
                    true,
                    {{{1, 1}, {2, 0}}, {{2, 1}, {3, 0}, {3, 1}, {4, 0}}}},
        ConnectCase{"pin_with_itself", {}, {1, 1}, {1, 1}, false, {}},
        ConnectCase{"no_such_leg", {}, {1, 2}, {2, 0}, false, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DisconnectPin, ATwoPinNetGoesAThreePinNetLosesOnlyThePin) {
    Schematic s;
    FourElements(s);
    ASSERT_TRUE(s.AddNet({{1, 1}, {2, 0}}));
    ASSERT_TRUE(s.AddNet({{2, 1}, {3, 0}, {4, 0}}));
    s.DisconnectPin({3, 0});
    EXPECT_EQ(s.Conns(), (std::vector<TConns>{{{1, 1}, {2, 0}}, {{2, 1}, {4, 0}}}));
    s.DisconnectPin({2, 0});
    EXPECT_EQ(s.Conns(), (std::vector<TConns>{{{2, 1}, {4, 0}}}));
    const uint64_t revision = s.Revision();
    s.DisconnectPin({1, 0}); // in no net
    EXPECT_EQ(s.Revision(), revision);
}

TEST(RemoveNet, AStaleNumberChangesNothing) {
    Schematic s;
    FourElements(s);
    ASSERT_TRUE(s.AddNet({{1, 1}, {2, 0}}));
    ASSERT_TRUE(s.AddNet({{2, 1}, {3, 0}}));
    s.RemoveNet(0);
    s.RemoveNet(1); // was net 1 before the removal: no such net now
    s.RemoveNet(-1);
    EXPECT_EQ(s.Conns(), (std::vector<TConns>{{{2, 1}, {3, 0}}}));
}

TEST(Selection, AllNoneAndInvertInIndexOrder) {
    Schematic s;
    FourElements(s);
    const auto selected = [&s] {
        std::vector<bool> v;
        for (int i = 1; i <= s.ElementCount(); ++i)
            v.push_back(s.element(i).Selected);
        return v;
    };
    s.SelectElement(2);
    s.SelectElement(2);
    EXPECT_EQ(selected(), (std::vector<bool>{false, true, false, false}));
    s.InvertSelection();
    EXPECT_EQ(selected(), (std::vector<bool>{true, false, true, true}));
    s.SelectAll();
    EXPECT_EQ(selected(), (std::vector<bool>{true, true, true, true}));
    s.DeselectElement(3);
    EXPECT_EQ(selected(), (std::vector<bool>{true, true, false, true}));
    s.DeselectAll();
    EXPECT_EQ(selected(), (std::vector<bool>{false, false, false, false}));
}

} // namespace
