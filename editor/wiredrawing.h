// SPDX-License-Identifier: MIT
#pragma once

#include "document/wiregeometry.h"
#include "editor/options.h"
#include "editor/viewstate.h"
#include "router/routinggrids.h"

#include <QImage>
#include <QPoint>
#include <QRgb>

class QPainter;

// The wire layer of the workspace, drawn without a widget. It toggles pixels by exclusive or, so
// drawing the same wires twice restores the image exactly.

// The wire layer: every cell of `wireMap` holding a wire code is drawn at `scale` pixels per
// cell; wires of net `hoverNet` show pure blue over the desktop colour when `highlight` is on,
// all others show in the inverse of the background. `desktop` is the desktop colour (0x00BBGGRR).
void DrawField(QImage& surface, const TGrid& wireMap, const TGrid& netMap, int scale, int hoverNet,
               bool highlight, int32_t desktop);
// The same with the routing grids, the zoom and hovered net of the view, and the options.
void DrawField(QImage& surface, const RoutingGrids& grids, const ViewState& view, const TOptions& options);
