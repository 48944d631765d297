// SPDX-License-Identifier: MIT
#pragma once

#include "sim/duewheel.h"
#include "sim/simcore.h"

#include <cstdint>
#include <vector>

// The gate-level simulator of the run loop and the runner.
//
// Every pass has the result of a pass that loads every input, visits every element and drives
// every net (FullPassSimulator), but it only does the work where something may change: it loads
// the inputs of nets whose level changed, visits the elements whose legs that changed and those
// whose kind's wake-up rule (sim/elementkinds.h) asks for a visit (a change or a toggle falling
// due, a change to schedule), and drives the nets whose last output changed. A chip that keeps
// moving a change to its present level on (a pulse it filtered) is not visited: its Timer is
// written as the visits would have left it when it is next looked at. RunUnits() skips units in
// which nothing would happen. While a large share of the elements is visited in every pass, it
// runs plain passes instead.
//
// From outside, between calls, the run may change a switch's State, a generator's durations and
// the level of an input that is in no net; every other run-time field, and a chip's delays, are
// the simulator's own while it runs. Any change to the schematic (a new revision), PrepareRun, and
// a clock that does not move on by 0 or 1 from one pass to the next make the next pass a full one.
class Simulator final : public SimCore {
public:
    explicit Simulator(Schematic& schematic);

    void SimStep() override;
    void RunUnit() override;
    // `units` times RunUnit, with nothing changed from outside in between and the pictures set at
    // the end; units in which nothing would change are skipped at once (the clock, the probes'
    // records and every level are as after running them one by one).
    void RunUnits(TSimTime units);

private:
    // A pin a visit writes that a net loads: every pass loads it again.
    struct RestlessPin {
        uint32_t pin;
        uint32_t net;
        int element;
    };

    void ReadTables() override;
    // Before the passes of a call: the tables, and what the outside may have changed.
    void Begin();
    // After them: the Timers that visits would have moved on are written.
    void End();
    void Pass();
    void FullPass();
    void TrackedPass();
    void StretchPass();
    void Wake(int index) {
        if (stamp_[static_cast<size_t>(index)] == pass_) return;
        stamp_[static_cast<size_t>(index)] = pass_;
        woken_.push_back(index);
    }
    // Visits an element and plans its next visit; notes the nets it may have changed.
    void VisitTracked(const PassContext& context, int index);
    void Plan(int index, const NextVisit& next);
    // The moved-on Timer of a chip that was not visited since it started moving.
    void CatchUp(int index);
    void CatchUpAll();
    // CatchUpAll, then no chip is moving.
    void DropMoving();
    // Element `index`'s pins may differ from its legs: End writes them back.
    void Touch(int index) {
        if (touched_[static_cast<size_t>(index)]) return;
        touched_[static_cast<size_t>(index)] = 1;
        touchedList_.push_back(index);
    }
    // True when no visit of the coming units would change anything before the first due one.
    bool Quiet() const;

    // Tables of the revision the base read, for tracking.
    std::vector<uint32_t> drivesBegin_; // element i's driving pins: drives_[begin[i], begin[i+1])
    std::vector<NetPin> drives_;        // pins that are the last output of a net, with the net
    std::vector<int> watched_;          // elements the outside may wake (switches)
    std::vector<RestlessPin> restless_;

    // The run's bookkeeping, rebuilt by a full pass.
    bool full_ = true;
    bool plain_ = false; // plain passes without bookkeeping, for plainLeft_ more
    int plainLeft_ = 0;
    int plainStretch_ = MinPlainStretch;
    int trackedPasses_ = 0; // tracked passes since the last full pass
    int64_t visits8_ = 0;   // visits per tracked pass times 8, averaged over some passes
    // Plain passes once more than this share of the elements (in percent) is visited per pass.
    static constexpr int64_t PlainPercent = 50;
    static constexpr int MinPlainStretch = 128;
    static constexpr int MinPlainElements = 64;
    static constexpr int MaxPlainStretch = 4096;
    uint64_t pass_ = 0;           // the number of the present pass
    uint64_t done_ = 0;           // the number of the last pass done
    TSimTime doneTime_ = 0;       // its time
    std::vector<uint64_t> stamp_; // per element: the last pass it was woken for
    std::vector<int> woken_;      // elements to visit in this pass
    std::vector<int> nextPass_;   // elements to visit in the next pass
    DueWheel wheel_;              // visits that fall due at a time
    // Chips whose change is moved on at every visit, since the pass movingFrom_.
    std::vector<uint32_t> movingPin_; // ZeroPin: not moving
    std::vector<int32_t> movingDelay_;
    std::vector<uint8_t> movingLevel_;
    std::vector<uint64_t> movingFrom_;
    std::vector<int> moving_;       // the elements with a moving pin, or that had one
    std::vector<uint8_t> inMoving_; // per element: listed in moving_
    std::vector<uint32_t> changed_; // nets whose level changed in the last pass
    // The elements whose pins a pass may have changed since the last End (all of them after a
    // full or plain pass), so that a call that changes little also writes back little.
    bool allTouched_ = false;
    std::vector<uint8_t> touched_;
    std::vector<int> touchedList_;
};

// Lets the application process its pending events until `ms` milliseconds have passed since the
// call (at least once, also for 0). Between events it sleeps in the event loop instead of spinning.
void WaitMs(uint32_t ms);
