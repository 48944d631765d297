// SPDX-License-Identifier: MIT
#pragma once

#include "router/router.h"

// What the fast router and its plain reference share: the label arithmetic of the routing rules
// and the directions, numbered clockwise 1 = up, 2 = right, 3 = down, 4 = left.
namespace wave {

constexpr int LabelBase = 100000;          // a label is direction * LabelBase + distance
constexpr int MaxDistance = LabelBase - 1; // a longer distance is refused

constexpr int TurnLeft(int d) {
    return d == 1 ? 4 : d - 1;
}
constexpr int TurnRight(int d) {
    return d == 4 ? 1 : d + 1;
}
constexpr int Reverse(int d) {
    return d + 2 > 4 ? d - 2 : d + 2;
}

// The corner piece that joins the side `entered` and the side `towards` (two directions at
// right angles).
constexpr int32_t CornerCode(int entered, int towards) {
    auto has = [&](int side) { return entered == side || towards == side; };
    if (has(4) && has(1)) return WireLeftUp;
    if (has(4) && has(3)) return WireLeftDown;
    if (has(2) && has(1)) return WireRightUp;
    return WireRightDown;
}

} // namespace wave
