// SPDX-License-Identifier: MIT
#include "model/schematic.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

namespace {

struct LegCase {
    const char* left;
    const char* right;
    int cellWidth;
    std::vector<std::pair<int, int>> legs; // (X, Y) in leg order
};

class BuildLegsTest : public ::testing::TestWithParam<LegCase> {};

TEST_P(BuildLegsTest, LeftPinsFirstThenRight) {
    const LegCase& c = GetParam();
    const std::vector<TLeg> legs =
        BuildLegs(QString::fromUtf8(c.left), QString::fromUtf8(c.right), c.cellWidth);
    ASSERT_EQ(legs.size(), c.legs.size());
    for (size_t i = 0; i < legs.size(); ++i) {
        EXPECT_EQ(legs[i].X, c.legs[i].first) << "leg " << i;
        EXPECT_EQ(legs[i].Y, c.legs[i].second) << "leg " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(PinStrings, BuildLegsTest,
                         ::testing::Values(LegCase{"1001", "0100", 5, {{0, 1}, {0, 4}, {5, 2}}},
                                           LegCase{"1", "", 2, {{0, 1}}}, LegCase{"", "", 4, {}},
                                           LegCase{"0110", "0001", 3, {{0, 2}, {0, 3}, {3, 4}}},
                                           LegCase{"", "010001", 7, {{7, 2}, {7, 6}}}));

TElement ElementAt(TPoint32 coord, int cellWidth, const char* left, const char* right) {
    TElement e;
    e.Coord = coord;
    e.CellWidth = cellWidth;
    e.Legs = BuildLegs(QString::fromLatin1(left), QString::fromLatin1(right), cellWidth);
    return e;
}

// Two elements with the pins of the derivation example: leg 0 (0, 1) of an element at (10, 20)
// and leg 2 (5, 3) of an element at (30, 7).
Schematic& twoElementNet(Schematic& s) {
    const int a = s.AddElement(ElementAt({10, 20}, 5, "1", ""));
    const int b = s.AddElement(ElementAt({30, 7}, 5, "11", "001"));
    EXPECT_TRUE(s.AddNet({{a, 0}, {b, 2}}));
    return s;
}

TEST(DeriveCons, PinCellsAndTraceLines) {
    Schematic s;
    twoElementNet(s);
    QStringList log;
    s.DeriveCons(&log);
    ASSERT_EQ(s.Cons().size(), 1u);
    EXPECT_EQ(s.Cons()[0], (TCons{{10, 21}, {35, 10}}));
    EXPECT_EQ(log, QStringList({QStringLiteral("Cons[i] 2"), QStringLiteral("Cons[0][0]x 10"),
                                QStringLiteral("Cons[0][0]y 21"), QStringLiteral("Cons[0][1]x 35"),
                                QStringLiteral("Cons[0][1]y 10")}));
}

TEST(DeriveCons, FollowsTheShapeOfConnsAfterNetsShrink) {
    Schematic s;
    twoElementNet(s);
    ASSERT_TRUE(s.AddNet({{2, 0}, {2, 1}}));
    s.DeriveCons();
    ASSERT_EQ(s.Cons().size(), 2u);
    EXPECT_EQ(s.Cons()[1], (TCons{{30, 8}, {30, 9}}));
    s.RemoveNet(0);
    s.DeriveCons();
    ASSERT_EQ(s.Cons().size(), 1u);
    EXPECT_EQ(s.Cons()[0], (TCons{{30, 8}, {30, 9}}));
}

TEST(DeriveCons, CoordinatesNearTheIntegerLimitsWrapInsteadOfOverflowing) {
    Schematic s;
    const int a = s.AddElement(ElementAt({INT32_MAX, INT32_MAX}, 3, "1", "1"));
    ASSERT_TRUE(s.AddNet({{a, 0}, {a, 1}}));
    s.DeriveCons();
    EXPECT_EQ(s.Cons()[0], (TCons{{INT32_MAX, INT32_MIN}, {INT32_MIN + 2, INT32_MIN}}));
}

// Selection is view state: the flag flips and the views hear of it, while the element's picture
// stays as placed (the view draws the tint).
TEST(ToggleSelection, FlipsTheFlagAndLeavesThePictureAsPlaced) {
    Schematic s;
    QImage img(21, 21, QImage::Format_RGB32);
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 21; ++x)
            img.setPixel(x, y, qRgb(x * 12, y * 12, (x * y) % 256));
    TElement e;
    e.Bitmap = img;
    const int i = s.AddElement(e);
    int signals = 0, pictures = 0;
    QObject::connect(&s, &Schematic::selectionChanged, [&signals, i](int index) {
        EXPECT_EQ(index, i);
        ++signals;
    });
    QObject::connect(&s, &Schematic::elementImageChanged, [&pictures](int) { ++pictures; });

    s.ToggleSelection(i);
    EXPECT_TRUE(s.element(i).Selected);
    EXPECT_EQ(s.element(i).Bitmap, img);
    s.ToggleSelection(i);
    EXPECT_FALSE(s.element(i).Selected);
    EXPECT_EQ(s.element(i).Bitmap, img);
    EXPECT_EQ(signals, 2);
    EXPECT_EQ(pictures, 0);
}

TEST(ElementTable, TheElementAfterTheLastIsRefusedWithoutTouchingTheTable) {
    Schematic s;
    for (int i = 1; i <= MaxElements; ++i) {
        TElement e;
        e.Name = QStringLiteral("D%1").arg(i);
        ASSERT_EQ(s.AddElement(e), i);
    }
    EXPECT_TRUE(s.isFull());
    const uint64_t revision = s.Revision();
    EXPECT_EQ(s.AddElement(TElement{}), 0);
    EXPECT_EQ(s.ElementCount(), MaxElements);
    EXPECT_EQ(s.element(MaxElements).Name, QStringLiteral("D1000"));
    EXPECT_EQ(s.Revision(), revision);
}

TEST(ElementTable, AnAddedElementStartsUnselectedWithoutTransitions) {
    Schematic s;
    TElement e;
    e.Selected = true;
    e.Transitions = {3, 4};
    const int i = s.AddElement(e);
    EXPECT_FALSE(s.element(i).Selected);
    EXPECT_TRUE(s.element(i).Transitions.empty());
}

// Every net the model takes is checked pin by pin; a refused net changes nothing.
struct NetCase {
    const char* name;
    TConns net;
    NetFault fault;
    TPinRef pin;
};

class AddNetTest : public ::testing::TestWithParam<NetCase> {};

TEST_P(AddNetTest, RefusesBadPinsAndKeepsTheNets) {
    Schematic s;
    twoElementNet(s); // net 0 holds (1, 0) and (2, 2)
    const uint64_t revision = s.Revision();
    const NetCheck check = s.AddNet(GetParam().net);
    EXPECT_EQ(check.fault, GetParam().fault);
    if (GetParam().fault == NetFault::None) {
        EXPECT_EQ(s.Conns().size(), 2u);
        EXPECT_EQ(s.Conns()[1], GetParam().net);
        EXPECT_GT(s.Revision(), revision);
    } else {
        EXPECT_EQ(check.pin, GetParam().pin);
        EXPECT_EQ(s.Conns().size(), 1u);
        EXPECT_EQ(s.Revision(), revision);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, AddNetTest,
    ::testing::Values(NetCase{"free_pins", {{2, 0}, {2, 1}}, NetFault::None, {}},
                      NetCase{"one_pin", {{2, 0}}, NetFault::TooFewPins, {2, 0}},
                      NetCase{"empty", {}, NetFault::TooFewPins, {}},
                      NetCase{"element_0", {{2, 0}, {0, 0}}, NetFault::NoSuchElement, {0, 0}},
                      NetCase{"element_past_count", {{3, 0}, {2, 0}}, NetFault::NoSuchElement, {3, 0}},
                      NetCase{"negative_leg", {{2, -1}, {2, 0}}, NetFault::NoSuchLeg, {2, -1}},
                      NetCase{"leg_past_end", {{2, 0}, {1, 1}}, NetFault::NoSuchLeg, {1, 1}},
                      NetCase{"pin_in_other_net", {{2, 0}, {2, 2}}, NetFault::PinTaken, {2, 2}},
                      NetCase{"pin_twice", {{2, 0}, {2, 1}, {2, 0}}, NetFault::PinTaken, {2, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Revision, RisesWithEveryChangeOfElementsNetsAndListing) {
    Schematic s;
    uint64_t last = s.Revision();
    const auto rose = [&] {
        const bool r = s.Revision() > last;
        last = s.Revision();
        return r;
    };
    s.AddElement(ElementAt({1, 1}, 3, "1", "1"));
    EXPECT_TRUE(rose());
    s.AddElement(ElementAt({9, 1}, 3, "1", "1"));
    EXPECT_TRUE(rose());
    s.AddNet({{1, 1}, {2, 0}});
    EXPECT_TRUE(rose());
    s.SetCoord(1, {2, 2});
    EXPECT_TRUE(rose());
    s.ListChip(QStringLiteral("К155ЛА3"), 4);
    EXPECT_TRUE(rose());
    s.RemoveNet(5); // no such net: nothing changes
    EXPECT_FALSE(rose());
    s.RemoveNet(0);
    EXPECT_TRUE(rose());
    s.ToggleSelection(1); // the picture only
    EXPECT_FALSE(rose());
}

TEST(ElementKind, FirstLetterOfTheName) {
    const std::pair<const char*, ElementKind> cases[] = {{"D3.2", ElementKind::Chip},
                                                         {"Индикатор1", ElementKind::Indicator},
                                                         {"Переключатель2", ElementKind::Switch},
                                                         {"Генератор1", ElementKind::Generator},
                                                         {"Осциллограф5", ElementKind::Probe},
                                                         {"d1", ElementKind::Unknown},
                                                         {"", ElementKind::Unknown}};
    for (const auto& [name, kind] : cases)
        EXPECT_EQ(KindOfName(QString::fromUtf8(name)), kind) << name;
}

TEST(Navigator, TreeOrderAndNodeRoles) {
    Navigator nav;
    QStandardItem* chip = Navigator::makeNode(QStringLiteral("К155ЛА3"), Navigator::ImageGroup);
    Navigator::setDataRef(chip, 1);
    chip->appendRow(Navigator::makeNode(QStringLiteral("D1.1"), Navigator::ImageListed));
    chip->appendRow(Navigator::makeNode(QStringLiteral("D1.2"), Navigator::ImageListed));
    QStandardItem* special = Navigator::makeNode(QStringLiteral("Спец. элементы"), Navigator::ImageGroup);
    special->appendRow(Navigator::makeNode(QStringLiteral("Индикатор1"), Navigator::ImageListed));
    nav.appendRoot(special);
    nav.insertRoot(0, chip);

    QStringList texts;
    for (QStandardItem* n : nav.nodesInTreeOrder())
        texts << n->text();
    EXPECT_EQ(texts, QStringList({QStringLiteral("К155ЛА3"), QStringLiteral("D1.1"), QStringLiteral("D1.2"),
                                  QStringLiteral("Спец. элементы"), QStringLiteral("Индикатор1")}));
    QStandardItem* d12 = chip->child(1);
    EXPECT_EQ(Navigator::depth(d12), 1);
    EXPECT_EQ(Navigator::dataRef(d12), 0);
    Navigator::setImageIndex(d12, Navigator::ImagePlaced);
    Navigator::setDataRef(d12, 7);
    EXPECT_EQ(Navigator::imageIndex(d12), Navigator::ImagePlaced);
    EXPECT_EQ(Navigator::dataRef(d12), 7);
    EXPECT_EQ(Navigator::dataRef(chip), 1);
    EXPECT_FALSE(d12->isEditable());
}

// Views follow the nets through one signal: each operation that changes nets raises it, the others
// do not.
TEST(NetsChanged, EveryChangeOfTheNetsIsSignalledOnce) {
    struct Case {
        const char* what;
        std::function<void(Schematic&)> change;
        int signals;
    };
    const Case cases[] = {
        {"a net added",
         [](Schematic& s) {
             s.AddNet({{2, 0}, {3, 0}});
         },
         1},
        {"a net refused",
         [](Schematic& s) {
             s.AddNet({{1, 0}, {3, 0}});
         },
         0},
        {"a pin joined",
         [](Schematic& s) {
             s.ConnectPins({3, 0}, {1, 0});
         },
         1},
        {"pins already joined",
         [](Schematic& s) {
             s.ConnectPins({1, 0}, {2, 2});
         },
         0},
        {"a pin taken out",
         [](Schematic& s) {
             s.DisconnectPin({2, 2});
         },
         1},
        {"a free pin taken out",
         [](Schematic& s) {
             s.DisconnectPin({3, 0});
         },
         0},
        {"a net removed", [](Schematic& s) { s.RemoveNet(0); }, 1},
        {"no such net", [](Schematic& s) { s.RemoveNet(4); }, 0},
        {"an element deleted",
         [](Schematic& s) {
             s.SelectElement(1);
             s.DeleteSelected();
         },
         1},
        {"cleared", [](Schematic& s) { s.Clear(); }, 1},
        {"moved",
         [](Schematic& s) {
             s.SetCoord(1, {3, 3});
         },
         0},
        {"selected", [](Schematic& s) { s.SelectAll(); }, 0},
    };
    for (const Case& c : cases) {
        Schematic s;
        twoElementNet(s);
        s.AddElement(ElementAt({50, 50}, 2, "1", ""));
        int signals = 0;
        QObject::connect(&s, &Schematic::netsChanged, [&signals] { ++signals; });
        c.change(s);
        EXPECT_EQ(signals, c.signals) << c.what;
    }
}

// Regression: the navigator could be changed without the revision knowing. Whatever changes it now
// raises the revision, through an operation or through its nodes.
TEST(SchematicRevision, EveryChangeOfTheNavigatorRaisesIt) {
    Schematic s;
    QStandardItem* group = s.ListChip(QStringLiteral("K"), 2);
    uint64_t last = s.Revision();
    const auto raised = [&s, &last] {
        const bool r = s.Revision() > last;
        last = s.Revision();
        return r;
    };
    group->child(0)->setText(QStringLiteral("D1.9"));
    EXPECT_TRUE(raised());
    group->removeRow(1);
    EXPECT_TRUE(raised());
    EXPECT_EQ(s.ReadTree("A\r\n\tD1.1\r\n"), QString());
    EXPECT_TRUE(raised());
    EXPECT_EQ(s.navigator().count(), 2);
    s.navigator().nodesInTreeOrder(); // reading changes nothing
    EXPECT_FALSE(raised());
}

} // namespace
