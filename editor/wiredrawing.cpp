// SPDX-License-Identifier: MIT
#include "wiredrawing.h"

#include "router.h"
#include "surface.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr QRgb White = 0xFFFFFFFFu;
constexpr QRgb Blue = 0x000000FFu;
constexpr QRgb Red = 0x00FF0000u;

QRgb Opaque(int32_t bgr) {
    return ColorFromInt(bgr).rgb() | 0xFF000000u;
}

void BeginXor(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
}

// Pixels of one wire cell. A segment of pen width w (0 draws like 1) covers w pixel rows (or
// columns) around the grid line, starting w div 2 before it. The pieces of one cell never
// overlap, so each pixel is inverted once; neighbouring cells meet end to end.
class CellPainter {
public:
    CellPainter(QPainter& p, int scale) : p_(p), h_(scale / 2), e_(scale / 2 - 1) {
        const int pen = scale / 5;
        w_ = pen < 1 ? 1 : pen;
        dot_ = pen * 5;
    }

    void Draw(int32_t code, int x, int y, const QColor& colour) {
        colour_ = colour;
        const int b0 = -w_ / 2, b1 = b0 + w_ - 1; // the band of a line, relative to it
        switch (code) {
        case WireHorizontal:
            Rect(x - h_, y + b0, x + e_, y + b1);
            break;
        case WireVertical:
            Rect(x + b0, y - h_, x + b1, y + e_);
            break;
        case WireLeftUp:
            Rect(x - h_, y + b0, x + b1, y + b1);
            Rect(x + b0, y - h_, x + b1, y + b0 - 1);
            break;
        case WireLeftDown:
            Rect(x - h_, y + b0, x + b1, y + b1);
            Rect(x + b0, y + b1 + 1, x + b1, y + e_);
            break;
        case WireRightUp:
            Rect(x + b0, y + b0, x + e_, y + b1);
            Rect(x + b0, y - h_, x + b1, y + b0 - 1);
            break;
        case WireRightDown:
            Rect(x + b0, y + b0, x + e_, y + b1);
            Rect(x + b0, y + b1 + 1, x + b1, y + e_);
            break;
        case WireCrossing:
            Rect(x - h_, y + b0, x + e_, y + b1);
            Rect(x + b0, y - h_, x + b1, y + b0 - 1);
            Rect(x + b0, y + b1 + 1, x + b1, y + e_);
            break;
        case WireJunction:
            Dot(x, y);
            break;
        default:
            break;
        }
    }

private:
    // A round dot `dot_` pixels across (one pixel when the pen width is 0), symmetric about the
    // grid point's pixel corner like the segments: it spans x - dot div 2 .. x - dot div 2 + dot - 1.
    void Dot(int x, int y) {
        if (dot_ <= 1) {
            Rect(x, y, x, y);
            return;
        }
        const double r = dot_ / 2.0;
        const int left = x - dot_ / 2, top = y - dot_ / 2;
        for (int row = 0; row < dot_; ++row) {
            const double dy = row + 0.5 - r;
            const double half = std::sqrt(r * r - dy * dy);
            int first = -1, last = -1;
            for (int col = 0; col < dot_; ++col)
                if (std::abs(col + 0.5 - r) <= half) {
                    if (first < 0) first = col;
                    last = col;
                }
            if (first >= 0) Rect(left + first, top + row, left + last, top + row);
        }
    }

    void Rect(int x0, int y0, int x1, int y1) {
        if (x1 < x0 || y1 < y0) return;
        p_.fillRect(QRect(QPoint(x0, y0), QPoint(x1, y1)), colour_);
    }

    QPainter& p_;
    int h_, e_, w_, dot_;
    QColor colour_;
};

} // namespace

void DrawField(QImage& surface, const TGrid& wireMap, const TGrid& netMap, int scale, int hoverNet,
               bool highlight, int32_t desktop) {
    if (surface.isNull()) return;
    QPainter p(&surface);
    BeginXor(p);
    CellPainter cell(p, scale);
    const QColor white = QColor::fromRgba(White);
    const QColor hover = QColor::fromRgba((Opaque(desktop) ^ Blue) | 0xFF000000u);
    for (int x = 0; x <= GridMax; ++x)
        for (int y = 0; y <= GridMax; ++y) {
            const int32_t c = wireMap.at(x, y);
            if (c < WireHorizontal || c > WireJunction) continue;
            const bool hovered = highlight && netMap.at(x, y) == hoverNet;
            cell.Draw(c, x * scale, y * scale, hovered ? hover : white);
        }
}

void DrawField(QImage& surface, const Schematic& s) {
    DrawField(surface, s.WireMap, s.NetMap, s.Scale, s.HoverNet, s.Options.HighlightConnection,
              s.Options.DesktopColor);
}

void DrawSelectionRectangle(QImage& surface, QPoint anchor, QPoint corner) {
    if (surface.isNull()) return;
    QPainter p(&surface);
    BeginXor(p);
    p.setPen(QPen(QColor::fromRgba(White), 1, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    // A stroked rectangle covers one pixel more than its size: the outline runs exactly through
    // both points.
    const int x0 = std::min(anchor.x(), corner.x()), y0 = std::min(anchor.y(), corner.y());
    p.drawRect(QRect(x0, y0, std::abs(corner.x() - anchor.x()), std::abs(corner.y() - anchor.y())));
}

void DrawLegMarker(QImage& picture, const TLeg& leg, int32_t desktop) {
    if (picture.isNull()) return;
    if (picture.format() != QImage::Format_RGB32) picture = picture.convertToFormat(QImage::Format_RGB32);
    const int x = leg.X == 0 ? 5 : leg.X * PictureCellPixels - 5;
    const int y = leg.Y * PictureCellPixels;
    QPainter p(&picture);
    BeginXor(p);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromRgba((Opaque(desktop) ^ Red) | 0xFF000000u));
    p.drawEllipse(QRect(x - 5, y - 5, 10, 10));
}
