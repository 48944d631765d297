// SPDX-License-Identifier: MIT
#include "sim/fullpasssimulator.h"

void FullPassSimulator::SimStep() {
    SyncNetLevels();
    if (TablesCurrent())
        ReadLoosePins([](int) {});
    else
        ReadTables();
    PlainPass();
    StoreAllPins();
}
