// SPDX-License-Identifier: MIT
// Simulation speed on a ring of 1000 chip elements: the bare passes, and the real run loop of the
// main window at time scale 0 with the oscilloscope hidden.
#include "app/mainwindow.h"
#include "sim/simulator.h"
#include "sim/timescaledialog.h"
#include "tools/gen/chipring.h"

#include <QApplication>
#include <QDir>
#include <QSlider>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int Chips = 1000;

void BM_PrepareAndPasses(benchmark::State& state) {
    const auto units = static_cast<int>(state.range(0));
    Schematic s;
    MakeChipRing(s, Chips);
    for (int i = 1; i <= Chips; i += 3)
        s.elementForRun(i).Legs.back().Pending = 1;
    Simulator sim(s);
    for (auto _ : state) {
        sim.PrepareRun();
        for (int t = 0; t < units; ++t) {
            sim.SimStep();
            sim.SimStep();
            ++sim.SimTime;
        }
        benchmark::DoNotOptimize(sim.NetLevels.data());
    }
    state.counters["units/s"] = benchmark::Counter(
        static_cast<double>(units) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PrepareAndPasses)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_RunLoop(benchmark::State& state) {
    const auto units = static_cast<int32_t>(state.range(0));
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("config"));
    TForm1 form(dir.path());
    form.CreateWindows();
    form.resize(900, 700);
    form.show();
    QApplication::processEvents();
    MakeChipRing(form.model(), Chips);
    for (int i = 1; i <= Chips; i += 3)
        form.model().elementForRun(i).Legs.back().Pending = 1;
    form.window<TForm15>()->TrackBar1->setValue(0);
    form.simulationRun().onCycle = [&form, units] {
        if (form.simulator().SimTime >= units) form.ToolButton7Click();
    };
    for (auto _ : state)
        form.ToolButton6Click();
    state.counters["units/s"] = benchmark::Counter(
        static_cast<double>(units) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RunLoop)->Arg(2000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
