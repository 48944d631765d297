// SPDX-License-Identifier: MIT
// The oscilloscope window in a running main window: its layout, the list of channels, the traces
// drawn once per cycle of the run loop, and a whole session from an empty schematic.
#include "catalogue/addchipdialog.h"
#include "catalogue/catalogue.h"
#include "catalogue/fields.h"
#include "model/specialpictures.h"
#include "sim/generatordialog.h"
#include "sim/oscilloscopeframe.h"
#include "sim/oscilloscopewindow.h"
#include "sim/timescaledialog.h"
#include "tests/app/specialfixture.h"
#include "tests/common/runaccess.h"
#include "tests/common/testutil.h"
#include "tests/sim/tracereference.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSlider>
#include <QToolButton>
#include <QWindow>

#include <vector>

namespace {

// Saves a grab of the widget when TARNWELL_GRAB_DIR names a folder (for looking at the windows).
void Grab(QWidget* w, const char* name) {
    const QString dir = qEnvironmentVariable("TARNWELL_GRAB_DIR");
    if (!dir.isEmpty()) w->grab().save(QDir(dir).filePath(QString::fromLatin1(name)));
}

class Oscilloscope : public SpecialFixture {
protected:
    TForm17* scope() { return form->window<TForm17>(); }
    TFrame18* frame() { return scope()->Frame181; }

    // The top of every shown channel panel, -1 for a hidden one.
    std::vector<int> Tops() {
        std::vector<int> tops;
        for (int c = 1; c <= 5; ++c)
            tops.push_back(frame()->PanelShown(c) ? frame()->channel(c).Panel->y() : -1);
        return tops;
    }
    std::vector<bool> Ticks() {
        std::vector<bool> ticks;
        for (int i = 0; i < scope()->CheckListBox1->count(); ++i)
            ticks.push_back(scope()->CheckListBox1->item(i)->checkState() == Qt::Checked);
        return ticks;
    }
    void SetTick(int entry, bool on) {
        scope()->CheckListBox1->item(entry)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    }
    // Probes 1..n listed and placed one under the other.
    void PlaceProbes(int n) {
        for (int i = 0; i < n; ++i)
            ASSERT_NE(ListAndPlace(ElementKind::Probe, {30, 2 + 9 * i}), 0);
    }
    void Delete(int index) {
        s().DeselectAll();
        s().SelectElement(index);
        form->ActDeleteSelected->trigger();
    }
};

TEST_F(Oscilloscope, TheWindowIsLaidOutAsDesignedWithFiveHiddenChannelPanels) {
    TForm17* w = scope();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Осциллографы"));
    EXPECT_EQ(w->frameGeometry().size(), QSize(614, 374));
    const Qt::WindowFlags flags = w->windowFlags();
    // Regression: it stayed above every window, modal dialogs too (it hid the save dialog's file
    // list). It stays above the main window only, as its child window.
    EXPECT_FALSE(flags & Qt::WindowStaysOnTopHint);
    ASSERT_NE(w->windowHandle(), nullptr);
    EXPECT_EQ(w->windowHandle()->transientParent(), form->windowHandle());
    EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((w->geometry().center() - screen.center()).manhattanLength(), 2);

    EXPECT_EQ(w->CheckListBox1->pos(), QPoint(6, 8));
    EXPECT_EQ(w->GroupBox1->pos(), QPoint(163, 4));
    EXPECT_EQ(w->GroupBox1->title(), QStringLiteral("Показания осциллографов"));
    EXPECT_EQ(w->Frame181->parentWidget(), w->GroupBox1);
    EXPECT_EQ(w->Frame181->pos(), QPoint(8, 17));
    EXPECT_EQ(w->Frame181->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_TRUE(w->Button2->isHidden());
    // The three boxes keep their distances to the edges when the window changes size.
    const auto margins = [w](const QWidget* box) {
        const QRect r = box->geometry();
        const QSize outer = box->parentWidget()->size();
        return QMargins(r.left(), r.top(), outer.width() - r.right(), outer.height() - r.bottom());
    };
    const QMargins list = margins(w->CheckListBox1), group = margins(w->GroupBox1),
                   inner = margins(w->Frame181);
    w->resize(700, 300);
    EXPECT_EQ(margins(w->CheckListBox1), list);
    EXPECT_EQ(margins(w->GroupBox1), group);
    EXPECT_EQ(margins(w->Frame181), inner);
    w->resize(610, 370);

    for (int c = 1; c <= 5; ++c) {
        const ChannelPanel& ch = w->Frame181->channel(c);
        EXPECT_TRUE(ch.Panel->isHidden()) << c;
        EXPECT_EQ(ch.Panel->size(), QSize(403, 60));
        EXPECT_EQ(ch.Image->geometry(), QRect(24, 1, 321, 40));
        EXPECT_EQ(ch.Number->text(), QString::number(c));
        EXPECT_TRUE(ch.Number->font().bold());
        EXPECT_EQ(ch.Number->pos(), QPoint(5, 2));
        EXPECT_EQ(ch.ScaleLabel->text(), QStringLiteral("Масштаб"));
        EXPECT_EQ(ch.ScaleEdit->text(), QStringLiteral("10"));
        EXPECT_EQ(ch.ScaleEdit->geometry().topLeft(), QPoint(348, 19));
        EXPECT_EQ(ch.ScaleEdit->width(), 53);
        EXPECT_EQ(ch.OnBox->text(), QStringLiteral("Вкл"));
        EXPECT_TRUE(ch.OnBox->isChecked());
        EXPECT_EQ(ch.OnBox->pos(), QPoint(348, 41));
        EXPECT_EQ(ch.ScrollBar->y(), 42);
        EXPECT_EQ(ch.ScrollBar->value(), 100);
    }
    w->hide();
}

TEST_F(Oscilloscope, OpensOnlyWithAListedProbe) {
    form->ActOscilloscopes->trigger();
    QTest::mouseClick(form->ToolButton1, Qt::LeftButton);
    EXPECT_FALSE(scope()->isVisible());

    // A listed probe that is not placed: the window opens with its entry unticked and no panel.
    ASSERT_NE(s().ListSpecial(ElementKind::Probe), nullptr);
    QTest::mouseClick(form->ToolButton1, Qt::LeftButton);
    ASSERT_TRUE(scope()->isVisible());
    ASSERT_EQ(scope()->CheckListBox1->count(), 1);
    EXPECT_EQ(scope()->CheckListBox1->item(0)->text(), QStringLiteral("Осциллограф1"));
    EXPECT_EQ(Ticks(), std::vector<bool>{false});
    EXPECT_EQ(Tops(), (std::vector<int>{-1, -1, -1, -1, -1}));
    EXPECT_EQ(scope()->OuterHeight(), 374);
    scope()->hide();
    form->ActOscilloscopes->trigger();
    EXPECT_TRUE(scope()->isVisible());
}

TEST_F(Oscilloscope, ShownChannelsStackAndTheWindowFollowsTheirHeight) {
    PlaceProbes(3);
    form->ActOscilloscopes->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(scope()));
    EXPECT_EQ(Ticks(), (std::vector<bool>{true, true, true}));
    EXPECT_EQ(Tops(), (std::vector<int>{0, 60, 120, -1, -1}));
    EXPECT_EQ(scope()->OuterHeight(), 245);
    Grab(scope(), "tform17_three.png");

    SetTick(1, false);
    EXPECT_EQ(Tops(), (std::vector<int>{0, -1, 60, -1, -1}));
    EXPECT_EQ(scope()->OuterHeight(), 185);

    // Deleting the third probe takes its panel away; ticking its entry again unticks it at once.
    Delete(3);
    EXPECT_EQ(Ticks(), (std::vector<bool>{true, false, false}));
    EXPECT_EQ(Tops(), (std::vector<int>{0, -1, -1, -1, -1}));
    EXPECT_EQ(scope()->OuterHeight(), 125);
    SetTick(2, true);
    EXPECT_EQ(Ticks(), (std::vector<bool>{true, false, false}));
    SetTick(1, true);
    EXPECT_EQ(Tops(), (std::vector<int>{0, 60, -1, -1, -1}));

    // Nothing ticked: the height stays.
    SetTick(0, false);
    SetTick(1, false);
    EXPECT_EQ(Tops(), (std::vector<int>{-1, -1, -1, -1, -1}));
    EXPECT_EQ(scope()->OuterHeight(), 125);

    // A probe listed while the window is visible lists every channel again, ticked where a probe
    // is; placing it ticks its channel.
    QStandardItem* fourth = s().ListSpecial(ElementKind::Probe);
    ASSERT_NE(fourth, nullptr);
    EXPECT_EQ(scope()->CheckListBox1->count(), 4);
    EXPECT_EQ(Ticks(), (std::vector<bool>{true, true, false, false}));
    EXPECT_EQ(Tops(), (std::vector<int>{0, 60, -1, -1, -1}));
    const int p4 = Place(fourth);
    ASSERT_NE(p4, 0);
    EXPECT_EQ(s().OscChannel(4), p4);
    EXPECT_EQ(Ticks(), (std::vector<bool>{true, true, false, true}));
    EXPECT_EQ(Tops(), (std::vector<int>{0, 60, -1, 120, -1}));
    EXPECT_EQ(scope()->OuterHeight(), 245);
    scope()->hide();
}

TEST_F(Oscilloscope, TheTraceShowsTheProbesRecordAtTheSimulatorsTime) {
    PlaceProbes(2);
    form->ActOscilloscopes->trigger();
    Simulator& sim = form->simulator();
    ForRun(s(), 1).Transitions = {4};
    sim.SimTime = 10;
    scope()->Button2->click();
    const QImage one = frame()->channel(1).Image->image();
    EXPECT_EQ(one, DrawTraceFromZero(std::vector<TSimTime>{4}, 10, QSize(321, 40)));
    EXPECT_EQ(one.pixel(309, 30), qRgb(0, 0, 0));
    EXPECT_EQ(one.pixel(308, 30), qRgb(255, 255, 255));
    EXPECT_EQ(one.pixel(320, 5), qRgb(0, 0, 0));
    // The probe that never changed: a flat low line.
    EXPECT_EQ(frame()->channel(2).Image->image(), DrawTraceFromZero({}, 10, QSize(321, 40)));
    // The picture on screen is the trace.
    const QImage shown = frame()->channel(1).Image->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown, one);
    scope()->hide();
}

// Switch -> probe; the run loop draws the traces after the units of every cycle while the window
// is visible, also while the run is paused.
TEST_F(Oscilloscope, TheRunLoopRedrawsTheTracesEveryCycleAlsoWhilePaused) {
    const int sw = ListAndPlace(ElementKind::Switch, {5, 5});
    const int probe = ListAndPlace(ElementKind::Probe, {20, 5});
    ASSERT_TRUE(s().ConnectPins({sw, 0}, {probe, 0}));
    form->window<TForm15>()->TrackBar1->setValue(1);
    Simulator& sim = form->simulator();
    TracePicture* trace = frame()->channel(1).Image;
    int cycle = 0;
    int mismatches = 0;
    bool redrawnWhilePaused = false;
    form->simulationRun().onCycle = [&] {
        ++cycle;
        const bool shown = scope()->isVisible();
        if (shown &&
            trace->image() != DrawTraceFromZero(s().element(probe).Transitions, sim.SimTime, QSize(321, 40)))
            ++mismatches;
        if (cycle == 3) form->ActOscilloscopes->trigger();
        if (cycle == 6) s().ToggleSwitch(sw);
        if (cycle == 12) form->ToolButton8Click(); // pause
        if (cycle == 14) trace->image().fill(Qt::red);
        if (cycle == 15) redrawnWhilePaused = trace->image().pixel(0, 0) == qRgb(255, 255, 255);
        if (cycle == 16) form->ToolButton7Click();
        if (cycle > 1000) sim.StopRequested = true;
    };
    form->ToolButton6Click();
    EXPECT_EQ(cycle, 16);
    EXPECT_EQ(mismatches, 0);
    EXPECT_TRUE(redrawnWhilePaused);
    EXPECT_EQ(s().element(probe).Transitions.size(), 1u);
    scope()->hide();
}

// The run loop's clock counts on past 2^31 (it was a signed 32-bit count that turned negative
// there, after which the traces stayed empty). A generator of 15 units high and 25 low drives a
// probe and an indicator; the run starts just before 2^31 (the test sets the clock once the run is
// prepared) and goes on across it, first one unit per cycle, then at time scale 0. After every
// cycle the status bar, the probe's record, the trace and the indicator are those of a run from
// time 0 in which the generator starts `Lead` units later (so the trace's whole width lies after
// time 0 there too), shifted by the difference.
TEST_F(Oscilloscope, TheRunGoesOnAcrossTwoToTheThirtyFirst) {
    const int gen = ListAndPlace(ElementKind::Generator, {5, 5});
    const int probe = ListAndPlace(ElementKind::Probe, {20, 5});
    const int lamp = ListAndPlace(ElementKind::Indicator, {20, 15});
    ASSERT_TRUE(s().ConnectPins({gen, 0}, {probe, 0}));
    ASSERT_TRUE(s().ConnectPins({gen, 0}, {lamp, 0}));
    s().SetGeneratorDurations(gen, 15, 25);
    form->ActOscilloscopes->trigger();
    constexpr TSimTime Wrap = TSimTime{1} << 31;
    constexpr TSimTime Start = Wrap - 120;
    constexpr TSimTime Lead = 400;
    constexpr TSimTime Shift = Start - Lead;
    Simulator& sim = form->simulator();
    form->simulationRun().afterPrepare = [&] { sim.SimTime = Start; };
    form->window<TForm15>()->TrackBar1->setValue(1);

    int cycles = 0;
    int before = 0;
    int after = 0;
    const auto check = [&] {
        const TSimTime now = sim.SimTime;
        // The generator rises at the start and every 40 units after it, and falls 15 units later.
        std::vector<TSimTime> fromZero;
        for (TSimTime rise = Lead; Shift + rise < now; rise += 40)
            for (const TSimTime t : {rise, rise + 15})
                if (Shift + t < now) fromZero.push_back(t);
        const TElement& p = s().element(probe);
        const size_t dropped = fromZero.size() - std::min(fromZero.size(), p.Transitions.size());
        std::vector<TSimTime> kept;
        for (size_t k = dropped; k < fromZero.size(); ++k)
            kept.push_back(Shift + fromZero[k]);
        ASSERT_EQ(p.Transitions, kept) << "at " << now;
        ASSERT_EQ(p.LevelBefore, dropped % 2 != 0) << "at " << now;
        ASSERT_EQ(form->StatusPanel->text(), QStringLiteral("Время: %1").arg(now - 1));
        ASSERT_EQ(frame()->channel(1).Image->image(),
                  DrawTraceFromZero(fromZero, now - Shift, QSize(321, 40)))
            << "at " << now;
        const bool high = fromZero.size() % 2 != 0;
        ASSERT_EQ(s().element(lamp).State, high) << "at " << now;
        ASSERT_EQ(picture(lamp)->picture(), SmallPicture(high ? SmallIndicatorLit : SmallIndicatorUnlit));
        (now <= Wrap ? before : after)++;
    };
    form->simulationRun().onCycle = [&] {
        ++cycles;
        check();
        if (sim.SimTime > Wrap + 120) form->window<TForm15>()->TrackBar1->setValue(0);
        if (sim.SimTime > Wrap + 100000 || cycles > 100000 || HasFailure()) sim.StopRequested = true;
    };
    form->ToolButton6Click();
    form->simulationRun().onCycle = nullptr;
    form->simulationRun().afterPrepare = nullptr;
    EXPECT_GT(before, 50);
    EXPECT_GT(after, 100);
    EXPECT_GT(sim.SimTime, Wrap + 100000);
    Grab(scope(), "wrap_scope.png");
    scope()->hide();
}

// A new user's session on the default catalogue: a generator drives an inverter of a К155ЛН1 whose
// output goes to a probe and an indicator; the oscilloscope opened during the run shows what the
// probe recorded.
class Session : public Oscilloscope {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        copyDefaultCatalogue();
        Oscilloscope::SetUp();
    }

    // Drags the element's picture so that its top-left corner lands on cell `to`.
    void Drag(int index, QPoint to) {
        ElementPicture* p = picture(index);
        const QPoint grip(p->width() / 2, p->height() / 2);
        QTest::mouseClick(p, Qt::LeftButton, {}, grip); // the first click selects it alone
        QTest::mousePress(p, Qt::LeftButton, {}, grip);
        const QPoint target = to * form->Frame21->view().Scale + QPoint(2, 2);
        QTest::mouseMove(p, grip + target - p->pos());
        QTest::mouseRelease(p, Qt::LeftButton, {}, grip);
    }
};

TEST_F(Session, GeneratorInverterProbeAndIndicator) {
    WhenModalShown([this](QWidget* w) {
        auto* dialog = qobject_cast<TForm13*>(w);
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(
            form->catalogueUi().catalogue().chips().locate(ChipField::Mark, QStringLiteral("К155ЛН1")));
        dialog->Button3->click(); // "Добавить"
        dialog->Button4->click();
    });
    form->ActAddChip->trigger();
    form->NavPanel->PopupGenerator->trigger();
    form->NavPanel->PopupProbe->trigger();
    form->NavPanel->PopupIndicator->trigger();
    const QStandardItemModel& tree = s().navigator().model();
    ASSERT_EQ(tree.rowCount(), 2);
    QStandardItem* chip = tree.item(0);
    QStandardItem* special = tree.item(1);
    ASSERT_EQ(chip->child(0)->text(), QStringLiteral("D1.1"));
    ASSERT_EQ(special->rowCount(), 3);

    const int gen = Place(special->child(0));
    Drag(gen, {3, 3});
    const int inv = Place(chip->child(0));
    Drag(inv, {16, 3});
    const int probe = Place(special->child(1));
    Drag(probe, {30, 1});
    const int lamp = Place(special->child(2));
    Drag(lamp, {30, 12});
    ASSERT_EQ(s().ElementCount(), 4);
    EXPECT_EQ(s().element(inv).Coord, (TPoint32{16, 3}));
    EXPECT_EQ(s().element(inv).Reaction_LH, 12);
    EXPECT_EQ(s().element(inv).Reaction_HL, 8);

    // Wires from the generator's upper output to the inverter's input, and from its output to the
    // probe and the indicator, connected as dropping a wire on a pin does.
    for (const auto& [a, b] :
         {std::pair<TPinRef, TPinRef>{{gen, 0}, {inv, 0}}, std::pair<TPinRef, TPinRef>{{inv, 1}, {probe, 0}},
          std::pair<TPinRef, TPinRef>{{inv, 1}, {lamp, 0}}}) {
        ASSERT_TRUE(s().ConnectPins(a, b));
        form->simulator().PrepareRun();
        form->Button4Click();
    }
    WhenModalShown([](QWidget* w) {
        auto* dialog = qobject_cast<TForm16*>(w);
        ASSERT_NE(dialog, nullptr);
        dialog->Edit1->setText(QStringLiteral("15"));
        dialog->Edit2->setText(QStringLiteral("25"));
        dialog->Button1->click();
    });
    DoubleClick(gen);

    form->window<TForm15>()->TrackBar1->setValue(0);
    int cycle = 0;
    int openedAt = 0;
    form->simulationRun().onCycle = [&] {
        ++cycle;
        if (form->simulator().SimTime > 500 && openedAt == 0) {
            DoubleClick(probe);
            openedAt = cycle;
        }
        if (openedAt != 0 && cycle == openedAt + 3) form->ToolButton7Click();
        if (cycle > 100000) form->simulator().StopRequested = true;
    };
    QTest::mouseClick(form->ToolButton6, Qt::LeftButton);
    ASSERT_TRUE(scope()->isVisible());
    const TSimTime now = form->simulator().SimTime;

    // The generator rises at 0, 40, 80, ... and falls at 15, 55, ...; the inverter follows a fall
    // 12 units later and a rise 8 units later, and the probe records it in the same unit.
    std::vector<TSimTime> expected;
    for (TSimTime rise = 0; rise < now; rise += 40)
        for (const TSimTime t : {rise + 15 + 12, rise + 40 + 8})
            if (t < now) expected.push_back(t);
    const TElement& p = s().element(probe);
    if (p.LevelBefore || p.Transitions.size() != expected.size()) {
        // The record was trimmed: it ends like the whole list and keeps its parity.
        ASSERT_LE(p.Transitions.size(), expected.size());
        const size_t dropped = expected.size() - p.Transitions.size();
        EXPECT_EQ(p.LevelBefore, dropped % 2 != 0);
        EXPECT_TRUE(std::equal(p.Transitions.begin(), p.Transitions.end(), expected.begin() + dropped));
    } else {
        EXPECT_EQ(p.Transitions, expected);
    }
    const QImage trace = frame()->channel(1).Image->image();
    EXPECT_EQ(trace, DrawTraceFromZero(expected, now, QSize(321, 40)));
    const bool high = expected.size() % 2 != 0;
    EXPECT_EQ(trace.pixel(320, high ? 5 : 30), qRgb(0, 0, 0));
    EXPECT_EQ(s().element(lamp).State, high);
    Grab(scope(), "session_scope.png");
    Grab(form.get(), "session_main.png");
    scope()->hide();
}

} // namespace
