// SPDX-License-Identifier: MIT
#include "model/schematic.h"

#include <gtest/gtest.h>

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

// Two elements with the pins of the derivation example: leg 0 (0, 1) of an element at (10, 20)
// and leg 2 (5, 3) of an element at (30, 7).
Schematic& twoElementNet(Schematic& s) {
    const int a = s.NewElementSlot();
    s.element(a).Coord = {10, 20};
    s.element(a).CellWidth = 5;
    s.element(a).Legs = BuildLegs(QStringLiteral("1"), QString(), 5);
    const int b = s.NewElementSlot();
    s.element(b).Coord = {30, 7};
    s.element(b).CellWidth = 5;
    s.element(b).Legs = BuildLegs(QStringLiteral("11"), QStringLiteral("001"), 5);
    s.Conns = {{{a, 0}, {b, 2}}};
    return s;
}

TEST(DeriveCons, PinCellsAndTraceLines) {
    Schematic s;
    twoElementNet(s);
    QStringList log;
    s.DeriveCons(&log);
    ASSERT_EQ(s.Cons.size(), 1u);
    EXPECT_EQ(s.Cons[0], (TCons{{10, 21}, {35, 10}}));
    EXPECT_EQ(log, QStringList({QStringLiteral("Cons[i] 2"), QStringLiteral("Cons[0][0]x 10"),
                                QStringLiteral("Cons[0][0]y 21"), QStringLiteral("Cons[0][1]x 35"),
                                QStringLiteral("Cons[0][1]y 10")}));
}

TEST(DeriveCons, FollowsTheShapeOfConnsAfterNetsShrink) {
    Schematic s;
    twoElementNet(s);
    s.Conns.push_back({{2, 0}, {2, 1}});
    s.DeriveCons();
    ASSERT_EQ(s.Cons.size(), 2u);
    EXPECT_EQ(s.Cons[1], (TCons{{30, 8}, {30, 9}}));
    s.Conns.erase(s.Conns.begin());
    s.DeriveCons();
    ASSERT_EQ(s.Cons.size(), 1u);
    EXPECT_EQ(s.Cons[0], (TCons{{30, 8}, {30, 9}}));
}

TEST(ToggleSelection, TwiceRestoresThePictureBitForBit) {
    Schematic s;
    const int i = s.NewElementSlot();
    QImage img(21, 21, QImage::Format_RGB32);
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 21; ++x)
            img.setPixel(x, y, qRgb(x * 12, y * 12, (x * y) % 256));
    s.element(i).Bitmap = img;
    int signals = 0;
    QObject::connect(&s, &Schematic::elementImageChanged, [&signals, i](int index) {
        EXPECT_EQ(index, i);
        ++signals;
    });

    s.ToggleSelection(i);
    EXPECT_TRUE(s.element(i).Selected);
    // Every pixel is tinted: an exclusive or with yellow.
    EXPECT_EQ(s.element(i).Bitmap.pixel(0, 0), qRgb(255, 255, 0));
    EXPECT_EQ(s.element(i).Bitmap.pixel(20, 20), img.pixel(20, 20) ^ 0x00FFFF00u);
    s.ToggleSelection(i);
    EXPECT_FALSE(s.element(i).Selected);
    EXPECT_EQ(s.element(i).Bitmap, img);
    EXPECT_EQ(signals, 2);
}

TEST(ElementTable, TheSlotAfterTheLastIsRefusedWithoutTouchingTheTable) {
    Schematic s;
    for (int i = 1; i <= MaxElements; ++i)
        ASSERT_EQ(s.NewElementSlot(), i);
    s.element(MaxElements).Name = QStringLiteral("D1000");
    EXPECT_TRUE(s.isFull());
    EXPECT_EQ(s.NewElementSlot(), 0);
    EXPECT_EQ(s.ElementCount, MaxElements);
    EXPECT_EQ(s.element(MaxElements).Name, QStringLiteral("D1000"));
    EXPECT_EQ(s.Elements.size(), static_cast<size_t>(MaxElements) + 1);
}

TEST(ElementTable, ANewSlotForgetsTheStaleCopyLeftAboveTheCount) {
    Schematic s;
    const int i = s.NewElementSlot();
    s.element(i).Selected = true;
    s.element(i).Script << QStringLiteral("y=1&2");
    s.element(i).Name = QStringLiteral("D1.1");
    s.ElementCount = 0; // as after a deletion
    ASSERT_EQ(s.NewElementSlot(), 1);
    EXPECT_FALSE(s.element(1).Selected);
    EXPECT_TRUE(s.element(1).Script.isEmpty());
    EXPECT_TRUE(s.element(1).Bitmap.isNull());
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

} // namespace
