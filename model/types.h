// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

// Grid of the workspace: cells (x, y) with x, y in 0..GridMax.
constexpr int GridMax = 200;
constexpr int GridSize = GridMax + 1;
constexpr int GridCells = GridSize * GridSize;
// Element pictures are authored at this many pixels per cell.
constexpr int PictureCellPixels = 10;
// Fixed capacity of the element table; slots are numbered 1..MaxElements.
constexpr int MaxElements = 1000;
// Element coordinates read from files lie within -CoordinateLimit..CoordinateLimit (far beyond the
// field, and small enough for pixel arithmetic at any zoom).
constexpr int32_t CoordinateLimit = 1000000;

// Simulated time in time units: the simulator's clock, the due times of scheduled changes and the
// times a probe records. 64 bits, so a run never wraps round: at a billion units a second it would
// count for centuries.
using TSimTime = int64_t;

// One pin of an element: position relative to the element's top-left cell and the simulator's
// per-pin state.
struct TLeg {
    int32_t X = 0; // 0 on the left side, CellWidth on the right side
    int32_t Y = 0; // 1-based row on its side
    uint8_t Level = 0;
    bool IsInput = false;
    uint8_t Pending = 0;
    int32_t Ordinal = 0;
    TSimTime Timer = 0;
};

struct TPoint32 {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const TPoint32&, const TPoint32&) = default;
};

enum class ElementKind { Chip, Indicator, Switch, Generator, Probe, Unknown };

// One placed element. `Bitmap` is the element's own picture (the selection tint is drawn into
// it); the workspace view shows it in a picture control whose tag is the element index.
struct TElement {
    TPoint32 Coord;
    int32_t CellWidth = 0;
    int32_t CellHeight = 0;
    std::vector<TLeg> Legs;
    int32_t Reaction_LH = 0;
    int32_t Reaction_HL = 0;
    QImage Bitmap;
    bool Selected = false;
    QString Name;
    bool State = false;
    QStringList Script;
    // Probe: the times its input changed, oldest first, and its level before the first of them
    // (low, unless older changes were dropped from the record). Indicator: the times its State
    // changed, when the simulator records them.
    std::vector<TSimTime> Transitions;
    bool LevelBefore = false;
    // Probe: the record is whole from this unit on (the last dropped change, 0 when none was).
    TSimTime RecordFrom = 0;

    ElementKind kind() const;
};

// A pin reference: 1-based element index, 0-based leg index.
struct TPinRef {
    int32_t Element = 0;
    int32_t Leg = 0;
    friend bool operator==(const TPinRef&, const TPinRef&) = default;
};
using TConns = std::vector<TPinRef>; // one net: its pins in joining order

struct TCellPoint {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const TCellPoint&, const TCellPoint&) = default;
};
using TCons = std::vector<TCellPoint>; // the absolute cells of one net's pins

// Kind of an element from the first character of its designator.
ElementKind KindOfName(const QString& name);

// Legs from the two pin-position strings: one leg per "1" of the left string (X = 0), then one
// per "1" of the right string (X = cellWidth); Y is the 1-based position of the "1".
std::vector<TLeg> BuildLegs(const QString& leftPins, const QString& rightPins, int32_t cellWidth);
