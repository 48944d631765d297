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
//   tarnwell-screenshot --cursors OUT.png        the same with both time cursors set by clicks
//                                                one generator period apart
//   tarnwell-screenshot --gallery OUTDIR         every window of a session on the divide-by-two
//                                                example, opened through the menus and buttons
//                                                (gallery-*.png)
// TARNWELL_LANG=en grabs the English interface; without it the windows are Russian.
#include "app/mainwindow.h"
#include "app/navigatorpanel.h"
#include "app/settingsdialog.h"
#include "catalogue/addchipdialog.h"
#include "catalogue/chipsearchdialog.h"
#include "catalogue/chipswindow.h"
#include "catalogue/elementswindow.h"
#include "catalogue/pictureswindow.h"
#include "editor/elementpicture.h"
#include "editor/workspaceframe.h"
#include "sim/generatordialog.h"
#include "sim/oscilloscopeframe.h"
#include "sim/oscilloscopewindow.h"
#include "sim/timescaledialog.h"
#include "tools/userscript/userscript.h"
#include "ui/translation.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

#include <cstdio>
#include <functional>

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
    QStandardItem* node = form.document().ListSpecial(kind);
    if (!node) return 0;
    form.NavPanel->TreeView1->setCurrentIndex(form.NavPanel->viewIndex(node));
    form.TreeView1DblClick();
    const int index = form.model().ElementCount();
    form.document().MoveElements({{index, at}});
    return index;
}

void Connect(TForm1& form, TPinRef a, TPinRef b) {
    form.document().ConnectPins(a, b);
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

TForm17* OscilloscopeScene(TForm1& form) {
    const int gen = Place(form, ElementKind::Generator, {2, 2});
    const int sw = Place(form, ElementKind::Switch, {4, 13});
    const int p1 = Place(form, ElementKind::Probe, {20, 1});
    const int p2 = Place(form, ElementKind::Probe, {20, 10});
    const int p3 = Place(form, ElementKind::Probe, {20, 19});
    form.document().SetGeneratorDurations(gen, 30, 50);
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
    return scope;
}

QImage Oscilloscope(TForm1& form) {
    return OscilloscopeScene(form)->grab().toImage();
}

// Cursor A on a rising edge of channel 1, cursor B one period later, both by clicks a little off
// the edges (they snap to them).
QImage OscilloscopeCursors(TForm1& form) {
    TForm17* scope = OscilloscopeScene(form);
    const int probe = form.model().OscChannel(1);
    const std::vector<TSimTime>& edges = form.model().element(probe).Transitions;
    const TSimTime end = scope->ViewEnd();
    std::vector<TSimTime> rising;
    for (size_t i = 0; i < edges.size(); ++i)
        if (i % 2 == 0 && edges[i] > end - 250) rising.push_back(edges[i]);
    if (rising.size() < 2) return {};
    QWidget* trace = scope->Frame181->channel(1).Image;
    const auto column = [&](TSimTime t) { return static_cast<int>(TraceWidth - 1 - (end - t)); };
    QTest::mouseClick(trace, Qt::LeftButton, {}, QPoint(column(rising[0]) + 2, 20));
    QTest::mouseClick(trace, Qt::LeftButton, Qt::ShiftModifier, QPoint(column(rising[1]) - 3, 20));
    QApplication::processEvents();
    return scope->grab().toImage();
}

// The window's picture under a caption bar with its title: the offscreen platform draws no frames.
QImage WithCaption(QWidget& w) {
    QApplication::processEvents();
    const QImage body = w.grab().toImage();
    const int bar = w.fontMetrics().height() + 8;
    QImage shot(body.width(), body.height() + bar, QImage::Format_RGB32);
    shot.fill(w.palette().color(QPalette::Window));
    QPainter p(&shot);
    p.fillRect(QRect(0, 0, shot.width(), bar), w.palette().color(QPalette::Highlight));
    p.setPen(w.palette().color(QPalette::HighlightedText));
    p.setFont(w.font());
    p.drawText(QRect(8, 0, shot.width() - 16, bar), Qt::AlignVCenter | Qt::AlignLeft, w.windowTitle());
    p.drawImage(0, bar, body);
    return shot;
}

bool SaveWindow(QWidget& w, const QString& path) {
    if (WithCaption(w).save(path)) return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

// Runs `open`, which shows `dialog` modally; once the dialog is up and active, `whileOpen` runs on
// it and the dialog is rejected. False when the dialog did not come up within five seconds.
bool WhileModal(QDialog* dialog, const std::function<void()>& open,
                const std::function<void(QDialog&)>& whileOpen) {
    if (!dialog) return false;
    bool seen = false;
    QTimer timer;
    timer.setInterval(20);
    QElapsedTimer clock;
    clock.start();
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QWidget* active = QApplication::activeModalWidget();
        if (active == dialog) {
            timer.stop();
            seen = true;
            whileOpen(*dialog);
            dialog->reject();
        } else if (clock.elapsed() > 5000) {
            timer.stop();
            if (active) active->close();
        }
    });
    timer.start();
    open();
    return seen;
}

bool GrabModal(QDialog* dialog, const std::function<void()>& open, const QString& path) {
    bool saved = false;
    const bool seen = WhileModal(dialog, open, [&](QDialog& d) { saved = SaveWindow(d, path); });
    if (!seen) std::fprintf(stderr, "no window for %s\n", qPrintable(path));
    return seen && saved;
}

// The part of the main window around a right click with the context menu it opens drawn over it
// (the offscreen platform shows the menu as a window of its own).
bool SaveContextMenu(TForm1& form, QWidget* target, QPoint at, QMenu* menu, const QString& path) {
    QTest::mousePress(target, Qt::RightButton, {}, at);
    QTest::mouseRelease(target, Qt::RightButton, {}, at);
    QApplication::processEvents();
    if (!menu->isVisible()) {
        std::fprintf(stderr, "no menu for %s\n", qPrintable(path));
        return false;
    }
    QImage shot = form.grab().toImage();
    const QPoint corner = menu->pos() - form.mapToGlobal(QPoint(0, 0));
    {
        QPainter p(&shot);
        p.drawImage(corner, menu->grab().toImage());
    }
    menu->close();
    const QRect crop = QRect(corner - QPoint(160, 120), QSize(460, 320)).intersected(shot.rect());
    if (shot.copy(crop).save(path)) return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

// Copies the catalogue beside the executable into `dir` and writes settings with LockBases=0.
bool UnlockedProgramDir(const QString& dir) {
    const QDir from(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("bases")));
    const QDir to(dir);
    if (!to.mkpath(QStringLiteral("bases")) || !to.mkpath(QStringLiteral("config"))) return false;
    for (const QString& name : from.entryList(QDir::Files))
        if (!QFile::copy(from.filePath(name), to.filePath(QStringLiteral("bases/") + name))) return false;
    QFile ini(to.filePath(QStringLiteral("config/main.ini")));
    if (!ini.open(QIODevice::WriteOnly)) return false;
    return ini.write("[Main]\nLockBases=0\n") > 0;
}

// Opens the divide-by-two example, runs it and grabs each window as the menus and buttons open it.
bool Gallery(TForm1& form, const QString& examples, const QDir& out) {
    if (!form.LoadSchematic(QDir(examples).filePath(QStringLiteral("divide_by_two.tsv")))) return false;
    // Run with the start button at 1 ms per unit until time 400; the scale goes back afterwards.
    form.resize(1180, 760);
    QSlider* speed = form.window<TForm15>()->TrackBar1;
    const int scale = speed->value();
    speed->setValue(1);
    form.simulationRun().onCycle = [&form] {
        if (form.simulator().SimTime >= 400) form.ToolButton7Click();
    };
    form.ToolButton6Click();
    form.simulationRun().onCycle = nullptr;
    speed->setValue(scale);
    const auto file = [&](const char* name) { return out.filePath(QString::fromUtf8(name)); };
    bool ok = Save(form, file("gallery-main.png"));

    // The context menus: on the generator's picture and on the free field.
    for (int k = 1; k <= form.model().ElementCount(); ++k) {
        if (form.model().element(k).kind() != ElementKind::Generator) continue;
        QWidget* picture = form.Frame21->picture(k);
        ok &= SaveContextMenu(form, picture, picture->rect().center(), form.ElementMenu,
                              file("gallery-element-menu.png"));
        form.model().DeselectAll();
        break;
    }
    ok &= SaveContextMenu(form, form.Frame21->Image1(), QPoint(620, 420), form.SpaceMenu,
                          file("gallery-space-menu.png"));

    ok &= GrabModal(
        form.window<TForm4>(), [&] { form.ActSettings->trigger(); }, file("gallery-settings.png"));
    ok &= GrabModal(
        form.window<TForm5>(), [&] { form.ActPictures->trigger(); }, file("gallery-pictures.png"));
    ok &= GrabModal(
        form.window<TForm7>(), [&] { form.ActElements->trigger(); }, file("gallery-elements.png"));
    ok &= GrabModal(
        form.window<TForm10>(), [&] { form.ActChips->trigger(); }, file("gallery-chips.png"));
    ok &= GrabModal(
        form.window<TForm13>(), [&] { form.ActAddChip->trigger(); }, file("gallery-add-chip.png"));
    // The chip search opens from the add-chip dialog's "Поиск..." button.
    TForm13* addChip = form.window<TForm13>();
    bool searched = false;
    const bool added = WhileModal(
        addChip, [&] { form.ActAddChip->trigger(); },
        [&](QDialog&) {
            searched = GrabModal(
                form.window<TForm14>(), [&] { addChip->Button1->click(); }, file("gallery-chip-search.png"));
        });
    ok &= added && searched;

    // The time scale is a tool window that the toolbar button shows and hides.
    form.ToolButton9->click();
    if (TForm15* scale = form.window<TForm15>())
        ok &= SaveWindow(*scale, file("gallery-time-scale.png"));
    else
        ok = false;
    form.ToolButton9->click();

    // The generator's dialog opens on a double click on its picture.
    int gen = 0;
    for (int k = 1; k <= form.model().ElementCount() && !gen; ++k)
        if (form.model().element(k).kind() == ElementKind::Generator) gen = k;
    ok &= GrabModal(
        form.window<TForm16>(), [&] { form.Image1DblClick(form.Frame21->picture(gen)); },
        file("gallery-generator.png"));

    form.ActOscilloscopes->trigger();
    if (TForm17* scope = form.window<TForm17>()) {
        scope->Button2Click();
        ok &= SaveWindow(*scope, file("gallery-oscilloscope.png"));
    } else {
        ok = false;
    }
    return ok;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarnwell"));
    if (const std::optional<Language> language = ParseLanguage(qEnvironmentVariable("TARNWELL_LANG")))
        InstallLanguage(*language);
    const QStringList args = QApplication::arguments();
    const QString mode = args.size() == 3 ? args[1] : QString();
    const bool scene = mode == u"--wired" || mode == u"--specials" || mode == u"--oscilloscope" ||
                       mode == u"--cursors" || mode == u"--gallery";
    if (args.size() != 2 && args.size() != 3) {
        std::fputs("usage: tarnwell-screenshot OUT.png [SCHEMATIC.tsv]\n"
                   "       tarnwell-screenshot --wired OUTDIR   (wired-100.png, wired-200.png)\n"
                   "       tarnwell-screenshot --specials OUT.png\n"
                   "       tarnwell-screenshot --oscilloscope OUT.png\n"
                   "       tarnwell-screenshot --cursors OUT.png\n"
                   "       tarnwell-screenshot --gallery OUTDIR   (gallery-*.png)\n",
                   stderr);
        return 2;
    }
    // The gallery runs from a copy of the staged catalogue whose settings unlock the catalogue
    // editors (locked by default); the settings the program writes back stay in the copy.
    QTemporaryDir programDir;
    if (mode == u"--gallery" && !UnlockedProgramDir(programDir.path())) return 1;
    TForm1 form1(mode == u"--gallery" ? programDir.path() : QString());
    form1.CreateWindows();
    form1.resize(1000, 700);
    form1.show();
    if (!QTest::qWaitForWindowExposed(&form1)) return 1;
    if (!scene) {
        if (args.size() == 3 && !form1.LoadSchematic(args[2])) return 1;
        return Save(form1, args[1]) ? 0 : 1;
    }
    if (mode == u"--gallery") {
        const QString examples = QStringLiteral(TARNWELL_EXAMPLES_DIR);
        return Gallery(form1, examples, QDir(args[2])) ? 0 : 1;
    }
    if (mode != u"--wired") {
        const QImage shot = mode == u"--specials"  ? Specials(form1)
                            : mode == u"--cursors" ? OscilloscopeCursors(form1)
                                                   : Oscilloscope(form1);
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
