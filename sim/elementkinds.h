// SPDX-License-Identifier: MIT
#pragma once

#include "model/types.h"
#include "sim/duetime.h"
#include "sim/expression.h"
#include "sim/probetrace.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// How a simulation pass treats each kind of element (chip element, switch, generator, probe,
// indicator, and names of no kind), described once in one table that both simulators use:
// Simulator, which visits only where something may change, and FullPassSimulator, which visits
// every element in every pass. Adding a kind means adding its entry in elementkinds.cpp.

// The most inputs an expression reads.
constexpr int MaxOperands = 8;

// Indicators whose State changed in a pass. The pass only notes them; their pictures are set
// after the unit, so no view code runs inside a pass. Each element is listed once until taken.
class ChangedIndicators {
public:
    ChangedIndicators();
    void Note(int index) {
        if (listed_[static_cast<size_t>(index)]) return;
        listed_[static_cast<size_t>(index)] = 1;
        list_.push_back(index);
        sorted_ = false;
    }
    bool empty() const { return list_.empty(); }
    // Takes the lowest listed index off the list; 0 when the list is empty.
    int TakeFirst();
    // Element `index` was deleted and the later ones moved down a slot: the list follows them.
    void ElementDeleted(int index);
    // Only elements 1..count remain.
    void KeepFirst(int count);

private:
    std::vector<int> list_;
    bool sorted_ = true;          // list_ is in decreasing order
    std::vector<uint8_t> listed_; // per element index 0..MaxElements
};

// The run-time state of one leg while a simulator runs. The simulators work on a compact copy of
// the legs' Level, Timer and Pending, read from the element table with the tables of a revision
// and written back after every call.
struct Pin {
    TSimTime timer = 0;
    uint8_t level = 0;
    uint8_t pending = 0;
};

// A chip's delays of a change to 1 and to 0 (copied with the tables: nothing but an edit of the
// schematic changes them during a run).
struct ChipDelays {
    int32_t lh = 0;
    int32_t hl = 0;
};

// Pin 0 is no leg: it stays at level 0 and stands for an input an element lacks.
constexpr uint32_t ZeroPin = 0;

// What every visit of a pass reads and where it records.
struct PassContext {
    TElement* elements;            // slot 0 of the element table: State, Transitions, durations
    Pin* pins;                     // every leg's state, element by element in leg order
    const uint32_t* pinBegin;      // element i's legs are pins pinBegin[i] .. pinBegin[i + 1] - 1
    const uint32_t* outputsBegin;  // a chip's outputs (legs numbered as outputs, in leg order) are
    const uint32_t* outputs;       // the pins outputs[outputsBegin[i]] .. outputs[outputsBegin[i + 1] - 1]
    const ExprCode* codes;         // per element index: a chip's expression
    const uint32_t* operands;      // per element index, MaxOperands pins (FindOperands)
    const ChipDelays* delays;      // per element index
    TSimTime time;                 // the clock
    ProbeRecording recording;      // how much of its record a probe keeps
    size_t recordLimit;            // the changes a probe keeps under ProbeRecording::Whole
    bool recordIndicators;         // an indicator also keeps its State's change times
    ChangedIndicators* indicators; // where an indicator notes a change of its State
};

// When an element must be visited again if none of its legs changes and nothing is changed from
// outside. A visit skipped by these rules is one that would change nothing.
struct NextVisit {
    enum class When : uint8_t {
        Never,    // nothing happens until a leg or the outside changes
        NextPass, // in the next pass
        At,       // in the first pass at `time` or later
        // Every visit replaces the scheduled change of output `pin` by one to `level` (its present
        // level) at the time of the visit plus `delay` (2 or more), so it never falls due; the
        // visits are skipped and the Timer moved when the leg is next looked at. A change left
        // earlier still falls due at `time` (NeverDue for none).
        Moving,
    };
    TSimTime time = NeverDue;
    uint32_t pin = ZeroPin; // Moving: the output
    int32_t delay = 0;
    When when = When::Never;
    uint8_t level = 0;
};

// The description of one kind.
struct KindBehaviour {
    ElementKind kind;
    // Pin roles: the legs whose level a visit looks at (one that no net loads only the user
    // changes: the simulators look for such changes between calls) and the legs a visit may set
    // (where a net loads such a leg, every pass loads it again).
    bool (*reads)(const TLeg& leg, size_t legIndex);
    bool (*writes)(const TLeg& leg, size_t legIndex);
    // Evaluation and wake-up rule: what one visit of element `index` does and, when `next` is not
    // null, when the element must be visited again; `next` comes in as Never. Besides, a change of
    // a leg loaded from a net always wakes an element.
    void (*visit)(const PassContext& pass, int index, NextVisit* next);
    // Also woken when this holds between two calls of the simulator (a switch turned over).
    bool (*changedFromOutside)(const PassContext& pass, int index);
    // What it records besides its levels: a probe its Transitions, an indicator the change of its
    // State, after which its picture follows State: `pictureOn` or `pictureOff` of the small
    // pictures (-1: no picture). A switch's picture follows its State too, set by whoever turns it
    // over. A new run, which clears every State, puts back `pictureOff` where State was on.
    int pictureOff;
    int pictureOn;
};

// The entry of `kind`.
const KindBehaviour& Behaviour(ElementKind kind);

// The value of a chip's expression on the levels of its operand pins.
inline uint8_t EvalOperands(ExprCode code, const uint32_t* in, const Pin* pins) {
    const auto on = [in, pins](int n) { return pins[in[n - 1]].level != 0; };
    switch (code) {
    case ExprCode::Not1:
        return static_cast<uint8_t>(pins[in[0]].level ^ 1);
    case ExprCode::Or2:
        return on(1) || on(2);
    case ExprCode::And2:
        return on(1) && on(2);
    case ExprCode::Nand2:
        return !on(1) || !on(2);
    case ExprCode::Nor2:
        return !on(1) && !on(2);
    case ExprCode::Or4:
        return on(1) || on(2) || on(3) || on(4);
    case ExprCode::And4:
        return on(1) && on(2) && on(3) && on(4);
    case ExprCode::Nand8:
        for (int n = 1; n <= 8; ++n)
            if (!on(n)) return 1;
        return 0;
    case ExprCode::Other:
        break;
    }
    return 1;
}

// Chip element: every output (a leg numbered as an output) takes the value of the expression
// after its delay. The visit walks the outputs up to the first one with a change scheduled: a
// change that falls due takes effect; a change not yet due is replaced by one to the present
// level when that is wanted again (so a pulse shorter than the delay is filtered out); an
// output without a change that wants another level schedules one.
//
// While the inputs stay, the next visit is needed when an output without a change wants another
// level (it schedules one) or when a scheduled change falls due; and when the present level is
// wanted, every visit moves the change on to the time plus the delay, which with a delay of 2 or
// more never falls due (the clock moves on by at most 1 between passes). A Timer of 0 is no
// change here: the passes at time 0, where it is one, visit every element anyway.
[[gnu::always_inline]] inline void VisitChip(const PassContext& p, int index, NextVisit* next) {
    Pin* const pins = p.pins;
    const uint32_t* const first = p.outputs + p.outputsBegin[index];
    const uint32_t* const end = p.outputs + p.outputsBegin[index + 1];
    // The inputs do not change while the element is visited, so one value serves every output.
    const uint8_t wanted =
        EvalOperands(p.codes[index], p.operands + static_cast<size_t>(index) * MaxOperands, pins);
    const int32_t delay = wanted == 1 ? p.delays[index].lh : p.delays[index].hl;
    for (const uint32_t* out = first; out != end; ++out) {
        Pin& pin = pins[*out];
        if (ChangeFallsDue(pin.timer, p.time)) {
            pin.timer = 0;
            pin.level = pin.pending;
            break;
        }
        if (pin.timer != 0) {
            if (wanted == pin.level) {
                pin.timer = DueTime(p.time, delay);
                pin.pending = wanted;
            }
            break;
        }
        if (wanted != pin.level) {
            pin.timer = DueTime(p.time, delay);
            pin.pending = wanted;
        }
    }
    if (!next) return;

    for (const uint32_t* out = first; out != end; ++out) {
        const Pin& pin = pins[*out];
        if (pin.timer == 0) {
            if (wanted == pin.level) continue;
            next->when = NextVisit::When::NextPass;
            return;
        }
        if (wanted != pin.level) {
            if (pin.timer != NeverDue) *next = {.time = pin.timer, .when = NextVisit::When::At};
            return;
        }
        if (delay < 2) {
            next->when = NextVisit::When::NextPass;
            return;
        }
        // A change left by an earlier visit (this one stopped at an earlier output) may still fall
        // due at the next pass.
        *next = {.time = pin.timer <= p.time + 1 ? pin.timer : NeverDue,
                 .pin = *out,
                 .delay = delay,
                 .when = NextVisit::When::Moving,
                 .level = wanted};
        return;
    }
}

// One visit of element `index` through its kind's entry `b`. The chip's entry, by far the most
// frequent, is called directly so that it is inlined into the passes.
[[gnu::always_inline]] inline void VisitElement(const KindBehaviour& b, const PassContext& p, int index,
                                                NextVisit* next) {
    if (b.visit == VisitChip)
        VisitChip(p, index, next);
    else
        b.visit(p, index, next);
}

// Fills the MaxOperands pins of inputs 1..MaxOperands of an element whose legs are the pins from
// `firstPin` on: input n is the first leg with IsInput set and Ordinal n (InputLevel's rule);
// where there is none, ZeroPin.
void FindOperands(const TElement& e, uint32_t firstPin, uint32_t* operands);
