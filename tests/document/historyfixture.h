// SPDX-License-Identifier: MIT
#pragma once

#include "document/schematicdocument.h"
#include "model/invariants.h"
#include "model/schematicfiles.h"
#include "model/specialelements.h"

#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

// Everything an undo must bring back: the saved file set, the routing grids with the carried
// direction, the counters and channels, the navigator's images and data references, the net ids
// and what the files leave out of each element (size, legs, script, picture).
struct Snapshot {
    QByteArray tree, elements, nets;
    RoutingGrids grids;
    TCounters counters;
    std::vector<uint64_t> netIds;
    std::vector<std::pair<int, QVariant>> nodes;
    std::vector<QString> elementDetails;
    std::vector<QImage> pictures;

    // The first part that differs from `o`, empty when none.
    std::string DifferenceFrom(const Snapshot& o) const {
        if (tree != o.tree) return "tree file";
        if (elements != o.elements) return "element file";
        if (nets != o.nets) return "net file";
        if (grids.WireMap != o.grids.WireMap) return "WireMap";
        if (grids.NetMap != o.grids.NetMap) return "NetMap";
        if (grids.RouteDirection != o.grids.RouteDirection) return "carried direction";
        if (!(counters == o.counters)) return "counters";
        if (netIds != o.netIds) return "net ids";
        if (nodes != o.nodes) return "navigator images or data";
        if (elementDetails != o.elementDetails) return "element details";
        if (pictures != o.pictures) return "element pictures";
        return {};
    }
};

inline Snapshot TakeSnapshot(SchematicDocument& d) {
    const Schematic& s = d.schematic();
    Snapshot shot;
    shot.tree = WriteTreeFile(s.navigator());
    shot.elements = WriteElementFile(s);
    shot.nets = WriteNetFile(s);
    shot.grids = d.grids();
    shot.counters = {s.ChipCount(), s.OscCount(), {}};
    for (int c = 1; c <= 5; ++c)
        shot.counters.channels[static_cast<size_t>(c)] = s.OscChannel(c);
    shot.netIds = s.NetIds();
    for (const QStandardItem* node : s.navigator().nodesInTreeOrder())
        shot.nodes.emplace_back(Navigator::imageIndex(node), node->data(Navigator::DataRole));
    for (int i = 1; i <= s.ElementCount(); ++i) {
        const TElement& e = s.element(i);
        QString legs;
        for (const TLeg& leg : e.Legs)
            legs += QStringLiteral("%1,%2 ").arg(leg.X).arg(leg.Y);
        shot.elementDetails.push_back(
            QStringLiteral("%1x%2 %3| %4").arg(e.CellWidth).arg(e.CellHeight).arg(legs, e.Script.join(u';')));
        shot.pictures.push_back(e.Bitmap);
    }
    return shot;
}

// A small picture for chip elements placed in the tests: 4 x 5 cells, pins on rows 2 and 4 left,
// row 2 right.
inline TPlacementData TestChipData() {
    TPlacementData d;
    d.picture = QImage(40, 50, QImage::Format_RGB32);
    d.picture.fill(Qt::white);
    d.leftPins = QStringLiteral("0101");
    d.rightPins = QStringLiteral("01");
    d.script = QStringList{QStringLiteral("Y=~1")};
    d.reactionLH = 3;
    d.reactionHL = 2;
    return d;
}

inline PlacementSource TestPlacement() {
    return [](const QStandardItem* node, TPlacementData* data, QString*) {
        const ElementKind kind = KindOfName(node->text());
        if (kind == ElementKind::Unknown) return false;
        *data = kind == ElementKind::Chip ? TestChipData() : SpecialElements::Placement(kind);
        return true;
    };
}

// Random edits of every kind, and things that are no edits in between (routings, selection), on a
// document; deterministic for a seed. Without `routings` nothing routes but the edits themselves.
class RandomEdits {
public:
    RandomEdits(SchematicDocument& d, uint32_t seed, bool routings = true)
        : d_(d), s_(d.schematic()), rng_(seed), routings_(routings) {}

    int range(int lo, int hi) { return lo + static_cast<int>(rng_() % static_cast<uint32_t>(hi - lo + 1)); }
    bool chance(int percent) { return range(1, 100) <= percent; }

    // One edit attempt (it may change nothing).
    void Edit() {
        switch (range(0, 13)) {
        case 0:
            d_.ListChip(QStringLiteral("K%1").arg(range(1, 3)), range(0, 4));
            break;
        case 1:
            d_.ListSpecial(static_cast<ElementKind>(range(1, 4)));
            break;
        case 2:
        case 3:
            if (QStandardItem* node = RandomNode(true)) d_.PlaceNode(node, chance(30));
            break;
        case 4:
        case 5:
            if (const auto a = RandomPin(), b = RandomPin(); a && b) d_.ConnectPins(*a, *b);
            break;
        case 6:
            if (const auto a = RandomConnectedPin()) d_.DisconnectPin(*a);
            break;
        case 7:
            d_.RemoveNet(range(-1, static_cast<int>(s_.Conns().size())));
            break;
        case 8:
            RandomSelection();
            d_.DeleteSelected();
            break;
        case 9:
            RandomSelection();
            d_.DestroySelected();
            break;
        case 10:
            d_.RemoveFromNavigator(RandomNode(false));
            break;
        case 11: {
            std::vector<std::pair<int, TPoint32>> moves;
            for (int k = range(1, 3); k > 0 && s_.ElementCount() > 0; --k)
                moves.emplace_back(range(1, s_.ElementCount()), TPoint32{range(0, 60), range(0, 60)});
            d_.MoveElements(moves);
            break;
        }
        case 12: // a drag: many moves, some routings on the way, one step
            if (s_.ElementCount() > 0) {
                // The first move opens the step (a routing before it would belong to the state
                // before the drag).
                const int k = range(1, s_.ElementCount());
                const TPoint32 start = s_.element(k).Coord;
                d_.MoveElement(k, {start.x < 100 ? start.x + 1 : start.x - 1, start.y});
                for (int m = range(0, 6); m > 0; --m) {
                    const TPoint32 c = s_.element(k).Coord;
                    d_.MoveElement(
                        k, {std::clamp(c.x + range(-3, 3), 0, 180), std::clamp(c.y + range(-3, 3), 0, 180)});
                    if (routings_ && chance(40)) d_.Reroute();
                }
                if (routings_) d_.Reroute();
                d_.EndMove();
            }
            break;
        default:
            if (s_.ElementCount() > 0)
                d_.SetGeneratorDurations(range(1, s_.ElementCount()), range(0, 9), range(0, 9));
            break;
        }
    }

    // What is no edit: a routing (as a zoom or a click makes one) or a change of the selection.
    void NoEdit() {
        if (routings_ && chance(25)) d_.Reroute();
        if (chance(25)) RandomSelection();
    }

private:
    std::optional<TPinRef> RandomPin() {
        std::vector<int> withLegs;
        for (int i = 1; i <= s_.ElementCount(); ++i)
            if (!s_.element(i).Legs.empty()) withLegs.push_back(i);
        if (withLegs.empty()) return std::nullopt;
        const int e = withLegs[static_cast<size_t>(range(0, static_cast<int>(withLegs.size()) - 1))];
        return TPinRef{e, range(0, static_cast<int>(s_.element(e).Legs.size()) - 1)};
    }
    std::optional<TPinRef> RandomConnectedPin() {
        if (s_.Conns().empty()) return RandomPin();
        const TConns& net =
            s_.Conns()[static_cast<size_t>(range(0, static_cast<int>(s_.Conns().size()) - 1))];
        return net[static_cast<size_t>(range(0, static_cast<int>(net.size()) - 1))];
    }
    // A random node: a listed element node when `listed`, any node otherwise (sometimes none).
    QStandardItem* RandomNode(bool listed) {
        std::vector<QStandardItem*> nodes;
        for (QStandardItem* n : s_.navigator().nodesInTreeOrder())
            if (!listed || (n->parent() && Navigator::imageIndex(n) == Navigator::ImageListed))
                nodes.push_back(n);
        if (nodes.empty() || chance(5)) return nullptr;
        return nodes[static_cast<size_t>(range(0, static_cast<int>(nodes.size()) - 1))];
    }
    void RandomSelection() {
        s_.DeselectAll();
        for (int k = range(0, 3); k > 0 && s_.ElementCount() > 0; --k)
            s_.SelectElement(range(1, s_.ElementCount()));
    }

    SchematicDocument& d_;
    Schematic& s_;
    std::mt19937 rng_;
    bool routings_;
};
