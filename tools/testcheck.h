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
