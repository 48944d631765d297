// SPDX-License-Identifier: MIT
#pragma once

#include "model/types.h"

#include <QImage>
#include <QPoint>

#include <cstdint>

// The transient marks over the workspace and the pictures. Each is drawn by exclusive or, so
// drawing it again removes it exactly.

// The selection tint: every pixel of the picture exclusive-or yellow (a line so wide that it
// covers the whole picture). The picture becomes RGB32.
void DrawSelectionTint(QImage& picture);

// The selection band: a dashed one-pixel rectangle outline between two surface points.
void DrawSelectionRectangle(QImage& surface, QPoint anchor, QPoint corner);

// A dot 10 picture pixels across half a cell inside the picture's edge at the leg's row; red
// where the picture shows the desktop colour. The picture becomes RGB32.
void DrawLegMarker(QImage& picture, const TLeg& leg, int32_t desktop);

// The wire-drop dot on grid point `cell`: white, a junction dot's size and shape.
void DrawDropDot(QImage& surface, QPoint cell, int scale);
