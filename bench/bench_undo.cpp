// SPDX-License-Identifier: MIT
// Undo and redo on the dense schematic (120 chips of 4 x 5 cells, 250 nets, about 70 ms a routing),
// against the edit itself:
//   BM_DeleteTen   deleting ten connected elements ("Удалить выделенные элементы": delete, re-link,
//                  route), then undo and redo;
//   BM_Drag        a drag of ten selected elements by 300 pointer moves (the wires routed on the
//                  release), then undo and redo.
// Each runs on the document alone and in the main window (where a step also redraws the wires and
// moves the pictures). The time is the edit's; undo_ms and redo_ms are the undo's and the redo's,
// step_bytes the memory the step keeps.
//   BM_HistoryBytes  200 random edits of every kind on the dense schematic, each routed:
//                    bytes_per_step is the history's memory over its steps (a copy of the two
//                    routing grids alone would take 323 kB).
#include "app/mainwindow.h"
#include "document/schematicdocument.h"
#include "editor/workspaceframe.h"
#include "tools/gen/schematicgen.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr int Moves = 300;
constexpr int Group = 10;

GenOptions Dense(bool pictures) {
    return GenOptions{.elements = 120, .nets = 250, .pictures = pictures};
}

// The dense schematic, routed, on a document of its own or in a main window.
class Bench {
public:
    explicit Bench(bool window) {
        if (window) {
            form_ = std::make_unique<TForm1>(dir_.path());
            form_->resize(1600, 1200);
            form_->show();
            doc_ = &form_->document();
        } else {
            own_ = std::make_unique<SchematicDocument>();
            doc_ = own_.get();
        }
        GenerateSchematic(doc_->schematic(), 2024u, Dense(window));
        if (form_) form_->Frame21->SyncPictures();
        doc_->Reroute();
    }
    SchematicDocument& doc() { return *doc_; }
    Schematic& s() { return doc_->schematic(); }

    // The first `count` elements with a pin in a net and room to move 30 cells right.
    std::vector<int> Connected(int count) {
        std::vector<bool> inNet(static_cast<size_t>(s().ElementCount()) + 1);
        for (const TConns& net : s().Conns())
            for (const TPinRef& p : net)
                inNet[static_cast<size_t>(p.Element)] = true;
        std::vector<int> group;
        for (int i = 1; i <= s().ElementCount() && static_cast<int>(group.size()) < count; ++i)
            if (inNet[static_cast<size_t>(i)] && s().element(i).Coord.x < 150) group.push_back(i);
        return group;
    }
    void Select(const std::vector<int>& group) {
        s().DeselectAll();
        for (int i : group)
            s().SelectElement(i);
    }

private:
    QTemporaryDir dir_;
    std::unique_ptr<TForm1> form_;
    std::unique_ptr<SchematicDocument> own_;
    SchematicDocument* doc_ = nullptr;
};

double Ms(const QElapsedTimer& t) {
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

// Runs `edit` as one step, then times its undo and its redo, and takes it back for the next round.
void Measure(benchmark::State& state, Bench& b, const std::function<void()>& prepare,
             const std::function<void()>& edit) {
    double undoMs = 0, redoMs = 0;
    size_t bytes = 0;
    for (auto _ : state) {
        prepare();
        QElapsedTimer t;
        t.start();
        edit();
        state.SetIterationTime(Ms(t) / 1e3);
        bytes = b.doc().undoStepBytes();
        t.restart();
        b.doc().Undo();
        undoMs = Ms(t);
        t.restart();
        b.doc().Redo();
        redoMs = Ms(t);
        b.doc().Undo();
    }
    state.counters["undo_ms"] = undoMs;
    state.counters["redo_ms"] = redoMs;
    state.counters["step_bytes"] = static_cast<double>(bytes);
    state.SetLabel(state.range(0) ? "main window" : "document");
}

void BM_DeleteTen(benchmark::State& state) {
    Bench b(state.range(0) != 0);
    const std::vector<int> group = b.Connected(Group);
    Measure(
        state, b, [&] { b.Select(group); }, [&] { b.doc().DeleteSelected(); });
    if (b.s().ElementCount() != 120) state.SkipWithError("the deletion was not taken back");
}
BENCHMARK(BM_DeleteTen)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_Drag(benchmark::State& state) {
    Bench b(state.range(0) != 0);
    const std::vector<int> group = b.Connected(Group);
    std::vector<TPoint32> home;
    for (int i : group)
        home.push_back(b.s().element(i).Coord);
    Measure(
        state, b, [] {},
        [&] {
            // The pointer moves a pixel right and a third down each time: 30 cells by 10 at 100%.
            for (int m = 1; m <= Moves; ++m)
                for (size_t k = 0; k < group.size(); ++k)
                    b.doc().MoveElement(group[k], {home[k].x + m / 10, home[k].y + m / 30});
            b.doc().Reroute();
            b.doc().EndMove();
        });
    if (b.s().element(group.front()).Coord != home.front())
        state.SkipWithError("the drag was not taken back");
}
BENCHMARK(BM_Drag)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_HistoryBytes(benchmark::State& state) {
    constexpr int Edits = 200;
    for (auto _ : state) {
        Bench b(false);
        Schematic& s = b.s();
        std::mt19937 rng(7);
        const auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<uint32_t>(n)); };
        const auto pin = [&] {
            const int e = 1 + pick(s.ElementCount());
            return TPinRef{e, pick(static_cast<int>(s.element(e).Legs.size()))};
        };
        for (int i = 0; i < Edits; ++i) {
            switch (pick(5)) {
            case 0:
                b.doc().ConnectPins(pin(), pin());
                break;
            case 1:
                b.doc().DisconnectPin(pin());
                break;
            case 2:
                b.doc().RemoveNet(pick(static_cast<int>(s.Conns().size())));
                break;
            case 3: {
                const int e = 1 + pick(s.ElementCount());
                const TPoint32 c = s.element(e).Coord;
                b.doc().MoveElements({{e, {std::max(0, c.x + pick(5) - 2), std::max(0, c.y + pick(5) - 2)}}});
                break;
            }
            default:
                b.Select({1 + pick(s.ElementCount())});
                b.doc().DeleteSelected();
                break;
            }
        }
        const auto steps = static_cast<double>(b.doc().undoStack().count());
        state.counters["steps"] = steps;
        state.counters["bytes_per_step"] = static_cast<double>(b.doc().historyBytes()) / steps;
        state.counters["grid_copy_bytes"] = 2.0 * sizeof(TGrid);
    }
}
BENCHMARK(BM_HistoryBytes)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
