// SPDX-License-Identifier: MIT
// The loader of a schematic file set: whatever the three files hold, the loaded schematic keeps the
// model's invariants and the navigator's link to the element table.
//
// Input layout: two little-endian uint16 lengths, then the tree file (.tsv) of the first length,
// the element file (.esv) of the second and the net file (.csv) of the rest. A length beyond the
// bytes left takes what is left. tools/make-fileset-seeds.py builds seeds this way from the
// example file sets.
#include "model/invariants.h"
#include "model/schematicfiles.h"
#include "model/specialelements.h"
#include "tests/fuzz/fuzzsupport.h"

#include <QStandardItem>

#include <algorithm>

namespace {

// What placing needs, without a catalogue. Special kinds bring their own set-up. A chip gets a
// 40 x 50 picture and pins that depend on its group's name, so elements differ in their legs; a
// group named "MISSING" stands for a chip the catalogue lacks.
bool HeadlessPlacement(const QStandardItem* node, TPlacementData* data, QString* error) {
    const ElementKind kind = KindOfName(node->text());
    if (kind == ElementKind::Unknown) return false;
    if (kind != ElementKind::Chip) {
        *data = SpecialElements::Placement(kind);
        return true;
    }
    const QString group = node->parent() ? node->parent()->text() : QString();
    if (group == u"MISSING") {
        *error = QStringLiteral("no such chip");
        return false;
    }
    static const QImage picture = [] {
        QImage p(40, 50, QImage::Format_RGB32);
        p.fill(Qt::white);
        return p;
    }();
    static const char* const kLeft[] = {"01", "0110", "101", "111101111"};
    static const char* const kRight[] = {"01", "0001", "010", "00001"};
    const auto pick = static_cast<size_t>(group.size()) % 4;
    data->picture = picture;
    data->leftPins = QString::fromLatin1(kLeft[pick]);
    data->rightPins = QString::fromLatin1(kRight[pick]);
    data->reactionLH = 11;
    data->reactionHL = 7;
    return true;
}

size_t Length(const uint8_t* p) {
    return static_cast<size_t>(p[0]) | static_cast<size_t>(p[1]) << 8;
}

QByteArray Take(const uint8_t*& data, size_t& size, size_t length) {
    length = std::min(length, size);
    QByteArray out(reinterpret_cast<const char*>(data), static_cast<qsizetype>(length));
    data += length;
    size -= length;
    return out;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    return InitFuzzApplication(argc, argv);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    const size_t treeLength = Length(data);
    const size_t elementLength = Length(data + 2);
    data += 4;
    size -= 4;
    const QByteArray tree = Take(data, size, treeLength);
    const QByteArray elements = Take(data, size, elementLength);
    const QByteArray nets = Take(data, size, size);

    Schematic s;
    TLoadOptions options;
    options.placement = &HeadlessPlacement;
    int lastPlaced = 0;
    options.placed = [&](int index) {
        FuzzCheck(index >= 1 && index <= s.ElementCount(), "placed an element outside the table");
        lastPlaced = index;
    };
    const TLoadResult r = LoadSchematicBytes(s, tree, elements, nets, options);
    FuzzAssert(CheckInvariants(s));
    FuzzAssert(CheckNavigator(s));
    FuzzCheck(r.filesRead >= 0 && r.filesRead <= 3, "files read outside 0..3");
    FuzzCheck(r.complete == (r.filesRead == 3), "complete without all three files read");
    FuzzCheck(r.complete == r.error.isEmpty(),
              "a load that stopped without saying why, or finished with an error");
    FuzzCheck(lastPlaced <= s.ElementCount(), "an element placed beyond the count");
    return 0;
}
