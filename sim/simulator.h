// SPDX-License-Identifier: MIT
#pragma once

#include "schematic.h"

#include <cstdint>
#include <vector>

// The simulator's own state: the clock, one level per net and the two flags of the toolbar.
struct Simulator {
    int32_t SimTime = 0;
    std::vector<uint8_t> NetLevels;
    bool Paused = false;
    bool StopRequested = false;
};
