// SPDX-License-Identifier: MIT
#pragma once

#include "model/types.h"

#include <QImage>

#include <cstddef>
#include <cstdint>
#include <span>

// A probe's record and the oscilloscope trace drawn from it. The trace shows one pixel per time
// unit, the newest unit at the right edge, so only the last TraceWidth units can ever be seen.

constexpr int TraceWidth = 321;
constexpr int TraceHeight = 40;
constexpr int TraceLowY = 30;
constexpr int TraceHighY = 5;

// How much of its input's history a probe keeps.
enum class ProbeRecording {
    // What the oscilloscope can still draw: changes older than TraceWidth units are dropped in
    // batches and their effect kept in LevelBefore, so a long run stays in constant memory.
    Visible,
    // Every change since the run started (the runner prints them all): 8 bytes a change.
    All,
    // Every change since the run started up to a bound: past it the oldest are dropped in batches
    // and RecordFrom tells from which unit on the record is whole.
    Whole,
};

// The bound of all probes' records together under ProbeRecording::Whole.
constexpr size_t WholeRecordDefaultBytes = size_t{64} << 20;

// Under ProbeRecording::Visible a record is trimmed each time it reaches a multiple of this many
// entries; a trimmed record holds at most two changes per visible unit.
constexpr size_t ProbeTrimEvery = 4096;

// Appends `time` to the probe's Transitions and, under Visible, drops the entries that no drawing
// at `time` or later can show: older than time - TraceWidth, or later than `time` (recorded before
// the clock was set back). Under Whole, a record of `wholeLimit` entries drops its oldest eighth
// first (its storage never grows past `wholeLimit` entries). LevelBefore flips once per dropped
// entry, and RecordFrom moves to the latest dropped time not after `time`.
void RecordTransition(TElement& probe, TSimTime time, ProbeRecording recording, size_t wholeLimit = 0);

// The level of a record at the end of unit `t`: `levelBefore` flipped once per transition at or
// before `t`.
bool LevelAt(std::span<const TSimTime> transitions, bool levelBefore, TSimTime t);

// Draws the trace at `simTime` into `image` (made RGB32 of its present size): white, with the
// level in black on the low line (y TraceLowY) or the high line (y TraceHighY), one pixel per unit
// and the unit `simTime` at x = width - 1; a change is a one-pixel slanted step. `transitions` are
// the times the level changed, increasing; `levelBefore` the level before the first of them. Every
// change recorded for a unit is applied (two changes in one unit cancel). The cost follows the
// width, not `simTime`: drawing starts at the first unit that can reach the picture.
void DrawTrace(QImage& image, std::span<const TSimTime> transitions, bool levelBefore, TSimTime simTime);

// The trace zoomed out: each pixel column x stands for `unitsPerPixel` units ending with unit
// ColumnEnd(x) = `viewEnd` - (width - 1 - x) * unitsPerPixel, and is drawn as the unit ColumnEnd(x)
// is at one unit per pixel (a slanted step from the previous column's level to this one's). A
// column holding two changes or more gets a bar from the high to the low line, so a pulse
// narrower than a pixel stays visible. Columns before unit 0 stay white. At one unit per pixel
// and `viewEnd` = simTime this is DrawTrace. The cost follows the width: one search per column
// (doubling its step from the previous column's place, then binary).
void DrawTraceView(QImage& image, std::span<const TSimTime> transitions, bool levelBefore, TSimTime viewEnd,
                   TSimTime unitsPerPixel);

// The pixels of the straight line from (x0, y0) to (x1, y1), both ends included, set to `rgb`
// where they fall inside the RGB32 image.
void DrawTraceLine(QImage& image, int x0, int y0, int x1, int y1, QRgb rgb);
