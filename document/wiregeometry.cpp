// SPDX-License-Identifier: MIT
#include "document/wiregeometry.h"

#include "router/router.h"

#include <QPainter>

#include <cmath>
#include <cstdlib>
#include <utility>

WireTracer::WireTracer(int scale, StrokeSink stroke, DotSink dot)
    : stroke_(std::move(stroke)), dot_(std::move(dot)), scale_(scale), h_(scale / 2), e_(scale / 2 - 1),
      rows_(GridSize) {
    const int pen = scale / 5;
    const int w = pen < 1 ? 1 : pen;
    b0_ = -w / 2;
    b1_ = b0_ + w - 1;
}

WireTracer::~WireTracer() {
    Flush();
}

void WireTracer::Cell(int32_t code, int gx, int gy, QRgb colour) {
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
        dot_(x, y, colour_);
        break;
    default:
        break;
    }
}

void WireTracer::Flush() {
    for (int gy = 0; gy < GridSize; ++gy)
        FlushRow(gy);
    FlushColumn();
}

// Pixels x0..x1 of the horizontal band of grid row gy.
void WireTracer::Across(int gy, int x0, int x1) {
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
void WireTracer::Along(int gx, int y0, int y1) {
    if (y1 < y0) return;
    if (column_.open && column_.grid == gx && column_.to + 1 == y0 && column_.colour == colour_) {
        column_.to = y1;
        return;
    }
    FlushColumn();
    column_ = {true, gx, y0, y1, colour_};
}

void WireTracer::FlushRow(int gy) {
    Run& r = rows_[static_cast<size_t>(gy)];
    if (!r.open) return;
    const int y = gy * scale_;
    stroke_(QRect(QPoint(r.from, y + b0_), QPoint(r.to, y + b1_)), r.colour);
    r.open = false;
}

void WireTracer::FlushColumn() {
    if (!column_.open) return;
    const int x = column_.grid * scale_;
    stroke_(QRect(QPoint(x + b0_, column_.from), QPoint(x + b1_, column_.to)), column_.colour);
    column_.open = false;
}

void TraceWires(const TGrid& wireMap, int scale, const std::function<QRgb(int x, int y)>& colourOf,
                const WireTracer::StrokeSink& stroke, const WireTracer::DotSink& dot) {
    WireTracer tracer(scale, stroke, dot);
    for (int x = 0; x <= GridMax; ++x)
        for (int y = 0; y <= GridMax; ++y) {
            const int32_t c = wireMap.at(x, y);
            if (c < WireHorizontal || c > WireJunction) continue;
            if (const QRgb colour = colourOf(x, y); colour != 0) tracer.Cell(c, x, y, colour);
        }
    tracer.Flush();
}

int WireDotWidth(int scale) {
    const int dot = scale / 5 * 5;
    return dot <= 1 ? 1 : dot;
}

void FillWireDot(QPainter& p, int x, int y, int scale, QRgb colour) {
    const int dot = WireDotWidth(scale);
    const QColor c = QColor::fromRgba(colour);
    if (dot == 1) {
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
