// SPDX-License-Identifier: MIT
#include "simulator.h"

#include "specialpictures.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

Simulator::Simulator(Schematic& schematic)
    : s_(schematic), codes_(static_cast<size_t>(MaxElements) + 1) {}

void Simulator::PrepareRun() {
    SimTime = 0;
    NetLevels.assign(s_.Conns.size(), 0);
    for (int i = 1; i <= s_.ElementCount; ++i) {
        TElement& e = s_.element(i);
        e.Transitions.clear();
        e.State = false;
        NumberLegs(e);
        for (TLeg& leg : e.Legs) leg.Timer = 0;
    }
}

void Simulator::SyncNetLevels() {
    if (NetLevels.size() != s_.Conns.size()) NetLevels.resize(s_.Conns.size(), 0);
}

QString Simulator::TimeText() const { return QStringLiteral("Время: ") + QString::number(SimTime); }

void Simulator::RunUnit() {
    SimStep();
    SimStep();
    SimTime = WrapAdd(SimTime, 1);
}

void Simulator::SimStep() {
    SyncNetLevels();
    const auto legOf = [this](const TPinRef& pin) -> TLeg* {
        if (pin.Element < 1 || pin.Element > s_.ElementCount) return nullptr;
        std::vector<TLeg>& legs = s_.element(pin.Element).Legs;
        if (pin.Leg < 0 || static_cast<size_t>(pin.Leg) >= legs.size()) return nullptr;
        return &legs[static_cast<size_t>(pin.Leg)];
    };

    const size_t nets = s_.Conns.size();
    for (size_t i = 0; i < nets; ++i) {
        const uint8_t level = NetLevels[i];
        for (const TPinRef& pin : s_.Conns[i])
            if (TLeg* leg = legOf(pin); leg && leg->X == 0) leg->Level = level;
    }

    for (int i = 1; i <= s_.ElementCount; ++i) {
        TElement& e = s_.element(i);
        switch (e.kind()) {
        case ElementKind::Chip: StepChip(e, i); break;
        case ElementKind::Switch:
            if (!e.Legs.empty()) e.Legs[0].Level = e.State ? 1 : 0;
            break;
        case ElementKind::Generator: StepGenerator(e); break;
        case ElementKind::Probe: StepProbe(e); break;
        case ElementKind::Indicator: StepIndicator(e, i); break;
        case ElementKind::Unknown: break;
        }
    }

    for (size_t i = 0; i < nets; ++i)
        for (const TPinRef& pin : s_.Conns[i])
            if (const TLeg* leg = legOf(pin); leg && leg->X != 0) NetLevels[i] = leg->Level;
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
    Q_EMIT s_.elementImageChanged(index);
}

void Simulator::StepProbe(TElement& e) {
    if (e.Legs.empty()) return;
    const bool level = e.Legs[0].Level != 0;
    if (level == e.State) return;
    e.State = level;
    e.Transitions.push_back(SimTime);
}

ExprCode Simulator::CodeOf(const TElement& e, int index) {
    // A script without a line names no expression: the value is 1, as for an unknown text.
    if (e.Script.isEmpty()) return ExprCode::Other;
    const QString& line = e.Script.first();
    CachedCode& c = codes_[static_cast<size_t>(index)];
    if (c.line.constData() != line.constData() || c.line.size() != line.size()) {
        c.line = line;
        c.code = ResolveExpression(ExpressionText(line));
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
