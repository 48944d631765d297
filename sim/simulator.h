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
// sizes it to the nets, and every SimStep first resizes it to the current number of nets keeping
// the levels already there (new nets start at 0), so deletions, a new or a loaded schematic
// during a run never make a pass read past its end.
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
    // Makes NetLevels as long as Conns, keeping existing levels.
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
    ElementKind KindOf(const TElement& e, int index);
    ExprCode CodeOf(const TElement& e, int index);

    struct SlotCache {
        QString name;
        QStringList script;
        ElementKind kind = ElementKind::Unknown;
        ExprCode code = ExprCode::Other;
    };

    // Every net's pins resolved to legs, split by side; see SimStep.
    struct PinTable {
        struct Pin {
            TLeg* leg;
            uint32_t net;
        };
        int elementCount = -1;
        std::vector<TLeg*> legBase;   // per element: its leg storage when the table was built
        std::vector<size_t> legCount; // per element: its number of legs then
        std::vector<TPinRef> refs;    // the nets then, one after the other
        std::vector<uint32_t> netEnd; // per net: the end of its pins in refs
        std::vector<Pin> inputs;
        std::vector<Pin> outputs;
    };
    bool PinTableCurrent() const;
    void RebuildPinTable();
    // Nets to inputs through the table; false (having loaded only true inputs) when a listed
    // leg is found on the other side than the table says.
    bool LoadInputs();

    Schematic& s_;
    std::vector<SlotCache> slots_; // per element slot
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
