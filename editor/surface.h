// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QImage>

class QPainter;

#include <cstdint>

// Colour stored as 0x00BBGGRR (the settings file's form) to a QColor and back.
QColor ColorFromInt(int32_t bgr);
int32_t ColorToInt(const QColor& c);

// The colour as an opaque QRgb.
QRgb OpaqueColor(int32_t bgr);
// Sets the painter up for exclusive-or drawing: no antialiasing (which would disable it).
void BeginXor(QPainter& p);

// Side in pixels of the workspace panel and of the painted field at `scale` pixels per cell.
inline int FieldPixels(int scale) {
    return scale * 2000 / 10;
}

// Paints the workspace background: the whole field in the desktop colour and one grid-coloured
// pixel at every grid point (x * scale, y * scale). The image is (re)sized to hold grid point 200.
void PaintDesktop(QImage& surface, int scale, int32_t desktopColor, int32_t gridColor);
