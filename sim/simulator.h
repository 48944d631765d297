// SPDX-License-Identifier: MIT
#pragma once

#include "model/schematic.h"
#include "sim/duequeue.h"
#include "sim/duetime.h"
#include "sim/expression.h"
#include "sim/probetrace.h"

#include <QString>

#include <cstdint>
#include <vector>

// The gate-level simulator of one schematic: the clock, one level per net and the two flags of
// the toolbar. It works only on the element table and the nets of the schematic it was given.
//
// Every pass has the result of a pass that loads every input, visits every element in table order
// and drives every net (FullPassSimulator), but it only does the work where something may change:
// it loads the inputs of nets whose level changed, visits the elements whose inputs were loaded,
// whose scheduled change or toggle falls due, whose next visit would schedule a change, and the
// switches whose State differs from their output, and drives the nets whose last output changed.
// A chip that keeps rescheduling a change to its present level (a pulse it filtered) only has its
// Timer moved on, as the visit would. RunUnits() skips units in which nothing would happen. While
// a large share of the elements is visited in every pass, it runs plain full passes instead.
//
// From outside, between passes, the run may change a switch's State, a generator's durations and
// the level of an input that is in no net; every other run-time field, and a chip's delays, are
// the simulator's own while it runs. Any change to the schematic (a new revision), PrepareRun, and
// a clock that does not move on by 0 or 1 from one pass to the next make the next pass a full one.
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
    // and State cleared (a switch that was on gets its off picture, a lit indicator its unlit
    // one), every leg numbered and its Timer cleared. Leg levels and Pending stay.
    void PrepareRun();
    // One evaluation pass: nets to inputs, elements in table order by kind, outputs to nets.
    void SimStep();
    // Two passes at the current time, then the clock advances by one unit.
    void RunUnit();
    // `units` times RunUnit, with nothing changed from outside in between; units in which nothing
    // would change are skipped at once (the clock, the probes' records and every level are as
    // after running them one by one).
    void RunUnits(int64_t units);
    // Makes NetLevels follow the nets of the schematic (see the class comment).
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
    static constexpr uint64_t NoRevision = ~uint64_t{0};

    // A connected input leg, or a leg of an element that drives a net.
    struct PinLeg {
        TLeg* leg;
        uint32_t at; // the element for a net's input, the net for an element's driving leg
    };
    // An input leg in no net, which only the user changes: polled every pass.
    struct LooseLeg {
        TLeg* leg;
        int element;
        uint8_t seen;
    };
    // A chip output that reschedules a change to its present level at every visit.
    struct Moving {
        TLeg* leg = nullptr;
        int32_t delay = 0;
    };

    void RebuildCaches();
    void FullPass();
    void ActivePass();
    void PlainPass();
    void LoadNet(uint32_t net);
    // The visit of one element, then the bookkeeping of what it changed and when it must come back.
    void Visit(int index);
    void VisitPlain(int index);
    // The value of chip `index`'s expression on its present input levels.
    uint8_t Eval(int index) const;
    void StepChip(TElement& e, int index);
    void StepGenerator(TElement& e);
    void StepIndicator(TElement& e, int index);
    void StepProbe(TElement& e);
    void PlanChip(TElement& e, int index);
    void PlanGenerator(const TElement& e, int index);
    void AfterVisit(int index);
    void DriveAll();
    void MoveTimer(int index, int32_t time);
    // True when no visit of the coming units would change anything before the first queued one.
    bool Quiet() const;

    static void Set(std::vector<uint64_t>& bits, int i) {
        bits[static_cast<size_t>(i) >> 6] |= uint64_t{1} << (static_cast<unsigned>(i) & 63);
    }
    static void Clear(std::vector<uint64_t>& bits, int i) {
        bits[static_cast<size_t>(i) >> 6] &= ~(uint64_t{1} << (static_cast<unsigned>(i) & 63));
    }

    Schematic& s_;
    // Tables of the schematic's revision `tablesRevision_`.
    uint64_t tablesRevision_ = NoRevision;
    int count_ = 0;
    std::vector<ElementKind> kinds_; // per element index
    std::vector<ExprCode> codes_;    // per element index
    static constexpr int MaxOperands = 8;
    std::vector<TLeg*> operands_;       // per element, the legs of inputs 1..MaxOperands or null
    std::vector<uint32_t> inputsBegin_; // net n's connected inputs: inputs_[begin[n], begin[n+1])
    std::vector<PinLeg> inputs_;        // in net and pin order
    std::vector<PinLeg> inputNets_;     // the same legs with their nets, for plain passes
    std::vector<TLeg*> lastDriver_;     // per net: its last output in pin order, or null
    std::vector<uint32_t> drivesBegin_; // element i's driving legs: drives_[begin[i], begin[i+1])
    std::vector<PinLeg> drives_;        // legs that are the last output of a net
    std::vector<int> switches_;         // switches with a leg
    std::vector<LooseLeg> loose_;
    std::vector<PinLeg> restless_; // loaded legs a visit writes, with their nets

    // The run's bookkeeping, rebuilt by a full pass.
    bool full_ = true;
    bool plain_ = false; // plain full passes without bookkeeping, for plainLeft_ more
    int plainLeft_ = 0;
    int plainStretch_ = MinPlainStretch;
    int activePasses_ = 0;               // tracked passes since the last full pass
    double averageVisits_ = 0;           // visits per tracked pass, averaged over some passes
    static constexpr int PlainShare = 6; // plain passes once more than 1 / PlainShare are visited
    static constexpr int MinPlainStretch = 128;
    static constexpr int MinPlainElements = 64;
    static constexpr int MaxPlainStretch = 4096;
    int64_t lastPass_ = 0;           // the time of the last pass
    std::vector<uint64_t> visit_;    // elements to visit in this pass
    std::vector<uint64_t> next_;     // elements to visit in the next pass
    bool nextAny_ = false;           // some bit of next_ is set
    std::vector<uint64_t> moving_;   // elements with an entry in moves_
    std::vector<Moving> moves_;      // per element index
    DueQueue due_;                   // changes and toggles by the time they fall due
    std::vector<uint32_t> changed_;  // nets whose level changed since their inputs were loaded
    std::vector<uint8_t> isChanged_; // per net
    std::vector<uint32_t> toDrive_;  // nets whose last output may have changed in this pass
    std::vector<uint8_t> isToDrive_; // per net

    std::vector<uint64_t> levelIds_; // the net id of every entry of NetLevels
    uint64_t levelsRevision_ = NoRevision;
};

// Lets the application process its pending events until `ms` milliseconds have passed since the
// call (at least once, also for 0). Between events it sleeps in the event loop instead of spinning.
void WaitMs(uint32_t ms);
