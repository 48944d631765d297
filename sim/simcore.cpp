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
    behaviours_.assign(elements, &Behaviour(ElementKind::Unknown));
    codes_.assign(elements, ExprCode::Other);
    operands_.assign(elements * MaxOperands, nullptr);
    for (int i = 1; i <= count_; ++i) {
        TElement& e = elements_[i];
        behaviours_[static_cast<size_t>(i)] = &Behaviour(KindOfName(e.Name));
        // A script without a line names no expression: the value is 1, as for an unknown text.
        codes_[static_cast<size_t>(i)] =
            e.Script.isEmpty() ? ExprCode::Other : ResolveExpression(ExpressionText(e.Script.first()));
        FindOperands(e, &operands_[static_cast<size_t>(i) * MaxOperands]);
    }

    // Every net's pins split by side: the legs with X = 0 take the net's level at the start of a
    // pass, the last other leg in pin order gives it its level at the end. The model guarantees
    // that every reference names an element in use and one of its legs.
    const std::vector<TConns>& conns = s_.Conns();
    const size_t nets = conns.size();
    inputsBegin_.assign(nets + 1, 0);
    inputs_.clear();
    inputNets_.clear();
    lastDriver_.assign(nets, nullptr);
    driverElement_.assign(nets, 0);
    for (size_t n = 0; n < nets; ++n) {
        inputsBegin_[n] = static_cast<uint32_t>(inputs_.size());
        for (const TPinRef& pin : conns[n]) {
            TLeg* leg = &elements_[pin.Element].Legs[static_cast<size_t>(pin.Leg)];
            if (leg->X == 0) {
                inputs_.push_back({leg, static_cast<uint32_t>(pin.Element)});
                inputNets_.push_back({leg, static_cast<uint32_t>(n)});
            } else {
                lastDriver_[n] = leg;
                driverElement_[n] = pin.Element;
            }
        }
    }
    inputsBegin_[nets] = static_cast<uint32_t>(inputs_.size());
}

void SimCore::PlainPass() {
    const uint8_t* const levels = NetLevels.data();
    for (const PinLeg& p : inputNets_)
        p.leg->Level = levels[p.at];
    for (int i = 1; i <= count_; ++i)
        behaviours_[static_cast<size_t>(i)]->visit(VisitOf(i));
    uint8_t* const out = NetLevels.data();
    for (size_t n = 0; n < lastDriver_.size(); ++n)
        if (lastDriver_[n]) out[n] = lastDriver_[n]->Level;
}
