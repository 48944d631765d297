// SPDX-License-Identifier: MIT
#pragma once

#include "document/wiregeometry.h"
#include "model/schematic.h"
#include "router/routinggrids.h"

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QRgb>

#include <optional>
#include <vector>

class QPainter;

// The schematic as a picture for other programs: the element pictures (their key colour left
// out), the wires as the router laid them, on the desktop colour, without the grid dots, the
// selection tint or pin markers. An element without a picture (read from a netlist) shows as a
// white box of its cells with its name. Drawn at `scale` pixels per cell like the workspace, so a
// PNG at the workspace's zoom shows what the workspace shows.

enum class PictureFormat { Png, Svg, Pdf };
// The format named by a file name's suffix (.png, .svg, .pdf, any case), none for another.
std::optional<PictureFormat> PictureFormatOfPath(const QString& path);

// The element's bitmap with every pixel of its key colour (its bottom-left pixel) transparent.
QImage KeyedPicture(const QImage& bitmap);

// Whether any element is selected: only then is there a picture of the selection to offer.
bool HasSelection(const Schematic& schematic);

struct PictureOptions {
    int scale = 10;               // pixels per cell, 3..20
    int32_t desktop = 0x00FFFFFF; // background, 0x00BBGGRR; the wires show in its inverse
    bool selectionOnly = false;   // the selected elements and the nets among them only
};

class SchematicPicture {
public:
    SchematicPicture(const Schematic& schematic, const RoutingGrids& grids, const PictureOptions& options);

    // Nothing to show: no element (or none selected) and no wire.
    bool empty() const { return area_.isEmpty(); }
    // The part of the workspace shown, in workspace pixels at the scale: everything drawn and a
    // margin of one cell around it.
    QRect area() const { return area_; }
    QSize size() const { return area_.size(); }
    // Whether element i (1-based) and the wires of net n (0-based) are in the picture.
    bool Shows(int element) const { return shown_[static_cast<size_t>(element)] != 0; }
    bool ShowsNet(int net) const;

    // Draws the picture with its top-left corner at the painter's origin, one unit a pixel.
    void Paint(QPainter& p) const;
    QImage ToImage() const;
    // SVG 1.1: the wires as lines, the element pictures as embedded PNG, names as text.
    QByteArray ToSvg() const;
    // One page the size of the picture (a pixel a 96th of an inch), drawn by Qt's PDF writer.
    QByteArray ToPdf() const;
    // The file's bytes in `format`; empty when the picture could not be encoded.
    QByteArray Encode(PictureFormat format) const;

    // Where element i's picture or box is drawn, in workspace pixels; empty when it has neither.
    QRect ElementRect(int element) const;
    // The box of a picture-less element's name, in workspace pixels: inside its box, or under it
    // when the name is wider.
    QRect NameRect(int element) const;

private:
    QRgb WireColour() const;
    int PassingNet(int x, int y, int dx, int dy) const;
    // The wire cells shown, through the workspace's wire geometry.
    void Trace(const WireTracer::StrokeSink& stroke, const WireTracer::DotSink& dot) const;

    const Schematic& schematic_;
    const RoutingGrids& grids_;
    PictureOptions options_;
    std::vector<char> shown_;    // [element]
    std::vector<char> netShown_; // [net]
    QRect area_;
};
