// SPDX-License-Identifier: MIT
#pragma once

#include "router/routinggrids.h"

#include <QRect>
#include <QRgb>

#include <functional>
#include <vector>

class QPainter;

// The pixels of the wires at `scale` pixels per cell, the one geometry the workspace and the
// pictures of the schematic draw. A wire cell is cut into pieces: bands of the pen width
// ((scale div 5), at least 1) along its grid row or column, reaching the cell's edges on its
// connected sides and meeting at the grid point (x * scale, y * scale), and a round dot on a
// junction. A band covers pen-width pixel rows (or columns) starting pen div 2 before the grid
// line. The pieces of a cell never overlap and neighbouring cells meet end to end, so pieces along
// a row or a column are handed on gathered into runs: the pixels are the same.
class WireTracer {
public:
    // A run: the filled pixels, corners included, in the colour of its cells.
    using StrokeSink = std::function<void(const QRect& pixels, QRgb colour)>;
    // A junction dot centred on surface pixel corner (x, y).
    using DotSink = std::function<void(int x, int y, QRgb colour)>;

    WireTracer(int scale, StrokeSink stroke, DotSink dot);
    ~WireTracer();
    WireTracer(const WireTracer&) = delete;
    WireTracer& operator=(const WireTracer&) = delete;

    // The pieces of cell (gx, gy) holding wire code `code`; cells come column by column.
    void Cell(int32_t code, int gx, int gy, QRgb colour);
    // Hands on the runs still open.
    void Flush();

private:
    struct Run {
        bool open = false;
        int grid = 0; // column of a vertical run
        int from = 0, to = 0;
        QRgb colour = 0;
    };
    void Across(int gy, int x0, int x1);
    void Along(int gx, int y0, int y1);
    void FlushRow(int gy);
    void FlushColumn();

    StrokeSink stroke_;
    DotSink dot_;
    int scale_, h_, e_, b0_ = 0, b1_ = 0;
    QRgb colour_ = 0;
    std::vector<Run> rows_; // the open horizontal run of each grid row
    Run column_;            // the open vertical run
};

// Every wire cell of `wireMap`, column by column, in the colour `colourOf(x, y)` gives; a cell it
// gives 0 (transparent) for is left out.
void TraceWires(const TGrid& wireMap, int scale, const std::function<QRgb(int x, int y)>& colourOf,
                const WireTracer::StrokeSink& stroke, const WireTracer::DotSink& dot);

// The dot's width in pixels: (scale div 5) * 5, or 1 when that is 0.
int WireDotWidth(int scale);
// The round dot of junctions and of the wire drop, at surface pixel (x, y): it spans
// x - width div 2 .. x - width div 2 + width - 1 (likewise in y), filled in `colour` with the
// painter's composition.
void FillWireDot(QPainter& p, int x, int y, int scale, QRgb colour);
