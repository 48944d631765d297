// SPDX-License-Identifier: MIT
// What hands expect of the editor, with real keys and mouse: a click on a pin is no wire, Esc takes
// a drag, band or wire back, Delete, Ctrl+A and the arrows, the menus by keyboard, Ctrl+wheel zoom
// and middle-button pan, the context menus, the clipboard between windows, and where new
// elements land.
#include "tests/editor/pointer_fixture.h"

#include "document/clippart.h"
#include "editor/wiregesture.h"
#include "model/freespot.h"
#include "tests/document/historyfixture.h"

#include <QClipboard>
#include <QComboBox>
#include <QCursor>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScrollBar>
#include <QWheelEvent>

#include <cmath>

namespace {

class Habits : public Pointer {
protected:
    void SetUp() override {
        Pointer::SetUp();
        QTest::mouseMove(win(), QPoint(1, 1));
        QGuiApplication::clipboard()->clear();
    }
    void TearDown() override {
        for (QMenu* menu : {form->ElementMenu, form->SpaceMenu, form->PinMenu, form->WireMenu})
            menu->close();
        Pointer::TearDown();
    }

    QPoint leftPin(int k) { return box(k).topLeft() + QPoint(2, 20); }
    QPoint rightPin(int k) { return box(k).topLeft() + QPoint(38, 10); }
    void key(int k, Qt::KeyboardModifiers m = {}) { QTest::keyClick(form.get(), Qt::Key(k), m); }
    int steps() { return form->document().undoStack().count(); }

    // Everything a cancelled gesture must leave as it was.
    struct Shown {
        std::vector<TPoint32> coords;
        std::vector<QRect> boxes;
        RoutingGrids grids;
        QImage surface;
        std::set<int> selection;
        int steps;
    };
    Shown shown() {
        Shown v{{}, {}, form->Frame21->grids(), surface(), selection(), steps()};
        for (int k = 1; k <= s().ElementCount(); ++k) {
            v.coords.push_back(s().element(k).Coord);
            v.boxes.push_back(box(k));
        }
        return v;
    }
    void expectShown(const Shown& v) {
        const Shown now = shown();
        EXPECT_TRUE(now.coords == v.coords);
        EXPECT_EQ(now.boxes, v.boxes);
        EXPECT_EQ(now.grids.WireMap, v.grids.WireMap);
        EXPECT_EQ(now.grids.NetMap, v.grids.NetMap);
        EXPECT_EQ(now.grids.RouteDirection, v.grids.RouteDirection);
        EXPECT_EQ(now.surface, v.surface);
        EXPECT_EQ(now.selection, v.selection);
        EXPECT_EQ(now.steps, v.steps);
    }

    // Two connected chips, wires shown.
    void TwoConnected() {
        AddChip(5, 5);
        AddChip(20, 12);
        ASSERT_TRUE(s().AddNet({{1, 1}, {2, 0}}));
        form->Button4Click();
    }
};

TEST_F(Habits, AClickOnStackedPinsConnectsNothing) {
    // Two elements on one spot: a click on the top one's pin once joined both pins.
    AddChip(5, 5);
    AddChip(5, 5);
    click(leftPin(2));
    EXPECT_TRUE(s().Conns().empty());
    // Moving less than the drag distance is still a click.
    press(leftPin(2));
    moveTo(leftPin(2) + QPoint(1, 1));
    release(leftPin(2) + QPoint(1, 1));
    EXPECT_TRUE(s().Conns().empty());
    EXPECT_FALSE(pointer().WireDrag);
    EXPECT_EQ(steps(), 0);
}

TEST_F(Habits, EscDuringAMovePutsElementsAndWiresBack) {
    TwoConnected();
    form->options().DrawConnections = true;
    select({1});
    const Shown before = shown();
    press(middle(1));
    moveTo(middle(1) + QPoint(30, 40));
    moveTo(middle(1) + QPoint(60, 90));
    QCoreApplication::processEvents(); // the re-route of the drag
    ASSERT_NE(s().element(1).Coord, before.coords[0]);
    ASSERT_NE(form->Frame21->grids().WireMap, before.grids.WireMap);
    key(Qt::Key_Escape);
    release(middle(1) + QPoint(60, 90));
    expectShown(before);
    EXPECT_FALSE(form->document().moving());
    EXPECT_FALSE(form->document().canUndo());
}

TEST_F(Habits, EscDuringABandErasesItAndKeepsTheSelection) {
    TwoConnected();
    select({2});
    const Shown before = shown();
    press(surfaceToPanel({400, 400}));
    moveTo(surfaceToPanel({30, 30}));
    ASSERT_NE(surface(), before.surface);
    key(Qt::Key_Escape);
    EXPECT_FALSE(pointer().BandActive);
    release(surfaceToPanel({30, 30}));
    expectShown(before);
}

TEST_F(Habits, EscDuringAWireDragConnectsNothing) {
    TwoConnected();
    const int extra = AddChip(20, 30);
    form->Button4Click();
    const Shown before = shown();
    const QImage target = pic(extra)->grab().toImage();
    press(rightPin(1));
    moveTo((rightPin(1) + leftPin(extra)) / 2);
    moveTo(leftPin(extra));
    ASSERT_TRUE(form->Wire->TargetMarkerShown());
    key(Qt::Key_Escape);
    EXPECT_FALSE(form->Wire->TargetMarkerShown());
    EXPECT_FALSE(pointer().WireDrag);
    release(leftPin(extra));
    expectShown(before);
    EXPECT_EQ(pic(extra)->grab().toImage(), target);
    EXPECT_EQ(s().Conns().size(), 1u);
}

TEST_F(Habits, DeleteAndCtrlAActOnTheSelection) {
    for (int i = 0; i < 3; ++i)
        AddChip(5 + 10 * i, 5);
    key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(selection(), (std::set<int>{1, 2, 3}));
    select({2});
    key(Qt::Key_Delete);
    ASSERT_EQ(s().ElementCount(), 2);
    EXPECT_EQ(s().element(2).Coord, (TPoint32{25, 5}));
    EXPECT_EQ(form->document().undoKind(), StepKind::Delete);
    form->UndoClick();
    EXPECT_EQ(s().ElementCount(), 3);
}

TEST_F(Habits, ArrowsMoveTheSelectionOneStepPerPress) {
    const int a = AddChip(5, 5), b = AddChip(20, 5);
    select({a, b});
    form->Frame21->setFocus();
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        TPoint32 a;
    } presses[] = {
        {Qt::Key_Right, {}, {6, 5}},
        {Qt::Key_Down, Qt::ShiftModifier, {6, 10}},
        {Qt::Key_Left, Qt::ShiftModifier, {1, 10}},
        {Qt::Key_Up, {}, {1, 9}},
    };
    int made = steps();
    for (const auto& p : presses) {
        QTest::keyClick(form->Frame21, Qt::Key(p.key), p.modifiers);
        EXPECT_EQ(s().element(a).Coord, p.a);
        EXPECT_EQ(s().element(b).Coord, (TPoint32{p.a.x + 15, p.a.y}));
        EXPECT_EQ(steps(), ++made);
        EXPECT_EQ(form->document().undoKind(), StepKind::Move);
    }
    // Five cells left would take `a` off the field: nothing moves.
    QTest::keyClick(form->Frame21, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(s().element(a).Coord, (TPoint32{1, 9}));
    EXPECT_EQ(steps(), made);
    form->UndoClick();
    EXPECT_EQ(s().element(a).Coord, (TPoint32{1, 10}));
    // Without a selection the arrows scroll.
    s().DeselectAll();
    QScrollBar* bar = form->Frame21->verticalScrollBar();
    bar->setValue(0);
    QTest::keyClick(form->Frame21, Qt::Key_Down);
    EXPECT_GT(bar->value(), 0);
}

TEST_F(Habits, F10AndAltLettersOpenTheMenus) {
    key(Qt::Key_F10);
    EXPECT_TRUE(form->MenuFile->isVisible());
    form->MenuFile->close();
    const std::pair<QChar, QMenu*> mnemonics[] = {
        {u'Ф', form->MenuFile}, {u'П', form->MenuEdit}, {u'С', form->MenuScheme}, {u'Б', form->MenuBases}};
    for (const auto& [letter, menu] : mnemonics) {
        // keyClick knows Latin keys only: the Cyrillic letter goes as its code and text.
        QTest::sendKeyEvent(QTest::Press, form.get(), Qt::Key(letter.unicode()), QString(letter),
                            Qt::AltModifier);
        QTest::sendKeyEvent(QTest::Release, form.get(), Qt::Key(letter.unicode()), QString(letter),
                            Qt::AltModifier);
        EXPECT_TRUE(menu->isVisible()) << menu->title().toStdString();
        menu->close();
    }
    // Alt alone opens the first menu as F10 does; held for a letter or a click it is no Alt alone.
    QTest::keyPress(form.get(), Qt::Key_Alt, Qt::AltModifier);
    QTest::keyRelease(form.get(), Qt::Key_Alt);
    EXPECT_TRUE(form->MenuFile->isVisible());
    form->MenuFile->close();
    QTest::keyPress(form->Frame21, Qt::Key_Alt, Qt::AltModifier);
    QTest::keyClick(form->Frame21, Qt::Key_X, Qt::AltModifier);
    QTest::keyRelease(form->Frame21, Qt::Key_Alt);
    QTest::keyPress(form.get(), Qt::Key_Alt, Qt::AltModifier);
    QTest::mouseClick(form->Frame21->viewport(), Qt::LeftButton, Qt::AltModifier, QPoint(30, 30));
    QTest::keyRelease(form.get(), Qt::Key_Alt);
    for (QMenu* menu : {form->MenuFile, form->MenuEdit, form->MenuScheme, form->MenuBases})
        EXPECT_FALSE(menu->isVisible()) << menu->title().toStdString();
}

TEST_F(Habits, CtrlWheelZoomsAboutThePointer) {
    QScrollBar* h = form->Frame21->horizontalScrollBar();
    QScrollBar* v = form->Frame21->verticalScrollBar();
    h->setValue(100);
    v->setValue(80);
    const QPoint at(150, 120);
    // The field point under the pointer, in cells.
    const auto cellUnder = [&] {
        const double scale = form->Frame21->view().Scale;
        return QPointF((h->value() + at.x() - 2) / scale, (v->value() + at.y() - 2) / scale);
    };
    const QPointF before = cellUnder();
    const auto wheel = [&](int delta) {
        QWheelEvent event(at, form->Frame21->viewport()->mapToGlobal(at), {}, {0, delta}, Qt::NoButton,
                          Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(form->Frame21->viewport(), &event);
    };
    for (const auto& [delta, index] :
         {std::pair{120, 8}, std::pair{120, 9}, std::pair{-120, 8}, std::pair{-120, 7}, std::pair{-120, 6}}) {
        wheel(delta);
        EXPECT_EQ(form->ComboBox1->currentIndex(), index);
        const QPointF now = cellUnder();
        // Within a pixel at the new scale.
        EXPECT_LE(std::abs(now.x() - before.x()), 1.0 / form->Frame21->view().Scale) << index;
        EXPECT_LE(std::abs(now.y() - before.y()), 1.0 / form->Frame21->view().Scale) << index;
    }
}

TEST_F(Habits, AMiddleButtonDragPans) {
    const int a = AddChip(5, 5);
    QScrollBar* h = form->Frame21->horizontalScrollBar();
    QScrollBar* v = form->Frame21->verticalScrollBar();
    h->setValue(20);
    v->setValue(20);
    // Grabbed on a picture and on the free field alike.
    for (const QPoint start : {at(middle(a)), at(surfaceToPanel({300, 250}))}) {
        const QPoint from(h->value(), v->value());
        QTest::mousePress(win(), Qt::MiddleButton, {}, start);
        QTest::mouseMove(win(), start - QPoint(50, 40));
        QTest::mouseRelease(win(), Qt::MiddleButton, {}, start - QPoint(50, 40));
        EXPECT_EQ(QPoint(h->value(), v->value()), from + QPoint(50, 40));
    }
    EXPECT_EQ(s().element(a).Coord, (TPoint32{5, 5}));
    EXPECT_EQ(steps(), 0);
}

TEST_F(Habits, ARightClickOnAnElementOffersItsCommands) {
    const int a = AddChip(5, 5), b = AddChip(20, 5);
    const int sw = form->document().PlaceNode(form->document().ListSpecial(ElementKind::Switch), false);
    ASSERT_GT(sw, 0);
    const struct {
        int element;
        QString action; // the double click's command, empty for none
    } cases[] = {{a, {}}, {sw, QStringLiteral("Переключить")}};
    for (const auto& c : cases) {
        select({b});
        const QPoint p = box(c.element).center();
        press(p, {}, Qt::RightButton);
        release(p, {}, Qt::RightButton);
        ASSERT_TRUE(form->ElementMenu->isVisible());
        QStringList items;
        for (QAction* action : form->ElementMenu->actions())
            if (action->isVisible() && !action->isSeparator()) items << action->text();
        QStringList expected = {QStringLiteral("Копировать"), QStringLiteral("Вырезать"),
                                QStringLiteral("Удалить")};
        if (!c.action.isEmpty()) expected << c.action;
        EXPECT_EQ(items, expected);
        // The element right-clicked outside the selection becomes the selection.
        EXPECT_EQ(selection(), std::set<int>{c.element});
        form->ElementMenu->close();
    }
    form->ElementAction->trigger();
    EXPECT_TRUE(s().element(sw).State);
    select({b});
    press(box(a).center(), {}, Qt::RightButton);
    release(box(a).center(), {}, Qt::RightButton);
    form->ElementDelete->trigger();
    ASSERT_EQ(s().ElementCount(), 2);
    EXPECT_EQ(s().element(1).Coord, (TPoint32{20, 5}));
}

TEST_F(Habits, ARightClickOnFreeSpaceOffersPasteAndSelectAll) {
    AddChip(5, 5);
    AddChip(20, 5);
    press(surfaceToPanel({400, 400}), {}, Qt::RightButton);
    release(surfaceToPanel({400, 400}), {}, Qt::RightButton);
    ASSERT_TRUE(form->SpaceMenu->isVisible());
    EXPECT_FALSE(form->SpacePaste->isEnabled()); // nothing copied yet
    form->SpaceSelectAll->trigger();
    EXPECT_EQ(selection(), (std::set<int>{1, 2}));
}

// Chips listed in the navigator with the test catalogue's data, placed by the document.
class ClipboardWindows : public Habits {
protected:
    void SetUp() override {
        Habits::SetUp();
        form->document().setPlacementSource(TestPlacement());
        QStandardItem* chip = form->document().ListChip(QStringLiteral("K1"), 2);
        form->document().PlaceNode(chip->child(0), false);
        form->document().PlaceNode(chip->child(1), false);
        form->document().ConnectPins({1, 2}, {2, 0});
    }
    void pointerTo(QPoint panel) { QCursor::setPos(form->Frame21->Panel1()->mapToGlobal(panel)); }
    void pointerAway() { QCursor::setPos(form->menuBar()->mapToGlobal(QPoint(5, 5))); }
};

TEST_F(ClipboardWindows, CtrlCAndCtrlVPasteUnderThePointerAsOneStep) {
    select({1, 2});
    key(Qt::Key_C, Qt::ControlModifier);
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(mime && mime->hasFormat(TForm1::ClipMimeType));
    EXPECT_TRUE(mime->text().startsWith(QStringLiteral("element D1.1 ")));
    pointerTo(QPoint(402, 302));
    const int made = steps();
    key(Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(s().ElementCount(), 4);
    EXPECT_EQ(steps(), made + 1);
    EXPECT_EQ(s().element(3).Name, QStringLiteral("D2.1"));
    EXPECT_EQ(s().element(3).Coord, (TPoint32{40, 30}));
    EXPECT_EQ(selection(), (std::set<int>{3, 4}));
    EXPECT_EQ(s().Conns().size(), 2u);
    // Pictures follow, the copy is wired.
    EXPECT_EQ(box(3).topLeft(), QPoint(402, 302));
    expectWiresOfTheCurrentPositions();
    form->UndoClick();
    EXPECT_EQ(s().ElementCount(), 2);
}

TEST_F(ClipboardWindows, CtrlXCutsAndAPasteAwayFromTheFieldLandsBesideTheOriginals) {
    select({2});
    key(Qt::Key_X, Qt::ControlModifier);
    ASSERT_EQ(s().ElementCount(), 1);
    EXPECT_EQ(form->document().undoKind(), StepKind::Delete);
    pointerAway();
    key(Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(s().ElementCount(), 2);
    EXPECT_EQ(s().element(2).Name, QStringLiteral("D2.2"));
    const TCellBox kept = CellBoxOf(s().element(1)), pasted = CellBoxOf(s().element(2));
    EXPECT_TRUE(pasted.left > kept.right + 1 || pasted.top > kept.bottom + 1);
}

TEST_F(ClipboardWindows, APasteReachesASecondWindow) {
    TForm1 second(dir.path());
    second.resize(900, 700);
    second.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&second));
    select({1, 2});
    // Through a copy of the data, as another program would read it from the clipboard.
    const std::unique_ptr<QMimeData> copied(form->CopiedSelection());
    ASSERT_TRUE(copied);
    QMimeData carried;
    for (const QString& format : copied->formats())
        carried.setData(format, copied->data(format));
    EXPECT_TRUE(second.PasteMime(&carried, TPoint32{10, 10}));
    ASSERT_EQ(second.model().ElementCount(), 2);
    EXPECT_EQ(second.model().element(1).Name, QStringLiteral("D1.1"));
    EXPECT_EQ(second.model().Conns(), s().Conns());
    // And through the system clipboard with Ctrl+V in the second window.
    form->CopyClick();
    QTest::keyClick(&second, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(second.model().ElementCount(), 4);
    EXPECT_EQ(second.model().element(3).Name, QStringLiteral("D2.1"));
    second.document().New(); // no question about unsaved changes at the close
}

TEST_F(ClipboardWindows, NewElementsLandOnTheFirstFreeSpotInView) {
    // The two chips landed side by side from the top-left corner.
    EXPECT_EQ(s().element(1).Coord, (TPoint32{0, 0}));
    EXPECT_EQ(s().element(2).Coord, (TPoint32{6, 0}));
    form->Frame21->horizontalScrollBar()->setValue(300);
    form->Frame21->verticalScrollBar()->setValue(195);
    SchematicDocument& d = form->document();
    const int first = d.PlaceNode(d.ListSpecial(ElementKind::Indicator), false);
    const int second = d.PlaceNode(d.ListSpecial(ElementKind::Indicator), false);
    EXPECT_EQ(s().element(first).Coord, (TPoint32{30, 20}));
    EXPECT_EQ(s().element(second).Coord.y, 20);
    EXPECT_GT(s().element(second).Coord.x, 30 + s().element(first).CellWidth);
}

} // namespace
