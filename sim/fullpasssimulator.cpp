// SPDX-License-Identifier: MIT
#include "sim/fullpasssimulator.h"

#include "model/specialpictures.h"
#include "sim/probetrace.h"

FullPassSimulator::FullPassSimulator(Schematic& schematic) : s_(schematic) {}

void FullPassSimulator::PrepareRun() {
    SimTime = 0;
    NetLevels.assign(s_.Conns().size(), 0);
    levelIds_ = s_.NetIds();
    levelsRevision_ = s_.Revision();
    for (int i = 1; i <= s_.ElementCount(); ++i) {
        TElement& e = s_.elementForRun(i);
        e.Transitions.clear();
        e.LevelBefore = false;
        // Switches go off and indicators dark: their pictures follow, so picture and State
        // agree from the start of the run.
        if (e.State && (e.kind() == ElementKind::Switch || e.kind() == ElementKind::Indicator))
            s_.SetBitmap(
                i, SmallPicture(e.kind() == ElementKind::Switch ? SmallSwitchOff : SmallIndicatorUnlit));
        e.State = false;
        NumberLegs(e);
        for (TLeg& leg : e.Legs)
            leg.Timer = 0;
    }
    // The numbering decides the sides the pin table splits by.
    pins_.revision = NoRevision;
}

void FullPassSimulator::SyncNetLevels() {
    if (levelsRevision_ == s_.Revision() && NetLevels.size() == s_.Conns().size()) return;
    levelsRevision_ = s_.Revision();
    const std::vector<uint64_t>& ids = s_.NetIds();
    if (ids == levelIds_ && NetLevels.size() == ids.size()) return;
    // Both id lists increase along the nets, so one walk pairs every net with its old level.
    std::vector<uint8_t> levels(ids.size(), 0);
    size_t old = 0;
    for (size_t n = 0; n < ids.size(); ++n) {
        while (old < levelIds_.size() && levelIds_[old] < ids[n])
            ++old;
        if (old < levelIds_.size() && levelIds_[old] == ids[n] && old < NetLevels.size())
            levels[n] = NetLevels[old];
    }
    NetLevels = std::move(levels);
    levelIds_ = ids;
}

QString FullPassSimulator::TimeText() const {
    return QStringLiteral("Время: ") + QString::number(SimTime);
}

void FullPassSimulator::RunUnit() {
    SimStep();
    SimStep();
    SimTime = WrapAdd(SimTime, 1);
}

void FullPassSimulator::RebuildCaches() {
    PinTable& t = pins_;
    t.revision = s_.Revision();
    t.inputs.clear();
    t.outputs.clear();
    // The model guarantees that every reference names an element in use and one of its legs.
    const std::vector<TConns>& conns = s_.Conns();
    for (size_t n = 0; n < conns.size(); ++n) {
        for (const TPinRef& pin : conns[n]) {
            TLeg* leg = &s_.elementForRun(pin.Element).Legs[static_cast<size_t>(pin.Leg)];
            if (leg->X == 0)
                t.inputs.push_back({leg, static_cast<uint32_t>(n)});
            else
                t.outputs.push_back({leg, static_cast<uint32_t>(n)});
        }
    }
    const int count = s_.ElementCount();
    slots_.resize(static_cast<size_t>(count) + 1);
    for (int i = 1; i <= count; ++i) {
        const TElement& e = s_.element(i);
        SlotCache& c = slots_[static_cast<size_t>(i)];
        c.kind = KindOfName(e.Name);
        // A script without a line names no expression: the value is 1, as for an unknown text.
        c.code = e.Script.isEmpty() ? ExprCode::Other : ResolveExpression(ExpressionText(e.Script.first()));
    }
}

void FullPassSimulator::LoadInputs() {
    const uint8_t* const levels = NetLevels.data();
    for (const PinTable::Pin& p : pins_.inputs)
        p.leg->Level = levels[p.net];
}

void FullPassSimulator::SimStep() {
    SyncNetLevels();
    // The pins of every net, split into inputs (X = 0) and outputs in net and pin order, and each
    // element's kind and expression are kept from the schematic's revision they were read at.
    if (pins_.revision != s_.Revision()) RebuildCaches();
    LoadInputs();

    picturesChanged_ = false;
    TElement* const elements = &s_.elementForRun(0);
    const int count = s_.ElementCount();
    for (int i = 1; i <= count; ++i) {
        TElement& e = elements[i];
        switch (slots_[static_cast<size_t>(i)].kind) {
        case ElementKind::Chip:
            StepChip(e, i);
            break;
        case ElementKind::Switch:
            if (!e.Legs.empty()) e.Legs[0].Level = e.State ? 1 : 0;
            break;
        case ElementKind::Generator:
            StepGenerator(e);
            break;
        case ElementKind::Probe:
            StepProbe(e);
            break;
        case ElementKind::Indicator:
            StepIndicator(e, i);
            break;
        case ElementKind::Unknown:
            break;
        }
    }

    // A picture signal may have reached code that edits the schematic: then look at it again.
    if (picturesChanged_) {
        SyncNetLevels();
        if (pins_.revision != s_.Revision()) RebuildCaches();
    }
    uint8_t* const levels = NetLevels.data();
    for (const PinTable::Pin& p : pins_.outputs)
        levels[p.net] = p.leg->Level;
}

void FullPassSimulator::StepChip(TElement& e, int index) {
    // The inputs do not change while the element is visited, so one evaluation serves every output.
    int value = -1;
    const auto eval = [&] {
        if (value < 0) value = EvalCode(slots_[static_cast<size_t>(index)].code, e);
        return static_cast<uint8_t>(value);
    };
    const auto schedule = [&](TLeg& leg, uint8_t v) {
        leg.Timer = DueTime(SimTime, v == 1 ? e.Reaction_LH : e.Reaction_HL);
        leg.Pending = v;
    };
    for (TLeg& leg : e.Legs) {
        if (leg.IsInput) continue;
        if (ChangeFallsDue(leg.Timer, SimTime)) {
            leg.Timer = 0;
            leg.Level = leg.Pending;
            return;
        }
        if (leg.Timer != 0) {
            // A change not yet due: when the present level is wanted again, replace the change by
            // one to the present level, so a pulse shorter than the delay is filtered out.
            const uint8_t v = eval();
            if (v == leg.Level) schedule(leg, v);
            return;
        }
        const uint8_t v = eval();
        if (v != leg.Level) schedule(leg, v);
    }
}

void FullPassSimulator::StepGenerator(TElement& e) {
    if (e.Legs.empty()) return;
    TLeg& out = e.Legs[0];
    if (!ToggleFallsDue(out.Timer, SimTime)) return;
    out.Level = out.Level ? 0 : 1;
    if (e.Legs.size() > 1) e.Legs[1].Level = out.Level ? 0 : 1;
    out.Timer = DueTime(SimTime, out.Level == 1 ? e.Reaction_HL : e.Reaction_LH);
}

void FullPassSimulator::StepIndicator(TElement& e, int index) {
    if (e.Legs.empty()) return;
    const bool level = e.Legs[0].Level != 0;
    if (level == e.State) return;
    e.State = level;
    if (RecordIndicators) e.Transitions.push_back(SimTime);
    picturesChanged_ = true;
    s_.SetBitmap(index, SmallPicture(level ? SmallIndicatorLit : SmallIndicatorUnlit));
}

void FullPassSimulator::StepProbe(TElement& e) {
    if (e.Legs.empty()) return;
    const bool level = e.Legs[0].Level != 0;
    if (level == e.State) return;
    e.State = level;
    RecordTransition(e, SimTime, Recording);
}
