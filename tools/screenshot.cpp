// SPDX-License-Identifier: MIT
// Grabs the main window into PNG files for the documentation: as it looks after start-up or with a
// schematic opened, or with a small schematic built and wired with the mouse from the default
// catalogue and run for a while, at 100% and 200%.
#include "app/mainwindow.h"
#include "app/navigatorpanel.h"
#include "editor/workspaceframe.h"
#include "sim/timescaledialog.h"
#include "tools/userscript/userscript.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QScrollBar>
#include <QSlider>
#include <QTest>

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

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarnwell"));
    const QStringList args = QApplication::arguments();
    const bool wired = args.size() == 3 && args[1] == QLatin1String("--wired");
    if (args.size() != 2 && args.size() != 3) {
        std::fputs("usage: tarnwell-screenshot OUT.png [SCHEMATIC.tsv]\n"
                   "       tarnwell-screenshot --wired OUTDIR   (wired-100.png, wired-200.png)\n",
                   stderr);
        return 2;
    }
    TForm1 form1;
    form1.CreateWindows();
    form1.resize(1000, 700);
    form1.show();
    if (!QTest::qWaitForWindowExposed(&form1)) return 1;
    if (!wired) {
        if (args.size() == 3 && !form1.LoadSchematic(args[2])) return 1;
        return Save(form1, args[1]) ? 0 : 1;
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
