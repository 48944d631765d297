// SPDX-License-Identifier: MIT
#include "sim/fullpasssimulator.h"

void FullPassSimulator::SimStep() {
    SyncNetLevels();
    if (!TablesCurrent()) ReadTables();
    PlainPass();
}
