// SPDX-License-Identifier: MIT
// A catalogue picture handed to the placing operation. The first two bytes are the element type's
// left and right pin strings (one bit per position), the rest the picture's bytes. A picture that
// decodes is placed twice, the two elements are wired and one is moved and deleted; the model's
// invariants hold after every step.
#include "model/invariants.h"
#include "model/placement.h"
#include "model/schematic.h"
#include "tests/fuzz/fuzzsupport.h"

#include <algorithm>

namespace {

QString Pins(uint8_t bits, int limit) {
    QString s;
    for (int i = 0; i < 8 && i < limit; ++i)
        s += (bits >> i & 1) ? QLatin1Char('1') : QLatin1Char('0');
    return s;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    return InitFuzzApplication(argc, argv);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data) + 2, static_cast<qsizetype>(size - 2));
    QString fault;
    const QImage picture = DecodeBitmap(bytes, &fault);
    if (picture.isNull()) {
        FuzzCheck(!fault.isEmpty(), "a refused picture without a reason");
        return 0;
    }
    FuzzCheck(fault.isEmpty(), "a decoded picture with a fault");
    // The catalogue allows pin positions 1..height div 10 - 1.
    const int limit = std::max(0, picture.height() / PictureCellPixels - 1);
    TPlacementData d;
    d.picture = picture;
    d.leftPins = Pins(data[0], limit);
    d.rightPins = Pins(data[1], limit);
    d.script = {QStringLiteral("1&2")};
    static Schematic s;
    s.Clear();
    QStandardItem* group = s.ListChip(QStringLiteral("K1"), 2);
    for (int j = 0; j < 2; ++j)
        FuzzCheck(s.PlaceNode(group->child(j), d, j == 1, nullptr) == j + 1, "placing refused");
    FuzzAssert(CheckInvariants(s));
    const TElement& e = s.element(1);
    FuzzCheck(e.CellWidth == picture.width() / PictureCellPixels, "CellWidth is not width div 10");
    for (const TLeg& leg : e.Legs)
        FuzzCheck(leg.Y >= 1 && leg.Y <= std::max(0, e.CellHeight - 1), "a pin outside its side");
    const int legs = static_cast<int>(e.Legs.size());
    if (legs > 0) {
        s.ConnectPins({1, 0}, {2, legs - 1});
        FuzzAssert(CheckInvariants(s));
    }
    s.DeriveCons();
    s.SetCoord(2, {GridMax, GridMax});
    s.ToggleSelection(1);
    s.ToggleSelection(1);
    s.DeleteSelected();
    FuzzAssert(CheckInvariants(s));
    FuzzCheck(s.ElementCount() == 1, "the selected element was not the one deleted");
    return 0;
}
