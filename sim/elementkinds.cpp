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

void FindOperands(const TElement& e, uint32_t firstPin, uint32_t* operands) {
    std::fill(operands, operands + MaxOperands, ZeroPin);
    for (size_t l = 0; l < e.Legs.size(); ++l) {
        const TLeg& leg = e.Legs[l];
        if (leg.IsInput && leg.Ordinal >= 1 && leg.Ordinal <= MaxOperands &&
            operands[leg.Ordinal - 1] == ZeroPin)
            operands[leg.Ordinal - 1] = firstPin + static_cast<uint32_t>(l);
    }
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

// Switch: its output follows its State, which the user turns over.
void VisitSwitch(const PassContext& p, int index, NextVisit*) {
    if (p.pinBegin[index] != p.pinBegin[index + 1])
        p.pins[p.pinBegin[index]].level = p.elements[index].State ? 1 : 0;
}
bool SwitchTurned(const PassContext& p, int index) {
    return p.pinBegin[index] != p.pinBegin[index + 1] &&
           p.pins[p.pinBegin[index]].level != (p.elements[index].State ? 1 : 0);
}

// Generator: its first output changes when its Timer falls due and stays for the duration of the
// new level (high: Reaction_HL, low: Reaction_LH, read at the change); the second output is the
// complement of the first.
void VisitGenerator(const PassContext& p, int index, NextVisit* next) {
    const uint32_t first = p.pinBegin[index];
    const uint32_t legs = p.pinBegin[index + 1] - first;
    if (legs == 0) return;
    Pin& out = p.pins[first];
    if (ToggleFallsDue(out.timer, p.time)) {
        const TElement& e = p.elements[index];
        out.level = out.level ? 0 : 1;
        if (legs > 1) p.pins[first + 1].level = out.level ? 0 : 1;
        out.timer = DueTime(p.time, out.level == 1 ? e.Reaction_HL : e.Reaction_LH);
    }
    if (next && out.timer != NeverDue) *next = {.time = out.timer, .when = NextVisit::When::At};
}

// Probe: records the time whenever its input differs from the level it saw last (State).
void VisitProbe(const PassContext& p, int index, NextVisit*) {
    if (p.pinBegin[index] == p.pinBegin[index + 1]) return;
    TElement& e = p.elements[index];
    const bool level = p.pins[p.pinBegin[index]].level != 0;
    if (level == e.State) return;
    e.State = level;
    RecordTransition(e, p.time, p.recording, p.recordLimit);
}

// Indicator: State follows its input; its picture follows State after the unit.
void VisitIndicator(const PassContext& p, int index, NextVisit*) {
    if (p.pinBegin[index] == p.pinBegin[index + 1]) return;
    TElement& e = p.elements[index];
    const bool level = p.pins[p.pinBegin[index]].level != 0;
    if (level == e.State) return;
    e.State = level;
    if (p.recordIndicators) e.Transitions.push_back(p.time);
    p.indicators->Note(index);
}

// An element of no kind does nothing; its legs still take and drive the levels of their nets.
void VisitNothing(const PassContext&, int, NextVisit*) {}

constexpr std::array<KindBehaviour, 6> Kinds{{
    {ElementKind::Chip, AnyLeg, OutputLeg, VisitChip, nullptr, -1, -1},
    {ElementKind::Indicator, FirstLeg, NoLeg, VisitIndicator, nullptr, SmallIndicatorUnlit,
     SmallIndicatorLit},
    {ElementKind::Switch, NoLeg, FirstLeg, VisitSwitch, SwitchTurned, SmallSwitchOff, SmallSwitchOn},
    {ElementKind::Generator, FirstLeg, FirstTwoLegs, VisitGenerator, nullptr, -1, -1},
    {ElementKind::Probe, FirstLeg, NoLeg, VisitProbe, nullptr, -1, -1},
    {ElementKind::Unknown, NoLeg, NoLeg, VisitNothing, nullptr, -1, -1},
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
