// SPDX-License-Identifier: MIT
#include "model/schematic.h"

#include <algorithm>
#include <cstddef>
#include <utility>

void XorImage(QImage& image, uint32_t rgb) {
    if (image.format() != QImage::Format_RGB32) image = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<uint32_t*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] ^= rgb;
    }
}

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
    if (na < 0 && nb < 0) {
        conns_.push_back({a, b});
        netIds_.push_back(nextNetId_++);
    } else if (na == nb) {
        return false;
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
    EraseNet(static_cast<size_t>(n));
    ++revision_;
    Q_EMIT netsChanged();
}

void Schematic::SetCoord(int index, TPoint32 coord) {
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

void Schematic::DrawOnBitmap(int index, const std::function<void(QImage&)>& draw) {
    draw(elements_[static_cast<size_t>(index)].Bitmap);
    Q_EMIT elementImageChanged(index);
}

void Schematic::ToggleSelection(int index) {
    TElement& e = elements_[static_cast<size_t>(index)];
    if (!e.Bitmap.isNull()) {
        // The tint pen is wider than any picture, so it covers every pixel: an exclusive or of
        // the whole picture with yellow, undone by the next toggle.
        XorImage(e.Bitmap, 0x00FFFF00u);
    }
    e.Selected = !e.Selected;
    Q_EMIT elementImageChanged(index);
}

QStandardItem* Schematic::ListChip(const QString& mark, int elementCount) {
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
