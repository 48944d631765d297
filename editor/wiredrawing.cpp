// SPDX-License-Identifier: MIT
#include "editor/wiredrawing.h"

#include "editor/surface.h"
#include "router/router.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

constexpr QRgb White = 0xFFFFFFFFu;
constexpr QRgb Blue = 0x000000FFu;

// Pixels of the wire cells. A segment of pen width w (0 draws like 1) covers w pixel rows (or
// columns) around the grid line, starting w div 2 before it. The pieces of a cell never overlap,
// so each pixel is inverted once; neighbouring cells meet end to end.
class CellPainter {
public:
    CellPainter(QPainter& p, int scale)
        : p_(p), scale_(scale), h_(scale / 2), e_(scale / 2 - 1), rows_(GridSize) {
        const int pen = scale / 5;
        w_ = pen < 1 ? 1 : pen;
        b0_ = -w_ / 2;
        b1_ = b0_ + w_ - 1;
    }
    ~CellPainter() { Flush(); }

    // The pieces of cell (gx, gy). Pieces along a row or a column are gathered into runs and
    // filled once per run; the pixels are the same, since no two pieces overlap.
    void Draw(int32_t code, int gx, int gy, QRgb colour) {
        const int x = gx * scale_, y = gy * scale_;
        colour_ = colour;
        switch (code) {
        case WireHorizontal:
            Across(gy, x - h_, x + e_);
            break;
        case WireVertical:
            Along(gx, y - h_, y + e_);
            break;
        case WireLeftUp:
            Across(gy, x - h_, x + b1_);
            Along(gx, y - h_, y + b0_ - 1);
            break;
        case WireLeftDown:
            Across(gy, x - h_, x + b1_);
            Along(gx, y + b1_ + 1, y + e_);
            break;
        case WireRightUp:
            Across(gy, x + b0_, x + e_);
            Along(gx, y - h_, y + b0_ - 1);
            break;
        case WireRightDown:
            Across(gy, x + b0_, x + e_);
            Along(gx, y + b1_ + 1, y + e_);
            break;
        case WireCrossing:
            Across(gy, x - h_, x + e_);
            Along(gx, y - h_, y + b0_ - 1);
            Along(gx, y + b1_ + 1, y + e_);
            break;
        case WireJunction:
            Dot(x, y);
            break;
        default:
            break;
        }
    }

    void Flush() {
        for (int gy = 0; gy < GridSize; ++gy)
            FlushRow(gy);
        FlushColumn();
    }

private:
    struct Run {
        bool open = false;
        int grid = 0; // column of a vertical run
        int from = 0, to = 0;
        QRgb colour = 0;
    };

    // Pixels x0..x1 of the horizontal band of grid row gy.
    void Across(int gy, int x0, int x1) {
        if (x1 < x0) return;
        Run& r = rows_[static_cast<size_t>(gy)];
        if (r.open && r.to + 1 == x0 && r.colour == colour_) {
            r.to = x1;
            return;
        }
        FlushRow(gy);
        r = {true, gy, x0, x1, colour_};
    }

    // Pixels y0..y1 of the vertical band of grid column gx.
    void Along(int gx, int y0, int y1) {
        if (y1 < y0) return;
        if (column_.open && column_.grid == gx && column_.to + 1 == y0 && column_.colour == colour_) {
            column_.to = y1;
            return;
        }
        FlushColumn();
        column_ = {true, gx, y0, y1, colour_};
    }

    void FlushRow(int gy) {
        Run& r = rows_[static_cast<size_t>(gy)];
        if (!r.open) return;
        const int y = gy * scale_;
        Fill(r.from, y + b0_, r.to, y + b1_, r.colour);
        r.open = false;
    }

    void FlushColumn() {
        if (!column_.open) return;
        const int x = column_.grid * scale_;
        Fill(x + b0_, column_.from, x + b1_, column_.to, column_.colour);
        column_.open = false;
    }

    void Dot(int x, int y) { FillWireDot(p_, x, y, scale_, colour_); }

    // Fills in slices of at most 64 rows: Qt hands taller fills to its thread pool, which costs
    // more than it saves for a thin wire.
    void Fill(int x0, int y0, int x1, int y1, QRgb colour) {
        const QColor c = QColor::fromRgba(colour);
        for (int top = y0; top <= y1; top += 64)
            p_.fillRect(QRect(QPoint(x0, top), QPoint(x1, std::min(top + 63, y1))), c);
    }

    QPainter& p_;
    int scale_, h_, e_, w_ = 1, b0_ = 0, b1_ = 0;
    QRgb colour_ = 0;
    std::vector<Run> rows_; // the open horizontal run of each grid row
    Run column_;            // the open vertical run (cells come column by column)
};

} // namespace

// Symmetric about the grid point's pixel corner like the segments: it spans
// x - dot div 2 .. x - dot div 2 + dot - 1.
void FillWireDot(QPainter& p, int x, int y, int scale, QRgb colour) {
    const int dot = scale / 5 * 5;
    const QColor c = QColor::fromRgba(colour);
    if (dot <= 1) {
        p.fillRect(QRect(x, y, 1, 1), c);
        return;
    }
    const double r = dot / 2.0;
    const int left = x - dot / 2, top = y - dot / 2;
    for (int row = 0; row < dot; ++row) {
        const double dy = row + 0.5 - r;
        const double half = std::sqrt(r * r - dy * dy);
        int first = -1, last = -1;
        for (int col = 0; col < dot; ++col)
            if (std::abs(col + 0.5 - r) <= half) {
                if (first < 0) first = col;
                last = col;
            }
        if (first >= 0) p.fillRect(QRect(QPoint(left + first, top + row), QPoint(left + last, top + row)), c);
    }
}

void DrawField(QImage& surface, const TGrid& wireMap, const TGrid& netMap, int scale, int hoverNet,
               bool highlight, int32_t desktop) {
    if (surface.isNull()) return;
    QPainter p(&surface);
    BeginXor(p);
    CellPainter cell(p, scale);
    const QRgb hover = (OpaqueColor(desktop) ^ Blue) | 0xFF000000u;
    for (int x = 0; x <= GridMax; ++x)
        for (int y = 0; y <= GridMax; ++y) {
            const int32_t c = wireMap.at(x, y);
            if (c < WireHorizontal || c > WireJunction) continue;
            const bool hovered = highlight && netMap.at(x, y) == hoverNet;
            cell.Draw(c, x, y, hovered ? hover : White);
        }
    cell.Flush();
}

void DrawField(QImage& surface, const RoutingGrids& grids, const ViewState& view, const TOptions& options) {
    DrawField(surface, grids.WireMap, grids.NetMap, view.Scale, view.HoverNet, options.HighlightConnection,
              options.DesktopColor);
}
