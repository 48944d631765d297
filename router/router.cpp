// SPDX-License-Identifier: MIT
#include "router.h"

void RouteWires(Schematic& s) {
    s.WireMap.fill(WireFree);
    s.NetMap.fill(NoNet);
    for (int i = 1; i <= s.ElementCount; ++i) {
        const TElement& e = s.element(i);
        for (int x = e.Coord.x; x <= e.Coord.x + e.CellWidth; ++x)
            for (int y = e.Coord.y; y <= e.Coord.y + e.CellHeight; ++y)
                if (x >= 0 && x <= GridMax && y >= 0 && y <= GridMax) s.WireMap.at(x, y) = WireBody;
    }
}
