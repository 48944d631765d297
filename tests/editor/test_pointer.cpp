// SPDX-License-Identifier: MIT
// The pointer on the workspace, driven by mouse events on the main window: selecting by click,
// Ctrl+click and band, dragging the selection, the pin marker, and deleting under the pointer.
#include "tests/editor/pointer_fixture.h"

#include "editor/wiredrawing.h"
#include "router/router.h"

#include <QAction>
#include <QApplication>
#include <QPointer>

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace {

struct ClickCase {
    const char* name;
    std::set<int> before;
    bool ctrl;
    std::set<int> after; // element 2 is clicked
};

void PrintTo(const ClickCase& c, std::ostream* os) {
    *os << c.name;
}

class PointerClick : public Pointer, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(PointerClick, SelectsTogglesOrKeepsAndReroutesOnRelease) {
    const ClickCase& c = GetParam();
    for (int i = 0; i < 3; ++i)
        AddChip(5 + 10 * i, 5);
    select(c.before);
    const QRect where = box(2);
    click(middle(2), c.ctrl ? Qt::ControlModifier : Qt::NoModifier);
    EXPECT_EQ(selection(), c.after);
    EXPECT_EQ(reroutes, 1);
    EXPECT_EQ(box(2), where);
    EXPECT_FALSE(pointer().Moving);
}

INSTANTIATE_TEST_SUITE_P(Clicks, PointerClick,
                         ::testing::Values(ClickCase{"unselected_alone", {1, 3}, false, {2}},
                                           ClickCase{"nothing_selected", {}, false, {2}},
                                           ClickCase{"selected_keeps_all", {1, 2, 3}, false, {1, 2, 3}},
                                           ClickCase{"ctrl_adds", {1}, true, {1, 2}},
                                           ClickCase{"ctrl_removes", {1, 2}, true, {1}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Pointer, FirstDragOnlySelectsTheSecondMovesTheWholeSelection) {
    const int a = AddChip(7, 3), b = AddChip(20, 3), c = AddChip(7, 12);
    select({a, b});
    const QPoint start = middle(c);
    drag(start, start + QPoint(30, 0));
    EXPECT_EQ(s().element(c).Coord, (TPoint32{7, 12}));
    EXPECT_EQ(selection(), std::set<int>{c});

    click(middle(a), Qt::ControlModifier);
    ASSERT_EQ(selection(), (std::set<int>{a, c}));
    drag(middle(c), middle(c) + QPoint(20, 10));
    EXPECT_EQ(s().element(c).Coord, (TPoint32{9, 13}));
    EXPECT_EQ(s().element(a).Coord, (TPoint32{9, 4}));
    EXPECT_EQ(s().element(b).Coord, (TPoint32{20, 3}));
    EXPECT_EQ(box(a).topLeft(), QPoint(92, 42));
    EXPECT_EQ(selection(), (std::set<int>{a, c}));
}

TEST_F(Pointer, CtrlHeldAtThePressDoesNotDragAndTheReleaseToggles) {
    const int a = AddChip(7, 3);
    select({a});
    drag(middle(a), middle(a) + QPoint(40, 40), Qt::ControlModifier);
    EXPECT_EQ(s().element(a).Coord, (TPoint32{7, 3}));
    EXPECT_TRUE(selection().empty());
}

TEST_F(Pointer, TheSelectionMovesInWholeCellsFollowingThePointer) {
    const int a = AddChip(7, 3);
    select({a});
    ASSERT_EQ(box(a).left(), 72);
    const QPoint start = middle(a);
    press(start);
    moveTo(start + QPoint(14, 0)); // (72 + 14) div 10 = 8
    EXPECT_EQ(s().element(a).Coord, (TPoint32{8, 3}));
    EXPECT_EQ(box(a).left(), 82);
    moveTo(start + QPoint(7, 0)); // back to (72 + 7) div 10 = 7
    EXPECT_EQ(box(a).left(), 72);
    moveTo(start + QPoint(-3, 27)); // 69 div 10, 59 div 10
    EXPECT_EQ(s().element(a).Coord, (TPoint32{6, 5}));
    EXPECT_EQ(box(a).topLeft(), QPoint(62, 52));
    release(start + QPoint(-3, 27));
    EXPECT_EQ(s().element(a).Coord, (TPoint32{6, 5}));
}

TEST_F(Pointer, AnElementAtTheEdgeKeepsItsColumnAndStillMovesVertically) {
    const int edge = AddChip(0, 3), other = AddChip(5, 10);
    select({edge, other});
    const QPoint start = middle(edge);
    press(start);
    moveTo(start + QPoint(-15, 20)); // nl = 2 - 15 <= 0 for the edge element
    EXPECT_EQ(s().element(edge).Coord, (TPoint32{0, 5}));
    EXPECT_EQ(box(edge).topLeft(), QPoint(2, 52));
    EXPECT_EQ(s().element(other).Coord, (TPoint32{3, 12}));
    release(start + QPoint(-15, 20));
}

TEST_F(Pointer, AnElementAtTheFarEdgeStaysThere) {
    // The panel is 2000 pixels wide; a picture may end before its far edge only.
    const int a = AddChip(195, 3);
    select({a});
    form->Frame21->ensureVisible(1990, 30);
    QApplication::processEvents();
    const QPoint start = middle(a);
    press(start);
    moveTo(start + QPoint(30, 10)); // nl = 1952 + 30 >= 2000 - 40
    EXPECT_EQ(s().element(a).Coord, (TPoint32{195, 4}));
    release(start + QPoint(30, 10));
}

struct BandCase {
    const char* name;
    bool fullSelection;
    QPoint from, to;             // surface pixels
    std::vector<QRect> pictures; // panel boxes of elements 1..n
    std::set<int> selected;
};

void PrintTo(const BandCase& c, std::ostream* os) {
    *os << c.name;
}

class PointerBand : public Pointer, public ::testing::WithParamInterface<BandCase> {};

TEST_P(PointerBand, SelectsByCornersOrWholePicturesAndLeavesNoBand) {
    const BandCase& c = GetParam();
    form->options().FullSelection = c.fullSelection;
    for (const QRect& r : c.pictures)
        AddChip(r.x() / 10, r.y() / 10);
    for (size_t i = 0; i < c.pictures.size(); ++i)
        pic(static_cast<int>(i) + 1)->setGeometry(c.pictures[i]);
    // An element far off the band, selected before: the click on the surface deselects it.
    const int far = AddChip(40, 30);
    s().SelectElement(far);
    const QImage clean = surface().copy();

    press(surfaceToPanel(c.from));
    moveTo(surfaceToPanel((c.from + c.to) / 2));
    EXPECT_TRUE(pointer().BandActive);
    EXPECT_NE(surface(), clean);
    moveTo(surfaceToPanel(c.to));
    release(surfaceToPanel(c.to));

    EXPECT_EQ(selection(), c.selected);
    EXPECT_FALSE(pointer().BandActive);
    EXPECT_EQ(pointer().BandAnchor, QPoint());
    EXPECT_EQ(pointer().BandEnd, QPoint());
    EXPECT_EQ(surface(), clean);
    EXPECT_EQ(reroutes, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Bands, PointerBand,
    ::testing::Values(
        BandCase{"corner_inside", false, {0, 0}, {50, 50}, {{40, 40, 40, 50}, {50, 10, 40, 50}}, {1}},
        BandCase{"drawn_backwards", false, {100, 100}, {0, 0}, {{10, 10, 40, 50}, {100, 10, 40, 50}}, {1}},
        BandCase{"bottom_right_corner", false, {100, 100}, {45, 70}, {{10, 10, 40, 70}}, {1}},
        BandCase{"crossing_without_a_corner", false, {0, 20}, {200, 30}, {{40, 10, 40, 50}}, {}},
        BandCase{
            "full_right_edge_equal", true, {0, 0}, {100, 100}, {{10, 10, 90, 50}, {10, 20, 89, 50}}, {2}},
        BandCase{
            "full_left_edge_equal", true, {10, 0}, {100, 100}, {{10, 10, 40, 50}, {11, 10, 40, 50}}, {2}},
        BandCase{"full_corner_only", true, {0, 0}, {50, 50}, {{40, 40, 40, 50}}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Pointer, ABandReleasedAtItsStartClearsTheSelection) {
    const int a = AddChip(7, 3);
    s().SelectElement(a);
    const QImage clean = surface().copy();
    click(surfaceToPanel({300, 300}));
    EXPECT_TRUE(selection().empty());
    EXPECT_EQ(surface(), clean);
    s().SelectElement(a);
    press(surfaceToPanel({300, 300}));
    moveTo(surfaceToPanel({340, 330}));
    moveTo(surfaceToPanel({300, 300}));
    release(surfaceToPanel({300, 300}));
    EXPECT_TRUE(selection().empty());
    EXPECT_EQ(surface(), clean);
}

TEST_F(Pointer, ABandReleasedOutsideTheSurfaceAddsToTheSelection) {
    const int a = AddChip(2, 2), b = AddChip(30, 30);
    s().SelectElement(b);
    const QImage clean = surface().copy();
    press(surfaceToPanel({100, 100}));
    moveTo(surfaceToPanel({-20, -20}));
    release(surfaceToPanel({-20, -20})); // no click: the selection is added to
    EXPECT_EQ(selection(), (std::set<int>{a, b}));
    EXPECT_EQ(surface(), clean);
}

TEST_F(Pointer, AWheelTurnErasesTheBandAndTheReleaseStillSelects) {
    const int a = AddChip(7, 3);
    const QImage clean = surface().copy();
    press(surfaceToPanel({60, 20}));
    moveTo(surfaceToPanel({150, 120}));
    ASSERT_NE(surface(), clean);
    QWheelEvent wheel(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, 120), Qt::LeftButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(form->Frame21->viewport(), &wheel);
    EXPECT_FALSE(pointer().BandActive);
    EXPECT_EQ(surface(), clean);
    release(surfaceToPanel({150, 120}));
    EXPECT_EQ(selection(), std::set<int>{a});
    EXPECT_EQ(surface(), clean);
}

TEST_F(Pointer, RightAndMiddlePressesNeitherBandNorDrag) {
    const int a = AddChip(7, 3);
    select({a});
    int rightPresses = 0;
    QObject::connect(&pointer(), &PointerState::pictureRightPressed, [&](ElementPicture* p, int leg) {
        EXPECT_EQ(p, pic(a));
        EXPECT_EQ(leg, 0);
        ++rightPresses;
    });
    press(box(a).topLeft() + QPoint(2, 20), {}, Qt::RightButton); // on the left pin
    release(box(a).topLeft() + QPoint(2, 20), {}, Qt::RightButton);
    EXPECT_EQ(rightPresses, 1);
    press(middle(a), {}, Qt::MiddleButton);
    moveTo(middle(a) + QPoint(30, 30));
    release(middle(a) + QPoint(30, 30), {}, Qt::MiddleButton);
    press(surfaceToPanel({300, 300}), {}, Qt::MiddleButton);
    EXPECT_FALSE(pointer().BandActive);
    release(surfaceToPanel({300, 300}), {}, Qt::MiddleButton);
    EXPECT_EQ(s().element(a).Coord, (TPoint32{7, 3}));
    EXPECT_EQ(selection(), std::set<int>{a});
    EXPECT_EQ(reroutes, 0);
}

TEST_F(Pointer, APressOnAPinStartsAWireDragInsteadOfMoving) {
    const int a = AddChip(7, 3);
    select({a});
    press(box(a).topLeft() + QPoint(2, 20));
    EXPECT_TRUE(pointer().WireDrag);
    EXPECT_EQ(pointer().SourcePin, (TPinRef{a, 0}));
    EXPECT_TRUE(pointer().Moving);
    moveTo(box(a).topLeft() + QPoint(40, 40));
    EXPECT_EQ(s().element(a).Coord, (TPoint32{7, 3}));
    release(box(a).topLeft() + QPoint(40, 40));
    EXPECT_FALSE(pointer().WireDrag);
    EXPECT_FALSE(pointer().Moving);
}

TEST_F(Pointer, TheTemplatePictureIgnoresItsEvents) {
    const int a = AddChip(7, 3);
    select({a});
    ElementPicture* templ = form->Image1;
    ASSERT_EQ(templ->tag(), 0);
    QTest::mousePress(templ, Qt::LeftButton, {}, QPoint(2, 20));
    EXPECT_FALSE(pointer().Moving);
    EXPECT_FALSE(pointer().WireDrag);
    QTest::mouseMove(templ, QPoint(30, 30));
    QTest::mouseRelease(templ, Qt::LeftButton, {}, QPoint(30, 30));
    EXPECT_EQ(selection(), std::set<int>{a});
    EXPECT_EQ(reroutes, 0);
}

TEST_F(Pointer, TheMarkerFollowsThePinUnderThePointer) {
    const int a = AddChip(7, 3);
    const QImage clean = s().element(a).Bitmap.copy();
    moveTo(box(a).topLeft() + QPoint(1, 19)); // left pin, row 2
    ASSERT_TRUE(pointer().HoverMarkerShown());
    EXPECT_EQ(pointer().HoverMarkerLeg(), 0);
    EXPECT_EQ(pic(a)->picture().pixel(2, 17), 0xFFFF0000u); // white there: red
    EXPECT_EQ(s().element(a).Bitmap, clean);                // the model's picture stays as placed
    moveTo(box(a).topLeft() + QPoint(3, 21));               // the same pin again: erased and drawn again
    EXPECT_EQ(pic(a)->picture().pixel(2, 17), 0xFFFF0000u);
    moveTo(middle(a));
    EXPECT_FALSE(pointer().HoverMarkerShown());
    EXPECT_EQ(pic(a)->picture(), clean);
    moveTo(box(a).topLeft() + QPoint(38, 10)); // right pin
    EXPECT_EQ(pointer().HoverMarkerLeg(), 1);
    moveTo(surfaceToPanel({400, 400})); // leaving over the surface erases it
    EXPECT_FALSE(pointer().HoverMarkerShown());
    EXPECT_EQ(pic(a)->picture(), clean);
}

TEST_F(Pointer, ADeletionDropsAMarkerOnItsPictureAndAMarkerOnALaterOneFollowsIt) {
    for (int i = 0; i < 3; ++i)
        AddChip(5 + 10 * i, 5);
    const QImage clean3 = s().element(3).Bitmap.copy();
    // The pointer rests on a pin of element 2 while element 2 is deleted from the menu.
    moveTo(box(2).topLeft() + QPoint(1, 19));
    ASSERT_TRUE(pointer().HoverMarkerShown());
    s().SelectElement(2);
    form->ActDeleteSelected->trigger();
    EXPECT_FALSE(pointer().HoverMarkerShown());
    moveTo(surfaceToPanel({400, 400}));
    EXPECT_EQ(pic(2)->picture(), clean3);

    // A marker on the last element stays with it when an earlier one goes.
    const QImage clean2 = s().element(2).Bitmap.copy();
    moveTo(box(2).topLeft() + QPoint(1, 19));
    ASSERT_EQ(pointer().HoverMarkerPicture(), pic(2));
    s().SelectElement(1);
    form->ActDeleteSelected->trigger();
    ASSERT_EQ(s().ElementCount(), 1);
    EXPECT_EQ(pointer().HoverMarkerPicture(), pic(1));
    moveTo(surfaceToPanel({400, 400}));
    EXPECT_EQ(s().element(1).Bitmap, clean2);
    EXPECT_EQ(pic(1)->picture(), clean2);
}

TEST_F(Pointer, DeletingKeepsEachPictureWithItsElement) {
    for (int i = 0; i < 4; ++i)
        AddChip(5 + 10 * i, 5);
    ASSERT_TRUE(s().AddNet({{1, 0}, {2, 0}, {4, 1}}));
    ASSERT_TRUE(s().AddNet({{2, 1}, {3, 0}}));
    QPointer<ElementPicture> p2 = pic(2), p3 = pic(3), p4 = pic(4);
    s().SelectElement(2);
    form->ActDeleteSelected->trigger();
    EXPECT_TRUE(p2.isNull());
    ASSERT_FALSE(p3.isNull());
    ASSERT_FALSE(p4.isNull());
    EXPECT_EQ(p3->tag(), 2);
    EXPECT_EQ(p4->tag(), 3);
    EXPECT_EQ(p3->geometry().topLeft(), QPoint(252, 52));
    EXPECT_EQ(form->Frame21->pictures().size(), 3u);
    ASSERT_EQ(s().Conns().size(), 1u);
    EXPECT_EQ(s().Conns()[0], (TConns{{1, 0}, {3, 1}}));
    // The wires are those of the remaining net.
    RoutingGrids expected;
    RouteWires(s(), expected);
    EXPECT_EQ(form->Frame21->grids().NetMap, expected.NetMap);
}

// Two chips joined by a net; the first one is dragged.
class PointerRoute : public Pointer {
protected:
    void SetUp() override {
        Pointer::SetUp();
        AddChip(7, 3);
        AddChip(30, 10);
        ASSERT_TRUE(s().AddNet({{1, 1}, {2, 0}}));
        form->Button4Click();
        select({1});
    }

    // Moves sent to the pressed picture one after another, without the event loop running in
    // between, as when moves pile up while the program is busy.
    void burstOfMoves(QPoint start, const std::vector<QPoint>& offsets) {
        for (QPoint d : offsets) {
            const QPoint local = at(start + d) - pic(1)->mapTo(form.get(), QPoint(0, 0));
            QMouseEvent move(QEvent::MouseMove, QPointF(local), QPointF(pic(1)->mapToGlobal(local)),
                             Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(pic(1), &move);
        }
    }
};

TEST_F(PointerRoute, WithDrawConnectionsMovesRerouteOncePerEventLoopRound) {
    form->options().DrawConnections = true;
    const QPoint start = middle(1);
    press(start);
    burstOfMoves(start, {{10, 0}, {20, 5}, {30, 10}, {40, 20}});
    EXPECT_EQ(s().element(1).Coord, (TPoint32{11, 5})); // the pictures follow at once
    EXPECT_EQ(reroutes, 0);
    QApplication::processEvents();
    EXPECT_EQ(reroutes, 1);
    expectWiresOfTheCurrentPositions();

    moveTo(start + QPoint(60, 20)); // one move, then the loop runs
    EXPECT_EQ(reroutes, 2);
    burstOfMoves(start, {{70, 20}, {80, 30}});
    release(start + QPoint(80, 30)); // routes at once; the request of the burst is dropped
    EXPECT_EQ(reroutes, 3);
    QApplication::processEvents();
    EXPECT_EQ(reroutes, 3);
    EXPECT_EQ(s().element(1).Coord, (TPoint32{15, 6}));
    expectWiresOfTheCurrentPositions();
}

TEST_F(PointerRoute, WithoutDrawConnectionsOnlyTheReleaseReroutes) {
    const QPoint start = middle(1);
    press(start);
    moveTo(start + QPoint(0, 40));
    moveTo(start + QPoint(0, 80));
    QApplication::processEvents();
    EXPECT_EQ(reroutes, 0);
    release(start + QPoint(0, 80));
    EXPECT_EQ(reroutes, 1);
    EXPECT_EQ(s().element(1).Coord, (TPoint32{7, 11}));
    expectWiresOfTheCurrentPositions();
}

TEST_F(PointerRoute, WithDrawConnectionsAMoveReroutesEvenWhenNothingMoves) {
    form->options().DrawConnections = true;
    s().DeselectAll();
    const QPoint start = middle(1);
    press(start);
    moveTo(start + QPoint(30, 0)); // the element is not selected: it stays
    EXPECT_EQ(s().element(1).Coord, (TPoint32{7, 3}));
    EXPECT_EQ(reroutes, 1);
    release(start + QPoint(30, 0));
    EXPECT_EQ(reroutes, 2);
}

// The pointer state for the documentation's screenshot of a band over a selection.
TEST_F(Pointer, ScreenshotOfABand) {
    const QString out = qEnvironmentVariable("TARNWELL_SCREENSHOTS");
    if (out.isEmpty()) GTEST_SKIP() << "set TARNWELL_SCREENSHOTS to a folder to write it";
    for (int i = 0; i < 4; ++i)
        AddChip(3 + 8 * i, 3 + 3 * i);
    ASSERT_TRUE(s().AddNet({{1, 1}, {2, 0}, {4, 0}}));
    form->Button4Click();
    click(middle(2));
    click(middle(3), Qt::ControlModifier);
    moveTo(box(1).topLeft() + QPoint(1, 19));
    press(surfaceToPanel({20, 150}));
    moveTo(surfaceToPanel({300, 220}));
    QApplication::processEvents();
    EXPECT_TRUE(form->grab().save(QDir(out).filePath(QStringLiteral("pointer-band.png"))));
    release(surfaceToPanel({300, 220}));
}

} // namespace
