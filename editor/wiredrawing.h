// SPDX-License-Identifier: MIT
#pragma once

#include "model/schematic.h"

#include <QImage>
#include <QPoint>

// Workspace drawing that needs no widget: everything here toggles pixels by exclusive or, so
// drawing the same thing twice restores the image exactly.

// The wire layer: every cell of `wireMap` holding a wire code is drawn at `scale` pixels per
// cell; wires of net `hoverNet` show pure blue over the desktop colour when `highlight` is on,
// all others show in the inverse of the background. `desktop` is the desktop colour (0x00BBGGRR).
void DrawField(QImage& surface, const TGrid& wireMap, const TGrid& netMap, int scale, int hoverNet,
               bool highlight, int32_t desktop);
// The same with the grids, scale, hovered net and options of the schematic.
void DrawField(QImage& surface, const Schematic& s);

// The selection band: a dashed one-pixel rectangle outline between two surface points.
void DrawSelectionRectangle(QImage& surface, QPoint anchor, QPoint corner);

// A dot 10 picture pixels across half a cell inside the picture's edge at the leg's row; red
// where the picture shows the desktop colour. The picture becomes RGB32.
void DrawLegMarker(QImage& picture, const TLeg& leg, int32_t desktop);
