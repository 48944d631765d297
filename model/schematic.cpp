// SPDX-License-Identifier: MIT
#include "model/schematic.h"

void XorImage(QImage& image, uint32_t rgb) {
    if (image.format() != QImage::Format_RGB32) image = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<uint32_t*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] ^= rgb;
    }
}

Schematic::Schematic(QObject* parent) : QObject(parent), Elements(static_cast<size_t>(MaxElements) + 1) {}

Schematic::~Schematic() = default;

int Schematic::NewElementSlot() {
    if (isFull()) return 0;
    ++ElementCount;
    element(ElementCount) = TElement{};
    return ElementCount;
}

void Schematic::ToggleSelection(int index) {
    TElement& e = element(index);
    if (!e.Bitmap.isNull()) {
        // The tint pen is wider than any picture, so it covers every pixel: an exclusive or of
        // the whole picture with yellow, undone by the next toggle.
        XorImage(e.Bitmap, 0x00FFFF00u);
    }
    e.Selected = !e.Selected;
    Q_EMIT elementImageChanged(index);
}

void Schematic::DeriveCons(QStringList* log) {
    Cons.assign(Conns.size(), {});
    for (size_t n = 0; n < Conns.size(); ++n) {
        const TConns& net = Conns[n];
        TCons& cells = Cons[n];
        cells.resize(net.size());
        if (log) *log << QStringLiteral("Cons[i] %1").arg(net.size());
        for (size_t j = 0; j < net.size(); ++j) {
            const TElement& e = element(net[j].Element);
            const TLeg& leg = e.Legs[static_cast<size_t>(net[j].Leg)];
            cells[j] = {e.Coord.x + leg.X, e.Coord.y + leg.Y};
            if (log) {
                *log << QStringLiteral("Cons[%1][%2]x %3").arg(n).arg(j).arg(cells[j].x)
                     << QStringLiteral("Cons[%1][%2]y %3").arg(n).arg(j).arg(cells[j].y);
            }
        }
    }
}

QStandardItem* Schematic::ListChip(const QString& mark, int elementCount) {
    const int n = ++ChipCount;
    QStandardItem* group = Navigator::makeNode(mark, Navigator::ImageGroup);
    Navigator::setDataRef(group, n);
    navigator.insertRoot(0, group);
    for (int j = 1; j <= elementCount; ++j) {
        const QString name =
            elementCount == 1 ? QStringLiteral("D%1").arg(n) : QStringLiteral("D%1.%2").arg(n).arg(j);
        group->appendRow(Navigator::makeNode(name, Navigator::ImageListed));
    }
    return group;
}
