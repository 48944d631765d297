// SPDX-License-Identifier: MIT
#include "sim/simulator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>

Simulator::Simulator(Schematic& schematic) : SimCore(schematic) {}

void Simulator::ReadTables() {
    SimCore::ReadTables();
    const auto elements = static_cast<size_t>(count_) + 1;
    const size_t nets = lastDriver_.size();

    // The driving legs grouped by element.
    drivesBegin_.assign(elements + 1, 0);
    for (size_t n = 0; n < nets; ++n)
        if (lastDriver_[n]) ++drivesBegin_[static_cast<size_t>(driverElement_[n]) + 1];
    for (size_t i = 1; i <= elements; ++i)
        drivesBegin_[i] += drivesBegin_[i - 1];
    drives_.assign(drivesBegin_[elements], {nullptr, 0});
    std::vector<uint32_t> fill(drivesBegin_.begin(), drivesBegin_.end() - 1);
    for (size_t n = 0; n < nets; ++n)
        if (lastDriver_[n])
            drives_[fill[static_cast<size_t>(driverElement_[n])]++] = {lastDriver_[n],
                                                                       static_cast<uint32_t>(n)};

    // Each leg's net, -1 for none, at legBase[i] + leg.
    std::vector<uint32_t> legBase(elements + 1, 0);
    for (int i = 1; i <= count_; ++i)
        legBase[static_cast<size_t>(i) + 1] =
            legBase[static_cast<size_t>(i)] + static_cast<uint32_t>(elements_[i].Legs.size());
    std::vector<int32_t> legNet(legBase[elements], -1);
    const std::vector<TConns>& conns = s_.Conns();
    for (size_t n = 0; n < conns.size(); ++n)
        for (const TPinRef& pin : conns[n])
            legNet[legBase[static_cast<size_t>(pin.Element)] + static_cast<uint32_t>(pin.Leg)] =
                static_cast<int32_t>(n);

    watched_.clear();
    loose_.clear();
    restless_.clear();
    for (int i = 1; i <= count_; ++i) {
        TElement& e = elements_[i];
        const KindBehaviour& b = *behaviours_[static_cast<size_t>(i)];
        const uint32_t base = legBase[static_cast<size_t>(i)];
        for (size_t l = 0; l < e.Legs.size(); ++l) {
            TLeg& leg = e.Legs[l];
            const int32_t net = legNet[base + l];
            if (net < 0 && b.reads(leg, l)) loose_.push_back({&leg, 0, i, leg.Level});
            if (net >= 0 && leg.X == 0 && b.writes(leg, l))
                restless_.push_back({&leg, static_cast<uint32_t>(net), i, 0});
        }
        if (b.changedFromOutside) watched_.push_back(i);
    }

    stamp_.assign(elements, 0);
    movingLeg_.assign(elements, nullptr);
    movingDelay_.assign(elements, 0);
    movingLevel_.assign(elements, 0);
    movingFrom_.assign(elements, 0);
    inMoving_.assign(elements, 0);
    moving_.clear();
    driveStamp_.assign(nets, 0);
    full_ = true;
}

void Simulator::SimStep() {
    Begin();
    Pass();
    End();
}

void Simulator::RunUnit() {
    RunUnits(1);
}

void Simulator::RunUnits(TSimTime units) {
    Begin();
    while (units > 0) {
        if (Quiet()) {
            const TSimTime end = units > NeverDue - SimTime ? NeverDue : SimTime + units;
            const TSimTime until = std::min(end, wheel_.Earliest());
            if (until > SimTime) {
                // As if the skipped units had run: their last pass was the second one of until - 1.
                units -= until - SimTime;
                SimTime = until;
                done_ = ++pass_;
                doneTime_ = until - 1;
                continue;
            }
        }
        Pass();
        Pass();
        ++SimTime;
        --units;
    }
    End();
    ShowIndicators();
}

void Simulator::Begin() {
    SyncNetLevels();
    if (!TablesCurrent()) ReadTables();
    if (full_ || plain_) return;
    for (int i : watched_)
        if (behaviours_[static_cast<size_t>(i)]->changedFromOutside(elements_[i])) nextPass_.push_back(i);
    for (OwnLeg& l : loose_) {
        if (l.leg->Level == l.seen) continue;
        l.seen = l.leg->Level;
        nextPass_.push_back(l.element);
    }
}

void Simulator::End() {
    CatchUpAll();
}

void Simulator::Pass() {
    // The bookkeeping follows the clock from pass to pass; any other step of the clock (the time
    // set from outside) and time 0, when every first output takes its Pending level, need a full
    // pass.
    const TSimTime time = SimTime;
    if (time < 1 || (time != doneTime_ && time != doneTime_ + 1)) full_ = true;
    ++pass_;
    if (full_)
        FullPass();
    else if (plain_)
        StretchPass();
    else
        TrackedPass();
    done_ = pass_;
    doneTime_ = time;
    // Plain passes visit every element: every Timer as the passes left it first.
    if (plain_ && !moving_.empty()) DropMoving();
}

void Simulator::CatchUp(int index) {
    const auto i = static_cast<size_t>(index);
    if (movingFrom_[i] >= done_) return;
    TLeg* leg = movingLeg_[i];
    leg->Timer = DueTime(doneTime_, movingDelay_[i]);
    leg->Pending = movingLevel_[i];
    movingFrom_[i] = done_;
}

void Simulator::CatchUpAll() {
    size_t kept = 0;
    for (int i : moving_) {
        if (movingLeg_[static_cast<size_t>(i)]) {
            CatchUp(i);
            moving_[kept++] = i;
        } else {
            inMoving_[static_cast<size_t>(i)] = 0;
        }
    }
    moving_.resize(kept);
}

void Simulator::DropMoving() {
    CatchUpAll();
    for (int i : moving_) {
        movingLeg_[static_cast<size_t>(i)] = nullptr;
        inMoving_[static_cast<size_t>(i)] = 0;
    }
    moving_.clear();
}

void Simulator::FullPass() {
    // Every Timer as the passes left it, then the bookkeeping starts afresh.
    DropMoving();
    full_ = false;
    plain_ = false;
    trackedPasses_ = 0;
    averageVisits_ = 0;
    wheel_.Reset(count_, SimTime);
    nextPass_.clear();
    changed_.clear();
    toDrive_.clear();

    uint8_t* const levels = NetLevels.data();
    for (const PinLeg& p : inputNets_)
        p.leg->Level = levels[p.at];
    for (int i = 1; i <= count_; ++i) {
        const KindBehaviour& b = *behaviours_[static_cast<size_t>(i)];
        const Visit v = VisitOf(i);
        b.visit(v);
        if (b.next) Plan(i, b.next(v));
    }
    for (size_t n = 0; n < lastDriver_.size(); ++n) {
        if (!lastDriver_[n] || lastDriver_[n]->Level == levels[n]) continue;
        levels[n] = lastDriver_[n]->Level;
        changed_.push_back(static_cast<uint32_t>(n));
    }
    for (OwnLeg& l : loose_)
        l.seen = l.leg->Level;
}

void Simulator::StretchPass() {
    PlainPass();
    // At the end of the stretch the next pass rebuilds the bookkeeping and tries tracking again.
    if (--plainLeft_ <= 0) full_ = true;
}

void Simulator::TrackedPass() {
    if (SimTime > wheel_.now()) {
        wheel_.Advance(SimTime, due_);
        for (int i : due_)
            Wake(i);
        due_.clear();
    }
    for (int i : nextPass_)
        Wake(i);
    nextPass_.clear();

    uint8_t* const levels = NetLevels.data();
    const PinLeg* const inputs = inputs_.data();
    for (uint32_t n : changed_) {
        const uint8_t level = levels[n];
        const PinLeg* const end = inputs + inputsBegin_[n + 1];
        for (const PinLeg* p = inputs + inputsBegin_[n]; p != end; ++p) {
            if (p->leg->Level == level) continue;
            p->leg->Level = level;
            Wake(static_cast<int>(p->at));
        }
    }
    changed_.clear();
    // A leg an element wrote that a net loads is loaded again, as every pass loads every input.
    for (const OwnLeg& r : restless_) {
        if (r.leg->Level == levels[r.net]) continue;
        r.leg->Level = levels[r.net];
        Wake(r.element);
    }

    // Visits in any order: a visit reads and writes only its own element's legs.
    for (size_t k = 0; k < woken_.size(); ++k)
        VisitTracked(woken_[k]);
    const auto visited = static_cast<double>(woken_.size());
    woken_.clear();

    for (uint32_t n : toDrive_) {
        const uint8_t level = lastDriver_[n]->Level;
        if (level == levels[n]) continue;
        levels[n] = level;
        changed_.push_back(n);
    }
    toDrive_.clear();

    // When a good part of the elements is visited in pass after pass, the bookkeeping costs more
    // than it saves: run plain passes for a stretch, longer each time the tracking found the same
    // again right away. The visits are averaged over some passes, so a burst does not count. A small
    // schematic always tracks: a pass costs little either way.
    ++trackedPasses_;
    averageVisits_ += (visited - averageVisits_) / 8;
    if (count_ >= MinPlainElements && averageVisits_ * PlainShare > count_) {
        plainStretch_ = trackedPasses_ <= 4 ? std::min(plainStretch_ * 2, MaxPlainStretch) : MinPlainStretch;
        plainLeft_ = plainStretch_;
        plain_ = true;
    }
}

void Simulator::VisitTracked(int index) {
    const auto i = static_cast<size_t>(index);
    if (movingLeg_[i]) CatchUp(index);
    const KindBehaviour& b = *behaviours_[i];
    const Visit v = VisitOf(index);
    b.visit(v);
    if (b.next) Plan(index, b.next(v));
    const uint8_t* const levels = NetLevels.data();
    for (uint32_t k = drivesBegin_[i]; k < drivesBegin_[i + 1]; ++k) {
        const PinLeg& d = drives_[k];
        if (d.leg->Level == levels[d.at] || driveStamp_[d.at] == pass_) continue;
        driveStamp_[d.at] = pass_;
        toDrive_.push_back(d.at);
    }
}

void Simulator::Plan(int index, const NextVisit& next) {
    const auto i = static_cast<size_t>(index);
    TSimTime due = next.time;
    switch (next.when) {
    case NextVisit::When::Never:
        due = NeverDue;
        break;
    case NextVisit::When::NextPass:
        due = SimTime;
        break;
    case NextVisit::When::At:
        break;
    case NextVisit::When::Moving:
        movingLeg_[i] = next.leg;
        movingDelay_[i] = next.delay;
        movingLevel_[i] = next.level;
        movingFrom_[i] = pass_;
        if (!inMoving_[i]) {
            inMoving_[i] = 1;
            moving_.push_back(index);
        }
        break;
    }
    if (next.when != NextVisit::When::Moving) movingLeg_[i] = nullptr;
    if (due == NeverDue) {
        wheel_.Remove(index);
    } else if (due <= SimTime) {
        // Due already: the next pass visits it, whatever its time.
        wheel_.Remove(index);
        nextPass_.push_back(index);
    } else {
        wheel_.Set(index, due);
    }
}

bool Simulator::Quiet() const {
    if (full_ || plain_ || !TablesCurrent()) return false;
    if (!nextPass_.empty() || !changed_.empty() || !restless_.empty()) return false;
    if (SimTime < 1 || doneTime_ != SimTime - 1) return false;
    return wheel_.Earliest() > SimTime;
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
