// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

// How the workspace shows the schematic: the zoom and the net under the pointer.
struct ViewState {
    int32_t Scale = 10;     // pixels per cell, 3..20
    int32_t PrevScale = 10; // Scale before the last zoom change
    int32_t HoverNet = -1;  // net under the pointer, -1 for none
};
