// SPDX-License-Identifier: MIT
// The workspace inside the main window: re-route and redraw, zoom, wheel, hover.
#include "app/mainwindow.h"
#include "app/navigatorpanel.h"
#include "editor/elementpicture.h"
#include "editor/pointerstate.h"
#include "editor/surface.h"
#include "editor/wiredrawing.h"
#include "editor/workspaceframe.h"
#include "router/router.h"
#include "tools/gen/schematicgen.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr QRgb BlackPx = 0xFF000000u;
constexpr QRgb BluePx = 0xFF0000FFu;

class Workspace : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QDir(dir.path()).mkpath(QStringLiteral("config"));
        form = std::make_unique<TForm1>(dir.path());
        form->resize(800, 600);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    Schematic& s() { return form->model(); }

    int AddElement(int x, int y, int w, int h, const char* left, const char* right) {
        TElement e;
        e.Name = QStringLiteral("D%1.1").arg(s().ElementCount() + 1);
        e.Coord = {x, y};
        e.CellWidth = w;
        e.CellHeight = h;
        e.Legs = BuildLegs(QString::fromLatin1(left), QString::fromLatin1(right), w);
        e.Bitmap = BoxPicture(e);
        return s().AddElement(e);
    }

    // Nets 0..count-1: net k is a horizontal wire on row 12 + 8k from column 13 to 30.
    void AddRowNets(int count) {
        for (int k = 0; k < count; ++k) {
            const int a = AddElement(10, 10 + 8 * k, 3, 4, "", "01");
            const int b = AddElement(30, 10 + 8 * k, 3, 4, "01", "");
            ASSERT_TRUE(s().AddNet({{a, 0}, {b, 0}}));
        }
        form->Frame21->SyncPictures();
        form->Button4Click();
    }

    QImage& surface() { return form->Frame21->surface(); }

    void MoveOver(QPoint surfacePixel) {
        QWidget* w = form->Frame21->Image1();
        QMouseEvent move(QEvent::MouseMove, QPointF(surfacePixel), w->mapToGlobal(QPointF(surfacePixel)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &move);
    }

    void Wheel(QWidget* target, int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        const QPointF at(50, 50);
        QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &wheel);
    }

    QTemporaryDir dir;
    std::unique_ptr<TForm1> form;
};

TEST_F(Workspace, Button4ClickRoutesLogsAndDrawsTheWires) {
    AddRowNets(2);
    EXPECT_EQ(form->Frame21->grids().WireMap.at(20, 12), WireHorizontal);
    EXPECT_EQ(form->Frame21->grids().NetMap.at(20, 20), 1);
    EXPECT_EQ(form->Memo2->toPlainText(), QStringLiteral("Cons[i] 2\nCons[0][0]x 13\nCons[0][0]y 12\n"
                                                         "Cons[0][1]x 30\nCons[0][1]y 12\n"
                                                         "Cons[i] 2\nCons[1][0]x 13\nCons[1][0]y 20\n"
                                                         "Cons[1][1]x 30\nCons[1][1]y 20"));
    // The surface is the desktop with exactly the routed wires on it.
    QImage expected;
    PaintDesktop(expected, 10, form->options().DesktopColor, form->options().GridColor);
    DrawField(expected, form->Frame21->grids(), form->Frame21->view(), form->options());
    EXPECT_EQ(surface(), expected);
    EXPECT_EQ(surface().pixel(203, 120), BlackPx);

    // Moving an element: the old wire is erased, the new one drawn.
    s().SetCoord(3, {10, 40});
    s().SetCoord(4, {30, 40});
    form->Frame21->SyncPictures();
    form->Button4Click();
    PaintDesktop(expected, 10, form->options().DesktopColor, form->options().GridColor);
    DrawField(expected, form->Frame21->grids(), form->Frame21->view(), form->options());
    EXPECT_EQ(surface(), expected);
    EXPECT_NE(surface().pixel(203, 200), BlackPx);
    EXPECT_EQ(surface().pixel(203, 420), BlackPx);
}

TEST_F(Workspace, ZoomMovesPicturesAndRedrawsAtTheNewScale) {
    const int i = AddElement(7, 3, 4, 5, "1", "1");
    AddElement(30, 3, 4, 5, "1", "1");
    ASSERT_TRUE(s().AddNet({{1, 1}, {2, 0}}));
    form->Frame21->SyncPictures();
    form->Button4Click();
    ElementPicture* p = form->Frame21->picture(i);
    EXPECT_EQ(p->geometry(), QRect(72, 32, 40, 50));

    form->ComboBox1->setCurrentIndex(2); // 50%
    EXPECT_EQ(form->Frame21->view().Scale, 5);
    EXPECT_EQ(form->Frame21->view().PrevScale, 10);
    EXPECT_EQ(p->geometry(), QRect(37, 17, 20, 25));
    EXPECT_EQ(form->Frame21->Panel1()->width(), FieldPixels(5));
    EXPECT_EQ(surface().width(), FieldPixels(5) + 1);
    // The wire from (11, 4) to (30, 4) is drawn at 5 pixels per cell.
    EXPECT_EQ(form->Frame21->grids().WireMap.at(20, 4), WireHorizontal);
    EXPECT_EQ(surface().pixel(101, 20), BlackPx);
    EXPECT_NE(surface().pixel(101, 22), BlackPx);
    QImage expected;
    PaintDesktop(expected, 5, form->options().DesktopColor, form->options().GridColor);
    DrawField(expected, form->Frame21->grids(), form->Frame21->view(), form->options());
    EXPECT_EQ(surface(), expected);

    form->ComboBox1->setCurrentIndex(0); // 30%
    EXPECT_EQ(p->geometry(), QRect(23, 11, 12, 15));
    form->ComboBox1->setCurrentIndex(17); // 200%
    EXPECT_EQ(form->Frame21->view().Scale, 20);
    EXPECT_EQ(form->Frame21->view().PrevScale, 3);
    EXPECT_EQ(p->geometry(), QRect(142, 62, 80, 100));
}

struct WheelCase {
    const char* name;
    int delta;
    bool shift;
    int vertical;   // scroll change
    int horizontal; // scroll change
};

class WorkspaceWheel : public Workspace, public ::testing::WithParamInterface<WheelCase> {};

TEST_P(WorkspaceWheel, NotchScrollsDeltaDivEight) {
    const WheelCase& c = GetParam();
    QScrollBar* v = form->Frame21->verticalScrollBar();
    QScrollBar* h = form->Frame21->horizontalScrollBar();
    ASSERT_GT(v->maximum(), 200);
    v->setValue(100);
    h->setValue(100);
    // A wheel turned over the surface or a picture propagates to the frame's viewport, where the
    // main window's handler takes it (a sent event does not propagate, so it goes there directly).
    Wheel(form->Frame21->viewport(), c.delta, c.shift ? Qt::ShiftModifier : Qt::NoModifier);
    EXPECT_EQ(v->value(), 100 + c.vertical);
    EXPECT_EQ(h->value(), 100 + c.horizontal);
}

INSTANTIATE_TEST_SUITE_P(Notches, WorkspaceWheel,
                         ::testing::Values(WheelCase{"forward", 120, false, -15, 0},
                                           WheelCase{"backward", -120, false, 15, 0},
                                           WheelCase{"shift_forward", 120, true, 0, -15},
                                           WheelCase{"shift_backward", -120, true, 0, 15},
                                           WheelCase{"fine", 13, false, -1, 0},
                                           WheelCase{"fine_back", -7, false, 0, 0}),
                         [](const auto& info) { return info.param.name; });

TEST_F(Workspace, WheelEndsASelectionBand) {
    const QImage clean = surface().copy();
    PointerState& pointer = *form->Pointer;
    pointer.SurfacePress(Qt::LeftButton, {40, 40});
    pointer.SurfaceMove({150, 120});
    ASSERT_TRUE(pointer.BandActive);
    ASSERT_NE(surface(), clean);
    Wheel(form->Frame21->viewport(), -120);
    EXPECT_FALSE(pointer.BandActive);
    EXPECT_EQ(surface(), clean);
}

TEST_F(Workspace, HoverHighlightsOnlyTheNetUnderThePointer) {
    AddRowNets(6);
    auto colourOfNet = [&](int k) { return surface().pixel(203, (12 + 8 * k) * 10); };
    MoveOver({200, 28 * 10 + 3}); // nearest grid point (20, 28): net 2
    EXPECT_EQ(form->Frame21->view().HoverNet, 2);
    EXPECT_EQ(colourOfNet(2), BluePx);
    EXPECT_EQ(colourOfNet(5), BlackPx);

    MoveOver({196, 52 * 10 - 4}); // nearest grid point (20, 52): net 5
    EXPECT_EQ(form->Frame21->view().HoverNet, 5);
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(colourOfNet(k), k == 5 ? BluePx : BlackPx) << k;

    MoveOver({600, 600}); // no wire there
    EXPECT_EQ(form->Frame21->view().HoverNet, -1);
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(colourOfNet(k), BlackPx) << k;

    // The surface still erases cleanly: two DrawField calls leave it as it is.
    const QImage now = surface().copy();
    form->DrawField();
    form->DrawField();
    EXPECT_EQ(surface(), now);
}

TEST_F(Workspace, WithHighlightingOffHoverFollowsButWiresStayInverse) {
    form->options().HighlightConnection = false;
    AddRowNets(3);
    MoveOver({200, 120});
    EXPECT_EQ(form->Frame21->view().HoverNet, 0);
    MoveOver({200, 200});
    EXPECT_EQ(form->Frame21->view().HoverNet, 1);
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(surface().pixel(203, (12 + 8 * k) * 10), BlackPx) << k;
    MoveOver({-40, 50}); // outside the field
    EXPECT_EQ(form->Frame21->view().HoverNet, -1);
}

// Regression: the blue highlight of a net stayed when the pointer left the workspace.
TEST_F(Workspace, TheNetHighlightGoesWhenThePointerLeavesTheWorkspace) {
    AddRowNets(3);
    QWidget* field = form->Frame21->Image1();
    QTest::mouseMove(field, {200, 203}); // nearest grid point (20, 20): net 1
    ASSERT_EQ(form->Frame21->view().HoverNet, 1);
    ASSERT_EQ(surface().pixel(203, 200), BluePx);
    QTest::mouseMove(form->NavPanel->TreeView1->viewport(), {20, 20});
    EXPECT_EQ(form->Frame21->view().HoverNet, -1);
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(surface().pixel(203, (12 + 8 * k) * 10), BlackPx) << k;
}

// Regression: picture positions were worked out in int, and an element far off the field (one
// flipped byte of a file) overflowed. They are held within what a widget takes.
TEST_F(Workspace, PicturesFarOffTheFieldAreLaidOutWithoutOverflow) {
    const int i = AddElement(0, 0, 3, 4, "01", "1");
    form->Frame21->SyncPictures();
    const ElementPicture* p = form->Frame21->picture(i);
    for (const int scale : {3, 20}) {
        form->Frame21->view().Scale = scale;
        for (const TPoint32 c :
             {TPoint32{INT32_MAX, INT32_MIN}, TPoint32{INT32_MIN, INT32_MAX}, TPoint32{-5, 7}}) {
            s().SetCoord(i, c);
            const auto expected = [scale](int32_t v) {
                return static_cast<int>(
                    std::clamp<qint64>(qint64{v} * scale + 2, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
            };
            EXPECT_EQ(p->pos(), QPoint(expected(c.x), expected(c.y))) << scale << ' ' << c.x;
            EXPECT_EQ(p->size(), QSize(30 * scale / 10, 40 * scale / 10));
        }
    }
}

TEST_F(Workspace, LegMarkerShowsOnThePictureAndASecondDrawRemovesIt) {
    const int i = AddElement(7, 3, 4, 5, "01", "1");
    form->Frame21->SyncPictures();
    ElementPicture* p = form->Frame21->picture(i);
    const QImage before = s().element(i).Bitmap.copy();
    form->DrawLegMarker(p, 0);                         // left leg at row 2
    EXPECT_EQ(p->picture().pixel(2, 17), 0xFFFF0000u); // white in the picture: red
    EXPECT_EQ(s().element(i).Bitmap, before);          // the model's picture stays as placed
    form->DrawLegMarker(p, 0);
    EXPECT_EQ(p->picture(), before);
}

// The view draws the selection tint over the element's picture, every pixel exclusive-or yellow;
// the model's picture stays as placed, and deselecting restores the shown one bit for bit.
TEST_F(Workspace, TheSelectionTintIsDrawnByTheView) {
    const int i = AddElement(7, 3, 4, 5, "01", "1");
    form->Frame21->SyncPictures();
    ElementPicture* p = form->Frame21->picture(i);
    const QImage placed = s().element(i).Bitmap.copy();
    s().SelectElement(i);
    for (const QPoint at : {QPoint(0, 0), QPoint(20, 20), QPoint(39, 49)})
        EXPECT_EQ(p->picture().pixel(at), placed.pixel(at) ^ 0x00FFFF00u);
    EXPECT_EQ(s().element(i).Bitmap, placed);
    // A marker drawn while selected and taken away again leaves the tint as it was.
    form->DrawLegMarker(p, 0);
    form->DrawLegMarker(p, 0);
    s().DeselectElement(i);
    EXPECT_EQ(p->picture(), placed);
}

// Screenshots of a routed schematic for the documentation, written only when asked for.
TEST_F(Workspace, ScreenshotsOfARoutedSchematic) {
    const QString out = qEnvironmentVariable("TARNWELL_SCREENSHOTS");
    if (out.isEmpty()) GTEST_SKIP() << "set TARNWELL_SCREENSHOTS to a folder to write them";
    GenerateSchematic(s(), 11,
                      GenOptions{.elements = 16, .nets = 14, .maxPins = 3, .pictures = true, .span = 90});
    form->Frame21->SyncPictures();
    form->Button4Click();
    form->resize(1100, 800);
    form->Frame21->horizontalScrollBar()->setValue(0);
    form->Frame21->verticalScrollBar()->setValue(0);
    MoveOver({0, 0});
    QApplication::processEvents();
    EXPECT_TRUE(form->grab().save(QDir(out).filePath(QStringLiteral("routed.png"))));
    form->ComboBox1->setCurrentIndex(0);
    QApplication::processEvents();
    EXPECT_TRUE(form->grab().save(QDir(out).filePath(QStringLiteral("routed-30.png"))));
}

} // namespace
