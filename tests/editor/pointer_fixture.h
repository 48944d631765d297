// SPDX-License-Identifier: MIT
#pragma once

#include "app/mainwindow.h"
#include "editor/elementpicture.h"
#include "editor/pointerstate.h"
#include "editor/surface.h"
#include "editor/wiredrawing.h"
#include "editor/workspaceframe.h"
#include "router/router.h"
#include "tools/gen/schematicgen.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <set>

// A main window on an empty program folder, with mouse events sent to it at panel points (so Qt
// picks the widget under the pointer and keeps the pressed one as the receiver until the release)
// and small chips added straight to the model.
class Pointer : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QDir(dir.path()).mkpath(QStringLiteral("config"));
        form = std::make_unique<TForm1>(dir.path());
        form->resize(900, 700);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        QObject::connect(form->Pointer, &PointerState::rerouteRequested, [this] { ++reroutes; });
    }

    void TearDown() override {
        // Leave no button held for the next test.
        for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton})
            if (QTestPrivate::qtestMouseButtons.testFlag(b)) QTest::mouseRelease(win(), b, {}, QPoint(1, 1));
    }

    Schematic& s() { return form->model(); }
    PointerState& pointer() { return *form->Pointer; }

    // A 4 x 5 cell chip with a left pin in row 2 and a right pin in row 1 (picture 40 x 50 at 100%).
    int AddChip(int x, int y) {
        TElement e;
        e.Name = QStringLiteral("D%1.1").arg(s().ElementCount() + 1);
        e.Coord = {x, y};
        e.CellWidth = 4;
        e.CellHeight = 5;
        e.Legs = BuildLegs(QStringLiteral("01"), QStringLiteral("1"), 4);
        e.Bitmap = BoxPicture(e);
        return s().AddElement(e);
    }

    ElementPicture* pic(int i) { return form->Frame21->picture(i); }
    QRect box(int i) { return pic(i)->geometry(); }
    // The middle of element i's picture, away from its pins (panel pixels).
    QPoint middle(int i) { return box(i).topLeft() + QPoint(20, 35); }

    std::set<int> selection() {
        std::set<int> sel;
        for (int i = 1; i <= s().ElementCount(); ++i)
            if (s().element(i).Selected) sel.insert(i);
        return sel;
    }
    void select(const std::set<int>& sel) {
        s().DeselectAll();
        for (int i : sel)
            s().SelectElement(i);
    }

    // Mouse events go to the main window at a panel point, so Qt picks the widget under the
    // pointer and keeps the pressed one as the receiver until the release.
    QWindow* win() { return form->windowHandle(); }
    QPoint at(QPoint panel) { return form->Frame21->Panel1()->mapTo(form.get(), panel); }
    static QPoint surfaceToPanel(QPoint p) { return p + QPoint(2, 2); }
    void press(QPoint panel, Qt::KeyboardModifiers m = {}, Qt::MouseButton b = Qt::LeftButton) {
        QTest::mousePress(win(), b, m, at(panel));
    }
    void moveTo(QPoint panel) { QTest::mouseMove(win(), at(panel)); }
    void release(QPoint panel, Qt::KeyboardModifiers m = {}, Qt::MouseButton b = Qt::LeftButton) {
        QTest::mouseRelease(win(), b, m, at(panel));
    }
    void click(QPoint panel, Qt::KeyboardModifiers m = {}) {
        press(panel, m);
        release(panel, m);
    }
    void drag(QPoint from, QPoint to, Qt::KeyboardModifiers m = {}) {
        press(from, m);
        moveTo(to);
        release(to, m);
    }

    QImage& surface() { return form->Frame21->surface(); }

    // The wires shown are those of routing the current positions (every pin here has a free
    // neighbour, so the direction carried between searches plays no part).
    void expectWiresOfTheCurrentPositions() {
        RoutingGrids expected;
        s().DeriveCons();
        RouteWires(s(), expected);
        EXPECT_EQ(form->Frame21->grids().WireMap, expected.WireMap);
        EXPECT_EQ(form->Frame21->grids().NetMap, expected.NetMap);
        QImage painted;
        PaintDesktop(painted, form->Frame21->view().Scale, form->options().DesktopColor,
                     form->options().GridColor);
        DrawField(painted, expected, form->Frame21->view(), form->options());
        EXPECT_EQ(surface(), painted);
    }

    QTemporaryDir dir;
    std::unique_ptr<TForm1> form;
    int reroutes = 0;
};
