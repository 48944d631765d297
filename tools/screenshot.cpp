// SPDX-License-Identifier: MIT
// Grabs windows of the program into PNG files (for the documentation):
//   tarnwell-screenshot OUT.png [SCHEMATIC.tsv]  the main window after start-up, or with a
//                                                schematic opened
//   tarnwell-screenshot --wired OUTDIR           a small schematic built and wired with the mouse
//                                                from the default catalogue and run for a while,
//                                                at 100% and 200% (wired-100.png, wired-200.png)
//   tarnwell-screenshot --specials OUT.png       the four special elements placed at 100%, with
//                                                an indicator lit by a switch that is on
//   tarnwell-screenshot --oscilloscope OUT.png   the oscilloscope window with three channels
#include "app/mainwindow.h"
#include "app/navigatorpanel.h"
#include "editor/workspaceframe.h"
#include "sim/oscilloscopewindow.h"
#include "sim/timescaledialog.h"
#include "tools/userscript/userscript.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <QTreeView>

#include <cstdio>

namespace {

bool Save(QWidget& w, const QString& path) {
    QApplication::processEvents();
    if (w.grab().save(path)) return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

// Two switches, an inverter, a NAND and an indicator: the switches feed the inverter and the
// NAND's second input, the inverter the NAND's first, the NAND the indicator.
void BuildWiredScene(TForm1& form) {
    using namespace UserScript;
    AddChips(form, {QStringLiteral("К155ЛН1"), QStringLiteral("К155ЛА3")});
    form.NavPanel->PopupSwitch->trigger();
    form.NavPanel->PopupSwitch->trigger();
    form.NavPanel->PopupIndicator->trigger();
    for (const char* node : {"D1.1", "D2.1", "Переключатель1", "Переключатель2", "Индикатор1"})
        PlaceNode(form, QString::fromUtf8(node));
    // All five lie on the top-left corner, the last placed on top: moved out from the top down.
    const int inv = 1, nand = 2, sw1 = 3, sw2 = 4, lamp = 5;
    MoveElement(form, lamp, {34, 9});
    MoveElement(form, sw2, {4, 14});
    MoveElement(form, sw1, {4, 6});
    MoveElement(form, nand, {21, 7});
    MoveElement(form, inv, {11, 5});
    const auto in = [&](int k, int i) { return TPinRef{k, LeftLegs(form, k).value(i)}; };
    const auto out = [&](int k) { return TPinRef{k, RightLegs(form, k).value(0)}; };
    DragWire(form, out(sw1), in(inv, 0));
    DragWire(form, out(inv), in(nand, 0));
    DragWire(form, out(sw2), in(nand, 1));
    DragWire(form, out(nand), in(lamp, 0));
    // Clear the selection and rest the pointer on the free field.
    Click(form, QPoint(300, 400));

    form.window<TForm15>()->TrackBar1->setValue(1);
    form.simulationRun().onCycle = [&form] {
        if (form.simulator().SimTime >= 40) form.ToolButton7Click();
    };
    form.ToolButton6Click();
    form.simulationRun().onCycle = nullptr;
}

// Lists an element of the kind and places it at cell `at`, as a double click in the navigator does.
int Place(TForm1& form, ElementKind kind, TPoint32 at) {
    QStandardItem* node = form.model().ListSpecial(kind);
    if (!node) return 0;
    form.NavPanel->TreeView1->setCurrentIndex(form.NavPanel->viewIndex(node));
    form.TreeView1DblClick();
    const int index = form.model().ElementCount();
    form.model().SetCoord(index, at);
    return index;
}

void Connect(TForm1& form, TPinRef a, TPinRef b) {
    form.model().ConnectPins(a, b);
    form.simulator().PrepareRun();
}

QImage Specials(TForm1& form) {
    const int offSwitch = Place(form, ElementKind::Switch, {2, 2});
    const int onSwitch = Place(form, ElementKind::Switch, {2, 6});
    const int dark = Place(form, ElementKind::Indicator, {9, 2});
    const int lit = Place(form, ElementKind::Indicator, {9, 6});
    const int gen = Place(form, ElementKind::Generator, {15, 1});
    const int probe = Place(form, ElementKind::Probe, {26, 1});
    Connect(form, {offSwitch, 0}, {dark, 0});
    Connect(form, {onSwitch, 0}, {lit, 0});
    Connect(form, {gen, 0}, {probe, 0});
    form.model().ToggleSwitch(onSwitch);
    for (int t = 0; t < 3; ++t)
        form.simulator().RunUnit();
    form.model().DeselectAll();
    form.Button4Click();
    QApplication::processEvents();
    return form.Frame21->Panel1()->grab(QRect(0, 0, 350, 110)).toImage();
}

QImage Oscilloscope(TForm1& form) {
    const int gen = Place(form, ElementKind::Generator, {2, 2});
    const int sw = Place(form, ElementKind::Switch, {4, 13});
    const int p1 = Place(form, ElementKind::Probe, {20, 1});
    const int p2 = Place(form, ElementKind::Probe, {20, 10});
    const int p3 = Place(form, ElementKind::Probe, {20, 19});
    form.model().SetGeneratorDurations(gen, 30, 50);
    Connect(form, {gen, 0}, {p1, 0});
    Connect(form, {gen, 1}, {p2, 0});
    Connect(form, {sw, 0}, {p3, 0});
    Simulator& sim = form.simulator();
    for (int t = 0; t < 1000; ++t) {
        if (t == 790 || t == 870) form.model().ToggleSwitch(sw);
        sim.RunUnit();
    }
    form.N15Click();
    TForm17* scope = form.window<TForm17>();
    scope->Button2Click();
    QApplication::processEvents();
    return scope->grab().toImage();
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarnwell"));
    const QStringList args = QApplication::arguments();
    const QString mode = args.size() == 3 ? args[1] : QString();
    const bool scene = mode == u"--wired" || mode == u"--specials" || mode == u"--oscilloscope";
    if (args.size() != 2 && args.size() != 3) {
        std::fputs("usage: tarnwell-screenshot OUT.png [SCHEMATIC.tsv]\n"
                   "       tarnwell-screenshot --wired OUTDIR   (wired-100.png, wired-200.png)\n"
                   "       tarnwell-screenshot --specials OUT.png\n"
                   "       tarnwell-screenshot --oscilloscope OUT.png\n",
                   stderr);
        return 2;
    }
    TForm1 form1;
    form1.CreateWindows();
    form1.resize(1000, 700);
    form1.show();
    if (!QTest::qWaitForWindowExposed(&form1)) return 1;
    if (!scene) {
        if (args.size() == 3 && !form1.LoadSchematic(args[2])) return 1;
        return Save(form1, args[1]) ? 0 : 1;
    }
    if (mode != u"--wired") {
        const QImage shot = mode == u"--specials" ? Specials(form1) : Oscilloscope(form1);
        if (shot.save(args.last())) return 0;
        std::fprintf(stderr, "cannot write %s\n", qPrintable(args.last()));
        return 1;
    }

    BuildWiredScene(form1);
    const QDir out(args[2]);
    if (!Save(form1, out.filePath(QStringLiteral("wired-100.png")))) return 1;
    form1.ComboBox1->setCurrentIndex(form1.ComboBox1->count() - 1); // 200%
    form1.resize(1300, 900);
    form1.Frame21->horizontalScrollBar()->setValue(0);
    form1.Frame21->verticalScrollBar()->setValue(0);
    return Save(form1, out.filePath(QStringLiteral("wired-200.png"))) ? 0 : 1;
}
