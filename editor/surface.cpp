// SPDX-License-Identifier: MIT
#include "editor/surface.h"

#include "model/types.h"

#include <QPainter>

QColor ColorFromInt(int32_t bgr) {
    const auto v = static_cast<uint32_t>(bgr);
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                  static_cast<int>((v >> 16) & 0xFF));
}

int32_t ColorToInt(const QColor& c) {
    return static_cast<int32_t>(static_cast<uint32_t>(c.red()) | (static_cast<uint32_t>(c.green()) << 8) |
                                (static_cast<uint32_t>(c.blue()) << 16));
}

void PaintDesktop(QImage& surface, int scale, int32_t desktopColor, int32_t gridColor) {
    const int side = FieldPixels(scale) + 1;
    if (surface.width() != side || surface.height() != side || surface.format() != QImage::Format_RGB32)
        surface = QImage(side, side, QImage::Format_RGB32);
    surface.fill(ColorFromInt(desktopColor));
    const QRgb grid = ColorFromInt(gridColor).rgb();
    for (int i = 0; i <= GridMax; ++i)
        for (int j = 0; j <= GridMax; ++j)
            surface.setPixel(i * scale, j * scale, grid);
}

QRgb OpaqueColor(int32_t bgr) {
    return ColorFromInt(bgr).rgb() | 0xFF000000u;
}

void BeginXor(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
}
