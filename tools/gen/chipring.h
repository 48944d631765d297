// SPDX-License-Identifier: MIT
#pragma once

#include "model/schematic.h"

// Fills an empty schematic with `count` chip elements for the simulator's tests and benchmarks:
// element i uses the (i mod 8)-th of the eight expressions with as many inputs as it reads, has
// one output and delays 1..20. Net i - 1 holds element i's output and input 1 of element i + 1
// (a ring); every other input joins a random net. All levels start at 0.
void MakeChipRing(Schematic& s, int count, unsigned seed = 12345);
