// SPDX-License-Identifier: MIT
#pragma once

#include "model/schematic.h"

#include <cstdint>

// Deterministic generated schematics for router tests and benchmarks.
struct GenOptions {
    int elements = 40;
    int nets = 60;
    int minPins = 2;
    int maxPins = 4;
    // Loose: random sizes and pin strings, overlapping elements and elements at or over the grid
    // edge. Otherwise chips of 4 x 5 cells with four pins a side, kept two cells apart.
    bool loose = false;
    // Gives every element a plain box picture (10 pixels per cell) for the workspace.
    bool pictures = false;
    // Chips are placed with x and y below this.
    int span = GridMax;
};

// Fills the (empty) schematic with elements and nets, then derives Cons.
void GenerateSchematic(Schematic& s, uint32_t seed, const GenOptions& options);

// A picture of an element: a box with a stub per pin and the name, white around it (the
// bottom-left pixel, the transparent key colour).
QImage BoxPicture(const TElement& e);
