// SPDX-License-Identifier: MIT
#pragma once

#include "model/schematic.h"
#include "router/routinggrids.h"

// Wire codes of WireMap besides WireFree and WireBody.
constexpr int32_t WireHorizontal = 10000; // straight piece joining the left and right sides
constexpr int32_t WireVertical = 10001;   // straight piece joining the top and bottom sides
constexpr int32_t WireLeftUp = 10002;
constexpr int32_t WireLeftDown = 10003;
constexpr int32_t WireRightUp = 10004;
constexpr int32_t WireRightDown = 10005;
constexpr int32_t WireCrossing = 10006; // two nets crossing
constexpr int32_t WireJunction = 10010; // a wire meets its own net here

// Rebuilds grids.WireMap and grids.NetMap: element rectangles become obstacles, then every pin
// 1..last of every net is joined to the net by a wave search towards its pin 0 and a walk back
// that marks the wire. Reads the elements in use and s.Cons(); updates grids.RouteDirection, the
// direction carried from one search to the next.
void RouteWires(const Schematic& s, RoutingGrids& grids);

// The same routing written plainly (a copy of the grid per search, a double-ended queue),
// kept as the reference the fast version is checked against. Gives identical results.
void RouteWiresReference(const Schematic& s, RoutingGrids& grids);
