// SPDX-License-Identifier: MIT
#pragma once

#include "model/types.h"

#include <QString>
#include <QVariant>

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

class Navigator;

// The counters of a schematic besides its tables: ChipCount, OscCount and the five channels.
struct TCounters {
    int32_t chipCount = 0;
    int32_t oscCount = 0;
    std::array<int32_t, 6> channels{}; // entries 1..5
    friend bool operator==(const TCounters&, const TCounters&) = default;
};

// One net with the number that stays with it (Schematic::NetIds).
struct TNetRecord {
    uint64_t id = 0;
    TConns pins;
    friend bool operator==(const TNetRecord&, const TNetRecord&) = default;
};

// One navigator node in tree order: its depth, text, image index and data reference as stored.
struct TNodeRecord {
    int depth = 0;
    QString text;
    int image = 0;
    QVariant data;
};

// A node whose image index or data reference changed while it stayed in place; `index` is its
// position in tree order before the change.
struct TNodeAttributes {
    int index = 0;
    int imageBefore = 0;
    int imageAfter = 0;
    QVariant dataBefore;
    QVariant dataAfter;
};

// How the navigator changed: a run of whole sibling subtrees `before` (tree order, absolute depths)
// became the run `after`, both standing from child row `row` of the node that `parentRows` leads
// to (row by row from the roots; empty for the roots) and from position `at` in tree order; and
// the nodes around the runs that changed their image or data.
struct TNavigatorChange {
    std::vector<int> parentRows;
    int row = 0;
    int at = 0;
    std::vector<TNodeRecord> before;
    std::vector<TNodeRecord> after;
    std::vector<TNodeAttributes> attributes;
    bool empty() const { return before.empty() && after.empty() && attributes.empty(); }
};

// The navigator in tree order.
std::vector<TNodeRecord> NavigatorRecords(const Navigator& navigator);
// The smallest run and the changed attributes that turn `before` into `after`; the runs are whole
// sibling subtrees, so the change is made by removing and inserting rows under one node.
TNavigatorChange DiffNavigator(const std::vector<TNodeRecord>& before, const std::vector<TNodeRecord>& after);
// Turns the navigator from the side before the change into the side after it (`forward`) or back.
void ApplyNavigatorChange(Navigator& navigator, const TNavigatorChange& change, bool forward);

// An element's position and delays before and after an edit.
struct TElementFields {
    int index = 0;
    TPoint32 coordBefore;
    TPoint32 coordAfter;
    int32_t lhBefore = 0;
    int32_t hlBefore = 0;
    int32_t lhAfter = 0;
    int32_t hlAfter = 0;
};

// What one edit changed in a schematic (Schematic::StartRecording): enough to take it back and to
// make it again exactly, and no more than it changed. An edit either deletes elements or adds them
// and changes fields, never both.
struct SchematicChange {
    TCounters before;
    TCounters after;
    // Deleted elements: their indices before the edit, increasing, and the elements as they were.
    std::vector<int> deleted;
    std::vector<TElement> deletedElements;
    // Elements added at the end, the first at index `appendedAt`, as they were after the edit.
    int appendedAt = 0;
    std::vector<TElement> appended;
    std::vector<TElementFields> fields;
    // The nets that differ, by increasing id: as they were and as they became. Pin references count
    // the elements as they were numbered before the deletions.
    std::vector<TNetRecord> netsBefore;
    std::vector<TNetRecord> netsAfter;
    TNavigatorChange navigator;

    bool empty() const;
    // The memory the change holds, in bytes (pictures counted in full, although the elements that
    // are still in the schematic share them).
    size_t bytes() const;
};
