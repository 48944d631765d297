// SPDX-License-Identifier: MIT
#pragma once

#include "model/schematic.h"

#include <QString>

#include <vector>

// The headless runner's netlist text. Lines (UTF-8, blank lines and "#" comments ignored):
//   element NAME X Y CELLWIDTH CELLHEIGHT INT_DEFINE EXT_DEFINE LH HL [SCRIPT LINE...]
//   net E L E L ...          (1-based element, 0-based leg; two pins or more)
//   toggle NAME T            (invert switch NAME's State before time unit T)
struct TToggle {
    int element = 0; // 1-based index of the switch
    int32_t time = 0;
};

struct NetlistResult {
    bool ok = false;
    int line = 0;    // 1-based line of the first error
    QString message; // "line N: ..." when !ok
    std::vector<TToggle> toggles;
};

// Appends the file's elements and nets to `s` (which should be empty). On an error the
// schematic holds what was read before the bad line.
NetlistResult LoadNetlist(const QString& text, Schematic& s);
