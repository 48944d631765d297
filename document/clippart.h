// SPDX-License-Identifier: MIT
#pragma once

#include "model/placement.h"
#include "model/types.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

class Schematic;

// One copied element with what placing it again takes.
struct TClipElement {
    QString name;
    // A chip element: the chip's marking, a number of its chip within the part (shared by the
    // elements of one chip),
    // how many elements it lists and the element's 1-based place among them. Empty mark: a
    // special element, or a chip element that no navigator node lists (then placed as it was).
    QString mark;
    int32_t chipNumber = 0;
    int32_t chipElements = 0;
    int32_t chipSlot = 0;
    // The picture without the designator, the pin strings, the script and the delays.
    TPlacementData data;
    TPoint32 coord;
    int32_t cellWidth = 0;
    int32_t cellHeight = 0;
};

// Copied elements and every net whose pins all lie among them; a net's pins name the elements by
// their 1-based place in `elements`.
struct TClipPart {
    std::vector<TClipElement> elements;
    std::vector<TConns> nets;

    bool empty() const { return elements.empty(); }
    // The cells the elements cover, from the top-left of the first to the far corner of the last.
    TPoint32 topLeft() const;
    TPoint32 size() const;
};

// The selected elements of `s` with the nets among them; `placement` gives a listed element's
// picture without its designator (the element's own picture is taken when it gives none).
TClipPart CopySelection(const Schematic& s, const PlacementSource& placement);

// The clipboard's own format of a part and its reading back. Decoding trusts no number: counts,
// sizes, places and pins out of range give none.
QByteArray EncodeClipPart(const TClipPart& part);
std::optional<TClipPart> DecodeClipPart(const QByteArray& bytes);

// The copied element as it was, picture and all (no designator written anew).
TElement ElementOf(const TClipElement& c);

// The part as netlist text (its `element` and `net` lines), for pasting into a text editor.
QString ClipPartText(const TClipPart& part);
