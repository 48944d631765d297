// SPDX-License-Identifier: MIT
// Grabs windows of the program into PNG files (for the documentation):
//   tarnwell-screenshot OUT.png                 the main window after start-up
//   tarnwell-screenshot --specials OUT.png      the four special elements placed at 100%, with
//                                               an indicator lit by a switch that is on
//   tarnwell-screenshot --oscilloscope OUT.png  the oscilloscope window with three channels
#include "app/mainwindow.h"
#include "app/navigatorpanel.h"
#include "editor/workspaceframe.h"
#include "sim/oscilloscopewindow.h"

#include <QApplication>
#include <QTreeView>

#include <cstdio>

namespace {

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
    if (!(args.size() == 2 || mode == u"--specials" || mode == u"--oscilloscope")) {
        std::fputs("usage: tarnwell-screenshot [--specials | --oscilloscope] OUT.png\n", stderr);
        return 2;
    }
    TForm1 form1;
    form1.CreateWindows();
    form1.resize(1000, 700);
    form1.show();
    QApplication::processEvents();
    QImage shot;
    if (mode == u"--specials")
        shot = Specials(form1);
    else if (mode == u"--oscilloscope")
        shot = Oscilloscope(form1);
    else
        shot = form1.grab().toImage();
    if (!shot.save(args.last())) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(args.last()));
        return 1;
    }
    return 0;
}
