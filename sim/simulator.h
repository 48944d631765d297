// SPDX-License-Identifier: MIT
#pragma once

#include "model/schematic.h"
#include "sim/expression.h"

#include <QString>

#include <cstdint>
#include <vector>

// The gate-level simulator of one schematic: the clock, one level per net and the two flags of
// the toolbar. It works only on the element table and the nets of the schematic it was given.
//
// NetLevels keeps an entry for every net of Conns at all times the simulator reads it: PrepareRun
// sizes it to the nets, and every SimStep first makes it follow the nets as they are now: a net
// keeps its level wherever it moved, a removed net's level goes with it and a new net starts at
// 0. So deletions, merges, a new or a loaded schematic during a run never make a net read
// another net's level, nor a pass read past the end.
//
// An indicator whose level changes gets its lit or unlit picture in its Bitmap, Selected false,
// and the schematic's elementImageChanged signal, which the workspace uses to repaint it.
class Simulator {
public:
    explicit Simulator(Schematic& schematic);

    Schematic& schematic() { return s_; }

    // Resets for a new run: SimTime 0, one level 0 per net, every element's Transitions emptied
    // and State cleared, every leg numbered and its Timer cleared. Leg levels and Pending stay.
    void PrepareRun();
    // One evaluation pass: nets to inputs, elements in table order by kind, outputs to nets.
    void SimStep();
    // Two passes at the current time, then the clock advances by one unit.
    void RunUnit();
    // Makes NetLevels follow the nets of the schematic (see the class comment).
    void SyncNetLevels();

    // "Время: " followed by SimTime.
    QString TimeText() const;

    int32_t SimTime = 0;
    std::vector<uint8_t> NetLevels;
    bool Paused = false;
    bool StopRequested = false;

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

// a + b with two's complement wrap-around (delays and periods are plain integers nobody checks).
inline int32_t WrapAdd(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

// Lets the application process its pending events until `ms` milliseconds have passed since the
// call (at least once, also for 0). Between events it sleeps in the event loop instead of spinning.
void WaitMs(uint32_t ms);
