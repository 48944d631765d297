// SPDX-License-Identifier: MIT
#include "model/schematic.h"

#include <algorithm>
#include <cstddef>
#include <map>
#include <utility>

// The state an edit is about to change, noted at its first change, and the elements it deleted.
struct Schematic::Recorder {
    TCounters counters;
    bool netsNoted = false;
    std::vector<TNetRecord> nets;
    bool navigatorNoted = false;
    std::vector<TNodeRecord> nodes;
    // Deleted elements by their index before the edit.
    std::map<int, TElement> deleted;
    int appended = 0;
    // Position and delays by element index, as they were.
    std::map<int, TElementFields> fields;
};

namespace {

// Element numbers when the elements `deleted` (increasing) of `oldCount` go: for each old number
// its new one (0 for a deleted element), or with `back` for each new number its old one.
std::vector<int32_t> Renumbering(int32_t oldCount, const std::vector<int>& deleted, bool back) {
    std::vector<int32_t> map(static_cast<size_t>(oldCount) + 1, 0);
    size_t d = 0;
    int32_t now = 0;
    for (int32_t old = 1; old <= oldCount; ++old) {
        if (d < deleted.size() && deleted[d] == old) {
            ++d;
            continue;
        }
        ++now;
        if (back)
            map[static_cast<size_t>(now)] = old;
        else
            map[static_cast<size_t>(old)] = now;
    }
    return map;
}

} // namespace

Schematic::Schematic(QObject* parent) : QObject(parent), elements_(static_cast<size_t>(MaxElements) + 1) {
    // The navigator's listing is part of the schematic: any change of it raises the revision,
    // whoever makes it.
    QStandardItemModel* tree = &navigator_.model();
    const auto bump = [this] { ++revision_; };
    connect(tree, &QAbstractItemModel::rowsInserted, this, bump);
    connect(tree, &QAbstractItemModel::rowsRemoved, this, bump);
    connect(tree, &QAbstractItemModel::rowsMoved, this, bump);
    connect(tree, &QAbstractItemModel::dataChanged, this, bump);
    connect(tree, &QAbstractItemModel::modelReset, this, bump);
    connect(tree, &QAbstractItemModel::layoutChanged, this, bump);
}

Schematic::~Schematic() = default;

int Schematic::AddElement(TElement e) {
    if (isFull()) return 0;
    e.Selected = false;
    e.Transitions.clear();
    e.LevelBefore = false;
    if (recorder_) ++recorder_->appended;
    ++elementCount_;
    elements_[static_cast<size_t>(elementCount_)] = std::move(e);
    ++revision_;
    Q_EMIT elementAdded(elementCount_);
    return elementCount_;
}

namespace {

uint64_t PinKey(const TPinRef& pin) {
    return static_cast<uint64_t>(static_cast<uint32_t>(pin.Element)) << 32 | static_cast<uint32_t>(pin.Leg);
}

} // namespace

const std::unordered_set<uint64_t>& Schematic::PinIndex() const {
    if (pinIndexRevision_ != revision_) {
        pinIndex_.clear();
        for (const TConns& net : conns_)
            for (const TPinRef& pin : net)
                pinIndex_.insert(PinKey(pin));
        pinIndexRevision_ = revision_;
    }
    return pinIndex_;
}

NetCheck Schematic::CheckNet(const TConns& net) const {
    const std::unordered_set<uint64_t>& used = PinIndex();
    std::unordered_set<uint64_t> seen;
    for (const TPinRef& pin : net) {
        if (pin.Element < 1 || pin.Element > elementCount_) return {NetFault::NoSuchElement, pin};
        if (pin.Leg < 0 || pin.Leg >= static_cast<int>(element(pin.Element).Legs.size()))
            return {NetFault::NoSuchLeg, pin};
        if (used.count(PinKey(pin)) || !seen.insert(PinKey(pin)).second) return {NetFault::PinTaken, pin};
    }
    if (net.size() < 2) return {NetFault::TooFewPins, net.empty() ? TPinRef{} : net.front()};
    return {};
}

NetCheck Schematic::AddNet(TConns net) {
    const NetCheck check = CheckNet(net);
    if (!check) return check;
    NoteNets();
    for (const TPinRef& pin : net)
        pinIndex_.insert(PinKey(pin));
    conns_.push_back(std::move(net));
    netIds_.push_back(nextNetId_++);
    pinIndexRevision_ = ++revision_;
    Q_EMIT netsChanged();
    return check;
}

int Schematic::NetOf(TPinRef pin) const {
    for (size_t n = 0; n < conns_.size(); ++n)
        for (const TPinRef& p : conns_[n])
            if (p == pin) return static_cast<int>(n);
    return -1;
}

bool Schematic::PinIsConnected(TPinRef pin) const {
    return NetOf(pin) >= 0;
}

void Schematic::EraseNet(size_t n) {
    conns_.erase(conns_.begin() + static_cast<std::ptrdiff_t>(n));
    netIds_.erase(netIds_.begin() + static_cast<std::ptrdiff_t>(n));
}

void Schematic::DropShortNets() {
    for (size_t n = 0; n < conns_.size();) {
        if (conns_[n].size() < 2)
            EraseNet(n);
        else
            ++n;
    }
}

bool Schematic::ConnectPins(TPinRef a, TPinRef b) {
    const auto exists = [this](TPinRef p) {
        return p.Element >= 1 && p.Element <= elementCount_ && p.Leg >= 0 &&
               p.Leg < static_cast<int>(element(p.Element).Legs.size());
    };
    if (!exists(a) || !exists(b) || a == b) return false;
    const int na = NetOf(a), nb = NetOf(b);
    if (na >= 0 && na == nb) return false;
    NoteNets();
    if (na < 0 && nb < 0) {
        conns_.push_back({a, b});
        netIds_.push_back(nextNetId_++);
    } else if (na < 0) {
        conns_[static_cast<size_t>(nb)].push_back(a);
    } else if (nb < 0) {
        conns_[static_cast<size_t>(na)].push_back(b);
    } else {
        TConns& into = conns_[static_cast<size_t>(na)];
        const TConns from = conns_[static_cast<size_t>(nb)];
        into.insert(into.end(), from.begin(), from.end());
        EraseNet(static_cast<size_t>(nb));
    }
    ++revision_;
    Q_EMIT netsChanged();
    return true;
}

void Schematic::DisconnectPin(TPinRef pin) {
    if (NetOf(pin) < 0) return;
    NoteNets();
    bool changed = false;
    for (TConns& net : conns_)
        changed |= std::erase(net, pin) > 0;
    if (!changed) return;
    DropShortNets();
    ++revision_;
    Q_EMIT netsChanged();
}

void Schematic::DeleteSelected() {
    bool changed = false;
    for (int i = 1; i <= elementCount_;) {
        if (!element(i).Selected) {
            ++i;
            continue;
        }
        changed = true;
        NoteNets();
        NoteDeleted(i);
        // A channel shows its probe: a deleted probe leaves its channel empty, a later one
        // keeps its channel under its new index.
        for (int c = 1; c <= 5; ++c) {
            int32_t& probe = oscChannel_[static_cast<size_t>(c)];
            if (probe == i)
                probe = 0;
            else if (probe > i)
                --probe;
        }
        for (TConns& net : conns_)
            std::erase_if(net, [i](const TPinRef& p) { return p.Element == i; });
        DropShortNets();
        for (TConns& net : conns_)
            for (TPinRef& p : net)
                if (p.Element > i) --p.Element;
        for (int k = i; k < elementCount_; ++k)
            elements_[static_cast<size_t>(k)] = std::move(elements_[static_cast<size_t>(k) + 1]);
        elements_[static_cast<size_t>(elementCount_)] = TElement{};
        --elementCount_;
        ++revision_;
        Q_EMIT elementDeleted(i);
    }
    if (!changed) return;
    Q_EMIT elementsRemoved();
    Q_EMIT channelsChanged();
    Q_EMIT netsChanged();
}

bool Schematic::SetOscChannel(int channel, int element) {
    if (channel < 1 || channel > 5 || element < 0 || element > elementCount_) return false;
    oscChannel_[static_cast<size_t>(channel)] = element;
    Q_EMIT channelsChanged();
    return true;
}

void Schematic::SetOscCount(int32_t count) {
    oscCount_ = std::clamp(count, 0, 5);
    Q_EMIT channelsChanged();
}

void Schematic::RaiseChipCount(int32_t n) {
    chipCount_ = std::max(chipCount_, n);
}

void Schematic::Clear() {
    Q_ASSERT(!recorder_);
    for (int i = 1; i <= elementCount_; ++i)
        elements_[static_cast<size_t>(i)] = TElement{};
    elementCount_ = 0;
    conns_.clear();
    netIds_.clear();
    cons_.clear();
    oscCount_ = 0;
    oscChannel_.fill(0);
    navigator_.clear();
    ++revision_;
    Q_EMIT elementsRemoved();
    Q_EMIT channelsChanged();
    Q_EMIT netsChanged();
}

void Schematic::SelectElement(int index) {
    if (!element(index).Selected) ToggleSelection(index);
}

void Schematic::DeselectElement(int index) {
    if (element(index).Selected) ToggleSelection(index);
}

void Schematic::SelectAll() {
    for (int i = 1; i <= elementCount_; ++i)
        SelectElement(i);
}

void Schematic::DeselectAll() {
    for (int i = 1; i <= elementCount_; ++i)
        DeselectElement(i);
}

void Schematic::InvertSelection() {
    for (int i = 1; i <= elementCount_; ++i)
        ToggleSelection(i);
}

void Schematic::RemoveNet(int n) {
    if (n < 0 || n >= static_cast<int>(conns_.size())) return;
    NoteNets();
    EraseNet(static_cast<size_t>(n));
    ++revision_;
    Q_EMIT netsChanged();
}

void Schematic::SetCoord(int index, TPoint32 coord) {
    NoteFields(index);
    elements_[static_cast<size_t>(index)].Coord = coord;
    ++revision_;
    Q_EMIT elementMoved(index);
}

void Schematic::SetBitmap(int index, QImage bitmap) {
    TElement& e = elements_[static_cast<size_t>(index)];
    e.Bitmap = std::move(bitmap);
    e.Selected = false;
    Q_EMIT elementImageChanged(index);
}

void Schematic::ToggleSelection(int index) {
    TElement& e = elements_[static_cast<size_t>(index)];
    e.Selected = !e.Selected;
    Q_EMIT selectionChanged(index);
}

QStandardItem* Schematic::ListChip(const QString& mark, int elementCount) {
    NoteNavigator();
    const int n = ++chipCount_;
    QStandardItem* group = Navigator::makeNode(mark, Navigator::ImageGroup);
    Navigator::setDataRef(group, n);
    navigator_.insertRoot(0, group);
    for (int j = 1; j <= elementCount; ++j) {
        const QString name =
            elementCount == 1 ? QStringLiteral("D%1").arg(n) : QStringLiteral("D%1.%2").arg(n).arg(j);
        group->appendRow(Navigator::makeNode(name, Navigator::ImageListed));
    }
    ++revision_;
    return group;
}

void Schematic::DeriveCons(QStringList* log) {
    cons_.assign(conns_.size(), {});
    for (size_t n = 0; n < conns_.size(); ++n) {
        const TConns& net = conns_[n];
        TCons& cells = cons_[n];
        cells.resize(net.size());
        if (log) *log << QStringLiteral("Cons[i] %1").arg(net.size());
        for (size_t j = 0; j < net.size(); ++j) {
            const TElement& e = element(net[j].Element);
            const TLeg& leg = e.Legs[static_cast<size_t>(net[j].Leg)];
            // Wraps instead of overflowing for coordinates near the int32 limits.
            cells[j] = {
                static_cast<int32_t>(static_cast<uint32_t>(e.Coord.x) + static_cast<uint32_t>(leg.X)),
                static_cast<int32_t>(static_cast<uint32_t>(e.Coord.y) + static_cast<uint32_t>(leg.Y))};
            if (log) {
                *log << QStringLiteral("Cons[%1][%2]x %3").arg(n).arg(j).arg(cells[j].x)
                     << QStringLiteral("Cons[%1][%2]y %3").arg(n).arg(j).arg(cells[j].y);
            }
        }
    }
}

TCounters Schematic::Counters() const {
    return {chipCount_, oscCount_, oscChannel_};
}

void Schematic::SetCounters(const TCounters& counters) {
    const bool channels = counters.oscCount != oscCount_ || counters.channels != oscChannel_;
    chipCount_ = counters.chipCount;
    oscCount_ = counters.oscCount;
    oscChannel_ = counters.channels;
    if (channels) Q_EMIT channelsChanged();
}

std::vector<TNetRecord> Schematic::NetRecords() const {
    std::vector<TNetRecord> records;
    records.reserve(conns_.size());
    for (size_t n = 0; n < conns_.size(); ++n)
        records.push_back({netIds_[n], conns_[n]});
    return records;
}

void Schematic::ReplaceNets(const std::vector<TNetRecord>& from, const std::vector<TNetRecord>& to) {
    if (from.empty() && to.empty()) return;
    const auto leaving = [&from](uint64_t id) {
        const auto it = std::lower_bound(from.begin(), from.end(), id,
                                         [](const TNetRecord& r, uint64_t v) { return r.id < v; });
        return it != from.end() && it->id == id;
    };
    std::vector<TConns> conns;
    std::vector<uint64_t> ids;
    conns.reserve(conns_.size() + to.size());
    ids.reserve(conns_.size() + to.size());
    size_t j = 0;
    const auto takeUpTo = [&](uint64_t id) {
        for (; j < to.size() && to[j].id < id; ++j) {
            conns.push_back(to[j].pins);
            ids.push_back(to[j].id);
        }
    };
    for (size_t n = 0; n < conns_.size(); ++n) {
        takeUpTo(netIds_[n]);
        if (leaving(netIds_[n])) continue;
        conns.push_back(std::move(conns_[n]));
        ids.push_back(netIds_[n]);
    }
    takeUpTo(~uint64_t{0});
    conns_ = std::move(conns);
    netIds_ = std::move(ids);
}

void Schematic::RenumberPins(const std::vector<int32_t>& map) {
    for (TConns& net : conns_)
        for (TPinRef& p : net)
            p.Element = map[static_cast<size_t>(p.Element)];
}

void Schematic::RemoveSlot(int index) {
    for (int k = index; k < elementCount_; ++k)
        elements_[static_cast<size_t>(k)] = std::move(elements_[static_cast<size_t>(k) + 1]);
    elements_[static_cast<size_t>(elementCount_)] = TElement{};
    --elementCount_;
}

void Schematic::InsertSlot(int index, TElement e) {
    ++elementCount_;
    for (int k = elementCount_; k > index; --k)
        elements_[static_cast<size_t>(k)] = std::move(elements_[static_cast<size_t>(k) - 1]);
    elements_[static_cast<size_t>(index)] = std::move(e);
}

void Schematic::NoteNets() {
    if (!recorder_ || recorder_->netsNoted) return;
    recorder_->netsNoted = true;
    recorder_->nets = NetRecords();
}

void Schematic::NoteNavigator() {
    if (!recorder_ || recorder_->navigatorNoted) return;
    recorder_->navigatorNoted = true;
    recorder_->nodes = NavigatorRecords(navigator_);
}

void Schematic::NoteFields(int index) {
    if (!recorder_ || recorder_->fields.count(index)) return;
    const TElement& e = element(index);
    TElementFields f;
    f.index = index;
    f.coordBefore = e.Coord;
    f.lhBefore = e.Reaction_LH;
    f.hlBefore = e.Reaction_HL;
    recorder_->fields.emplace(index, f);
}

void Schematic::NoteDeleted(int index) {
    if (!recorder_) return;
    Q_ASSERT(recorder_->appended == 0 && recorder_->fields.empty());
    // The index as it was before the deletions of this edit.
    int before = index;
    for (const auto& entry : recorder_->deleted) {
        if (entry.first > before) break;
        ++before;
    }
    recorder_->deleted.emplace(before, std::move(elements_[static_cast<size_t>(index)]));
}

void Schematic::StartRecording() {
    Q_ASSERT(!recorder_);
    recorder_ = std::make_unique<Recorder>();
    recorder_->counters = Counters();
}

SchematicChange Schematic::StopRecording() {
    SchematicChange c;
    if (!recorder_) return c;
    const std::unique_ptr<Recorder> r = std::move(recorder_);
    c.before = r->counters;
    c.after = Counters();
    for (auto& [index, e] : r->deleted) {
        c.deleted.push_back(index);
        c.deletedElements.push_back(std::move(e));
    }
    if (r->appended > 0) {
        c.appendedAt = elementCount_ - r->appended + 1;
        for (int i = c.appendedAt; i <= elementCount_; ++i)
            c.appended.push_back(element(i));
    }
    for (auto& [index, f] : r->fields) {
        const TElement& e = element(index);
        f.coordAfter = e.Coord;
        f.lhAfter = e.Reaction_LH;
        f.hlAfter = e.Reaction_HL;
        if (f.coordAfter != f.coordBefore || f.lhAfter != f.lhBefore || f.hlAfter != f.hlBefore)
            c.fields.push_back(f);
    }
    if (r->netsNoted) {
        std::vector<TNetRecord> after = NetRecords();
        if (!c.deleted.empty()) {
            // Pins in the numbering before the deletions, like the nets as they were.
            const std::vector<int32_t> map =
                Renumbering(elementCount_ + static_cast<int32_t>(c.deleted.size()), c.deleted, true);
            for (TNetRecord& net : after)
                for (TPinRef& p : net.pins)
                    p.Element = map[static_cast<size_t>(p.Element)];
        }
        // Both lists increase by id: one walk pairs them.
        size_t i = 0, j = 0;
        while (i < r->nets.size() || j < after.size()) {
            if (j == after.size() || (i < r->nets.size() && r->nets[i].id < after[j].id)) {
                c.netsBefore.push_back(std::move(r->nets[i++]));
            } else if (i == r->nets.size() || after[j].id < r->nets[i].id) {
                c.netsAfter.push_back(std::move(after[j++]));
            } else {
                if (r->nets[i].pins != after[j].pins) {
                    c.netsBefore.push_back(std::move(r->nets[i]));
                    c.netsAfter.push_back(std::move(after[j]));
                }
                ++i;
                ++j;
            }
        }
    }
    if (r->navigatorNoted) c.navigator = DiffNavigator(r->nodes, NavigatorRecords(navigator_));
    return c;
}

namespace {

// The notices of a change, sent once the whole change is made, in the order of its steps.
enum class Notice { Moved, Inserted, Deleted, Added };

} // namespace

void Schematic::Notify(const std::vector<std::pair<int, int>>& notices) {
    for (const auto& [kind, index] : notices) {
        switch (static_cast<Notice>(kind)) {
        case Notice::Moved:
            Q_EMIT elementMoved(index);
            break;
        case Notice::Inserted:
            Q_EMIT elementInserted(index);
            break;
        case Notice::Deleted:
            Q_EMIT elementDeleted(index);
            break;
        case Notice::Added:
            Q_EMIT elementAdded(index);
            break;
        }
    }
}

void Schematic::Revert(const SchematicChange& c) {
    Q_ASSERT(!recorder_);
    std::vector<std::pair<int, int>> notices;
    const auto note = [&notices](Notice n, int index) { notices.emplace_back(static_cast<int>(n), index); };
    ApplyNavigatorChange(navigator_, c.navigator, false);
    for (auto it = c.fields.rbegin(); it != c.fields.rend(); ++it) {
        TElement& e = elements_[static_cast<size_t>(it->index)];
        e.Reaction_LH = it->lhBefore;
        e.Reaction_HL = it->hlBefore;
        if (e.Coord == it->coordBefore) continue;
        e.Coord = it->coordBefore;
        note(Notice::Moved, it->index);
    }
    if (!c.deleted.empty()) {
        // The pins go back to the numbering before the deletions, then the elements to their slots.
        RenumberPins(Renumbering(elementCount_ + static_cast<int32_t>(c.deleted.size()), c.deleted, true));
        for (size_t k = 0; k < c.deleted.size(); ++k) {
            InsertSlot(c.deleted[k], c.deletedElements[k]);
            note(Notice::Inserted, c.deleted[k]);
        }
    }
    ReplaceNets(c.netsAfter, c.netsBefore);
    for (int i = c.appendedAt + static_cast<int>(c.appended.size()) - 1; i >= c.appendedAt && i >= 1; --i) {
        RemoveSlot(i);
        note(Notice::Deleted, i);
    }
    ++revision_;
    Notify(notices);
    if (c.before != c.after) SetCounters(c.before);
}

void Schematic::Reapply(const SchematicChange& c) {
    Q_ASSERT(!recorder_);
    std::vector<std::pair<int, int>> notices;
    const auto note = [&notices](Notice n, int index) { notices.emplace_back(static_cast<int>(n), index); };
    for (const TElement& e : c.appended) {
        InsertSlot(elementCount_ + 1, e);
        note(Notice::Added, elementCount_);
    }
    ReplaceNets(c.netsBefore, c.netsAfter);
    if (!c.deleted.empty()) {
        const std::vector<int32_t> map = Renumbering(elementCount_, c.deleted, false);
        for (auto it = c.deleted.rbegin(); it != c.deleted.rend(); ++it) {
            RemoveSlot(*it);
            note(Notice::Deleted, *it);
        }
        RenumberPins(map);
    }
    for (const TElementFields& f : c.fields) {
        TElement& e = elements_[static_cast<size_t>(f.index)];
        e.Reaction_LH = f.lhAfter;
        e.Reaction_HL = f.hlAfter;
        if (e.Coord == f.coordAfter) continue;
        e.Coord = f.coordAfter;
        note(Notice::Moved, f.index);
    }
    ApplyNavigatorChange(navigator_, c.navigator, true);
    ++revision_;
    Notify(notices);
    if (c.before != c.after) SetCounters(c.after);
}
