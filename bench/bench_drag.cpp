// SPDX-License-Identifier: MIT
// Dragging a selection over the dense schematic (120 chips, 250 nets, about 70 ms a re-route)
// with "draw connections while moving" on, through the main window's real pointer handling.
//
// A scripted pointer produces one move every `period` milliseconds (0: all moves at once). Moves
// that fall due while the program is busy are handed over together before the event loop runs
// again, as a window system queues them. Reported per drag:
//   moves_per_s  moves handled per second of dragging,
//   routes       re-routes made during the drag,
//   max_lag_ms   longest wait of a move between falling due and being handled,
//   end_lag_ms   the wait of the last move (no backlog: it stays within one re-route),
//   final_ms     from handling the last move to the final wires (the release's re-route).
// After each drag the wires are checked against routing the final positions once more.
#include "app/mainwindow.h"
#include "editor/elementpicture.h"
#include "editor/pointerstate.h"
#include "editor/workspaceframe.h"
#include "router/router.h"
#include "tools/gen/schematicgen.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {

constexpr int Moves = 300;
constexpr int Selected = 10;

void BM_DragDense(benchmark::State& state) {
    const int period = static_cast<int>(state.range(0));
    QTemporaryDir dir;
    TForm1 form(dir.path());
    form.resize(1600, 1200);
    form.show();
    Schematic& s = form.model();
    GenerateSchematic(s, 2024u, GenOptions{.elements = 120, .nets = 250, .pictures = true});
    form.options().DrawConnections = true;
    form.Button4Click();

    // The dragged chip and the next ones to its right in index order, all left of column 120
    // so that 30 cells of drag keep them on the field.
    std::vector<int> group;
    for (int i = 1; i <= s.ElementCount() && static_cast<int>(group.size()) < Selected; ++i)
        if (s.element(i).Coord.x < 120) group.push_back(i);
    std::vector<TPoint32> home;
    for (int i : group)
        home.push_back(s.element(i).Coord);
    const int dragged = group.front();

    int routes = 0;
    QObject::connect(form.Pointer, &PointerState::rerouteRequested, [&routes] { ++routes; });
    QWindow* window = form.windowHandle();
    const auto send = [&](QPoint at, Qt::MouseButtons buttons, Qt::MouseButton button, QEvent::Type type) {
        static int timestamp = 0;
        timestamp += 20;
        qt_handleMouseEvent(window, at, window->mapToGlobal(at), buttons, button, type, Qt::NoModifier,
                            timestamp);
    };

    double lastMovesPerSecond = 0, lastFinalMs = 0, lastMaxLagMs = 0, lastEndLagMs = 0;
    int lastRoutes = 0;
    for (auto _ : state) {
        s.DeselectAll();
        for (size_t k = 0; k < group.size(); ++k)
            s.SetCoord(group[k], home[k]);
        for (int i : group)
            s.SelectElement(i);
        form.Button4Click();
        ElementPicture* picture = form.Frame21->picture(dragged);
        form.Frame21->ensureWidgetVisible(picture, 50, 50);
        QApplication::processEvents();
        const QPoint start = picture->mapTo(&form, QPoint(picture->width() / 2, picture->height() * 3 / 4));
        routes = 0;

        send(start, Qt::LeftButton, Qt::LeftButton, QEvent::MouseButtonPress);
        QElapsedTimer clock;
        clock.start();
        int sent = 0;
        qint64 maxLag = 0, lag = 0;
        while (sent < Moves) {
            const qint64 now = clock.nsecsElapsed();
            const int due =
                period == 0 ? Moves : std::min<int>(Moves, static_cast<int>(now / (period * 1000000LL)) + 1);
            for (; sent < due; ++sent) {
                send(start + QPoint(sent + 1, (sent + 1) / 3), Qt::LeftButton, Qt::NoButton,
                     QEvent::MouseMove);
                lag = clock.nsecsElapsed() - static_cast<qint64>(sent) * period * 1000000LL;
                maxLag = std::max(maxLag, lag);
            }
            QApplication::processEvents();
        }
        const qint64 lastMove = clock.nsecsElapsed();
        const int32_t direction = form.Frame21->grids().RouteDirection; // carried into the last route
        send(start + QPoint(Moves, Moves / 3), Qt::NoButton, Qt::LeftButton, QEvent::MouseButtonRelease);
        const qint64 done = clock.nsecsElapsed();
        state.SetIterationTime(static_cast<double>(done) / 1e9);

        lastMovesPerSecond = Moves / (static_cast<double>(lastMove) / 1e9);
        lastFinalMs = static_cast<double>(done - lastMove) / 1e6;
        lastMaxLagMs = static_cast<double>(maxLag) / 1e6;
        lastEndLagMs = static_cast<double>(lag) / 1e6;
        lastRoutes = routes;

        RoutingGrids fresh;
        fresh.RouteDirection = direction;
        s.DeriveCons();
        RouteWires(s, fresh);
        if (fresh.WireMap != form.Frame21->grids().WireMap || fresh.NetMap != form.Frame21->grids().NetMap)
            state.SkipWithError("the wires after the release differ from routing the final positions");
        if (s.element(dragged).Coord == home.front()) state.SkipWithError("the selection did not move");
    }
    state.counters["moves_per_s"] = lastMovesPerSecond;
    state.counters["routes"] = lastRoutes;
    state.counters["max_lag_ms"] = lastMaxLagMs;
    state.counters["end_lag_ms"] = lastEndLagMs;
    state.counters["final_ms"] = lastFinalMs;
    state.SetLabel(period ? "pointer every " + std::to_string(period) + " ms" : "all moves at once");
}
BENCHMARK(BM_DragDense)
    ->Arg(5)
    ->Arg(0)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

} // namespace
