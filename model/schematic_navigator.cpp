// SPDX-License-Identifier: MIT
// The schematic's operations that start from the navigator tree: placing, re-linking, selecting
// and removing through a node.
#include "model/schematic.h"

namespace {

const QString SpecialGroupLetter = QStringLiteral("С");

} // namespace

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
    const int index = AddElement(std::move(e));
    Navigator::setImageIndex(node, Navigator::ImagePlaced);
    Navigator::setDataRef(node, index);
    if (selectOnCreate) SelectElement(index);
    if (log) *log << QStringLiteral("legs1 ") + data.leftPins << QStringLiteral("legs2 ") + data.rightPins;
    return index;
}

void Schematic::AssociateTree() {
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

void Schematic::SelectFromTree(const QStandardItem* node) {
    if (!node || navigator_.model().rowCount() == 0) return;
    DeselectAll();
    const auto selectPlaced = [this](const QStandardItem* n) {
        const int slot = Navigator::dataRef(n);
        if (Navigator::imageIndex(n) == Navigator::ImagePlaced && slot >= 1 && slot <= elementCount_)
            SelectElement(slot);
    };
    if (Navigator::imageIndex(node) == Navigator::ImagePlaced) {
        selectPlaced(node);
    } else if (Navigator::imageIndex(node) == Navigator::ImageGroup &&
               !node->text().startsWith(SpecialGroupLetter)) {
        for (int r = 0; r < node->rowCount(); ++r)
            selectPlaced(node->child(r));
    }
}

void Schematic::RemoveFromTree(QStandardItem* node) {
    if (!node || navigator_.model().rowCount() == 0) return;
    const auto selectPlaced = [this](const QStandardItem* n) {
        const int slot = Navigator::dataRef(n);
        if (Navigator::imageIndex(n) == Navigator::ImagePlaced && slot >= 1 && slot <= elementCount_)
            SelectElement(slot);
    };
    if (!node->parent()) {
        DeselectAll();
        for (int r = 0; r < node->rowCount(); ++r)
            selectPlaced(node->child(r));
        DeleteSelected();
        navigator_.model().removeRow(node->row());
        ++revision_;
    } else if (Navigator::imageIndex(node) == Navigator::ImagePlaced) {
        DeselectAll();
        selectPlaced(node);
        DeleteSelected();
        Navigator::setImageIndex(node, Navigator::ImageListed);
    } else {
        return;
    }
    AssociateTree();
}
