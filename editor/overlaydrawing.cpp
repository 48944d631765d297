// SPDX-License-Identifier: MIT
#include "editor/overlaydrawing.h"

#include "editor/surface.h"
#include "editor/wiredrawing.h"

#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace {

constexpr QRgb White = 0xFFFFFFFFu;
constexpr QRgb Red = 0x00FF0000u;

} // namespace

void DrawSelectionTint(QImage& picture) {
    if (picture.isNull()) return;
    if (picture.format() != QImage::Format_RGB32) picture = picture.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<uint32_t*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            line[x] ^= 0x00FFFF00u;
    }
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
    p.setBrush(QColor::fromRgba((OpaqueColor(desktop) ^ Red) | 0xFF000000u));
    p.drawEllipse(QRect(x - 5, y - 5, 10, 10));
}

void DrawDropDot(QImage& surface, QPoint cell, int scale) {
    if (surface.isNull()) return;
    QPainter p(&surface);
    BeginXor(p);
    FillWireDot(p, cell.x() * scale, cell.y() * scale, scale, White);
}
