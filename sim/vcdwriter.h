// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <utility>
#include <vector>

// One wire of a value change dump: the module scope it is listed in, its name, its level at time
// 0 and its changes as (time, level), in time order.
struct VcdWire {
    QString scope;
    QString name;
    bool initial = false;
    std::vector<std::pair<int64_t, bool>> changes;
};

// The text of a Value Change Dump file (IEEE 1364) with a time scale of 1 ns: one module scope per
// scope name in the order they first appear, one 1-bit wire per VcdWire named after it (blanks and
// control characters in names become "_"), the initial levels in $dumpvars at #0, then every
// change of all wires by time (changes at one time in the order of the wires). A last "#endTime"
// marks the end of the dump when it lies after the last change.
QByteArray VcdText(const std::vector<VcdWire>& wires, int64_t endTime);
// The same with the initial levels in $dumpvars at #startTime: a dump of a record that starts
// later than time 0. Every change lies at startTime or later.
QByteArray VcdText(const std::vector<VcdWire>& wires, int64_t startTime, int64_t endTime);
