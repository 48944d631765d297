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

    // The driving pins grouped by element.
    drivesBegin_.assign(elements + 1, 0);
    for (size_t n = 0; n < nets; ++n)
        if (lastDriver_[n] != NoPin) ++drivesBegin_[static_cast<size_t>(driverElement_[n]) + 1];
    for (size_t i = 1; i <= elements; ++i)
        drivesBegin_[i] += drivesBegin_[i - 1];
    drives_.assign(drivesBegin_[elements], {ZeroPin, 0});
    std::vector<uint32_t> fill(drivesBegin_.begin(), drivesBegin_.end() - 1);
    for (size_t n = 0; n < nets; ++n)
        if (lastDriver_[n] != NoPin)
            drives_[fill[static_cast<size_t>(driverElement_[n])]++] = {lastDriver_[n],
                                                                       static_cast<uint32_t>(n)};

    watched_.clear();
    restless_.clear();
    for (int i = 1; i <= count_; ++i) {
        const TElement& e = elements_[i];
        const KindBehaviour& b = *behaviours_[static_cast<size_t>(i)];
        for (size_t l = 0; l < e.Legs.size(); ++l) {
            const uint32_t pin = pinBegin_[static_cast<size_t>(i)] + static_cast<uint32_t>(l);
            if (pinNet_[pin] >= 0 && e.Legs[l].X == 0 && b.writes(e.Legs[l], l))
                restless_.push_back({pin, static_cast<uint32_t>(pinNet_[pin]), i});
        }
        if (b.changedFromOutside) watched_.push_back(i);
    }

    stamp_.assign(elements, 0);
    movingPin_.assign(elements, ZeroPin);
    movingDelay_.assign(elements, 0);
    movingLevel_.assign(elements, 0);
    movingFrom_.assign(elements, 0);
    inMoving_.assign(elements, 0);
    moving_.clear();
    // The pins were just read from the legs.
    allTouched_ = false;
    touched_.assign(elements, 0);
    touchedList_.clear();
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
    if (!TablesCurrent()) {
        ReadTables();
        return;
    }
    // Plain and full passes visit every element anyway.
    const bool tracking = !full_ && !plain_;
    ReadLoosePins([this, tracking](int element) {
        if (tracking) nextPass_.push_back(element);
    });
    if (!tracking) return;
    const PassContext& context = Context();
    for (int i : watched_)
        if (behaviours_[static_cast<size_t>(i)]->changedFromOutside(context, i)) nextPass_.push_back(i);
}

void Simulator::End() {
    CatchUpAll();
    if (allTouched_) {
        StoreAllPins();
    } else {
        for (int i : touchedList_)
            StorePins(i);
    }
    for (int i : touchedList_)
        touched_[static_cast<size_t>(i)] = 0;
    touchedList_.clear();
    allTouched_ = false;
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
    Pin& pin = pins_[movingPin_[i]];
    pin.timer = DueTime(doneTime_, movingDelay_[i]);
    pin.pending = movingLevel_[i];
    movingFrom_[i] = done_;
}

void Simulator::CatchUpAll() {
    size_t kept = 0;
    for (int i : moving_) {
        if (movingPin_[static_cast<size_t>(i)] != ZeroPin) {
            CatchUp(i);
            Touch(i);
            moving_[kept++] = i;
        } else {
            inMoving_[static_cast<size_t>(i)] = 0;
        }
    }
    moving_.resize(kept);
}

[[gnu::always_inline]] inline void Simulator::VisitTracked(const PassContext& context, int index) {
    const auto i = static_cast<size_t>(index);
    if (movingPin_[i] != ZeroPin) CatchUp(index);
    Touch(index);
    NextVisit next;
    VisitElement(*behaviours_[i], context, index, &next);
    Plan(index, next);
    // Loads come before the visits, so a net takes its new level at once; each net has one last
    // output, and each element one visit in a pass.
    uint8_t* const levels = NetLevels.data();
    for (uint32_t k = drivesBegin_[i]; k < drivesBegin_[i + 1]; ++k) {
        const NetPin& d = drives_[k];
        const uint8_t level = pins_[d.pin].level;
        if (level == levels[d.at]) continue;
        levels[d.at] = level;
        changed_.push_back(d.at);
    }
}

[[gnu::always_inline]] inline void Simulator::Plan(int index, const NextVisit& next) {
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
        movingPin_[i] = next.pin;
        movingDelay_[i] = next.delay;
        movingLevel_[i] = next.level;
        movingFrom_[i] = pass_;
        if (!inMoving_[i]) {
            inMoving_[i] = 1;
            moving_.push_back(index);
        }
        break;
    }
    if (next.when != NextVisit::When::Moving) movingPin_[i] = ZeroPin;
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

void Simulator::DropMoving() {
    CatchUpAll();
    for (int i : moving_) {
        movingPin_[static_cast<size_t>(i)] = ZeroPin;
        inMoving_[static_cast<size_t>(i)] = 0;
    }
    moving_.clear();
}

void Simulator::FullPass() {
    // Every Timer as the passes left it, then the bookkeeping starts afresh.
    DropMoving();
    allTouched_ = true;
    full_ = false;
    plain_ = false;
    trackedPasses_ = 0;
    visits8_ = 0;
    wheel_.Reset(count_, SimTime);
    nextPass_.clear();
    changed_.clear();

    Pin* const pins = pins_.data();
    uint8_t* const levels = NetLevels.data();
    for (const NetPin& p : inputNets_)
        pins[p.pin].level = levels[p.at];
    const PassContext& context = Context();
    for (int i = 1; i <= count_; ++i) {
        NextVisit next;
        VisitElement(*behaviours_[static_cast<size_t>(i)], context, i, &next);
        Plan(i, next);
    }
    for (size_t n = 0; n < lastDriver_.size(); ++n) {
        if (lastDriver_[n] == NoPin || pins[lastDriver_[n]].level == levels[n]) continue;
        levels[n] = pins[lastDriver_[n]].level;
        changed_.push_back(static_cast<uint32_t>(n));
    }
}

void Simulator::StretchPass() {
    allTouched_ = true;
    PlainPass();
    // At the end of the stretch the next pass rebuilds the bookkeeping and tries tracking again.
    if (--plainLeft_ <= 0) full_ = true;
}

void Simulator::TrackedPass() {
    if (SimTime > wheel_.now()) wheel_.Advance(SimTime, [this](int i) { Wake(i); });
    for (int i : nextPass_)
        Wake(i);
    nextPass_.clear();

    Pin* const pins = pins_.data();
    uint8_t* const levels = NetLevels.data();
    const NetPin* const inputs = inputs_.data();
    for (uint32_t n : changed_) {
        const uint8_t level = levels[n];
        const NetPin* const end = inputs + inputsBegin_[n + 1];
        for (const NetPin* p = inputs + inputsBegin_[n]; p != end; ++p) {
            if (pins[p->pin].level == level) continue;
            pins[p->pin].level = level;
            Wake(static_cast<int>(p->at));
        }
    }
    changed_.clear();
    // A pin an element wrote that a net loads is loaded again, as every pass loads every input.
    for (const RestlessPin& r : restless_) {
        if (pins[r.pin].level == levels[r.net]) continue;
        pins[r.pin].level = levels[r.net];
        Wake(r.element);
    }

    // Visits in any order: a visit reads and writes only its own element's legs.
    const PassContext& context = Context();
    for (size_t k = 0; k < woken_.size(); ++k)
        VisitTracked(context, woken_[k]);
    const auto visited = static_cast<int64_t>(woken_.size());
    woken_.clear();

    // When a good part of the elements is visited in pass after pass, the bookkeeping costs more
    // than it saves: run plain passes for a stretch, longer each time the tracking found the same
    // again right away. The visits are averaged over some passes, so a burst does not count. A small
    // schematic always tracks: a pass costs little either way.
    ++trackedPasses_;
    visits8_ += visited - visits8_ / 8;
    if (count_ >= MinPlainElements && visits8_ * 100 > PlainPercent * 8 * count_) {
        plainStretch_ = trackedPasses_ <= 4 ? std::min(plainStretch_ * 2, MaxPlainStretch) : MinPlainStretch;
        plainLeft_ = plainStretch_;
        plain_ = true;
    }
}

bool Simulator::Quiet() const {
    if (!changed_.empty() || !nextPass_.empty() || !restless_.empty() || full_ || plain_) return false;
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
