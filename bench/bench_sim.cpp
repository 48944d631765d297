// SPDX-License-Identifier: MIT
// Simulation speed on circuits of 1000 elements, for the bare simulator core and for the real run
// loop of the main window at time scale 0 with the oscilloscope hidden:
// - ChipRing: a ring of chip elements with random delays and wiring (most gates busy);
// - BusyChain: a generator with durations 1/1 (so its output changes in every unit) driving 999
//   inverters of delay 1: every inverter changes in every unit;
// - IdleChain: the same chain under a generator of period 668 (334 low, 334 high): only the few
//   inverters on the moving edges change in a unit;
// - NandNetwork: 992 NAND gates wired at random without loops under eight generators;
// - UnitNandNetwork: the same network with every delay 1 (the circuit of bench/side_by_side.sh,
//   where it runs against other simulators).
// The units/s counter is the rate of simulated time units: per CPU second for the core, per wall
// clock second for the run loop (which also waits for events). The FullPass benchmarks run the
// reference simulator, which visits every element in every pass, on the same circuits.
#include "app/mainwindow.h"
#include "sim/fullpasssimulator.h"
#include "sim/simulator.h"
#include "sim/timescaledialog.h"
#include "tests/common/runaccess.h"
#include "tools/gen/chipring.h"
#include "tools/gen/clockedcircuits.h"

#include <QApplication>
#include <QDir>
#include <QSlider>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <functional>

namespace {

constexpr int Chips = 1000;

void MakeRing(Schematic& s) {
    MakeChipRing(s, Chips);
    for (int i = 1; i <= Chips; i += 3)
        ForRun(s, i).Legs.back().Pending = 1;
}

void MakeBusyChain(Schematic& s) {
    MakeInverterChain(s, Chips - 1, 1, 1);
}

void MakeIdleChain(Schematic& s) {
    MakeInverterChain(s, Chips - 1, 334, 334);
}

void MakeNand(Schematic& s) {
    MakeNandNetwork(s, Chips - 8, 8);
}

void MakeUnitNand(Schematic& s) {
    MakeNandNetwork(s, Chips - 8, 8, 2024, 1);
}

void SetRate(benchmark::State& state, double units) {
    state.counters["units/s"] = benchmark::Counter(units, benchmark::Counter::kIsRate);
}

// PrepareRun and `units` units, as a run of the batch runner does them.
void Core(benchmark::State& state, const std::function<void(Schematic&)>& make) {
    const auto units = static_cast<int>(state.range(0));
    Schematic s;
    make(s);
    Simulator sim(s);
    for (auto _ : state) {
        sim.PrepareRun();
        sim.RunUnits(units);
        benchmark::DoNotOptimize(sim.NetLevels.data());
    }
    SetRate(state, static_cast<double>(units) * static_cast<double>(state.iterations()));
}

void FullPass(benchmark::State& state, const std::function<void(Schematic&)>& make) {
    const auto units = static_cast<int>(state.range(0));
    Schematic s;
    make(s);
    FullPassSimulator sim(s);
    for (auto _ : state) {
        sim.PrepareRun();
        for (int t = 0; t < units; ++t)
            sim.RunUnit();
        benchmark::DoNotOptimize(sim.NetLevels.data());
    }
    SetRate(state, static_cast<double>(units) * static_cast<double>(state.iterations()));
}

// The main window's run button until the clock has passed `units`; counts the units that ran.
void RunLoop(benchmark::State& state, const std::function<void(Schematic&)>& make) {
    const auto units = static_cast<int32_t>(state.range(0));
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("config"));
    TForm1 form(dir.path());
    form.CreateWindows();
    form.resize(900, 700);
    form.show();
    QApplication::processEvents();
    make(form.model());
    form.window<TForm15>()->TrackBar1->setValue(0);
    form.simulationRun().onCycle = [&form, units] {
        if (form.simulator().SimTime >= units) form.ToolButton7Click();
    };
    double ran = 0;
    for (auto _ : state) {
        form.ToolButton6Click();
        ran += form.simulator().SimTime;
    }
    SetRate(state, ran);
}

void BM_PrepareAndPasses(benchmark::State& state) {
    Core(state, MakeRing);
}
BENCHMARK(BM_PrepareAndPasses)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_RunLoop(benchmark::State& state) {
    RunLoop(state, MakeRing);
}
BENCHMARK(BM_RunLoop)->Arg(2000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CoreBusyChain(benchmark::State& state) {
    Core(state, MakeBusyChain);
}
BENCHMARK(BM_CoreBusyChain)->Arg(2000)->Unit(benchmark::kMillisecond);

void BM_CoreIdleChain(benchmark::State& state) {
    Core(state, MakeIdleChain);
}
BENCHMARK(BM_CoreIdleChain)->Arg(200000)->Unit(benchmark::kMillisecond);

void BM_CoreNandNetwork(benchmark::State& state) {
    Core(state, MakeNand);
}
BENCHMARK(BM_CoreNandNetwork)->Arg(2000)->Unit(benchmark::kMillisecond);

void BM_CoreUnitNandNetwork(benchmark::State& state) {
    Core(state, MakeUnitNand);
}
BENCHMARK(BM_CoreUnitNandNetwork)->Arg(2000)->Unit(benchmark::kMillisecond);

void BM_FullPassRing(benchmark::State& state) {
    FullPass(state, MakeRing);
}
BENCHMARK(BM_FullPassRing)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_FullPassBusyChain(benchmark::State& state) {
    FullPass(state, MakeBusyChain);
}
BENCHMARK(BM_FullPassBusyChain)->Arg(2000)->Unit(benchmark::kMillisecond);

void BM_FullPassIdleChain(benchmark::State& state) {
    FullPass(state, MakeIdleChain);
}
BENCHMARK(BM_FullPassIdleChain)->Arg(2000)->Unit(benchmark::kMillisecond);

void BM_FullPassNandNetwork(benchmark::State& state) {
    FullPass(state, MakeNand);
}
BENCHMARK(BM_FullPassNandNetwork)->Arg(2000)->Unit(benchmark::kMillisecond);

void BM_RunLoopBusyChain(benchmark::State& state) {
    RunLoop(state, MakeBusyChain);
}
BENCHMARK(BM_RunLoopBusyChain)->Arg(2000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RunLoopIdleChain(benchmark::State& state) {
    RunLoop(state, MakeIdleChain);
}
BENCHMARK(BM_RunLoopIdleChain)->Arg(2000000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RunLoopNandNetwork(benchmark::State& state) {
    RunLoop(state, MakeNand);
}
BENCHMARK(BM_RunLoopNandNetwork)->Arg(2000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RunLoopUnitNandNetwork(benchmark::State& state) {
    RunLoop(state, MakeUnitNand);
}
BENCHMARK(BM_RunLoopUnitNandNetwork)->Arg(2000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
