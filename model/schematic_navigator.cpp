// SPDX-License-Identifier: MIT
// The schematic's operations that start from the navigator tree: placing, re-linking, selecting
// and removing through a node.
#include "model/schematic.h"

#include "model/schematicfiles.h"
#include "model/specialelements.h"
#include "model/specialpictures.h"

#include <algorithm>

namespace {

const QString SpecialGroupLetter = QStringLiteral("С");

} // namespace

QStandardItem* Schematic::ListSpecial(ElementKind kind) {
    const QString base = SpecialElements::BaseName(kind);
    if (base.isEmpty()) return nullptr;
    NoteNavigator();
    std::vector<QStandardItem*> nodes = navigator_.nodesInTreeOrder();
    QStandardItem* group = nullptr;
    for (QStandardItem* n : nodes)
        if (!group && n->text() == SpecialElements::GroupName()) group = n;
    int highest = 0;
    QStandardItem* last = nullptr;
    // The first node of the tree is never one of them (it is a group).
    for (size_t i = 1; i < nodes.size(); ++i)
        if (nodes[i]->text().startsWith(base)) {
            highest = std::max(highest, SpecialElements::NumberOf(nodes[i]->text(), kind));
            last = nodes[i];
        }
    if (kind == ElementKind::Probe && highest >= 5) return nullptr;
    if (!group) {
        group = Navigator::makeNode(SpecialElements::GroupName(), Navigator::ImageGroup);
        navigator_.appendRoot(group);
    }
    QStandardItem* node = Navigator::makeNode(base + QString::number(highest + 1), Navigator::ImageListed);
    if (last && last->parent())
        last->parent()->insertRow(last->row() + 1, node);
    else if (last)
        navigator_.insertRoot(last->row() + 1, node);
    else
        group->appendRow(node);
    if (kind == ElementKind::Probe) {
        oscCount_ = highest + 1;
        Q_EMIT channelsChanged();
    }
    ++revision_;
    return node;
}

QString Schematic::ReadTree(QByteArrayView bytes, qsizetype* failedLine) {
    const QString error = ReadTreeFile(bytes, navigator_, failedLine);
    ++revision_;
    return error;
}

void Schematic::ToggleSwitch(int index) {
    TElement& e = elements_[static_cast<size_t>(index)];
    e.State = !e.State;
    SetBitmap(index, SmallPicture(e.State ? SmallSwitchOn : SmallSwitchOff));
}

void Schematic::SetGeneratorDurations(int index, int32_t high, int32_t low) {
    NoteFields(index);
    TElement& e = elements_[static_cast<size_t>(index)];
    e.Reaction_HL = high;
    e.Reaction_LH = low;
    ++revision_;
}

int Schematic::PlaceNode(QStandardItem* node, const TPlacementData& data, bool selectOnCreate,
                         QStringList* log) {
    if (!node || Navigator::imageIndex(node) <= Navigator::ImagePlaced) return 0;
    if (isFull()) return 0;
    TElement e;
    e.Name = node->text();
    e.Bitmap = data.picture.isNull() ? QImage() : data.picture.convertToFormat(QImage::Format_RGB32);
    if (e.kind() == ElementKind::Chip) WriteDesignator(e.Bitmap, e.Name);
    e.Script = data.script;
    e.Reaction_LH = data.reactionLH;
    e.Reaction_HL = data.reactionHL;
    e.CellWidth = e.Bitmap.width() / PictureCellPixels;
    e.CellHeight = e.Bitmap.height() / PictureCellPixels;
    e.Coord = {0, 0};
    e.Legs = BuildLegs(data.leftPins, data.rightPins, e.CellWidth);
    const ElementKind kind = e.kind();
    const QString name = e.Name;
    NoteNavigator();
    const int index = AddElement(std::move(e));
    if (kind == ElementKind::Probe) {
        const int channel = SpecialElements::NumberOf(name, kind);
        if (channel >= 1 && channel <= 5) {
            oscChannel_[static_cast<size_t>(channel)] = index;
            Q_EMIT channelsChanged();
        }
    }
    Navigator::setImageIndex(node, Navigator::ImagePlaced);
    Navigator::setDataRef(node, index);
    if (selectOnCreate) SelectElement(index);
    if (log) *log << QStringLiteral("legs1 ") + data.leftPins << QStringLiteral("legs2 ") + data.rightPins;
    return index;
}

void Schematic::AssociateTree() {
    NoteNavigator();
    for (QStandardItem* node : navigator_.nodesInTreeOrder()) {
        if (Navigator::imageIndex(node) != Navigator::ImagePlaced) continue;
        int slot = 0;
        for (int i = 1; i <= elementCount_ && slot == 0; ++i)
            if (element(i).Name == node->text()) slot = i;
        if (slot)
            Navigator::setDataRef(node, slot);
        else
            Navigator::setImageIndex(node, Navigator::ImageListed);
    }
}

void Schematic::SelectPlacedNode(const QStandardItem* node) {
    const int slot = Navigator::dataRef(node);
    if (Navigator::imageIndex(node) == Navigator::ImagePlaced && slot >= 1 && slot <= elementCount_)
        SelectElement(slot);
}

void Schematic::SelectFromTree(const QStandardItem* node) {
    if (!node || navigator_.model().rowCount() == 0) return;
    DeselectAll();
    if (Navigator::imageIndex(node) == Navigator::ImagePlaced) {
        SelectPlacedNode(node);
    } else if (Navigator::imageIndex(node) == Navigator::ImageGroup &&
               !node->text().startsWith(SpecialGroupLetter)) {
        for (int r = 0; r < node->rowCount(); ++r)
            SelectPlacedNode(node->child(r));
    }
}

void Schematic::RemoveFromTree(QStandardItem* node) {
    if (!node || navigator_.model().rowCount() == 0) return;
    NoteNavigator();
    if (!node->parent()) {
        DeselectAll();
        for (int r = 0; r < node->rowCount(); ++r)
            SelectPlacedNode(node->child(r));
        DeleteSelected();
        navigator_.model().removeRow(node->row());
        ++revision_;
    } else if (Navigator::imageIndex(node) == Navigator::ImagePlaced) {
        DeselectAll();
        SelectPlacedNode(node);
        DeleteSelected();
        Navigator::setImageIndex(node, Navigator::ImageListed);
    } else {
        return;
    }
    AssociateTree();
}
