// SPDX-License-Identifier: MIT
#include "sim/elementkinds.h"

#include "model/specialpictures.h"

#include <algorithm>
#include <array>
#include <functional>

ChangedIndicators::ChangedIndicators() : listed_(static_cast<size_t>(MaxElements) + 1, 0) {}

int ChangedIndicators::TakeFirst() {
    if (list_.empty()) return 0;
    if (!sorted_) {
        std::sort(list_.begin(), list_.end(), std::greater<>());
        sorted_ = true;
    }
    const int first = list_.back();
    list_.pop_back();
    listed_[static_cast<size_t>(first)] = 0;
    return first;
}

void ChangedIndicators::ElementDeleted(int index) {
    if (index < 1 || index > MaxElements) return;
    listed_.erase(listed_.begin() + index);
    listed_.push_back(0);
    std::erase(list_, index);
    for (int& i : list_)
        if (i > index) --i;
}

void ChangedIndicators::KeepFirst(int count) {
    std::erase_if(list_, [count](int i) { return i > count; });
    for (size_t i = static_cast<size_t>(std::max(count, 0)) + 1; i < listed_.size(); ++i)
        listed_[i] = 0;
}

uint8_t EvalOperands(ExprCode code, TLeg* const* in) {
    const auto on = [in](int n) { return in[n - 1] && in[n - 1]->Level != 0; };
    switch (code) {
    case ExprCode::Not1:
        return static_cast<uint8_t>((in[0] ? in[0]->Level : 0) ^ 1);
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

void FindOperands(TElement& e, TLeg** operands) {
    std::fill(operands, operands + MaxOperands, nullptr);
    for (TLeg& leg : e.Legs)
        if (leg.IsInput && leg.Ordinal >= 1 && leg.Ordinal <= MaxOperands && !operands[leg.Ordinal - 1])
            operands[leg.Ordinal - 1] = &leg;
}

namespace {

bool NoLeg(const TLeg&, size_t) {
    return false;
}
bool AnyLeg(const TLeg&, size_t) {
    return true;
}
bool FirstLeg(const TLeg&, size_t legIndex) {
    return legIndex == 0;
}
bool FirstTwoLegs(const TLeg&, size_t legIndex) {
    return legIndex < 2;
}
bool OutputLeg(const TLeg& leg, size_t) {
    return !leg.IsInput;
}

// Chip element: every output (a leg numbered as an output) takes the value of the expression
// after its delay. The visit walks the outputs up to the first one with a change scheduled: a
// change that falls due takes effect; a change not yet due is replaced by one to the present
// level when that is wanted again (so a pulse shorter than the delay is filtered out); an
// output without a change that wants another level schedules one.
void VisitChip(const Visit& v) {
    TElement& e = v.e;
    // The inputs do not change while the element is visited, so one evaluation serves every output.
    int value = -1;
    const auto eval = [&] {
        if (value < 0) value = EvalOperands(v.code, v.operands);
        return static_cast<uint8_t>(value);
    };
    const auto schedule = [&](TLeg& leg, uint8_t level) {
        leg.Timer = DueTime(v.time, level == 1 ? e.Reaction_LH : e.Reaction_HL);
        leg.Pending = level;
    };
    for (TLeg& leg : e.Legs) {
        if (leg.IsInput) continue;
        if (ChangeFallsDue(leg.Timer, v.time)) {
            leg.Timer = 0;
            leg.Level = leg.Pending;
            return;
        }
        if (leg.Timer != 0) {
            const uint8_t wanted = eval();
            if (wanted == leg.Level) schedule(leg, wanted);
            return;
        }
        const uint8_t wanted = eval();
        if (wanted != leg.Level) schedule(leg, wanted);
    }
}

// While the inputs stay: an output without a change that wants another level schedules one at
// the next visit; a scheduled change falls due at its time; and when the present level is wanted,
// every visit moves the change on to the time plus the delay, which with a delay of 2 or more
// never falls due (the clock moves on by at most 1 between passes). A Timer of 0 is no change
// here: the passes at time 0, where it is one, visit every element anyway.
NextVisit NextChip(const Visit& v) {
    const uint8_t value = EvalOperands(v.code, v.operands);
    for (TLeg& leg : v.e.Legs) {
        if (leg.IsInput) continue;
        if (leg.Timer == 0) {
            if (value == leg.Level) continue;
            return {NextVisit::When::NextPass};
        }
        if (value != leg.Level)
            return leg.Timer == NeverDue ? NextVisit{} : NextVisit{NextVisit::When::At, leg.Timer};
        const int32_t delay = value == 1 ? v.e.Reaction_LH : v.e.Reaction_HL;
        if (delay < 2) return {NextVisit::When::NextPass};
        // A change left by an earlier visit (this one stopped at an earlier output) may still fall
        // due at the next pass.
        return {NextVisit::When::Moving, leg.Timer <= v.time + 1 ? leg.Timer : NeverDue, &leg, delay, value};
    }
    return {};
}

// Switch: its output follows its State, which the user turns over.
void VisitSwitch(const Visit& v) {
    if (!v.e.Legs.empty()) v.e.Legs[0].Level = v.e.State ? 1 : 0;
}
bool SwitchTurned(const TElement& e) {
    return !e.Legs.empty() && e.Legs[0].Level != (e.State ? 1 : 0);
}

// Generator: its first output changes when its Timer falls due and stays for the duration of the
// new level (high: Reaction_HL, low: Reaction_LH, read at the change); the second output is the
// complement of the first.
void VisitGenerator(const Visit& v) {
    TElement& e = v.e;
    if (e.Legs.empty()) return;
    TLeg& out = e.Legs[0];
    if (!ToggleFallsDue(out.Timer, v.time)) return;
    out.Level = out.Level ? 0 : 1;
    if (e.Legs.size() > 1) e.Legs[1].Level = out.Level ? 0 : 1;
    out.Timer = DueTime(v.time, out.Level == 1 ? e.Reaction_HL : e.Reaction_LH);
}
NextVisit NextGenerator(const Visit& v) {
    if (v.e.Legs.empty() || v.e.Legs[0].Timer == NeverDue) return {};
    return {NextVisit::When::At, v.e.Legs[0].Timer};
}

// Probe: records the time whenever its input differs from the level it saw last (State).
void VisitProbe(const Visit& v) {
    TElement& e = v.e;
    if (e.Legs.empty()) return;
    const bool level = e.Legs[0].Level != 0;
    if (level == e.State) return;
    e.State = level;
    RecordTransition(e, v.time, v.recording);
}

// Indicator: State follows its input; its picture follows State after the unit.
void VisitIndicator(const Visit& v) {
    TElement& e = v.e;
    if (e.Legs.empty()) return;
    const bool level = e.Legs[0].Level != 0;
    if (level == e.State) return;
    e.State = level;
    v.indicators->Note(v.index);
}

// An element of no kind does nothing; its legs still take and drive the levels of their nets.
void VisitNothing(const Visit&) {}

constexpr std::array<KindBehaviour, 6> Kinds{{
    {ElementKind::Chip, AnyLeg, OutputLeg, VisitChip, NextChip, nullptr, -1, -1},
    {ElementKind::Indicator, FirstLeg, NoLeg, VisitIndicator, nullptr, nullptr, SmallIndicatorUnlit,
     SmallIndicatorLit},
    {ElementKind::Switch, NoLeg, FirstLeg, VisitSwitch, nullptr, SwitchTurned, SmallSwitchOff, SmallSwitchOn},
    {ElementKind::Generator, FirstLeg, FirstTwoLegs, VisitGenerator, NextGenerator, nullptr, -1, -1},
    {ElementKind::Probe, FirstLeg, NoLeg, VisitProbe, nullptr, nullptr, -1, -1},
    {ElementKind::Unknown, NoLeg, NoLeg, VisitNothing, nullptr, nullptr, -1, -1},
}};

constexpr bool InKindOrder() {
    for (size_t k = 0; k < Kinds.size(); ++k)
        if (static_cast<size_t>(Kinds[k].kind) != k) return false;
    return true;
}
static_assert(InKindOrder(), "one entry per ElementKind, in the order of the enumeration");

} // namespace

const KindBehaviour& Behaviour(ElementKind kind) {
    return Kinds[static_cast<size_t>(kind)];
}
