// SPDX-License-Identifier: MIT
#include "sim/simulator.h"

#include "model/specialpictures.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>

Simulator::Simulator(Schematic& schematic) : s_(schematic), slots_(static_cast<size_t>(MaxElements) + 1) {}

void Simulator::PrepareRun() {
    SimTime = 0;
    NetLevels.assign(s_.Conns.size(), 0);
    for (int i = 1; i <= s_.ElementCount; ++i) {
        TElement& e = s_.element(i);
        e.Transitions.clear();
        e.State = false;
        NumberLegs(e);
        for (TLeg& leg : e.Legs)
            leg.Timer = 0;
    }
}

void Simulator::SyncNetLevels() {
    if (NetLevels.size() != s_.Conns.size()) NetLevels.resize(s_.Conns.size(), 0);
}

QString Simulator::TimeText() const {
    return QStringLiteral("Время: ") + QString::number(SimTime);
}

void Simulator::RunUnit() {
    SimStep();
    SimStep();
    SimTime = WrapAdd(SimTime, 1);
}

bool Simulator::PinTableCurrent() const {
    const int count = s_.ElementCount;
    if (count != pins_.elementCount) return false;
    const TElement* const elements = s_.Elements.data();
    for (int i = 1; i <= count; ++i) {
        const std::vector<TLeg>& legs = elements[i].Legs;
        if (legs.data() != pins_.legBase[static_cast<size_t>(i)] ||
            legs.size() != pins_.legCount[static_cast<size_t>(i)])
            return false;
    }
    const size_t nets = s_.Conns.size();
    if (nets != pins_.netEnd.size()) return false;
    const TPinRef* seen = pins_.refs.data();
    for (size_t n = 0; n < nets; ++n) {
        const TConns& net = s_.Conns[n];
        const TPinRef* const end = pins_.refs.data() + pins_.netEnd[n];
        if (static_cast<size_t>(end - seen) != net.size() || !std::equal(net.begin(), net.end(), seen))
            return false;
        seen = end;
    }
    return true;
}

void Simulator::RebuildPinTable() {
    PinTable& t = pins_;
    const int count = s_.ElementCount;
    t.elementCount = count;
    t.legBase.assign(static_cast<size_t>(count) + 1, nullptr);
    t.legCount.assign(static_cast<size_t>(count) + 1, 0);
    for (int i = 1; i <= count; ++i) {
        std::vector<TLeg>& legs = s_.element(i).Legs;
        t.legBase[static_cast<size_t>(i)] = legs.data();
        t.legCount[static_cast<size_t>(i)] = legs.size();
    }
    t.refs.clear();
    t.netEnd.clear();
    t.inputs.clear();
    t.outputs.clear();
    for (size_t n = 0; n < s_.Conns.size(); ++n) {
        for (const TPinRef& pin : s_.Conns[n]) {
            t.refs.push_back(pin);
            // A reference outside the table or the element's legs reaches no pin.
            if (pin.Element < 1 || pin.Element > count) continue;
            const auto e = static_cast<size_t>(pin.Element);
            if (pin.Leg < 0 || static_cast<size_t>(pin.Leg) >= t.legCount[e]) continue;
            TLeg* leg = t.legBase[e] + pin.Leg;
            if (leg->X == 0)
                t.inputs.push_back({leg, static_cast<uint32_t>(n)});
            else
                t.outputs.push_back({leg, static_cast<uint32_t>(n)});
        }
        t.netEnd.push_back(static_cast<uint32_t>(t.refs.size()));
    }
}

bool Simulator::LoadInputs() {
    for (const PinTable::Pin& p : pins_.outputs)
        if (p.leg->X == 0) return false;
    const uint8_t* const levels = NetLevels.data();
    for (const PinTable::Pin& p : pins_.inputs) {
        if (p.leg->X != 0) return false;
        p.leg->Level = levels[p.net];
    }
    return true;
}

void Simulator::SimStep() {
    SyncNetLevels();
    // The pins of every net, split into inputs (X = 0) and outputs in net and pin order, are kept
    // in a table rebuilt whenever the nets, the element count or any element's leg storage differ
    // from what it was built from, or a listed leg has changed its side. So it always says the
    // same as the nets themselves.
    if (!PinTableCurrent() || !LoadInputs()) {
        RebuildPinTable();
        LoadInputs();
    }

    picturesChanged_ = false;
    TElement* const elements = s_.Elements.data();
    const int count = s_.ElementCount;
    for (int i = 1; i <= count; ++i) {
        TElement& e = elements[i];
        switch (KindOf(e, i)) {
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
        if (!PinTableCurrent()) RebuildPinTable();
    }
    uint8_t* const levels = NetLevels.data();
    for (const PinTable::Pin& p : pins_.outputs)
        if (p.leg->X != 0) levels[p.net] = p.leg->Level;
}

void Simulator::StepChip(TElement& e, int index) {
    // The inputs do not change while the element is visited, so one evaluation serves every output.
    int value = -1;
    const auto eval = [&] {
        if (value < 0) value = EvalCode(CodeOf(e, index), e);
        return static_cast<uint8_t>(value);
    };
    const auto schedule = [&](TLeg& leg, uint8_t v) {
        leg.Timer = WrapAdd(SimTime, v == 1 ? e.Reaction_LH : e.Reaction_HL);
        leg.Pending = v;
    };
    for (TLeg& leg : e.Legs) {
        if (leg.IsInput) continue;
        // A change falls due when its time has come; one whose time has already passed (a delay 0
        // scheduled in the second pass of a unit, a negative delay) takes effect now instead of
        // never. With SimTime 0 every first output takes Pending.
        if (leg.Timer == SimTime || (leg.Timer != 0 && leg.Timer < SimTime)) {
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

void Simulator::StepGenerator(TElement& e) {
    if (e.Legs.empty()) return;
    TLeg& out = e.Legs[0];
    if (out.Timer > SimTime) return;
    out.Level = out.Level ? 0 : 1;
    if (e.Legs.size() > 1) e.Legs[1].Level = out.Level ? 0 : 1;
    out.Timer = WrapAdd(SimTime, out.Level == 1 ? e.Reaction_HL : e.Reaction_LH);
}

void Simulator::StepIndicator(TElement& e, int index) {
    if (e.Legs.empty()) return;
    const bool level = e.Legs[0].Level != 0;
    if (level == e.State) return;
    e.State = level;
    e.Bitmap = SmallPicture(level ? SmallIndicatorLit : SmallIndicatorUnlit);
    e.Selected = false;
    picturesChanged_ = true;
    Q_EMIT s_.elementImageChanged(index);
}

void Simulator::StepProbe(TElement& e) {
    if (e.Legs.empty()) return;
    const bool level = e.Legs[0].Level != 0;
    if (level == e.State) return;
    e.State = level;
    e.Transitions.push_back(SimTime);
}

ElementKind Simulator::KindOf(const TElement& e, int index) {
    SlotCache& c = slots_[static_cast<size_t>(index)];
    if (c.name.constData() != e.Name.constData() || c.name.size() != e.Name.size()) {
        c.name = e.Name;
        c.kind = KindOfName(e.Name);
    }
    return c.kind;
}

ExprCode Simulator::CodeOf(const TElement& e, int index) {
    SlotCache& c = slots_[static_cast<size_t>(index)];
    if (c.script.constData() != e.Script.constData() || c.script.size() != e.Script.size()) {
        c.script = e.Script;
        // A script without a line names no expression: the value is 1, as for an unknown text.
        c.code = e.Script.isEmpty() ? ExprCode::Other : ResolveExpression(ExpressionText(e.Script.first()));
    }
    return c.code;
}

void WaitMs(uint32_t ms) {
    QElapsedTimer clock;
    clock.start();
    QCoreApplication::processEvents();
    for (;;) {
        const auto passed = static_cast<uint32_t>(clock.elapsed());
        if (passed >= ms) return;
        // A timer wakes the event loop at the end of the wait, so blocking for events never
        // oversleeps; any event before that is handled at once.
        QTimer wake;
        wake.setSingleShot(true);
        wake.setTimerType(Qt::PreciseTimer);
        wake.start(static_cast<int>(ms - passed));
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}
