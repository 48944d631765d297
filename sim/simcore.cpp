// SPDX-License-Identifier: MIT
#include "sim/simcore.h"

#include "model/specialpictures.h"

SimCore::SimCore(Schematic& schematic) : s_(schematic) {
    // Noted indicators follow their elements when earlier ones are deleted between a pass and
    // ShowIndicators (or by code that ShowIndicators' signals reach).
    followDeletions_ = QObject::connect(&s_, &Schematic::elementDeleted,
                                        [this](int index) { indicators_.ElementDeleted(index); });
    followRemovals_ = QObject::connect(&s_, &Schematic::elementsRemoved,
                                       [this] { indicators_.KeepFirst(s_.ElementCount()); });
}

SimCore::~SimCore() {
    QObject::disconnect(followDeletions_);
    QObject::disconnect(followRemovals_);
}

void SimCore::PrepareRun() {
    ShowIndicators();
    SimTime = 0;
    NetLevels.assign(s_.Conns().size(), 0);
    levelIds_ = s_.NetIds();
    levelsRevision_ = s_.Revision();
    for (int i = 1; i <= s_.ElementCount(); ++i) {
        TElement& e = s_.elementForRun(i);
        e.Transitions.clear();
        e.LevelBefore = false;
        e.RecordFrom = 0;
        // Switches go off and indicators dark: their pictures follow, so picture and State
        // agree from the start of the run.
        const int off = Behaviour(e.kind()).pictureOff;
        if (e.State && off >= 0) s_.SetBitmap(i, SmallPicture(off));
        e.State = false;
        NumberLegs(e);
        for (TLeg& leg : e.Legs)
            leg.Timer = 0;
    }
    // The numbering decides which legs are inputs, so the tables are read again.
    tablesRevision_ = NoRevision;
}

void SimCore::SyncNetLevels() {
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

void SimCore::RunUnit() {
    SimStep();
    SimStep();
    ++SimTime;
    ShowIndicators();
}

void SimCore::ShowIndicators() {
    // One at a time: the signal may reach code that deletes elements, and the list follows.
    for (int i = indicators_.TakeFirst(); i != 0; i = indicators_.TakeFirst()) {
        if (i > s_.ElementCount()) continue;
        const TElement& e = s_.element(i);
        const KindBehaviour& b = Behaviour(e.kind());
        if (b.pictureOn >= 0) s_.SetBitmap(i, SmallPicture(e.State ? b.pictureOn : b.pictureOff));
    }
}

QString SimCore::TimeText() const {
    return QStringLiteral("Время: ") + QString::number(SimTime);
}

void SimCore::ReadTables() {
    tablesRevision_ = s_.Revision();
    count_ = s_.ElementCount();
    elements_ = &s_.elementForRun(0);
    const auto elements = static_cast<size_t>(count_) + 1;
    pinBegin_.assign(elements + 1, 1);
    for (int i = 1; i <= count_; ++i)
        pinBegin_[static_cast<size_t>(i) + 1] =
            pinBegin_[static_cast<size_t>(i)] + static_cast<uint32_t>(elements_[i].Legs.size());
    pins_.assign(pinBegin_[elements], Pin{});
    behaviours_.assign(elements, &Behaviour(ElementKind::Unknown));
    codes_.assign(elements, ExprCode::Other);
    delays_.assign(elements, {});
    operands_.assign(elements * MaxOperands, ZeroPin);
    outputsBegin_.assign(elements + 1, 0);
    outputs_.clear();
    probes_ = 0;
    for (int i = 1; i <= count_; ++i) {
        const auto at = static_cast<size_t>(i);
        const TElement& e = elements_[i];
        outputsBegin_[at] = static_cast<uint32_t>(outputs_.size());
        for (size_t l = 0; l < e.Legs.size(); ++l) {
            const TLeg& leg = e.Legs[l];
            const uint32_t pin = pinBegin_[at] + static_cast<uint32_t>(l);
            pins_[pin] = {leg.Timer, leg.Level, leg.Pending};
            if (!leg.IsInput) outputs_.push_back(pin);
        }
        behaviours_[at] = &Behaviour(KindOfName(e.Name));
        if (e.kind() == ElementKind::Probe) ++probes_;
        // A script without a line names no expression: the value is 1, as for an unknown text.
        codes_[at] =
            e.Script.isEmpty() ? ExprCode::Other : ResolveExpression(ExpressionText(e.Script.first()));
        delays_[at] = {e.Reaction_LH, e.Reaction_HL};
        FindOperands(e, pinBegin_[at], &operands_[at * MaxOperands]);
    }
    outputsBegin_[elements] = static_cast<uint32_t>(outputs_.size());

    // Every net's pins split by side: the legs with X = 0 take the net's level at the start of a
    // pass, the last other leg in pin order gives it its level at the end. The model guarantees
    // that every reference names an element in use and one of its legs.
    const std::vector<TConns>& conns = s_.Conns();
    const size_t nets = conns.size();
    inputsBegin_.assign(nets + 1, 0);
    inputs_.clear();
    inputNets_.clear();
    lastDriver_.assign(nets, NoPin);
    driverElement_.assign(nets, 0);
    pinNet_.assign(pins_.size(), -1);
    for (size_t n = 0; n < nets; ++n) {
        inputsBegin_[n] = static_cast<uint32_t>(inputs_.size());
        for (const TPinRef& ref : conns[n]) {
            const uint32_t pin = pinBegin_[static_cast<size_t>(ref.Element)] + static_cast<uint32_t>(ref.Leg);
            pinNet_[pin] = static_cast<int32_t>(n);
            if (elements_[ref.Element].Legs[static_cast<size_t>(ref.Leg)].X == 0) {
                inputs_.push_back({pin, static_cast<uint32_t>(ref.Element)});
                inputNets_.push_back({pin, static_cast<uint32_t>(n)});
            } else {
                lastDriver_[n] = pin;
                driverElement_[n] = ref.Element;
            }
        }
    }
    inputsBegin_[nets] = static_cast<uint32_t>(inputs_.size());

    loose_.clear();
    for (int i = 1; i <= count_; ++i) {
        const TElement& e = elements_[i];
        const KindBehaviour& b = *behaviours_[static_cast<size_t>(i)];
        for (size_t l = 0; l < e.Legs.size(); ++l) {
            const uint32_t pin = pinBegin_[static_cast<size_t>(i)] + static_cast<uint32_t>(l);
            if (pinNet_[pin] < 0) loose_.push_back({pin, i, &e.Legs[l], b.reads(e.Legs[l], l)});
        }
    }
    context_ = {elements_,       pins_.data(),  pinBegin_.data(), outputsBegin_.data(),
                outputs_.data(), codes_.data(), operands_.data(), delays_.data(),
                SimTime,         Recording,     RecordLimit(),    RecordIndicators,
                &indicators_};
}

void SimCore::StorePins(int index) {
    TElement& e = elements_[index];
    const Pin* pin = pins_.data() + pinBegin_[static_cast<size_t>(index)];
    for (TLeg& leg : e.Legs) {
        leg.Level = pin->level;
        leg.Timer = pin->timer;
        leg.Pending = pin->pending;
        ++pin;
    }
}

void SimCore::StoreAllPins() {
    for (int i = 1; i <= count_; ++i)
        StorePins(i);
}

void SimCore::PlainPass() {
    Pin* const pins = pins_.data();
    const uint8_t* const levels = NetLevels.data();
    for (const NetPin& p : inputNets_)
        pins[p.pin].level = levels[p.at];
    const PassContext& context = Context();
    for (int i = 1; i <= count_; ++i)
        VisitElement(*behaviours_[static_cast<size_t>(i)], context, i, nullptr);
    uint8_t* const out = NetLevels.data();
    for (size_t n = 0; n < lastDriver_.size(); ++n)
        if (lastDriver_[n] != NoPin) out[n] = pins[lastDriver_[n]].level;
}
