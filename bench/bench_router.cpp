// SPDX-License-Identifier: MIT
// Routing and the whole re-route-and-redraw step on generated schematics:
// "typical" = 40 chips of 4 x 5 cells with 60 nets of 2..4 pins, "dense" = 120 chips, 250 nets.
#include "app/mainwindow.h"
#include "editor/surface.h"
#include "editor/wiredrawing.h"
#include "editor/workspaceframe.h"
#include "router/router.h"
#include "tools/gen/schematicgen.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

GenOptions Options(int64_t dense) {
    return dense ? GenOptions{.elements = 120, .nets = 250} : GenOptions{.elements = 40, .nets = 60};
}

std::unique_ptr<Schematic> Make(int64_t dense) {
    auto s = std::make_unique<Schematic>();
    GenerateSchematic(*s, dense ? 2024u : 1977u, Options(dense));
    return s;
}

void Label(benchmark::State& state) {
    state.SetLabel(state.range(0) ? "dense" : "typical");
}

// One routing run after another, each from the same carried direction.
void Route(benchmark::State& state, void (*route)(const Schematic&, RoutingGrids&)) {
    auto s = Make(state.range(0));
    RoutingGrids g;
    for (auto _ : state) {
        g.RouteDirection = 2;
        route(*s, g);
        benchmark::DoNotOptimize(g.WireMap.data());
    }
    Label(state);
}

void BM_RouteWires(benchmark::State& state) {
    Route(state, &RouteWires);
}
BENCHMARK(BM_RouteWires)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_RouteWiresReference(benchmark::State& state) {
    Route(state, &RouteWiresReference);
}
BENCHMARK(BM_RouteWiresReference)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Button4Click without a window at 100%: erase, derive Cons with its log lines, route, draw.
void BM_Button4ClickCore(benchmark::State& state) {
    auto s = Make(state.range(0));
    RoutingGrids g;
    const ViewState view;
    const TOptions options;
    QImage surface;
    PaintDesktop(surface, view.Scale, options.DesktopColor, options.GridColor);
    RouteWires(*s, g);
    DrawField(surface, g, view, options);
    for (auto _ : state) {
        DrawField(surface, g, view, options);
        QStringList log;
        s->DeriveCons(&log);
        benchmark::DoNotOptimize(log.join(u'\n'));
        g.RouteDirection = 2;
        RouteWires(*s, g);
        DrawField(surface, g, view, options);
    }
    Label(state);
}
BENCHMARK(BM_Button4ClickCore)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The real handler on an offscreen main window (includes filling the log box and comparing the
// routing with the one before, which a routing that is no edit hands to the undo history). Each
// routing starts from the direction the one before carried, as in the program.
void BM_Button4ClickWindow(benchmark::State& state) {
    QTemporaryDir dir;
    TForm1 form(dir.path());
    form.show();
    GenerateSchematic(form.model(), state.range(0) ? 2024u : 1977u, Options(state.range(0)));
    form.Frame21->SyncPictures();
    form.Button4Click();
    for (auto _ : state)
        form.Button4Click();
    Label(state);
}
BENCHMARK(BM_Button4ClickWindow)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
