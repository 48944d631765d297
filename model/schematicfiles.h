// SPDX-License-Identifier: MIT
#pragma once

#include "model/filesetcommit.h"
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
// whole file was read; the nodes read before a failure remain and `failedLine` (1-based) names the
// line. A line more than one level deeper than the one before, or one holding a control character
// (no node text has one: such a file is no tree file), is a failure.
QString ReadTreeFile(QByteArrayView bytes, Navigator& navigator, qsizetype* failedLine = nullptr);

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

// Writes the three files of `names` from `s` as one (CommitFileSet, filesetcommit.h): an earlier
// save of the same name that was cut short is first finished or undone. A failure leaves the
// previous file set as it was. Returns the failure text, which names the file and says what was
// kept, empty on success; `log` receives what was found of an interrupted save. `hook` is for tests.
QString SaveSchematicFiles(const Schematic& s, const TSchematicFileNames& names, QStringList* log = nullptr,
                           const CommitHook& hook = {});

// One file of a set as the loader gets it: its bytes, or why it could not be read.
struct TFileBytes {
    std::optional<QByteArray> bytes;
    int error = 0;     // errno when it could not be opened
    QString errorText; // the message when it could not be read
    QString path;      // named in the messages; empty for bytes that come from no file
    static TFileBytes Of(QByteArray b) { return {std::move(b), 0, {}, {}}; }
};
// Reads a whole regular file; refuses one larger than `limit`, and anything that is no regular file
// (a FIFO, a device, a socket) without waiting on it.
TFileBytes ReadFileBytes(const QString& path, qint64 limit);

struct TLoadOptions {
    // What placing a listed node needs.
    PlacementSource placement;
    bool selectOnCreate = false;
    // Called after every element placed (the simulator resets for the new element).
    std::function<void(int index)> placed;
};

// A load reports at most this many problems and unplaced elements (and says so when there are more).
constexpr qsizetype MaxLoadProblems = 1000;

// An element record that placed no element, and why.
struct TUnplacedElement {
    qsizetype record = 0; // 1-based, in the element file
    QString name;
    QString reason;
};

struct TLoadResult {
    // All three files were read: the caller re-routes and redraws.
    bool complete = false;
    // The failure text for the error box; empty when none. The load stopped there. It names the
    // file and says what was loaded.
    QString error;
    // How many of the three files were read to their end.
    int filesRead = 0;
    // Lines for the first log box: the placing and load traces and the problems.
    QStringList log;
    // What the loader left out of the net file to keep the schematic sound (also in `log`).
    QStringList problems;
    // The element records that placed nothing (the first MaxLoadProblems of them; `unplacedCount` counts
    // all). Saving now would leave them out.
    std::vector<TUnplacedElement> unplaced;
    qsizetype unplacedCount = 0;
    // What was found and done of an earlier save cut short (also in `log`).
    QStringList recovery;
};

// Loads a file set into `s`, which New has just emptied: the tree replaces the navigator; every
// element record places the first listed node of exactly its name (in tree order) that no earlier
// record took, then sets the position and the two delays. A record that places nothing (no such
// node left, coordinates outside -CoordinateLimit..CoordinateLimit, the catalogue lacks the chip, the table
// is full) is listed in `unplaced`. The net file's element numbers are record numbers: each pin follows its
// record's element, a pin of an unplaced record leaves its net, and a net is added when two or more valid
// pins remain. References to missing records or legs, pins already in a net and nets left with
// fewer than two pins are dropped and reported. ChipCount is raised to the highest chip number of
// the loaded designators. Each file is fetched only when the load gets to it.
TLoadResult LoadSchematic(Schematic& s, const std::function<TFileBytes()>& tree,
                          const std::function<TFileBytes()>& elements,
                          const std::function<TFileBytes()>& nets, const TLoadOptions& options);
// The same from the files of `names`, after finishing or undoing an earlier save of that name that
// was cut short (a failure to do so stops the load before anything is read).
TLoadResult LoadSchematicFiles(Schematic& s, const TSchematicFileNames& names, const TLoadOptions& options);
// The same from three files in memory.
TLoadResult LoadSchematicBytes(Schematic& s, const QByteArray& tree, const QByteArray& elements,
                               const QByteArray& nets, const TLoadOptions& options);

// The elements a load could not place, for the user: a heading, one line per element (at most
// `maxLines`, then how many more), and that saving now would leave them out. Empty when all were
// placed.
QStringList UnplacedReport(const TLoadResult& r, qsizetype maxLines);
