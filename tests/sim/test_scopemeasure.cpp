// SPDX-License-Identifier: MIT
// Measuring in the oscilloscope window: zoom and scrolling of the shared time axis, the two time
// cursors with Δt, the whole-run record and its bound, and saving the traces, all with real
// clicks and keys on the window of a running main window.
#include "model/netlist.h"
#include "sim/oscilloscopeframe.h"
#include "sim/oscilloscopewindow.h"
#include "sim/timescaledialog.h"
#include "sim/traceexport.h"
#include "tests/app/specialfixture.h"
#include "tests/common/runaccess.h"
#include "tests/common/testutil.h"
#include "tests/common/traceparse.h"
#include "tests/sim/tracereference.h"
#include "tools/batch.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>

#include <random>
#include <vector>

namespace {

const QSize TraceSize(TraceWidth, TraceHeight);

class ScopeMeasure : public SpecialFixture {
protected:
    TForm17* scope() { return form->window<TForm17>(); }
    TFrame18* frame() { return scope()->Frame181; }
    TracePicture* trace(int c) { return frame()->channel(c).Image; }
    Simulator& sim() { return form->simulator(); }

    // `n` probes placed and shown, the window open.
    void OpenWithProbes(int n) {
        for (int i = 0; i < n; ++i)
            ASSERT_NE(ListAndPlace(ElementKind::Probe, {30, 2 + 9 * i}), 0);
        form->ActOscilloscopes->trigger();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(scope()));
    }
    // Sets probe p's record and the clock by hand, then draws.
    void Record(int p, std::vector<TSimTime> changes) { ForRun(s(), p).Transitions = std::move(changes); }
    void DrawAt(TSimTime now) {
        sim().SimTime = now;
        scope()->Button2->click();
    }
    // The column of the trace that shows unit t.
    int Column(TSimTime t) {
        return static_cast<int>(TraceWidth - 1 - (scope()->ViewEnd() - t) / scope()->UnitsPerPixel());
    }
    void Click(int c, int x, bool shift = false) {
        QTest::mouseClick(trace(c), Qt::LeftButton, shift ? Qt::ShiftModifier : Qt::NoModifier,
                          QPoint(x, 20));
    }
    void TypeZoom(int c, const QString& text) {
        QLineEdit* edit = frame()->channel(c).ScaleEdit;
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    std::vector<TSimTime> RandomChanges(unsigned seed, TSimTime until, double density) {
        std::mt19937 rng(seed);
        std::bernoulli_distribution change(density);
        std::vector<TSimTime> out;
        for (TSimTime t = 0; t <= until; ++t)
            if (change(rng)) out.push_back(t);
        return out;
    }
};

TEST_F(ScopeMeasure, ZoomLevelsAndScrollingBackDrawTheRecordAsFromZero) {
    OpenWithProbes(2);
    const TSimTime now = 4'000'000;
    const std::vector<TSimTime> one = RandomChanges(1, now, 0.01), two = RandomChanges(2, now, 0.0003);
    Record(1, one);
    Record(2, two);
    sim().Recording = ProbeRecording::All;
    DrawAt(now);
    // The default view is the one-unit-a-pixel trace ending at the present unit.
    EXPECT_EQ(trace(1)->image(), DrawTraceFromZero(one, now, TraceSize));
    EXPECT_TRUE(scope()->Following());

    struct Zoom {
        const char* typed;
        TSimTime units;
        const char* shown;
    };
    for (const Zoom z :
         {Zoom{"5", 2, "5"}, Zoom{"1", 10, "1"}, Zoom{"0,1", 100, "0.1"}, Zoom{"0.01", 1000, "0.01"},
          Zoom{"0.0012", 10000, "0.001"}, Zoom{"0.3", 50, "0.2"}, Zoom{"50", 1, "10"}}) {
        SCOPED_TRACE(z.typed);
        TypeZoom(2, QString::fromLatin1(z.typed));
        ASSERT_EQ(scope()->UnitsPerPixel(), z.units);
        for (int c = 1; c <= 5; ++c)
            EXPECT_EQ(frame()->channel(c).ScaleEdit->text(), QString::fromLatin1(z.shown)) << c;
        EXPECT_EQ(trace(1)->image(), DrawTraceViewFromZero(one, now, z.units, TraceSize));
        EXPECT_EQ(trace(2)->image(), DrawTraceViewFromZero(two, now, z.units, TraceSize));
    }
    // Not a number: the edit shows the zoom again.
    TypeZoom(1, QStringLiteral("abc"));
    EXPECT_EQ(frame()->channel(1).ScaleEdit->text(), QStringLiteral("10"));
    // The redraw of every unit leaves a value being typed alone; a zoom of 0 is refused.
    QLineEdit* typing = frame()->channel(2).ScaleEdit;
    typing->setFocus();
    typing->selectAll();
    QTest::keyClicks(typing, QStringLiteral("0.0"));
    DrawAt(now);
    EXPECT_EQ(typing->text(), QStringLiteral("0.0"));
    QTest::keyClick(typing, Qt::Key_Return);
    EXPECT_EQ(typing->text(), QStringLiteral("10"));
    EXPECT_EQ(scope()->UnitsPerPixel(), 1);
    // Keys on a trace step through the levels; Ctrl with the wheel too.
    trace(1)->setFocus();
    QTest::keyClick(trace(1), Qt::Key_Minus);
    QTest::keyClick(trace(1), Qt::Key_Minus);
    EXPECT_EQ(scope()->UnitsPerPixel(), 5);
    QTest::keyClick(trace(1), Qt::Key_Plus);
    EXPECT_EQ(scope()->UnitsPerPixel(), 2);
    QWheelEvent wheel(QPointF(10, 10), trace(1)->mapToGlobal(QPointF(10, 10)), {}, QPoint(0, -120),
                      Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(trace(1), &wheel);
    EXPECT_EQ(scope()->UnitsPerPixel(), 5);

    // Scrolling back with the scroll bar of any panel moves every channel; the run going on leaves
    // the view where it is, and the button follows the run again.
    TypeZoom(1, QStringLiteral("0.1"));
    QScrollBar* bar = frame()->channel(2).ScrollBar;
    ASSERT_EQ(bar->value(), bar->maximum());
    for (int page = 0; page < 3; ++page)
        bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_FALSE(scope()->Following());
    const TSimTime back = scope()->ViewEnd();
    EXPECT_LT(back, now - 100 * TraceWidth);
    EXPECT_EQ(frame()->channel(1).ScrollBar->value(), bar->value());
    EXPECT_EQ(trace(1)->image(), DrawTraceViewFromZero(one, back, 100, TraceSize));
    EXPECT_EQ(trace(2)->image(), DrawTraceViewFromZero(two, back, 100, TraceSize));
    DrawAt(now + 5000);
    EXPECT_EQ(scope()->ViewEnd(), back);
    bar->setValue(0); // as far back as the record goes: its first unit at the left edge
    EXPECT_EQ(scope()->ViewEnd(), 100 * TraceWidth);
    EXPECT_EQ(trace(1)->image(), DrawTraceViewFromZero(one, 100 * TraceWidth, 100, TraceSize));
    QTest::mouseClick(scope()->FollowButton, Qt::LeftButton);
    EXPECT_TRUE(scope()->Following());
    EXPECT_EQ(scope()->ViewEnd(), now + 5000);
    EXPECT_EQ(bar->value(), bar->maximum());
    TypeZoom(1, QStringLiteral("10"));
    EXPECT_EQ(trace(1)->image(), DrawTraceFromZero(one, now + 5000, TraceSize));
    // "Вкл" off: the trace stays white.
    QTest::mouseClick(frame()->channel(2).OnBox, Qt::LeftButton, {}, QPoint(5, 8));
    EXPECT_FALSE(frame()->channel(2).OnBox->isChecked());
    QImage white(TraceSize, QImage::Format_RGB32);
    white.fill(Qt::white);
    EXPECT_EQ(trace(2)->image(), white);
}

TEST_F(ScopeMeasure, CursorsSnapToEdgesAndShowDeltaT) {
    OpenWithProbes(2);
    Record(1, {100, 250, 260, 400});
    Record(2, {300});
    DrawAt(320); // one unit a pixel, units 0 .. 320
    EXPECT_EQ(scope()->Readout->text(), QString());

    struct ClickCase {
        const char* what;
        int channel;
        TSimTime at; // the unit clicked
        bool shift;
        TSimTime a, b; // the cursors after it, -1 unset
        const char* readout;
        const char* levels1;
        const char* levels2;
    };
    const ClickCase cases[] = {
        {"two pixels from an edge", 1, 98, false, 100, -1, "A: 100", "A1", "A0"},
        {"five pixels from any edge: no snap", 1, 105, false, 105, -1, "A: 105", "A1", "A0"},
        {"the edge of another channel", 1, 297, true, 105, 300,
         "A: 105\nB: 300\nΔt = 195 нс\n1/Δt = 5.12821 МГц", "A1\nB1", "A0\nB1"},
        {"between two edges, the nearer", 2, 256, false, 260, 300,
         "A: 260\nB: 300\nΔt = 40 нс\n1/Δt = 25 МГц", "A1\nB1", "A0\nB1"},
        {"B before A", 2, 250, true, 260, 250, "A: 260\nB: 250\nΔt = -10 нс\n1/Δt = 100 МГц", "A1\nB0",
         "A0\nB0"},
        {"both on one unit", 1, 262, true, 260, 260, "A: 260\nB: 260\nΔt = 0 нс", "A1\nB1", "A0\nB0"},
    };
    for (const ClickCase& c : cases) {
        SCOPED_TRACE(c.what);
        Click(c.channel, Column(c.at), c.shift);
        EXPECT_EQ(scope()->CursorA().value_or(-1), c.a);
        EXPECT_EQ(scope()->CursorB().value_or(-1), c.b);
        EXPECT_EQ(scope()->Readout->text(), QString::fromUtf8(c.readout));
        EXPECT_EQ(frame()->channel(1).Levels->text(), QString::fromUtf8(c.levels1));
        EXPECT_EQ(frame()->channel(2).Levels->text(), QString::fromUtf8(c.levels2));
        // The cursors are drawn over every trace, A over B.
        for (int ch = 1; ch <= 2; ++ch)
            EXPECT_EQ(trace(ch)->image().pixel(Column(c.a), 1), TForm17::CursorAColor);
    }
    // One Δt of 3 units, away from the edges: 333.333 MHz.
    Click(1, Column(180));
    Click(1, Column(183), true);
    EXPECT_EQ(scope()->Readout->text(), QStringLiteral("A: 180\nB: 183\nΔt = 3 нс\n1/Δt = 333.333 МГц"));

    // Zoomed out, snapping counts pixels: at 10 units a pixel the edge at 400 is within 4 pixels
    // of unit 360 (and the clock moves on: the cursors keep their times).
    DrawAt(3000);
    TypeZoom(1, QStringLiteral("1"));
    EXPECT_EQ(scope()->CursorA().value_or(-1), 180);
    EXPECT_EQ(scope()->CursorB().value_or(-1), 183);
    EXPECT_EQ(trace(1)->image().pixel(Column(180), 1), TForm17::CursorAColor);
    Click(2, Column(365));
    EXPECT_EQ(scope()->CursorA().value_or(-1), 400);
    Click(2, Column(345));
    EXPECT_EQ(scope()->CursorA().value_or(-1), 350);
}

TEST_F(ScopeMeasure, ArrowKeysMoveACursorFromEdgeToEdgeOfTheClickedChannel) {
    OpenWithProbes(2);
    Record(1, {10, 40, 41, 90});
    Record(2, {20, 60});
    DrawAt(100);
    Click(1, Column(50)); // channel 1 selected, A at 50
    ASSERT_EQ(scope()->CursorA().value_or(-1), 50);
    struct KeyCase {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        TSimTime a, b;
    };
    for (const KeyCase k :
         {KeyCase{Qt::Key_Right, {}, 90, -1}, KeyCase{Qt::Key_Right, {}, 90, -1},
          KeyCase{Qt::Key_Left, {}, 41, -1}, KeyCase{Qt::Key_Left, {}, 40, -1},
          KeyCase{Qt::Key_Left, Qt::ShiftModifier, 40, 90}, KeyCase{Qt::Key_Left, Qt::ShiftModifier, 40, 41},
          KeyCase{Qt::Key_Left, {}, 10, 41}, KeyCase{Qt::Key_Left, {}, 10, 41}}) {
        QTest::keyClick(trace(1), k.key, k.mods);
        EXPECT_EQ(scope()->CursorA().value_or(-1), k.a);
        EXPECT_EQ(scope()->CursorB().value_or(-1), k.b);
    }
    EXPECT_EQ(scope()->Readout->text(), QStringLiteral("A: 10\nB: 41\nΔt = 31 нс\n1/Δt = 32.2581 МГц"));
    // Clicking channel 2 makes its edges the steps.
    Click(2, Column(30));
    EXPECT_EQ(scope()->CursorA().value_or(-1), 30);
    QTest::keyClick(trace(2), Qt::Key_Right);
    EXPECT_EQ(scope()->CursorA().value_or(-1), 60);

    // An edge off the traces scrolls it into view.
    std::vector<TSimTime> far = {10};
    for (TSimTime t = 5000; t <= 9000; t += 1000)
        far.push_back(t);
    Record(1, far);
    DrawAt(20000);
    Click(1, Column(19990));
    QTest::keyClick(trace(1), Qt::Key_Left);
    EXPECT_EQ(scope()->CursorA().value_or(-1), 9000);
    EXPECT_FALSE(scope()->Following());
    EXPECT_GE(Column(9000), 0);
    EXPECT_EQ(trace(1)->image().pixel(Column(9000), 1), TForm17::CursorAColor);
}

// The whole-run record is off at first; on, it keeps every change up to its bound (set small
// here), and the window says from which unit the record is whole. Scrolled back to that unit the
// trace is the one of the whole run.
TEST_F(ScopeMeasure, WholeHistoryKeepsToItsBoundAndSaysWhereItStarts) {
    const int gen = ListAndPlace(ElementKind::Generator, {5, 5});
    const int probe = ListAndPlace(ElementKind::Probe, {20, 5});
    ASSERT_TRUE(s().ConnectPins({gen, 0}, {probe, 0}));
    s().SetGeneratorDurations(gen, 3, 7); // high 3, low 7
    form->ActOscilloscopes->trigger();
    EXPECT_FALSE(scope()->ActWholeHistory->isChecked());
    EXPECT_EQ(sim().Recording, ProbeRecording::Visible);
    sim().PrepareRun();
    sim().RunUnits(5000);
    EXPECT_LT(s().element(probe).Transitions.size(), ProbeTrimEvery);
    EXPECT_EQ(scope()->Readout->text(), QString());

    scope()->ActWholeHistory->trigger();
    EXPECT_EQ(sim().Recording, ProbeRecording::Whole);
    sim().WholeRecordBytes = 800 * sizeof(TSimTime); // 800 changes, one probe
    sim().PrepareRun();
    sim().RunUnits(1000);
    scope()->Button2->click();
    EXPECT_EQ(s().element(probe).Transitions.size(), 200u); // rises at 10k, falls 3 later
    EXPECT_EQ(scope()->Readout->text(), QString());
    sim().RunUnits(9000);
    scope()->Button2->click();
    const TElement& p = s().element(probe);
    EXPECT_LE(p.Transitions.capacity(), 800u);
    EXPECT_GE(p.Transitions.size(), 700u);
    EXPECT_GT(p.RecordFrom, 5000);
    EXPECT_EQ(scope()->Readout->text(), QStringLiteral("запись полна с %1").arg(p.RecordFrom));

    std::vector<TSimTime> whole;
    for (TSimTime t = 0; t < 10000; t += 10)
        whole.insert(whole.end(), {t, t + 3});
    frame()->channel(1).ScrollBar->setValue(0);
    EXPECT_EQ(scope()->ViewEnd(), p.RecordFrom + TraceWidth);
    EXPECT_EQ(trace(1)->image(), DrawTraceFromZero(whole, scope()->ViewEnd(), TraceSize));

    scope()->ActWholeHistory->trigger();
    EXPECT_EQ(sim().Recording, ProbeRecording::Visible);
    EXPECT_EQ(scope()->Readout->text(), QString());
}

class ScopeSave : public ScopeMeasure {
protected:
    QByteArray Read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }
};

// A generator and a switch on two probes, run by the window's run loop, toggled during the run:
// the window's VCD and CSV are the runner's for the same schematic and toggles.
TEST_F(ScopeSave, TheWindowsFilesAreTheRunnersForTheSameRun) {
    const int gen = ListAndPlace(ElementKind::Generator, {5, 5});
    const int sw = ListAndPlace(ElementKind::Switch, {5, 20});
    const int p1 = ListAndPlace(ElementKind::Probe, {20, 5});
    const int p2 = ListAndPlace(ElementKind::Probe, {20, 20});
    ASSERT_TRUE(s().ConnectPins({gen, 0}, {p1, 0}));
    ASSERT_TRUE(s().ConnectPins({sw, 0}, {p2, 0}));
    s().SetGeneratorDurations(gen, 12, 5);
    form->ActOscilloscopes->trigger();
    scope()->ActWholeHistory->trigger();
    form->window<TForm15>()->TrackBar1->setValue(1);
    std::vector<TSimTime> toggles;
    form->simulationRun().onCycle = [&] {
        if (sim().SimTime >= 37 * static_cast<TSimTime>(toggles.size() + 1) && toggles.size() < 4) {
            toggles.push_back(sim().SimTime);
            s().ToggleSwitch(sw);
        }
        if (sim().SimTime >= 200) sim().StopRequested = true;
    };
    form->ToolButton6Click();
    form->simulationRun().onCycle = nullptr;
    ASSERT_EQ(toggles.size(), 4u);
    const TSimTime units = sim().SimTime;

    const QString vcd = dir.filePath(QStringLiteral("window.vcd"));
    const QString csv = dir.filePath(QStringLiteral("window.csv"));
    ASSERT_TRUE(scope()->SaveTraces(vcd, TForm17::TraceFile::Vcd));
    ASSERT_TRUE(scope()->SaveTraces(csv, TForm17::TraceFile::Csv));

    // The schematic as a netlist, the switch turned at the same units.
    QString netlist = NetlistText(s());
    for (const TSimTime t : toggles)
        netlist += QStringLiteral("toggle %1 %2\n").arg(s().element(sw).Name).arg(t);
    const QString net = dir.filePath(QStringLiteral("same.net"));
    {
        QFile f(net);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(netlist.toUtf8());
    }
    const QString runnerVcd = dir.filePath(QStringLiteral("runner.vcd"));
    const QString runnerCsv = dir.filePath(QStringLiteral("runner.csv"));
    FILE* out = std::tmpfile();
    FILE* err = std::tmpfile();
    const int status = BatchRun({net, QStringLiteral("--units"), QString::number(units),
                                 QStringLiteral("--vcd"), runnerVcd, QStringLiteral("--csv"), runnerCsv},
                                out, err);
    const auto text = [](FILE* f) {
        std::rewind(f);
        QByteArray bytes;
        for (int ch; (ch = std::fgetc(f)) != EOF;)
            bytes += static_cast<char>(ch);
        std::fclose(f);
        return QString::fromUtf8(bytes);
    };
    const QString printed = text(out), message = text(err);
    ASSERT_EQ(status, 0) << message.toStdString();
    EXPECT_TRUE(printed.contains(QStringLiteral("Осциллограф2 transitions: %1 %2 %3 %4\n")
                                     .arg(toggles[0])
                                     .arg(toggles[1])
                                     .arg(toggles[2])
                                     .arg(toggles[3])))
        << printed.toStdString();
    EXPECT_EQ(Read(vcd), Read(runnerVcd));
    EXPECT_EQ(Read(csv), Read(runnerCsv));
    const ParsedTraces dump = ParseVcd(Read(vcd));
    ASSERT_EQ(dump.fault, QString());
    EXPECT_EQ(dump.changes.at(QStringLiteral("Осциллограф1")).size(), s().element(p1).Transitions.size());
    EXPECT_GT(s().element(p1).Transitions.size(), 20u);
}

// The menu's file dialog picks the kind by its filter; a PNG is the panels as shown.
TEST_F(ScopeSave, TheDialogsFilterPicksTheKind) {
    OpenWithProbes(2);
    Record(1, {5, 9});
    Record(2, {7});
    DrawAt(20);
    Click(1, Column(5));
    struct KindCase {
        int filter;
        const char* name;
        QByteArray start;
    };
    for (const KindCase& k :
         {KindCase{0, "traces", "$version Tarnwell $end\n"},
          KindCase{1, "traces.csv", "time,probe,level\n5,Осциллограф1,1\n7,Осциллограф2,1\n"},
          KindCase{2, "traces", "\x89PNG"}}) {
        SCOPED_TRACE(k.filter);
        WhenModalShown([](QWidget* w) { return qobject_cast<QFileDialog*>(w) != nullptr; },
                       [this, k](QWidget* w) {
                           auto* dialog = qobject_cast<QFileDialog*>(w);
                           EXPECT_EQ(dialog->nameFilters(),
                                     (QStringList{QStringLiteral("Трассы VCD (*.vcd)"),
                                                  QStringLiteral("Трассы CSV (*.csv)"),
                                                  QStringLiteral("Рисунок PNG (*.png)")}));
                           auto* type = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
                           auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                           if (!type || !edit) return dialog->reject();
                           // What a choice in the list signals.
                           type->setCurrentIndex(k.filter);
                           Q_EMIT type->activated(k.filter);
                           Q_EMIT type->textActivated(type->currentText());
                           edit->setText(dir.filePath(QString::fromLatin1(k.name)));
                           QTest::keyClick(edit, Qt::Key_Return);
                       });
        scope()->ActSaveTraces->trigger();
        const QString written =
            dir.filePath(QString::fromLatin1(k.name) + (QString::fromLatin1(k.name).contains(u'.') ? QString()
                                                        : k.filter == 0 ? QStringLiteral(".vcd")
                                                                        : QStringLiteral(".png")));
        EXPECT_TRUE(Read(written).startsWith(k.start)) << written.toStdString();
    }
    // The picture holds each panel as it is on screen, cursor and all.
    const QImage png(dir.filePath(QStringLiteral("traces.png")));
    ASSERT_EQ(png.size(), QSize(TFrame18::PanelWidth, 2 * TFrame18::PanelHeight));
    const QImage one = png.copy(QRect(trace(1)->pos(), TraceSize)).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(one, trace(1)->image());
    EXPECT_EQ(one.pixel(Column(5), 1), TForm17::CursorAColor);
}

// A file that cannot be written: a message names it, nothing is left under the name, and a file
// already there stays as it was.
TEST_F(ScopeSave, AFailedSaveSaysSoAndLeavesNothingHalfWritten) {
    OpenWithProbes(1);
    Record(1, {5});
    DrawAt(20);
    const QString missing = dir.filePath(QStringLiteral("no/such/folder/t.vcd"));
    AcceptNextMessageBox();
    EXPECT_FALSE(scope()->SaveTraces(missing, TForm17::TraceFile::Vcd));
    EXPECT_EQ(LastMessageBoxTitle(), QStringLiteral("Внимание"));
    EXPECT_TRUE(LastMessageBoxText().startsWith(
        QStringLiteral("Не удалось записать файл %1:\n").arg(QDir::toNativeSeparators(missing))))
        << LastMessageBoxText().toStdString();
    EXPECT_FALSE(QFile::exists(missing));

    // A folder under the name: refused, the folder kept, no temporary file beside it.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("taken.csv")));
    AcceptNextMessageBox();
    EXPECT_FALSE(scope()->SaveTraces(dir.filePath(QStringLiteral("taken.csv")), TForm17::TraceFile::Csv));
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("taken.csv"))).isDir());
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("taken*")}, QDir::AllEntries | QDir::Hidden),
              QStringList{QStringLiteral("taken.csv")});
}

} // namespace
