// SPDX-License-Identifier: MIT
#pragma once

#include "model/schematic.h"
#include "tools/testfile.h"

#include <QString>

#include <vector>

// One change of an element's level, at the time unit in which it was seen.
struct LevelChange {
    TestTime time = 0;
    bool level = false;
};

// What one case's run showed: the level changes of every switch, probe and indicator in time
// order (indexed by element, 0 unused); each starts at 0.
struct CaseTraces {
    TestTime length = 0;
    std::vector<std::vector<LevelChange>> changes;
};

// Runs the cases of a test file on one schematic, each from unit 0 as a fresh run: the leg levels
// the schematic had when the bench was made are put back before every case, so no case sees what
// an earlier one left.
class TestBench {
public:
    explicit TestBench(Schematic& s);

    // Prepares the simulator, applies the case's `set` statements before the two passes of their
    // unit and runs `c.length` units, jumping over units in which nothing happens. A probe's
    // changes are those it records, an indicator's those of its state, a switch's its positions.
    CaseTraces Run(const TestCase& c);

private:
    Schematic& s_;
    std::vector<std::vector<TLeg>> startLegs_;
};

// A failed expectation: its line, the statement, the expected and the seen value and the time.
struct TestFailure {
    int line = 0;
    QString statement;
    QString expected;
    QString seen;
    QString at;
};

// The level of `changes` after unit `t`: that of the last change at `t` or before, else 0.
bool LevelAfter(const std::vector<LevelChange>& changes, TestTime t);
// Checks every expectation of `c` against its run, in file order.
std::vector<TestFailure> CheckCase(const TestCase& c, const CaseTraces& traces, const Schematic& s);
