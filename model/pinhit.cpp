// SPDX-License-Identifier: MIT
#include "model/pinhit.h"

int LegAt(const TElement& e, int x, int y, int scale) {
    if (scale <= x && x <= (e.CellWidth - 1) * scale) return -1;
    const int h = scale / 2;
    for (size_t j = 0; j < e.Legs.size(); ++j) {
        const TLeg& leg = e.Legs[j];
        if ((leg.X - 1) * scale < x && x < (leg.X + 1) * scale && leg.Y * scale - h < y &&
            y < leg.Y * scale + h)
            return static_cast<int>(j);
    }
    return -1;
}
