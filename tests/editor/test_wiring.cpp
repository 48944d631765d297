// SPDX-License-Identifier: MIT
// Wiring with the mouse on the main window: dragging a wire from pin to pin or onto a wire, the
// target marker and the drop dot, and the pin and wire context menus.
#include "tests/editor/pointer_fixture.h"

#include "app/navigatorpanel.h"
#include "editor/overlaydrawing.h"
#include "editor/wiregesture.h"
#include "model/pinhit.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenu>

#include <algorithm>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace {

class Wiring : public Pointer {
protected:
    void SetUp() override {
        Pointer::SetUp();
        // Four chips in two rows, far enough apart for wires between them.
        for (TPoint32 at : {TPoint32{5, 5}, TPoint32{30, 5}, TPoint32{5, 25}, TPoint32{30, 25}})
            AddChip(at.x, at.y);
        // Qt drops a move to where the pointer already is: start each case away from the field.
        QTest::mouseMove(win(), QPoint(1, 1));
        // A run that has gone on: connecting prepares a new one.
        form->simulator().SimTime = 5;
    }

    void TearDown() override {
        for (QMenu* menu : {form->PinMenu, form->WireMenu})
            menu->close();
        Pointer::TearDown();
    }

    WireGesture& wire() { return *form->Wire; }
    QString label() { return form->NavPanel->Label1->text(); }
    bool prepared() { return form->simulator().SimTime == 0; }

    int scale() { return form->Frame21->view().Scale; }
    // A point on pin `leg` of element k: leg 0 is the left pin in row 2, leg 1 the right pin in row 1.
    QPoint pinAt(int k, int leg) {
        const int in = scale() / 5;
        return box(k).topLeft() + (leg == 0 ? QPoint(in, 2 * scale()) : QPoint(4 * scale() - in, scale()));
    }
    QPoint pinAt(TPinRef p) { return pinAt(p.Element, p.Leg); }

    void dragWire(QPoint from, QPoint to) {
        press(from);
        moveTo((from + to) / 2);
        moveTo(to);
        release(to);
    }
    void connectByDrag(TPinRef from, TPinRef to) { dragWire(pinAt(from), pinAt(to)); }

    // Makes the nets and shows their wires.
    void nets(const std::vector<TConns>& conns) {
        for (const TConns& net : conns)
            ASSERT_TRUE(s().AddNet(net));
        form->Button4Click();
    }

    // The panel point over grid cell c (the drop dot's cell is the nearest one to it).
    QPoint overCell(QPoint c) { return c * scale(); }

    // A straight wire cell of net n with its right neighbour on the same wire, two cells or more
    // from every picture, so the pointer there is over the surface and over no pin.
    QPoint wireCellOf(int n) {
        const RoutingGrids& g = form->Frame21->grids();
        for (int x = 0; x < GridMax; ++x)
            for (int y = 0; y <= GridMax; ++y) {
                if (g.NetMap.at(x, y) != n || g.NetMap.at(x + 1, y) != n) continue;
                if (g.WireMap.at(x, y) != WireHorizontal || g.WireMap.at(x + 1, y) != WireHorizontal)
                    continue;
                bool clear = true;
                for (int k = 1; k <= s().ElementCount(); ++k)
                    clear = clear && !box(k)
                                          .adjusted(-2 * scale(), -2 * scale(), 3 * scale(), 2 * scale())
                                          .contains(overCell({x, y}));
                if (clear) return {x, y};
            }
        ADD_FAILURE() << "no straight wire cell of net " << n;
        return {};
    }

    QImage withDot(const QImage& clean, QPoint cell) {
        QImage img = clean.copy();
        DrawDropDot(img, cell, form->Frame21->view().Scale);
        return img;
    }

    // Right press and release; returns the menu that popped up, if any.
    QMenu* rightClick(QPoint panel) {
        press(panel, {}, Qt::RightButton);
        release(panel, {}, Qt::RightButton);
        for (QMenu* menu : {form->PinMenu, form->WireMenu})
            if (menu->isVisible()) return menu;
        return nullptr;
    }
    // Clicks the menu's only item as the user does.
    static void choose(QMenu* menu) {
        QAction* item = menu->actions().value(0);
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
    }
};

TEST_F(Wiring, DraggingFromPinToPinMakesAndGrowsANet) {
    ASSERT_EQ(label(), QStringLiteral("Label1"));
    connectByDrag({1, 1}, {2, 0});
    EXPECT_EQ(s().Conns(), (std::vector<TConns>{{{1, 1}, {2, 0}}}));
    EXPECT_EQ(label(), QStringLiteral("1"));
    EXPECT_TRUE(prepared());
    const TGrid& netMap = form->Frame21->grids().NetMap;
    EXPECT_GT(std::count(netMap.data(), netMap.data() + GridCells, 0), 2);
    expectWiresOfTheCurrentPositions();

    // From a free pin to a pin of the net: appended.
    connectByDrag({3, 1}, {2, 0});
    EXPECT_EQ(s().Conns(), (std::vector<TConns>{{{1, 1}, {2, 0}, {3, 1}}}));
    EXPECT_EQ(label(), QStringLiteral("1"));
    expectWiresOfTheCurrentPositions();
    EXPECT_FALSE(wire().TargetMarkerShown());
}

TEST_F(Wiring, DraggingBetweenTwoNetsMergesTheSecondIntoTheFirst) {
    nets({{{1, 1}, {2, 0}}, {{3, 1}, {4, 0}}, {{1, 0}, {3, 0}}});
    connectByDrag({2, 0}, {4, 0});
    EXPECT_EQ(s().Conns(), (std::vector<TConns>{{{1, 1}, {2, 0}, {3, 1}, {4, 0}}, {{1, 0}, {3, 0}}}));
    EXPECT_EQ(label(), QStringLiteral("2"));
    EXPECT_TRUE(prepared());
    expectWiresOfTheCurrentPositions();
}

struct NoChangeCase {
    const char* name;
    TPinRef from;
    std::optional<TPinRef> to; // a pin, or
    QPoint elsewhere;          // a panel point away from pins and wires
    bool showsCount;           // a pin of the same net: the join is tried and the label shows the count
};

void PrintTo(const NoChangeCase& c, std::ostream* os) {
    *os << c.name;
}

class WiringNoChange : public Wiring, public ::testing::WithParamInterface<NoChangeCase> {};

TEST_P(WiringNoChange, LeavesNetsRunAndPicturesAsTheyWere) {
    const NoChangeCase& c = GetParam();
    nets({{{1, 1}, {2, 0}, {4, 1}}});
    std::vector<QImage> bitmaps;
    for (int k = 1; k <= 4; ++k)
        bitmaps.push_back(s().element(k).Bitmap.copy());
    const QImage clean = surface().copy();
    const QString before = label();
    dragWire(pinAt(c.from), c.to ? pinAt(*c.to) : c.elsewhere);
    EXPECT_EQ(s().Conns(), (std::vector<TConns>{{{1, 1}, {2, 0}, {4, 1}}}));
    EXPECT_FALSE(prepared());
    EXPECT_EQ(label(), c.showsCount ? QStringLiteral("1") : before);
    EXPECT_EQ(wire().DropCode, 0);
    EXPECT_FALSE(wire().TargetMarkerShown());
    EXPECT_EQ(surface(), clean);
    // The source's own pin marker stays until the pointer moves on without a drag.
    moveTo(surfaceToPanel({200, 420}));
    for (int k = 1; k <= 4; ++k) {
        EXPECT_EQ(s().element(k).Bitmap, bitmaps[static_cast<size_t>(k - 1)]) << "element " << k;
        EXPECT_EQ(pic(k)->picture(), bitmaps[static_cast<size_t>(k - 1)]) << "element " << k;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Releases, WiringNoChange,
    ::testing::Values(NoChangeCase{"over_the_source_pin", {3, 1}, TPinRef{3, 1}, {}, false},
                      NoChangeCase{"over_empty_workspace", {3, 1}, {}, {250, 400}, false},
                      NoChangeCase{"over_a_pin_of_the_same_net", {1, 1}, TPinRef{4, 1}, {}, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Wiring, TheTargetMarkerShowsOnThePinUnderThePointerOnly) {
    const QImage clean1 = s().element(1).Bitmap.copy(), clean2 = s().element(2).Bitmap.copy();
    press(pinAt(1, 1));
    moveTo(pinAt(2, 0) + QPoint(-5, 3)); // within the pin's cell, left of the picture
    ASSERT_TRUE(wire().TargetMarkerShown());
    EXPECT_EQ(wire().TargetMarkerPicture(), pic(2));
    EXPECT_EQ(wire().TargetMarkerLeg(), 0);
    EXPECT_EQ(pic(2)->picture().pixel(2, 17), 0xFFFF0000u); // red on the white picture
    EXPECT_EQ(s().element(2).Bitmap, clean2);               // the view's mark, not the model's
    EXPECT_EQ(pic(2)->grab().toImage().pixel(2, 17), 0xFFFF0000u);

    // Back over the source: its marker and the pointer's own marker there cancel out.
    moveTo(pinAt(1, 1));
    EXPECT_EQ(wire().TargetMarkerPicture(), pic(1));
    EXPECT_EQ(pic(1)->picture(), clean1);
    EXPECT_EQ(pic(2)->picture(), clean2);

    moveTo(surfaceToPanel({250, 400}));
    EXPECT_FALSE(wire().TargetMarkerShown());
    EXPECT_EQ(pic(2)->picture(), clean2);
    release(surfaceToPanel({250, 400}));
    EXPECT_TRUE(s().Conns().empty());
}

TEST_F(Wiring, TheDropDotFollowsTheWireAndTheReleaseJoinsTheNetsFirstPin) {
    nets({{{1, 0}, {3, 0}}, {{1, 1}, {2, 0}}});
    const QPoint cell = wireCellOf(1);
    const QImage clean = surface().copy();
    const int code = form->Frame21->grids().WireMap.at(cell.x(), cell.y());

    press(pinAt(4, 1));
    moveTo(overCell(cell) + QPoint(4, -5)); // still nearest to the cell
    EXPECT_EQ(wire().DropCode, code);
    EXPECT_EQ(wire().DropCell, cell);
    EXPECT_EQ(surface(), withDot(clean, cell));
    moveTo(overCell(cell + QPoint(1, 0)));
    EXPECT_EQ(wire().DropCell, cell + QPoint(1, 0));
    EXPECT_EQ(surface(), withDot(clean, cell + QPoint(1, 0)));
    moveTo(overCell(cell + QPoint(1, 3))); // off the wire: the dot goes
    EXPECT_EQ(wire().DropCode, 0);
    EXPECT_EQ(surface(), clean);
    moveTo(overCell(cell));
    ASSERT_EQ(surface(), withDot(clean, cell));
    release(overCell(cell));

    EXPECT_EQ(s().Conns(), (std::vector<TConns>{{{1, 0}, {3, 0}}, {{1, 1}, {2, 0}, {4, 1}}}));
    EXPECT_EQ(wire().DropCode, 0);
    EXPECT_TRUE(prepared());
    EXPECT_EQ(label(), QStringLiteral("2")); // the count follows every change of the nets
    expectWiresOfTheCurrentPositions();
}

class WiringDotSize : public Wiring, public ::testing::WithParamInterface<int> {};

// The dot is a junction dot: (Scale div 5) * 5 pixels across, on the cell's grid point.
TEST_P(WiringDotSize, TheDropDotIsAJunctionDotOnTheCellsGridPoint) {
    form->ComboBox1->setCurrentIndex(GetParam() - 3);
    ASSERT_EQ(scale(), GetParam());
    nets({{{1, 1}, {2, 0}}});
    const QPoint cell = wireCellOf(0);
    const QImage clean = surface().copy();
    press(pinAt(3, 1));
    moveTo(overCell(cell));
    ASSERT_NE(wire().DropCode, 0);
    const int x = cell.x() * scale(), y = cell.y() * scale(), d = scale() / 5 * 5;
    int across = 0, down = 0;
    for (int i = -scale(); i <= scale(); ++i) {
        across += surface().pixel(x + i, y - 1) != clean.pixel(x + i, y - 1);
        down += surface().pixel(x, y + i) != clean.pixel(x, y + i);
    }
    EXPECT_EQ(down, d);
    EXPECT_EQ(across, d);
    EXPECT_NE(surface().pixel(x - d / 2, y), clean.pixel(x - d / 2, y));
    EXPECT_EQ(surface().pixel(x - d / 2 - 1, y), clean.pixel(x - d / 2 - 1, y));
    release(overCell(cell));
    EXPECT_EQ(s().Conns(), (std::vector<TConns>{{{1, 1}, {2, 0}, {3, 1}}}));
}

INSTANTIATE_TEST_SUITE_P(Zoom, WiringDotSize, ::testing::Values(10, 20),
                         [](const auto& info) { return "scale_" + std::to_string(info.param); });

TEST_F(Wiring, ADotStillShownWhenThePointerReachesAPinMakesBothConnections) {
    nets({{{1, 1}, {2, 0}}});
    const QPoint cell = wireCellOf(0);
    press(pinAt(3, 1));
    moveTo(overCell(cell));
    ASSERT_NE(wire().DropCode, 0);
    moveTo(pinAt(4, 0));
    EXPECT_TRUE(wire().TargetMarkerShown());
    EXPECT_NE(wire().DropCode, 0);
    release(pinAt(4, 0));
    EXPECT_EQ(s().Conns(), (std::vector<TConns>{{{1, 1}, {2, 0}, {3, 1}, {4, 0}}}));
    EXPECT_EQ(label(), QStringLiteral("1"));
    expectWiresOfTheCurrentPositions();
}

// Regression: a dot over a net removed before the release (Destroy removes nets without
// re-routing) indexed past the end of the nets.
TEST_F(Wiring, ADotOverANetGoneByTheReleaseJoinsNothing) {
    nets({{{1, 0}, {3, 0}}, {{1, 1}, {2, 0}}});
    const QPoint cell = wireCellOf(1);
    press(pinAt(4, 1));
    moveTo(overCell(cell));
    ASSERT_NE(wire().DropCode, 0);
    s().RemoveNet(0); // the wires still show net 1, which is no more
    release(overCell(cell));
    EXPECT_EQ(s().Conns(), (std::vector<TConns>{{{1, 1}, {2, 0}}}));
    EXPECT_EQ(wire().DropCode, 0);
}

TEST_F(Wiring, ADropCellOffTheFieldShowsNoDot) {
    nets({{{1, 1}, {2, 0}}});
    const QImage clean = surface().copy();
    press(pinAt(1, 0));
    moveTo(QPoint(-30, 20)); // left of the panel: cell (-2, 2)
    EXPECT_EQ(wire().DropCode, 0);
    release(QPoint(-30, 20));
    EXPECT_EQ(surface(), clean);
    EXPECT_EQ(s().Conns().size(), 1u);
}

struct DisconnectCase {
    const char* name;
    TConns net;
    TPinRef pin;
    std::vector<TConns> after;
};

void PrintTo(const DisconnectCase& c, std::ostream* os) {
    *os << c.name;
}

class WiringDisconnect : public Wiring, public ::testing::WithParamInterface<DisconnectCase> {};

TEST_P(WiringDisconnect, ThePinMenuDisconnectsThePin) {
    const DisconnectCase& c = GetParam();
    nets({c.net});
    QMenu* menu = rightClick(pinAt(c.pin));
    ASSERT_EQ(menu, form->PinMenu);
    EXPECT_EQ(menu->actions().value(0)->text(), QStringLiteral("Отсоединить"));
    EXPECT_EQ(form->Pointer->SourcePin, c.pin);
    choose(menu);
    EXPECT_FALSE(menu->isVisible());
    EXPECT_EQ(s().Conns(), c.after);
    EXPECT_TRUE(prepared());
    expectWiresOfTheCurrentPositions();
}

INSTANTIATE_TEST_SUITE_P(Menus, WiringDisconnect,
                         ::testing::Values(DisconnectCase{"two_pin_net_goes", {{1, 1}, {2, 0}}, {2, 0}, {}},
                                           DisconnectCase{"three_pin_net_keeps_the_others",
                                                          {{1, 1}, {2, 0}, {4, 0}},
                                                          {2, 0},
                                                          {{{1, 1}, {4, 0}}}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Wiring, NoMenuForAFreePinOrTheSurfaceAwayFromWires) {
    nets({{{1, 1}, {2, 0}}});
    EXPECT_EQ(rightClick(pinAt(3, 1)), nullptr);
    EXPECT_EQ(rightClick(middle(1)), nullptr);
    EXPECT_EQ(rightClick(surfaceToPanel({250, 400})), nullptr);
    EXPECT_EQ(form->Frame21->view().HoverNet, -1);
    EXPECT_EQ(s().Conns().size(), 1u);
    EXPECT_FALSE(prepared());
}

TEST_F(Wiring, TheWireMenuRemovesTheNetUnderThePointer) {
    nets({{{1, 0}, {3, 0}}, {{1, 1}, {2, 0}}, {{3, 1}, {4, 0}}});
    const QPoint over = overCell(wireCellOf(1)) + QPoint(2, 2);
    moveTo(over);
    ASSERT_EQ(form->Frame21->view().HoverNet, 1);
    QMenu* menu = rightClick(over);
    ASSERT_EQ(menu, form->WireMenu);
    EXPECT_EQ(menu->actions().value(0)->text(), QStringLiteral("Удалить все соединение"));
    choose(menu);
    EXPECT_EQ(s().Conns(), (std::vector<TConns>{{{1, 0}, {3, 0}}, {{3, 1}, {4, 0}}}));
    EXPECT_EQ(label(), QStringLiteral("2"));
    EXPECT_TRUE(prepared());
    expectWiresOfTheCurrentPositions();
}

// Regression: the number of a removed net named the next net until the pointer moved, so a
// second removal from the keyboard took a net the user had not pointed at.
TEST_F(Wiring, AfterARemovalNoWireCountsAsUnderThePointerUntilItMoves) {
    form->options().HighlightConnection = true;
    nets({{{1, 1}, {2, 0}}, {{3, 1}, {4, 0}}});
    const QPoint over = overCell(wireCellOf(0)) + QPoint(2, 2);
    moveTo(over);
    ASSERT_EQ(form->Frame21->view().HoverNet, 0);
    QMenu* menu = rightClick(over);
    ASSERT_EQ(menu, form->WireMenu);
    QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Return);
    ASSERT_EQ(s().Conns(), (std::vector<TConns>{{{3, 1}, {4, 0}}}));
    EXPECT_EQ(form->Frame21->view().HoverNet, -1);
    expectWiresOfTheCurrentPositions();
    EXPECT_EQ(rightClick(over), nullptr);
    EXPECT_EQ(s().Conns().size(), 1u);
}

} // namespace
