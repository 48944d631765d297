// SPDX-License-Identifier: MIT
#pragma once

#include "model/netlist.h"

class SchematicDocument;

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <optional>

// Input and output shared by the runner's commands. Every message on standard error starts with
// "tarnwell-batch: ".

// Netlist and test files are read up to this size; a longer input (or one that never ends) is refused.
constexpr qint64 MaxNetlistBytes = qint64{64} << 20;

// Prints "tarnwell-batch: MESSAGE" and a line feed on `err`.
void ReportError(FILE* err, const QString& message);
// Reads the file at `path` whole. On a fault (unreadable, longer than MaxNetlistBytes) prints the
// message naming the file and returns nothing.
std::optional<QByteArray> ReadInputFile(const QString& path, FILE* err);
// Reads the UTF-8 netlist at `path` into the document (its edit lines as edits, not routed) and
// prints the reader's warnings. On any fault (unreadable, too long, not UTF-8, a bad line) prints
// the message naming the file and returns nothing.
std::optional<NetlistResult> ReadNetlistFile(const QString& path, SchematicDocument& document, FILE* err);
// Writes `bytes` to the file at `path` through a temporary file, so a failed write leaves no half
// file; on a failure prints "cannot write PATH: REASON" and returns false.
bool WriteFileWhole(const QString& path, const QByteArray& bytes, FILE* err);
// Writes `bytes` to `out` and flushes; on a failure reports it and returns false.
bool WriteOutput(FILE* out, const QByteArray& bytes, FILE* err);
