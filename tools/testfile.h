// SPDX-License-Identifier: MIT
#pragma once

#include "model/schematic.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

// A test file for a schematic: UTF-8 text, one statement a line (words split on spaces and tabs,
// a CR before the line feed dropped, blank lines and lines whose first word starts with "#"
// ignored), names as the schematic's elements are called:
//   set SWITCH 0|1 at T                  the switch's position from unit T on
//   expect NAME 0|1 at T                 a probe's or an indicator's level after unit T
//   expect NAME stable 0|1 from T1 to T2 that level at T1 and no change in T1+1 ... T2
//   expect NAME rises|falls between T1 T2  a change to 1 (to 0) in T1 ... T2
//   expect delay FROM TO <=|>= N         every change of FROM to the next change of TO
//   run T                                the run length (default: the last time named + 1)
//   test "NAME"                          starts a named case
// Statements before the first `test` form one unnamed case. Within a case the times go in file
// order (by the first time of each statement); every time lies in 0 ... 2^62 and inside the run.

using TestTime = std::int64_t;
constexpr TestTime MaxTestTime = TestTime{1} << 62;

enum class StatementKind { Set, Level, Stable, Edge, Delay };

struct TestStatement {
    StatementKind kind = StatementKind::Set;
    int line = 0;
    QString text;       // the statement's words joined by single spaces
    int element = 0;    // the switch, the element read, or the delay's FROM (1-based)
    int to = 0;         // the delay's TO
    bool level = false; // the position or level; Edge: true for rises
    TestTime from = 0;  // the time, or the first time of a range
    TestTime until = 0; // the last time of a range (equal to `from` for one time)
    bool atMost = true; // Delay: "<=" (else ">=")
    TestTime bound = 0; // Delay: N
};

struct TestCase {
    QString name; // empty for the unnamed case
    int line = 0; // the `test` line, 0 for the unnamed case
    std::vector<TestStatement> statements;
    TestTime length = 0; // units run: 0 ... length-1
    int lengthLine = 0;  // the `run` line, or the line of the last time named (0: none)
};

struct TestFile {
    bool ok = false;
    QString message; // "line N: ..." (or a message without a line) when !ok
    std::vector<TestCase> cases;
};

// Reads a test file, resolving its names in `s`. Names a `set` gives must be switches, those an
// expectation reads probes or indicators, a delay's FROM a switch, a probe or an indicator; a name
// must belong to exactly one element. On the first fault in file order returns !ok with its line.
TestFile ReadTestFile(const QByteArray& bytes, const Schematic& s);
