// SPDX-License-Identifier: MIT
#pragma once

#include "schematic.h"

// Rebuilds s.WireMap and s.NetMap from the element rectangles and s.Cons.
void RouteWires(Schematic& s);
