// SPDX-License-Identifier: MIT
#pragma once

#include "model/schematic.h"

// Tests and benchmarks that set up a run's state by hand (leg levels, pending changes, a probe's
// record) reach an element's run-time fields the way the simulators do.
struct SchematicRunAccess {
    static TElement& element(Schematic& s, int index) { return s.elementForRun(index); }
};

inline TElement& ForRun(Schematic& s, int index) {
    return SchematicRunAccess::element(s, index);
}
