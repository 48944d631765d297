// SPDX-License-Identifier: MIT
// The netlist reader with its element, net, edit (undo and redo among them) and toggle lines:
// whatever the text, the loaded schematic keeps the model's invariants and every toggle names a
// switch that exists.
#include "document/netlistload.h"
#include "model/invariants.h"
#include "tests/fuzz/fuzzsupport.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    return InitFuzzApplication(argc, argv);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // One document for the whole run, emptied by "Новый": a fresh table of 1000 slots per input
    // would cost more than the load.
    static SchematicDocument document;
    document.New();
    const Schematic& s = document.schematic();
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const NetlistResult r = LoadNetlist(text, document);
    FuzzAssert(CheckInvariants(s));
    if (r.ok) {
        for (const TToggle& t : r.toggles) {
            FuzzCheck(t.element >= 1 && t.element <= s.ElementCount(), "toggle names no element");
            FuzzCheck(s.element(t.element).kind() == ElementKind::Switch, "toggle names no switch");
        }
    } else {
        FuzzCheck(r.line >= 1 && !r.message.isEmpty(), "an error without its line or message");
    }
    document.schematic().DeriveCons();
    FuzzCheck(s.Cons().size() == s.Conns().size(), "Cons does not have the shape of Conns");
    return 0;
}
