// SPDX-License-Identifier: MIT
#include "editor/wiredrawing.h"

#include "editor/surface.h"

#include <QPainter>

#include <algorithm>

namespace {

constexpr QRgb White = 0xFFFFFFFFu;
constexpr QRgb Blue = 0x000000FFu;

} // namespace

void DrawField(QImage& surface, const TGrid& wireMap, const TGrid& netMap, int scale, int hoverNet,
               bool highlight, int32_t desktop) {
    if (surface.isNull()) return;
    QPainter p(&surface);
    BeginXor(p);
    const QRgb hover = (OpaqueColor(desktop) ^ Blue) | 0xFF000000u;
    TraceWires(
        wireMap, scale,
        [&](int x, int y) { return highlight && netMap.at(x, y) == hoverNet ? hover : White; },
        [&p](const QRect& pixels, QRgb colour) {
            // Fills in slices of at most 64 rows: Qt hands taller fills to its thread pool, which
            // costs more than it saves for a thin wire.
            const QColor c = QColor::fromRgba(colour);
            for (int top = pixels.top(); top <= pixels.bottom(); top += 64)
                p.fillRect(QRect(QPoint(pixels.left(), top),
                                 QPoint(pixels.right(), std::min(top + 63, pixels.bottom()))),
                           c);
        },
        [&p, scale](int x, int y, QRgb colour) { FillWireDot(p, x, y, scale, colour); });
}

void DrawField(QImage& surface, const RoutingGrids& grids, const ViewState& view, const TOptions& options) {
    DrawField(surface, grids.WireMap, grids.NetMap, view.Scale, view.HoverNet, options.HighlightConnection,
              options.DesktopColor);
}
