// SPDX-License-Identifier: MIT
#pragma once

#include "model/types.h"

#include <QByteArray>
#include <QString>

#include <span>
#include <vector>

// The probes' records taken out of the program: as a value change dump or as comma-separated rows.
// The window saves the shown channels, the runner every probe; both through these.

// One probe's record as the exports read it.
struct TraceRecord {
    QString name;
    std::span<const TSimTime> transitions; // the times its level changed, increasing
    bool levelBefore = false;              // its level before the first of them
    TSimTime recordFrom = 0;               // the record is whole from this unit on
};

TraceRecord ProbeRecord(const TElement& probe);

// The first unit from which every record is whole: the latest recordFrom (0 when nothing was
// dropped).
TSimTime RecordStart(const std::vector<TraceRecord>& records);

// A value change dump (1 ns a unit, one module "probes", one 1-bit wire per record named after
// it) from RecordStart: $dumpvars holds each level before the changes at that unit, then every
// change at that unit or later; `endTime` closes the dump.
QByteArray TracesVcd(const std::vector<TraceRecord>& records, TSimTime endTime);

// "time,probe,level", then one row per change from RecordStart on, by time (changes at one time
// in the order of the records): the time, the probe's name (quoted when it holds a comma, a quote
// or a line break) and the level after the change, 0 or 1.
QByteArray TracesCsv(const std::vector<TraceRecord>& records);

// Writes `bytes` to a temporary file beside `path` and renames it to `path`, so that a failed
// write leaves no half-written file under the name. On failure returns false with the reason in
// `error`.
bool SaveFileWhole(const QString& path, const QByteArray& bytes, QString* error);
