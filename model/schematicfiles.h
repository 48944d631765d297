// SPDX-License-Identifier: MIT
#pragma once

#include "model/placement.h"
#include "model/schematic.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>

// A schematic on disk: three files of one base name. The tree file (.tsv) holds the navigator,
// one line per node in tree order, the depth in tabs, CR LF, Windows-1251. The element file
// (.esv) holds one 40-byte record per element in index order; the net file (.csv) each net's
// 8-byte pin references followed by an end record. Integers are little-endian int32.

constexpr int ElementRecordSize = 40;
constexpr int ElementNameMax = 20;
constexpr int NetRecordSize = 8;
// Nodes deeper than this are refused when the tree is read (the navigator's nodes nest two deep).
constexpr int MaxTreeDepth = 32;
// Larger files are refused before they are read.
constexpr qint64 MaxTreeFileBytes = qint64{4} << 20;
constexpr qint64 MaxRecordFileBytes = qint64{16} << 20;

// The three names from the one chosen in a dialog: the last three characters of the file name
// replaced by "tsv", "esv" and "csv" (the folder stays).
struct TSchematicFileNames {
    QString tree;
    QString elements;
    QString nets;
};
TSchematicFileNames SchematicFileNames(const QString& chosen);

// The message of an I/O error number (errno) in the words the program shows: "File not found",
// "File access denied", "Disk full", "I/O error N" and the like.
QString IoErrorText(int error);

// The tree file of the navigator.
QByteArray WriteTreeFile(const Navigator& navigator);
// Replaces the navigator's nodes by the tree in `bytes` (leading tabs or spaces give the depth;
// roots get the group image, the others the listed one). Returns the failure text, empty when the
// whole file was read; the nodes read before a failure remain.
QString ReadTreeFile(QByteArrayView bytes, Navigator& navigator);

struct TElementRecord {
    int32_t x = 0;
    int32_t y = 0;
    QString name;
    int32_t reactionHL = 0;
    int32_t reactionLH = 0;
};
// One record; a name longer than 20 characters is cut.
QByteArray EncodeElementRecord(const TElementRecord& record);
// One record from ElementRecordSize bytes; a length byte above 20 counts as 20.
TElementRecord DecodeElementRecord(const char* bytes);
QByteArray WriteElementFile(const Schematic& s);
QByteArray WriteNetFile(const Schematic& s);

// Writes the three files of `names` from `s`. Each is written beside its target under a
// temporary name first; the targets are replaced only when all three are complete, so a failure
// leaves the previous file set as it was. Returns the failure text, empty on success.
QString SaveSchematicFiles(const Schematic& s, const TSchematicFileNames& names);

// One file of a set as the loader gets it: its bytes, or why it could not be read.
struct TFileBytes {
    std::optional<QByteArray> bytes;
    int error = 0;     // errno when it could not be opened
    QString errorText; // the message when it could not be read
    static TFileBytes Of(QByteArray b) { return {std::move(b), 0, {}}; }
};
// Reads a whole file; refuses one larger than `limit`.
TFileBytes ReadFileBytes(const QString& path, qint64 limit);

struct TLoadOptions {
    // What placing a listed node needs.
    PlacementSource placement;
    bool selectOnCreate = false;
    // Called after every element placed (the simulator resets for the new element).
    std::function<void(int index)> placed;
};

struct TLoadResult {
    // All three files were read: the caller re-routes and redraws.
    bool complete = false;
    // The failure text for the error box; empty when none. The load stopped there.
    QString error;
    // How many of the three files were read to their end.
    int filesRead = 0;
    // Lines for the first log box: the placing and load traces and the problems.
    QStringList log;
    // What the loader left out to keep the schematic sound (also in `log`).
    QStringList problems;
};

// Loads a file set into `s`, which New has just emptied: the tree replaces the navigator; every
// element record places, in tree order, each listed node of exactly its name, then sets the
// position and the two delays; each net keeps its valid pin references and is added when it has
// two or more. References to missing elements or legs, pins already in a net and nets left with
// fewer than two pins are dropped and reported. ChipCount is raised to the highest chip number of
// the loaded designators. Each file is fetched only when the load gets to it.
TLoadResult LoadSchematic(Schematic& s, const std::function<TFileBytes()>& tree,
                          const std::function<TFileBytes()>& elements,
                          const std::function<TFileBytes()>& nets, const TLoadOptions& options);
// The same from the files of `names`.
TLoadResult LoadSchematicFiles(Schematic& s, const TSchematicFileNames& names, const TLoadOptions& options);
// The same from three files in memory.
TLoadResult LoadSchematicBytes(Schematic& s, const QByteArray& tree, const QByteArray& elements,
                               const QByteArray& nets, const TLoadOptions& options);
