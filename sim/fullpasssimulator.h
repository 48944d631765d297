// SPDX-License-Identifier: MIT
#pragma once

#include "model/schematic.h"
#include "sim/duetime.h"
#include "sim/expression.h"
#include "sim/probetrace.h"

#include <QString>

#include <cstdint>
#include <vector>

// The simulator as straightforward passes: every pass loads every input, visits every element and
// drives every net. It keeps the interface and the exact results of Simulator, which skips the
// work where nothing changes, and serves as that one's reference in the tests and benchmarks.
class FullPassSimulator {
public:
    explicit FullPassSimulator(Schematic& schematic);

    Schematic& schematic() { return s_; }

    // Resets for a new run: SimTime 0, one level 0 per net, every element's Transitions emptied
    // and State cleared (a switch that was on gets its off picture, a lit indicator its unlit
    // one), every leg numbered and its Timer cleared. Leg levels and Pending stay.
    void PrepareRun();
    // One evaluation pass: nets to inputs, elements in table order by kind, outputs to nets.
    void SimStep();
    // Two passes at the current time, then the clock advances by one unit.
    void RunUnit();
    // Makes NetLevels follow the nets of the schematic, as Simulator::SyncNetLevels does.
    void SyncNetLevels();

    // "Время: " followed by SimTime.
    QString TimeText() const;

    int32_t SimTime = 0;
    std::vector<uint8_t> NetLevels;
    bool Paused = false;
    bool StopRequested = false;
    // How much each probe keeps of its input's changes.
    ProbeRecording Recording = ProbeRecording::Visible;
    // When set, every indicator also keeps the time of each change of its State in its
    // Transitions, all of them (the runner's test command checks them).
    bool RecordIndicators = false;

private:
    void StepChip(TElement& e, int index);
    void StepGenerator(TElement& e);
    void StepIndicator(TElement& e, int index);
    void StepProbe(TElement& e);
    // Kind and resolved expression of an element, cached per slot. The cache keeps shared copies
    // of the name and the script it looked at: any edit of a shared string or list detaches it,
    // so an unchanged data pointer proves an unchanged text, and the cached result equals looking
    // at the text again.
    static constexpr uint64_t NoRevision = ~uint64_t{0};

    // Each element's kind and resolved expression.
    struct SlotCache {
        ElementKind kind = ElementKind::Unknown;
        ExprCode code = ExprCode::Other;
    };
    // Every net's pins resolved to legs, split by side; see SimStep.
    struct PinTable {
        struct Pin {
            TLeg* leg;
            uint32_t net;
        };
        uint64_t revision = NoRevision; // the schematic's revision the caches were built at
        std::vector<Pin> inputs;
        std::vector<Pin> outputs;
    };
    void RebuildCaches();
    void LoadInputs();

    Schematic& s_;
    std::vector<SlotCache> slots_;   // per element index
    std::vector<uint64_t> levelIds_; // the net id of every entry of NetLevels
    uint64_t levelsRevision_ = NoRevision;
    PinTable pins_;
    bool picturesChanged_ = false;
};
