// SPDX-License-Identifier: MIT
#pragma once

#include "model/schematic.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <vector>

// The headless runner's netlist text. Lines (UTF-8; words split on spaces and tabs; a CR before
// the line feed is dropped; blank lines and "#" comments ignored):
//   element NAME X Y CELLWIDTH CELLHEIGHT INT_DEFINE EXT_DEFINE LH HL [SCRIPT LINE...]
//   net E L E L ...          (1-based element, 0-based leg; two pins or more)
//   toggle NAME T            (invert switch NAME's State before time unit T)
//   connect NAME LEG NAME LEG, disconnect NAME LEG, removenet N, delete NAME [NAME...], undo, redo
// The edit lines are applied in file order after every element and net line has been read (the
// document's LoadNetlist); toggles are resolved by name after the edits.
struct TToggle {
    int element = 0; // 1-based index of the switch
    TSimTime time = 0;
};

enum class NetlistEditKind { Connect, Disconnect, RemoveNet, Delete, Undo, Redo };

// An edit line as read; its names are resolved when it is applied.
struct TNetlistEdit {
    int line = 0;
    NetlistEditKind kind = NetlistEditKind::Connect;
    QStringList names;
    int32_t legs[2] = {0, 0};
    int32_t net = 0;
};

// A toggle line as read.
struct TNetlistToggle {
    int line = 0;
    QString name;
    TSimTime time = 0;
};

struct NetlistResult {
    bool ok = false;
    int line = 0;    // 1-based line of the first error
    QString message; // "line N: ..." when !ok
    std::vector<TToggle> toggles;
    // "line N: warning: ..." for lines that were accepted but deserve a look (an element off the
    // field).
    QStringList warnings;
    // The edit and toggle lines, in file order, as ReadNetlist leaves them for LoadNetlist.
    std::vector<TNetlistEdit> edits;
    std::vector<TNetlistToggle> pendingToggles;

    // Marks the result failed at `line`: "line N: WHAT".
    void Fail(int line, const QString& what);
};

// The latest time unit a netlist names and the most units the runner runs: far beyond any run, and
// far enough from the end of the clock's range that no sum of it with a delay overflows.
constexpr TSimTime NetlistLastTime = TSimTime{1} << 62;

// Element positions beyond this many cells, and sizes above it, cannot be on the workspace and
// would overflow pin arithmetic.
constexpr int32_t NetlistFarLimit = CoordinateLimit;

// A whole number as the netlist and the runner's options write it: decimal digits with an
// optional leading '-', nothing else (no '+', no spaces).
enum class NumberFault { None, NotANumber, OutOfRange };
NumberFault ReadWholeNumber(QStringView text, int64_t min, int64_t max, int64_t* out);
NumberFault ReadWholeNumber(QStringView text, int32_t min, int32_t max, int32_t* out);
// The message for a fault of ReadWholeNumber: "FIELD is not a whole number: TEXT",
// "FIELD is negative: TEXT" (when min is 0) or "FIELD out of range: TEXT".
QString NumberFaultMessage(NumberFault fault, const QString& field, QStringView text, int64_t min);

// One line of a netlist or a test file as read for its statement: the line without a CR before
// its end, its words (separated by spaces and tabs; every other character belongs to a word;
// none for a blank line or a comment, whose first word starts with "#"), and for a statement
// holding a control character other than a tab the fault "control character U+XXXX".
struct StatementLine {
    QStringView text;
    QStringList words;
    QString fault;
};
StatementLine ReadStatementLine(QStringView line);
// The index of the one element called `name`, or 0 with the reason ("unknown element NAME",
// "NAME names N elements") in `why`.
int UniqueElement(const Schematic& s, const QString& name, QString* why);

// Appends the file's elements and nets to `s` (which should be empty) and reads every other line
// into the result without applying it. On an error `s` holds what was read before the error.
NetlistResult ReadNetlist(const QString& text, Schematic& s);
// The elements an edit line names (each name must name exactly one element) and, unless it is a
// deletion, its pins, checked against the elements' legs. Returns the fault, empty when none.
QString ResolveEdit(const Schematic& s, const TNetlistEdit& edit, std::vector<int>* elements,
                    std::vector<TPinRef>* pins);
// Resolves the pending toggles by name (the first element of that name, which must be a switch)
// into r.toggles; false after failing `r` at the first bad one.
bool ResolveToggles(const Schematic& s, NetlistResult& r);

// The `element` and `net` lines that ReadNetlist reads back into the same elements (pins, delays,
// first script line) and nets.
QString NetlistText(const Schematic& s);
