// SPDX-License-Identifier: MIT
#include "sim/simulator.h"

#include "model/specialpictures.h"
#include "sim/probetrace.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <bit>

Simulator::Simulator(Schematic& schematic) : s_(schematic) {}

void Simulator::PrepareRun() {
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
    // The numbering decides which legs are inputs, so the tables are read again.
    tablesRevision_ = NoRevision;
    full_ = true;
}

void Simulator::SyncNetLevels() {
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

QString Simulator::TimeText() const {
    return QStringLiteral("Время: ") + QString::number(SimTime);
}

void Simulator::RunUnit() {
    SimStep();
    SimStep();
    SimTime = WrapAdd(SimTime, 1);
}

void Simulator::RunUnits(int64_t units) {
    while (units > 0) {
        if (Quiet()) {
            int64_t until = std::min<int64_t>(int64_t{SimTime} + units, NeverDue);
            if (!due_.empty()) until = std::min<int64_t>(until, due_.topTime());
            if (until > SimTime) {
                // The skipped units would only have moved on the Timers of the filtering chips;
                // their last pass is the second one of the unit before `until`.
                const auto last = static_cast<int32_t>(until - 1);
                for (size_t w = 0; w < moving_.size(); ++w)
                    for (uint64_t bits = moving_[w]; bits != 0; bits &= bits - 1)
                        MoveTimer(static_cast<int>(w * 64 + static_cast<size_t>(std::countr_zero(bits))),
                                  last);
                units -= until - SimTime;
                SimTime = static_cast<int32_t>(until);
                lastPass_ = last;
                continue;
            }
        }
        RunUnit();
        --units;
    }
}

bool Simulator::Quiet() const {
    if (full_ || plain_ || tablesRevision_ != s_.Revision() || levelsRevision_ != s_.Revision()) return false;
    if (nextAny_ || !changed_.empty() || !restless_.empty()) return false;
    if (SimTime < 1 || lastPass_ != int64_t{SimTime} - 1) return false;
    if (!due_.empty() && due_.topTime() <= SimTime) return false;
    for (int i : switches_) {
        const TElement& e = s_.element(i);
        if (e.Legs[0].Level != (e.State ? 1 : 0)) return false;
    }
    for (const LooseLeg& l : loose_)
        if (l.leg->Level != l.seen) return false;
    return true;
}

void Simulator::RebuildCaches() {
    tablesRevision_ = s_.Revision();
    count_ = s_.ElementCount();
    const auto elements = static_cast<size_t>(count_) + 1;
    kinds_.assign(elements, ElementKind::Unknown);
    codes_.assign(elements, ExprCode::Other);
    operands_.assign(elements * MaxOperands, nullptr);
    // Each leg's net, -1 for none, at legBase[i] + leg.
    std::vector<uint32_t> legBase(elements + 1, 0);
    for (int i = 1; i <= count_; ++i) {
        const TElement& e = s_.element(i);
        kinds_[static_cast<size_t>(i)] = KindOfName(e.Name);
        // A script without a line names no expression: the value is 1, as for an unknown text.
        codes_[static_cast<size_t>(i)] =
            e.Script.isEmpty() ? ExprCode::Other : ResolveExpression(ExpressionText(e.Script.first()));
        // Input n of an expression is the first input leg numbered n (InputLevel).
        TLeg** operands = &operands_[static_cast<size_t>(i) * MaxOperands];
        for (TLeg& leg : s_.elementForRun(i).Legs)
            if (leg.IsInput && leg.Ordinal >= 1 && leg.Ordinal <= MaxOperands && !operands[leg.Ordinal - 1])
                operands[leg.Ordinal - 1] = &leg;
        legBase[static_cast<size_t>(i) + 1] =
            legBase[static_cast<size_t>(i)] + static_cast<uint32_t>(e.Legs.size());
    }
    std::vector<int32_t> legNet(legBase[elements], -1);

    // The model guarantees that every reference names an element in use and one of its legs.
    const std::vector<TConns>& conns = s_.Conns();
    const size_t nets = conns.size();
    inputsBegin_.assign(nets + 1, 0);
    inputs_.clear();
    lastDriver_.assign(nets, nullptr);
    std::vector<int> driverElement(nets, 0);
    for (size_t n = 0; n < nets; ++n) {
        inputsBegin_[n] = static_cast<uint32_t>(inputs_.size());
        for (const TPinRef& pin : conns[n]) {
            TLeg* leg = &s_.elementForRun(pin.Element).Legs[static_cast<size_t>(pin.Leg)];
            legNet[legBase[static_cast<size_t>(pin.Element)] + static_cast<uint32_t>(pin.Leg)] =
                static_cast<int32_t>(n);
            if (leg->X == 0) {
                inputs_.push_back({leg, static_cast<uint32_t>(pin.Element)});
            } else {
                lastDriver_[n] = leg;
                driverElement[n] = pin.Element;
            }
        }
    }
    inputsBegin_[nets] = static_cast<uint32_t>(inputs_.size());
    inputNets_.resize(inputs_.size());
    for (size_t n = 0; n < nets; ++n)
        for (uint32_t k = inputsBegin_[n]; k < inputsBegin_[n + 1]; ++k)
            inputNets_[k] = {inputs_[k].leg, static_cast<uint32_t>(n)};

    // The driving legs grouped by element.
    drivesBegin_.assign(elements + 1, 0);
    for (size_t n = 0; n < nets; ++n)
        if (lastDriver_[n]) ++drivesBegin_[static_cast<size_t>(driverElement[n]) + 1];
    for (size_t i = 1; i <= elements; ++i)
        drivesBegin_[i] += drivesBegin_[i - 1];
    drives_.assign(drivesBegin_[elements], {nullptr, 0});
    std::vector<uint32_t> fill(drivesBegin_.begin(), drivesBegin_.end() - 1);
    for (size_t n = 0; n < nets; ++n)
        if (lastDriver_[n])
            drives_[fill[static_cast<size_t>(driverElement[n])]++] = {lastDriver_[n],
                                                                      static_cast<uint32_t>(n)};

    switches_.clear();
    loose_.clear();
    restless_.clear();
    for (int i = 1; i <= count_; ++i) {
        TElement& e = s_.elementForRun(i);
        const ElementKind kind = kinds_[static_cast<size_t>(i)];
        const uint32_t base = legBase[static_cast<size_t>(i)];
        for (size_t l = 0; l < e.Legs.size(); ++l) {
            TLeg& leg = e.Legs[l];
            const int32_t net = legNet[base + l];
            // Input-side legs, and a chip's inputs, that no net loads: only the user changes them
            // (a leg the element writes itself is polled too, which costs at most a visit).
            const bool read =
                kind != ElementKind::Unknown && (leg.X == 0 || (kind == ElementKind::Chip && leg.IsInput));
            if (net < 0 && read) loose_.push_back({&leg, i, leg.Level});
            // Legs the element writes that a net loads: the next pass loads them again.
            const bool written = (kind == ElementKind::Chip && !leg.IsInput) ||
                                 (kind == ElementKind::Switch && l == 0) ||
                                 (kind == ElementKind::Generator && l < 2);
            if (net >= 0 && written && leg.X == 0) restless_.push_back({&leg, static_cast<uint32_t>(net)});
        }
        if (kind == ElementKind::Switch && !e.Legs.empty()) switches_.push_back(i);
    }

    const size_t words = (elements >> 6) + 1;
    visit_.assign(words, 0);
    next_.assign(words, 0);
    moving_.assign(words, 0);
    nextAny_ = false;
    moves_.assign(elements, {});
    due_.reset(count_);
    changed_.clear();
    isChanged_.assign(nets, 0);
    toDrive_.clear();
    isToDrive_.assign(nets, 0);
    full_ = true;
}

void Simulator::SimStep() {
    SyncNetLevels();
    if (tablesRevision_ != s_.Revision()) RebuildCaches();
    // The bookkeeping follows the clock from pass to pass; any other step of the clock (the time
    // set from outside, the wrap at the end of its range) and time 0, when every first output
    // takes its Pending level, need a full pass.
    const int64_t time = SimTime;
    if (time < 1 || (time != lastPass_ && time != lastPass_ + 1)) full_ = true;
    lastPass_ = time;
    if (full_)
        FullPass();
    else if (plain_)
        PlainPass();
    else
        ActivePass();
}

void Simulator::LoadNet(uint32_t net) {
    const uint8_t level = NetLevels[net];
    const PinLeg* const end = inputs_.data() + inputsBegin_[net + 1];
    for (const PinLeg* p = inputs_.data() + inputsBegin_[net]; p != end; ++p) {
        p->leg->Level = level;
        Set(visit_, static_cast<int>(p->at));
    }
}

void Simulator::FullPass() {
    full_ = false;
    plain_ = false;
    activePasses_ = 0;
    averageVisits_ = 0;
    std::fill(visit_.begin(), visit_.end(), 0);
    std::fill(next_.begin(), next_.end(), 0);
    std::fill(moving_.begin(), moving_.end(), 0);
    nextAny_ = false;
    due_.reset(count_);
    for (uint32_t n : changed_)
        isChanged_[n] = 0;
    changed_.clear();

    for (size_t n = 0; n + 1 < inputsBegin_.size(); ++n)
        LoadNet(static_cast<uint32_t>(n));
    std::fill(visit_.begin(), visit_.end(), 0);
    for (int i = 1; i <= count_; ++i) {
        Visit(i);
        if (s_.Revision() != tablesRevision_) {
            // A picture signal reached code that changed the schematic: finish the pass as a
            // plain one on the element slots as they are now, then read the schematic again.
            for (int j = i + 1; j <= count_; ++j)
                VisitPlain(j);
            SyncNetLevels();
            RebuildCaches();
            break;
        }
    }
    for (LooseLeg& l : loose_)
        l.seen = l.leg->Level;
    DriveAll();
}

void Simulator::PlainPass() {
    const uint8_t* const netLevels = NetLevels.data();
    for (const PinLeg& p : inputNets_)
        p.leg->Level = netLevels[p.at];
    TElement* const elements = &s_.elementForRun(0);
    const ElementKind* const kinds = kinds_.data();
    const int count = count_;
    for (int i = 1; i <= count; ++i) {
        TElement& e = elements[i];
        switch (kinds[i]) {
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
            // Only a picture signal reaches code that may change the schematic.
            if (s_.Revision() != tablesRevision_) {
                for (int j = i + 1; j <= count; ++j)
                    VisitPlain(j);
                SyncNetLevels();
                RebuildCaches();
                i = count;
            }
            break;
        case ElementKind::Unknown:
            break;
        }
    }
    if (full_) {
        DriveAll();
        return;
    }
    // No change tracking: the full pass that ends the stretch loads every input.
    uint8_t* const levels = NetLevels.data();
    for (size_t n = 0; n < lastDriver_.size(); ++n)
        if (lastDriver_[n]) levels[n] = lastDriver_[n]->Level;
    // At the end of the stretch the next pass rebuilds the bookkeeping and tries tracking again.
    if (--plainLeft_ <= 0) full_ = true;
}

void Simulator::ActivePass() {
    const int32_t time = SimTime;
    for (uint32_t n : changed_) {
        isChanged_[n] = 0;
        LoadNet(n);
    }
    changed_.clear();
    // A leg an element wrote that a net loads is loaded again, as every pass loads every input.
    for (const PinLeg& r : restless_)
        LoadNet(r.at);
    for (LooseLeg& l : loose_) {
        if (l.leg->Level == l.seen) continue;
        l.seen = l.leg->Level;
        Set(visit_, l.element);
    }
    for (int i : switches_) {
        const TElement& e = s_.element(i);
        if (e.Legs[0].Level != (e.State ? 1 : 0)) Set(visit_, i);
    }
    while (!due_.empty() && due_.topTime() <= time) {
        Set(visit_, due_.topElement());
        due_.pop();
    }
    if (nextAny_) {
        for (size_t w = 0; w < next_.size(); ++w) {
            visit_[w] |= next_[w];
            next_[w] = 0;
        }
        nextAny_ = false;
    }

    // Table order, as the full pass visits; a filtering chip nothing else wakes only has its
    // Timer moved on.
    int visited = 0;
    for (size_t w = 0; w < visit_.size(); ++w) {
        const uint64_t visits = visit_[w];
        uint64_t bits = visits | moving_[w];
        if (bits == 0) continue;
        visit_[w] = 0;
        for (; bits != 0; bits &= bits - 1) {
            const auto b = static_cast<unsigned>(std::countr_zero(bits));
            const int i = static_cast<int>(w * 64 + b);
            if (((visits >> b) & 1) == 0) {
                MoveTimer(i, time);
                continue;
            }
            Visit(i);
            ++visited;
            if (s_.Revision() != tablesRevision_) {
                for (int j = i + 1; j <= count_; ++j)
                    VisitPlain(j);
                SyncNetLevels();
                RebuildCaches();
                DriveAll();
                return;
            }
        }
    }

    uint8_t* const levels = NetLevels.data();
    for (uint32_t n : toDrive_) {
        isToDrive_[n] = 0;
        const uint8_t level = lastDriver_[n]->Level;
        if (level == levels[n]) continue;
        levels[n] = level;
        if (!isChanged_[n]) {
            isChanged_[n] = 1;
            changed_.push_back(n);
        }
    }
    toDrive_.clear();

    // When a good part of the elements is visited in pass after pass, the bookkeeping costs more
    // than it saves: run plain passes for a stretch, longer each time the tracking found the same
    // again right away. The visits are averaged over some passes, so a burst does not count. A small
    // schematic always tracks: a pass costs little either way.
    ++activePasses_;
    averageVisits_ += (visited - averageVisits_) / 8;
    if (count_ >= MinPlainElements && averageVisits_ * PlainShare > count_) {
        plainStretch_ = activePasses_ <= 4 ? std::min(plainStretch_ * 2, MaxPlainStretch) : MinPlainStretch;
        plain_ = true;
        plainLeft_ = plainStretch_;
    }
}

void Simulator::DriveAll() {
    for (uint32_t n : toDrive_)
        isToDrive_[n] = 0;
    toDrive_.clear();
    uint8_t* const levels = NetLevels.data();
    for (size_t n = 0; n < lastDriver_.size(); ++n) {
        if (!lastDriver_[n]) continue;
        const uint8_t level = lastDriver_[n]->Level;
        if (level == levels[n]) continue;
        levels[n] = level;
        if (!isChanged_[n]) {
            isChanged_[n] = 1;
            changed_.push_back(static_cast<uint32_t>(n));
        }
    }
}

void Simulator::MoveTimer(int index, int32_t time) {
    const Moving& m = moves_[static_cast<size_t>(index)];
    m.leg->Timer = DueTime(time, m.delay);
    m.leg->Pending = m.leg->Level;
}

void Simulator::Visit(int index) {
    TElement& e = s_.elementForRun(index);
    switch (kinds_[static_cast<size_t>(index)]) {
    case ElementKind::Chip:
        StepChip(e, index);
        PlanChip(e, index);
        break;
    case ElementKind::Switch:
        if (!e.Legs.empty()) e.Legs[0].Level = e.State ? 1 : 0;
        break;
    case ElementKind::Generator:
        StepGenerator(e);
        PlanGenerator(e, index);
        break;
    case ElementKind::Probe:
        StepProbe(e);
        break;
    case ElementKind::Indicator:
        StepIndicator(e, index);
        break;
    case ElementKind::Unknown:
        break;
    }
    // An indicator's picture signal may have changed the schematic: the caller reads it again.
    if (s_.Revision() != tablesRevision_) return;
    AfterVisit(index);
}

void Simulator::VisitPlain(int index) {
    TElement& e = s_.elementForRun(index);
    switch (kinds_[static_cast<size_t>(index)]) {
    case ElementKind::Chip:
        StepChip(e, index);
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
        StepIndicator(e, index);
        break;
    case ElementKind::Unknown:
        break;
    }
}

void Simulator::AfterVisit(int index) {
    const auto i = static_cast<size_t>(index);
    for (uint32_t k = drivesBegin_[i]; k < drivesBegin_[i + 1]; ++k) {
        const PinLeg& d = drives_[k];
        if (d.leg->Level == NetLevels[d.at] || isToDrive_[d.at]) continue;
        isToDrive_[d.at] = 1;
        toDrive_.push_back(d.at);
    }
}

uint8_t Simulator::Eval(int index) const {
    // EvalCode with the inputs looked up once per revision; a missing input reads 0.
    TLeg* const* const in = &operands_[static_cast<size_t>(index) * MaxOperands];
    const auto level = [in](int n) -> uint8_t { return in[n - 1] ? in[n - 1]->Level : 0; };
    const auto on = [&level](int n) { return level(n) != 0; };
    switch (codes_[static_cast<size_t>(index)]) {
    case ExprCode::Not1:
        return static_cast<uint8_t>(level(1) ^ 1);
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

void Simulator::StepChip(TElement& e, int index) {
    // The inputs do not change while the element is visited, so one evaluation serves every output.
    int value = -1;
    const auto eval = [&] {
        if (value < 0) value = Eval(index);
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

// When must the chip be visited again while its inputs stay as they are? The visit walks the
// outputs up to the first one with a change scheduled: an output without one that wants another
// level schedules it at the next visit; the scheduled change falls due at its time; and when the
// present level is wanted, every visit moves the change on to the time plus the delay, which
// with a delay of 2 or more never falls due (the clock moves on by at most 1 between passes), so
// only the Timer needs moving then.
void Simulator::PlanChip(TElement& e, int index) {
    const auto i = static_cast<size_t>(index);
    const uint8_t v = Eval(index);
    for (TLeg& leg : e.Legs) {
        if (leg.IsInput) continue;
        if (leg.Timer == 0) {
            if (v == leg.Level) continue;
            Set(next_, index);
            nextAny_ = true;
            break;
        }
        Clear(moving_, index);
        if (v != leg.Level) {
            if (leg.Timer == NeverDue)
                due_.remove(index);
            else
                due_.set(index, leg.Timer);
            return;
        }
        const int32_t delay = v == 1 ? e.Reaction_LH : e.Reaction_HL;
        if (delay < 2) {
            Set(next_, index);
            nextAny_ = true;
            due_.remove(index);
            return;
        }
        Set(moving_, index);
        moves_[i] = {&leg, delay};
        // A change left by an earlier visit may still fall due at the next pass.
        if (int64_t{leg.Timer} <= int64_t{SimTime} + 1)
            due_.set(index, leg.Timer);
        else
            due_.remove(index);
        return;
    }
    Clear(moving_, index);
    due_.remove(index);
}

void Simulator::StepGenerator(TElement& e) {
    if (e.Legs.empty()) return;
    TLeg& out = e.Legs[0];
    if (!ToggleFallsDue(out.Timer, SimTime)) return;
    out.Level = out.Level ? 0 : 1;
    if (e.Legs.size() > 1) e.Legs[1].Level = out.Level ? 0 : 1;
    out.Timer = DueTime(SimTime, out.Level == 1 ? e.Reaction_HL : e.Reaction_LH);
}

void Simulator::PlanGenerator(const TElement& e, int index) {
    if (e.Legs.empty() || e.Legs[0].Timer == NeverDue)
        due_.remove(index);
    else
        due_.set(index, e.Legs[0].Timer);
}

void Simulator::StepIndicator(TElement& e, int index) {
    if (e.Legs.empty()) return;
    const bool level = e.Legs[0].Level != 0;
    if (level == e.State) return;
    e.State = level;
    if (RecordIndicators) e.Transitions.push_back(SimTime);
    s_.SetBitmap(index, SmallPicture(level ? SmallIndicatorLit : SmallIndicatorUnlit));
}

void Simulator::StepProbe(TElement& e) {
    if (e.Legs.empty()) return;
    const bool level = e.Legs[0].Level != 0;
    if (level == e.State) return;
    e.State = level;
    RecordTransition(e, SimTime, Recording);
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
