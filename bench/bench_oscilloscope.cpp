// SPDX-License-Identifier: MIT
// The oscilloscope's redraw at SimTime 10^6 with five channels of 3000 transitions each (most spread
// over the whole run, 300 in the last 600 units so the visible part has steps):
// - DrawTraces: the five traces as the window draws them (from the first unit that reaches the
//   picture);
// - DrawTracesFromZero: the same pixels drawn from time 0, the straightforward way;
// - Button2Click: the window's redraw with its five panels shown, including painting them.
// - DrawTraceZoomed, Button2ClickZoomed: one channel whose record holds 10^7 transitions over
//   3 * 10^7 units, drawn at 1000 units per pixel ending at the last unit, alone and as the
//   window's redraw.
// ProbeRecording runs a generator of period 2 into a probe for the given number of units and
// reports how many transitions the probe holds at the end, keeping what can be drawn (0), all
// (1) or the whole run within the default bound (2).
#include "model/specialpictures.h"
#include "sim/oscilloscopeframe.h"
#include "sim/oscilloscopewindow.h"
#include "sim/probetrace.h"
#include "sim/simulator.h"
#include "tests/common/runaccess.h"
#include "tests/sim/tracereference.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <array>
#include <random>
#include <vector>

namespace {

constexpr int32_t Now = 1'000'000;
constexpr int Channels = 5;

std::vector<TSimTime> Transitions(unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int32_t> anywhere(0, Now - 601);
    std::vector<TSimTime> out;
    for (int i = 0; i < 2700; ++i)
        out.push_back(anywhere(rng));
    std::sort(out.begin(), out.end());
    for (int32_t t = Now - 600; t < Now; t += 2)
        out.push_back(t);
    return out;
}

const std::array<std::vector<TSimTime>, Channels>& Records() {
    static const std::array<std::vector<TSimTime>, Channels> records = {
        Transitions(1), Transitions(2), Transitions(3), Transitions(4), Transitions(5)};
    return records;
}

void BM_DrawTraces(benchmark::State& state) {
    std::array<QImage, Channels> images;
    images.fill(QImage(TraceWidth, TraceHeight, QImage::Format_RGB32));
    for (auto _ : state) {
        for (int c = 0; c < Channels; ++c)
            DrawTrace(images[c], Records()[c], false, Now);
        benchmark::DoNotOptimize(images[0].constBits());
    }
}
BENCHMARK(BM_DrawTraces)->Unit(benchmark::kMicrosecond);

void BM_DrawTracesFromZero(benchmark::State& state) {
    for (auto _ : state) {
        for (int c = 0; c < Channels; ++c) {
            const QImage image = DrawTraceFromZero(Records()[c], Now, QSize(TraceWidth, TraceHeight));
            benchmark::DoNotOptimize(image.constBits());
        }
    }
}
BENCHMARK(BM_DrawTracesFromZero)->Unit(benchmark::kMicrosecond);

void BM_Button2Click(benchmark::State& state) {
    Schematic s;
    for (int c = 1; c <= Channels; ++c) {
        s.ListSpecial(ElementKind::Probe);
        TElement probe;
        probe.Name = QStringLiteral("Осциллограф%1").arg(c);
        probe.CellWidth = 7;
        probe.Legs = BuildLegs(QStringLiteral("0001"), QString(), 7);
        probe.Bitmap = LargePicture(LargeProbe);
        const int index = s.AddElement(probe);
        ForRun(s, index).Transitions = Records()[static_cast<size_t>(c - 1)];
        s.SetOscChannel(c, index);
    }
    Simulator sim(s);
    sim.SimTime = Now;
    TForm17 scope(s, sim);
    scope.RefreshProbeList();
    scope.show();
    QApplication::processEvents();
    for (auto _ : state) {
        scope.Button2Click();
        for (int c = 1; c <= Channels; ++c)
            scope.Frame181->channel(c).Image->repaint();
    }
}
BENCHMARK(BM_Button2Click)->Unit(benchmark::kMicrosecond);

const std::vector<TSimTime>& LongRecord() {
    static const std::vector<TSimTime> record = [] {
        std::mt19937 rng(10);
        std::uniform_int_distribution<TSimTime> gap(1, 5);
        std::vector<TSimTime> out;
        out.reserve(10'000'000);
        for (TSimTime t = gap(rng); out.size() < 10'000'000; t += gap(rng))
            out.push_back(t);
        return out;
    }();
    return record;
}

void BM_DrawTraceZoomed(benchmark::State& state) {
    QImage image(TraceWidth, TraceHeight, QImage::Format_RGB32);
    const TSimTime end = LongRecord().back();
    for (auto _ : state) {
        DrawTraceView(image, LongRecord(), false, end, 1000);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["transitions"] = static_cast<double>(LongRecord().size());
}
BENCHMARK(BM_DrawTraceZoomed)->Unit(benchmark::kMicrosecond);

void BM_Button2ClickZoomed(benchmark::State& state) {
    Schematic s;
    s.ListSpecial(ElementKind::Probe);
    TElement probe;
    probe.Name = QStringLiteral("Осциллограф1");
    probe.CellWidth = 7;
    probe.Legs = BuildLegs(QStringLiteral("0001"), QString(), 7);
    probe.Bitmap = LargePicture(LargeProbe);
    const int index = s.AddElement(probe);
    ForRun(s, index).Transitions = LongRecord();
    s.SetOscChannel(1, index);
    Simulator sim(s);
    sim.SimTime = LongRecord().back();
    TForm17 scope(s, sim);
    scope.RefreshProbeList();
    scope.SetUnitsPerPixel(1000);
    scope.show();
    QApplication::processEvents();
    for (auto _ : state) {
        scope.Button2Click();
        scope.Frame181->channel(1).Image->repaint();
    }
}
BENCHMARK(BM_Button2ClickZoomed)->Unit(benchmark::kMicrosecond);

void BM_ProbeRecording(benchmark::State& state) {
    const auto units = state.range(0);
    const auto recording = state.range(1) == 0   ? ProbeRecording::Visible
                           : state.range(1) == 1 ? ProbeRecording::All
                                                 : ProbeRecording::Whole;
    size_t kept = 0;
    for (auto _ : state) {
        Schematic s;
        TElement gen;
        gen.Name = QStringLiteral("Генератор1");
        gen.CellWidth = 7;
        gen.Legs = BuildLegs(QString(), QStringLiteral("010001"), 7);
        gen.Reaction_LH = 1;
        gen.Reaction_HL = 1;
        const int g = s.AddElement(gen);
        TElement probe;
        probe.Name = QStringLiteral("Осциллограф1");
        probe.CellWidth = 7;
        probe.Legs = BuildLegs(QStringLiteral("0001"), QString(), 7);
        const int p = s.AddElement(probe);
        s.ConnectPins({g, 0}, {p, 0});
        Simulator sim(s);
        sim.Recording = recording;
        sim.PrepareRun();
        sim.RunUnits(units);
        kept = s.element(p).Transitions.size();
    }
    state.counters["kept"] = static_cast<double>(kept);
    state.counters["bytes"] = static_cast<double>(kept * sizeof(TSimTime));
}
BENCHMARK(BM_ProbeRecording)
    ->Args({10'000'000, 0})
    ->Args({10'000'000, 1})
    ->Args({10'000'000, 2})
    ->ArgNames({"units", "all"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

} // namespace
