// SPDX-License-Identifier: MIT
#pragma once

#include "model/schematic.h"
#include "tools/testcheck.h"
#include "tools/testfile.h"

#include <vector>

// Runs the cases of a test file on one schematic, each from unit 0 as a fresh run: the leg levels
// the schematic had when the bench was made are put back before every case, so no case sees what
// an earlier one left.
class TestBench {
public:
    explicit TestBench(Schematic& s);

    // Prepares the simulator, applies the case's `set` statements before the two passes of their
    // unit and runs `c.length` units, jumping over units in which nothing happens. The changes
    // of probes and indicators are those the simulator records, a switch's are its positions.
    CaseTraces Run(const TestCase& c);

private:
    Schematic& s_;
    std::vector<std::vector<TLeg>> startLegs_;
};
