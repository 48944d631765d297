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

// One visit of one element in a pass at time `time`: what the kind's functions read and where
// they record.
struct Visit {
    TElement& e;
    int index;
    TSimTime time;
    ExprCode code;                 // chip: its expression
    TLeg* const* operands;         // chip: the legs of inputs 1..MaxOperands, null where missing
    ProbeRecording recording;      // probe: how much of its record to keep
    ChangedIndicators* indicators; // indicator: where a change of State is noted
};

// When an element must be visited again if none of its legs changes and nothing is changed from
// outside. A visit skipped by these rules is one that would change nothing.
struct NextVisit {
    enum class When : uint8_t {
        Never,    // nothing happens until a leg or the outside changes
        NextPass, // in the next pass
        At,       // in the first pass at `time` or later
        // Every visit replaces the scheduled change of output `leg` by one to `level` (its present
        // level) at the time of the visit plus `delay` (2 or more), so it never falls due; the
        // visits are skipped and the Timer moved when the leg is next looked at. A change left
        // earlier still falls due at `time` (NeverDue for none).
        Moving,
    };
    When when = When::Never;
    TSimTime time = NeverDue;
    TLeg* leg = nullptr;
    int32_t delay = 0;
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
    // Evaluation: what one visit does.
    void (*visit)(const Visit& v);
    // Wake-up rule: besides a change of a leg loaded from a net, which always wakes an element,
    // when must it be visited again after visit `v`? Null: never.
    NextVisit (*next)(const Visit& v);
    // Also woken when this holds between two calls of the simulator (a switch turned over).
    bool (*changedFromOutside)(const TElement& e);
    // What it records besides its levels: a probe its Transitions, an indicator the change of its
    // State, after which its picture follows State: `pictureOn` or `pictureOff` of the small
    // pictures (-1: no picture). A switch's picture follows its State too, set by whoever turns it
    // over. A new run, which clears every State, puts back `pictureOff` where State was on.
    int pictureOff;
    int pictureOn;
};

// The entry of `kind`.
const KindBehaviour& Behaviour(ElementKind kind);

// The value of a chip's expression on the levels of its operand legs (a missing input reads 0).
uint8_t EvalOperands(ExprCode code, TLeg* const* operands);

// Fills the MaxOperands legs of inputs 1..MaxOperands: input n is the first leg with IsInput set
// and Ordinal n (InputLevel's rule), null where there is none.
void FindOperands(TElement& e, TLeg** operands);
