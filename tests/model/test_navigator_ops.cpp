// SPDX-License-Identifier: MIT
// Placing, re-linking, selecting and removing elements through the navigator tree.
#include "model/schematic.h"
#include "model/specialelements.h"
#include "model/specialpictures.h"

#include <gtest/gtest.h>

namespace {

constexpr QRgb Grey = 0xFFF0F0F0u;

TPlacementData Chip(const char* left, const char* right, int width = 40, int height = 50) {
    TPlacementData d;
    d.picture = QImage(width, height, QImage::Format_RGB32);
    d.picture.fill(Qt::white);
    d.leftPins = QString::fromLatin1(left);
    d.rightPins = QString::fromLatin1(right);
    d.script = {QStringLiteral("Y=~1+~2")};
    d.reactionLH = 11;
    d.reactionHL = 7;
    return d;
}

class NavigatorOps : public ::testing::Test {
protected:
    // Chip 1 listed with `count` elements (D1.1 …) under the marking "К155ЛА3".
    QStandardItem* ListChip(int count) { return s.ListChip(QStringLiteral("К155ЛА3"), count); }
    Schematic s;
};

TEST_F(NavigatorOps, PlacingAListedNodeFillsAnElementAtTheTopLeftCorner) {
    QStandardItem* group = ListChip(4);
    QStandardItem* node = group->child(1);
    QStringList log;
    const int i = s.PlaceNode(node, Chip("0110", "0001"), false, &log);
    ASSERT_EQ(i, 1);
    const TElement& e = s.element(i);
    EXPECT_EQ(e.Name, QStringLiteral("D1.2"));
    EXPECT_EQ(e.Coord, (TPoint32{0, 0}));
    EXPECT_EQ(e.CellWidth, 4);
    EXPECT_EQ(e.CellHeight, 5);
    ASSERT_EQ(e.Legs.size(), 3u);
    EXPECT_EQ((std::pair{e.Legs[0].X, e.Legs[0].Y}), (std::pair{0, 2}));
    EXPECT_EQ((std::pair{e.Legs[1].X, e.Legs[1].Y}), (std::pair{0, 3}));
    EXPECT_EQ((std::pair{e.Legs[2].X, e.Legs[2].Y}), (std::pair{4, 4}));
    EXPECT_EQ(e.Reaction_LH, 11);
    EXPECT_EQ(e.Reaction_HL, 7);
    EXPECT_EQ(e.Script, QStringList{QStringLiteral("Y=~1+~2")});
    EXPECT_FALSE(e.Selected);
    EXPECT_EQ(Navigator::imageIndex(node), Navigator::ImagePlaced);
    EXPECT_EQ(Navigator::dataRef(node), i);
    EXPECT_EQ(log, (QStringList{QStringLiteral("legs1 0110"), QStringLiteral("legs2 0001")}));

    // The designator sits on a light grey box centred near the bottom; the top stays as it was.
    const int row = e.Bitmap.height() - 19;
    int left = -1, right = -1;
    for (int x = 0; x < e.Bitmap.width(); ++x)
        if (e.Bitmap.pixel(x, row) == Grey) {
            if (left < 0) left = x;
            right = x;
        }
    ASSERT_GE(left, 0) << "no grey box";
    EXPECT_LE(std::abs((left + right + 1) / 2 - e.Bitmap.width() / 2), 1);
    int ink = 0; // the letters, dark on the box
    for (int y = e.Bitmap.height() - 20; y < e.Bitmap.height(); ++y)
        for (int x = left; x <= right; ++x)
            if (qGray(e.Bitmap.pixel(x, y)) < 100) ++ink;
    EXPECT_GT(ink, 20);
    for (int x = 0; x < e.Bitmap.width(); ++x)
        EXPECT_EQ(e.Bitmap.pixel(x, 10), 0xFFFFFFFFu) << x;
}

TEST_F(NavigatorOps, OnlyAListedNodeIsPlacedAndAFullTableRefuses) {
    QStandardItem* group = ListChip(2);
    EXPECT_EQ(s.PlaceNode(group, Chip("1", "1"), false, nullptr), 0);
    ASSERT_EQ(s.PlaceNode(group->child(0), Chip("1", "1"), false, nullptr), 1);
    EXPECT_EQ(s.PlaceNode(group->child(0), Chip("1", "1"), false, nullptr), 0) << "already placed";
    EXPECT_EQ(s.ElementCount(), 1);

    for (int i = 2; i <= MaxElements; ++i)
        ASSERT_EQ(s.AddElement(TElement{}), i);
    EXPECT_EQ(s.PlaceNode(group->child(1), Chip("1", "1"), false, nullptr), 0);
    EXPECT_EQ(Navigator::imageIndex(group->child(1)), Navigator::ImageListed);
}

TEST_F(NavigatorOps, SelectOnCreateSelectsTheNewElementAndKeepsItsPicture) {
    QStandardItem* group = ListChip(1);
    const int i = s.PlaceNode(group->child(0), Chip("1", "1"), true, nullptr);
    EXPECT_TRUE(s.element(i).Selected);
    EXPECT_EQ(s.element(i).Bitmap.pixel(0, 0), 0xFFFFFFFFu);
}

TEST_F(NavigatorOps, RemovingAPlacedElementLeavesItsNodeListedForPlacingAgain) {
    QStandardItem* group = ListChip(2);
    s.PlaceNode(group->child(0), Chip("1", "1"), false, nullptr);
    s.PlaceNode(group->child(1), Chip("1", "1"), false, nullptr);
    s.SetCoord(1, {30, 40});
    ASSERT_TRUE(s.ConnectPins({1, 1}, {2, 0}));

    s.RemoveFromTree(group->child(0));
    EXPECT_EQ(s.ElementCount(), 1);
    EXPECT_TRUE(s.Conns().empty());
    EXPECT_EQ(Navigator::imageIndex(group->child(0)), Navigator::ImageListed);
    EXPECT_EQ(Navigator::dataRef(group->child(1)), 1) << "re-linked to its new slot";

    const int again = s.PlaceNode(group->child(0), Chip("1", "1"), false, nullptr);
    EXPECT_EQ(again, 2);
    EXPECT_EQ(s.element(again).Coord, (TPoint32{0, 0}));
}

TEST_F(NavigatorOps, RemovingAGroupDeletesItsElementsAndRelinksTheRest) {
    QStandardItem* first = ListChip(2);                            // chip 1
    QStandardItem* second = ListChip(1);                           // chip 2, now the first root node
    s.PlaceNode(first->child(0), Chip("1", "1"), false, nullptr);  // D1.1, slot 1
    s.PlaceNode(second->child(0), Chip("1", "1"), false, nullptr); // D2, slot 2
    s.PlaceNode(first->child(1), Chip("1", "1"), false, nullptr);  // D1.2, slot 3

    s.RemoveFromTree(first);
    EXPECT_EQ(s.navigator().model().rowCount(), 1);
    ASSERT_EQ(s.ElementCount(), 1);
    EXPECT_EQ(s.element(1).Name, QStringLiteral("D2"));
    EXPECT_EQ(Navigator::dataRef(s.navigator().model().item(0)->child(0)), 1);
}

TEST_F(NavigatorOps, AssociateTreeMarksNodesWithoutElementsAsListed) {
    QStandardItem* group = ListChip(3);
    for (int j = 0; j < 3; ++j)
        s.PlaceNode(group->child(j), Chip("1", "1"), false, nullptr);
    s.SelectElement(1);
    s.DeleteSelected();
    s.AssociateTree();
    EXPECT_EQ(Navigator::imageIndex(group->child(0)), Navigator::ImageListed);
    EXPECT_EQ(Navigator::dataRef(group->child(1)), 1);
    EXPECT_EQ(Navigator::dataRef(group->child(2)), 2);
}

TEST_F(NavigatorOps, SelectionFollowsTheClickedNode) {
    QStandardItem* group = ListChip(3);
    s.PlaceNode(group->child(0), Chip("1", "1"), false, nullptr);
    s.PlaceNode(group->child(2), Chip("1", "1"), false, nullptr);
    QStandardItem* special = s.ListSpecial(ElementKind::Indicator)->parent();
    const auto selected = [this] {
        std::vector<bool> v;
        for (int i = 1; i <= s.ElementCount(); ++i)
            v.push_back(s.element(i).Selected);
        return v;
    };
    s.SelectFromTree(group);
    EXPECT_EQ(selected(), (std::vector<bool>{true, true}));
    s.SelectFromTree(group->child(2));
    EXPECT_EQ(selected(), (std::vector<bool>{false, true}));
    s.SelectFromTree(group->child(1)); // listed: only clears
    EXPECT_EQ(selected(), (std::vector<bool>{false, false}));
    s.SelectAll();
    s.SelectFromTree(special);
    EXPECT_EQ(selected(), (std::vector<bool>{false, false}));
}

QStringList Texts(const Navigator& nav) {
    QStringList out;
    for (QStandardItem* n : nav.nodesInTreeOrder())
        out << QString(Navigator::depth(n), u'\t') + n->text();
    return out;
}

TEST_F(NavigatorOps, SpecialElementsAreNumberedAndKeptTogetherByKind) {
    s.ListSpecial(ElementKind::Indicator);
    EXPECT_EQ(Texts(s.navigator()), (QStringList{"Спец. элементы", "\tИндикатор1"}));
    ListChip(2); // a chip group goes first
    s.ListSpecial(ElementKind::Indicator);
    s.ListSpecial(ElementKind::Switch);
    s.ListSpecial(ElementKind::Indicator);
    s.ListSpecial(ElementKind::Switch);
    EXPECT_EQ(Texts(s.navigator()),
              (QStringList{"К155ЛА3", "\tD1.1", "\tD1.2", "Спец. элементы", "\tИндикатор1", "\tИндикатор2",
                           "\tИндикатор3", "\tПереключатель1", "\tПереключатель2"}));
    for (QStandardItem* n : s.navigator().nodesInTreeOrder()) {
        if (Navigator::depth(n) == 1) {
            EXPECT_EQ(Navigator::imageIndex(n), Navigator::ImageListed);
        }
    }
}

TEST_F(NavigatorOps, ASixthProbeIsRefusedAndTheCountFollowsTheProbes) {
    for (int i = 1; i <= 5; ++i) {
        ASSERT_NE(s.ListSpecial(ElementKind::Probe), nullptr);
        EXPECT_EQ(s.OscCount(), i);
    }
    const uint64_t revision = s.Revision();
    EXPECT_EQ(s.ListSpecial(ElementKind::Probe), nullptr);
    EXPECT_EQ(s.Revision(), revision);
    EXPECT_EQ(Texts(s.navigator()).last(), QStringLiteral("\tОсциллограф5"));
    EXPECT_EQ(s.navigator().count(), 6);
}

TEST_F(NavigatorOps, PlacedSpecialElementsTakeTheirPicturesPinsAndChannels) {
    struct Case {
        ElementKind kind;
        QSize size;
        std::vector<std::pair<int, int>> legs;
    };
    const Case cases[] = {{ElementKind::Indicator, {21, 21}, {{0, 1}}},
                          {ElementKind::Switch, {21, 21}, {{2, 1}}},
                          {ElementKind::Generator, {71, 81}, {{7, 2}, {7, 6}}},
                          {ElementKind::Probe, {71, 81}, {{0, 4}}}};
    s.ListSpecial(ElementKind::Probe); // Осциллограф1, not placed
    for (const Case& c : cases) {
        QStandardItem* node = s.ListSpecial(c.kind);
        const int i = s.PlaceNode(node, SpecialElements::Placement(c.kind), false, nullptr);
        ASSERT_GT(i, 0);
        const TElement& e = s.element(i);
        EXPECT_EQ(e.Bitmap.size(), c.size) << e.Name.toStdString();
        std::vector<std::pair<int, int>> legs;
        for (const TLeg& leg : e.Legs)
            legs.emplace_back(leg.X, leg.Y);
        EXPECT_EQ(legs, c.legs) << e.Name.toStdString();
        EXPECT_FALSE(e.State);
    }
    EXPECT_EQ(s.element(3).Reaction_LH, 100);
    EXPECT_EQ(s.element(3).Reaction_HL, 100);
    EXPECT_EQ(s.element(4).Name, QStringLiteral("Осциллограф2"));
    EXPECT_EQ(s.OscChannel(2), 4);
    EXPECT_EQ(s.OscChannel(1), 0);
}

TEST_F(NavigatorOps, ASwitchToggleSwapsItsPictureWithoutTint) {
    QStandardItem* node = s.ListSpecial(ElementKind::Switch);
    const int i = s.PlaceNode(node, SpecialElements::Placement(ElementKind::Switch), true, nullptr);
    ASSERT_TRUE(s.element(i).Selected);
    s.ToggleSwitch(i);
    EXPECT_TRUE(s.element(i).State);
    EXPECT_FALSE(s.element(i).Selected);
    EXPECT_EQ(s.element(i).Bitmap, SmallPicture(SmallSwitchOn));
    s.ToggleSwitch(i);
    EXPECT_EQ(s.element(i).Bitmap, SmallPicture(SmallSwitchOff));
}

} // namespace
