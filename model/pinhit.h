// SPDX-License-Identifier: MIT
#pragma once

#include "model/types.h"

// The leg of `e` under the pointer at (x, y) pixels relative to the element's picture shown at
// `scale` pixels per cell, or -1. The inner columns (scale <= x <= (CellWidth - 1) * scale) hold
// no pin; otherwise the first leg in leg order whose cell strictly contains the point wins, a
// cell reaching one cell to each side of the leg's column and half a cell above and below its
// row. So a left pin is hit up to one cell left of the picture, a right pin one cell right of it.
int LegAt(const TElement& e, int x, int y, int scale);
