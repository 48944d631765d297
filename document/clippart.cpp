// SPDX-License-Identifier: MIT
#include "document/clippart.h"

#include "model/netlist.h"
#include "model/schematic.h"

#include <QDataStream>
#include <QIODevice>

#include <algorithm>

namespace {

constexpr quint32 ClipMagic = 0x54574350; // "TWCP"
constexpr quint32 ClipVersion = 1;
// Bounds on what a decoded part may hold; anything beyond cannot come from a schematic.
constexpr int MaxScriptLines = 10000;
constexpr int MaxNameLength = 1000;

// The pin string of one edge: '1' in the rows of the legs at column x.
QString PinString(const std::vector<TLeg>& legs, int32_t x) {
    QString pins;
    for (const TLeg& leg : legs) {
        if (leg.X != x || leg.Y < 1 || leg.Y > GridSize) continue;
        if (pins.size() < leg.Y) pins.append(QString(leg.Y - pins.size(), u'0'));
        pins[leg.Y - 1] = u'1';
    }
    return pins;
}

bool IsPinString(const QString& pins) {
    return pins.size() <= GridSize &&
           std::all_of(pins.begin(), pins.end(), [](QChar c) { return c == u'0' || c == u'1'; });
}

} // namespace

TPoint32 TClipPart::topLeft() const {
    TPoint32 p{GridMax, GridMax};
    for (const TClipElement& e : elements)
        p = {std::min(p.x, e.coord.x), std::min(p.y, e.coord.y)};
    return p;
}

TPoint32 TClipPart::size() const {
    const TPoint32 origin = topLeft();
    TPoint32 far{origin.x, origin.y};
    for (const TClipElement& e : elements)
        far = {std::max(far.x, e.coord.x + e.cellWidth), std::max(far.y, e.coord.y + e.cellHeight)};
    return {far.x - origin.x, far.y - origin.y};
}

TClipPart CopySelection(const Schematic& s, const PlacementSource& placement) {
    TClipPart part;
    const int count = s.ElementCount();
    std::vector<const QStandardItem*> nodeOf(static_cast<size_t>(count) + 1, nullptr);
    for (const QStandardItem* node : s.navigator().nodesInTreeOrder()) {
        if (Navigator::imageIndex(node) != Navigator::ImagePlaced) continue;
        const int k = Navigator::dataRef(node);
        if (k >= 1 && k <= count && !nodeOf[static_cast<size_t>(k)]) nodeOf[static_cast<size_t>(k)] = node;
    }
    std::vector<int> placeOf(static_cast<size_t>(count) + 1, 0);
    std::vector<const QStandardItem*> groups;
    for (int k = 1; k <= count; ++k) {
        const TElement& e = s.element(k);
        if (!e.Selected) continue;
        TClipElement c;
        c.name = e.Name;
        c.coord = e.Coord;
        c.cellWidth = e.CellWidth;
        c.cellHeight = e.CellHeight;
        c.data.picture = e.Bitmap;
        c.data.leftPins = PinString(e.Legs, 0);
        c.data.rightPins = PinString(e.Legs, e.CellWidth);
        c.data.script = e.Script;
        c.data.reactionLH = e.Reaction_LH;
        c.data.reactionHL = e.Reaction_HL;
        if (const QStandardItem* node = nodeOf[static_cast<size_t>(k)]) {
            TPlacementData listed;
            QString why;
            // The listed element's own picture: the designator is written anew on the copy.
            if (placement && placement(node, &listed, &why) && !listed.picture.isNull())
                c.data.picture = listed.picture;
            const QStandardItem* group = node->parent();
            if (e.kind() == ElementKind::Chip && group) {
                c.mark = group->text();
                // Chips are told apart by their group node (a loaded group has no number).
                auto it = std::find(groups.begin(), groups.end(), group);
                if (it == groups.end()) it = groups.insert(groups.end(), group);
                c.chipNumber = static_cast<int32_t>(it - groups.begin()) + 1;
                c.chipElements = group->rowCount();
                c.chipSlot = node->row() + 1;
            }
        }
        part.elements.push_back(std::move(c));
        placeOf[static_cast<size_t>(k)] = static_cast<int>(part.elements.size());
    }
    for (const TConns& net : s.Conns()) {
        TConns mapped;
        for (const TPinRef& pin : net) {
            const int place = placeOf[static_cast<size_t>(pin.Element)];
            if (place == 0) break;
            mapped.push_back({place, pin.Leg});
        }
        if (mapped.size() == net.size()) part.nets.push_back(std::move(mapped));
    }
    return part;
}

QByteArray EncodeClipPart(const TClipPart& part) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_4);
    out << ClipMagic << ClipVersion << static_cast<qint32>(part.elements.size());
    for (const TClipElement& e : part.elements) {
        out << e.name << e.mark << e.chipNumber << e.chipElements << e.chipSlot << e.data.picture
            << e.data.leftPins << e.data.rightPins << e.data.script << e.data.reactionLH << e.data.reactionHL
            << e.coord.x << e.coord.y << e.cellWidth << e.cellHeight;
    }
    out << static_cast<qint32>(part.nets.size());
    for (const TConns& net : part.nets) {
        out << static_cast<qint32>(net.size());
        for (const TPinRef& pin : net)
            out << pin.Element << pin.Leg;
    }
    return bytes;
}

std::optional<TClipPart> DecodeClipPart(const QByteArray& bytes) {
    QDataStream in(bytes);
    in.setVersion(QDataStream::Qt_6_4);
    quint32 magic = 0, version = 0;
    qint32 count = 0;
    in >> magic >> version >> count;
    if (in.status() != QDataStream::Ok || magic != ClipMagic || version != ClipVersion || count < 1 ||
        count > MaxElements)
        return std::nullopt;
    TClipPart part;
    std::vector<size_t> legCounts;
    for (qint32 i = 0; i < count; ++i) {
        TClipElement e;
        in >> e.name >> e.mark >> e.chipNumber >> e.chipElements >> e.chipSlot >> e.data.picture >>
            e.data.leftPins >> e.data.rightPins >> e.data.script >> e.data.reactionLH >> e.data.reactionHL >>
            e.coord.x >> e.coord.y >> e.cellWidth >> e.cellHeight;
        if (in.status() != QDataStream::Ok) return std::nullopt;
        const ElementKind kind = KindOfName(e.name);
        const bool listedChip = !e.mark.isEmpty();
        if (e.name.isEmpty() || e.name.size() > MaxNameLength || kind == ElementKind::Unknown ||
            (listedChip && (kind != ElementKind::Chip || e.chipElements < 1 || e.chipElements > MaxElements ||
                            e.chipSlot < 1 || e.chipSlot > e.chipElements)) ||
            e.mark.size() > MaxNameLength || !IsPinString(e.data.leftPins) ||
            !IsPinString(e.data.rightPins) || e.data.script.size() > MaxScriptLines || e.cellWidth < 0 ||
            e.cellWidth > GridMax || e.cellHeight < 0 || e.cellHeight > GridMax || e.coord.x < 0 ||
            e.coord.y < 0 || e.coord.x + e.cellWidth > GridMax || e.coord.y + e.cellHeight > GridMax ||
            e.data.picture.width() > GridSize * PictureCellPixels ||
            e.data.picture.height() > GridSize * PictureCellPixels)
            return std::nullopt;
        legCounts.push_back(BuildLegs(e.data.leftPins, e.data.rightPins, e.cellWidth).size());
        part.elements.push_back(std::move(e));
    }
    qint32 nets = 0;
    in >> nets;
    if (in.status() != QDataStream::Ok || nets < 0 || nets > MaxElements * GridSize) return std::nullopt;
    for (qint32 n = 0; n < nets; ++n) {
        qint32 pins = 0;
        in >> pins;
        if (in.status() != QDataStream::Ok || pins < 2 || pins > MaxElements * 2 * GridSize)
            return std::nullopt;
        TConns net;
        for (qint32 i = 0; i < pins; ++i) {
            TPinRef pin;
            in >> pin.Element >> pin.Leg;
            if (in.status() != QDataStream::Ok || pin.Element < 1 || pin.Element > count || pin.Leg < 0 ||
                static_cast<size_t>(pin.Leg) >= legCounts[static_cast<size_t>(pin.Element - 1)])
                return std::nullopt;
            net.push_back(pin);
        }
        part.nets.push_back(std::move(net));
    }
    if (!in.atEnd()) return std::nullopt;
    return part;
}

TElement ElementOf(const TClipElement& c) {
    TElement e;
    e.Name = c.name;
    e.Coord = c.coord;
    e.Bitmap = c.data.picture.convertToFormat(QImage::Format_RGB32);
    e.CellWidth = c.cellWidth;
    e.CellHeight = c.cellHeight;
    e.Legs = BuildLegs(c.data.leftPins, c.data.rightPins, c.cellWidth);
    e.Script = c.data.script;
    e.Reaction_LH = c.data.reactionLH;
    e.Reaction_HL = c.data.reactionHL;
    return e;
}

QString ClipPartText(const TClipPart& part) {
    Schematic s;
    for (const TClipElement& c : part.elements)
        s.AddElement(ElementOf(c));
    for (const TConns& net : part.nets)
        s.AddNet(net);
    return NetlistText(s);
}
