// SPDX-License-Identifier: MIT
#pragma once

#include "sim/simcore.h"

// The simulator as straightforward passes: every pass loads every input, visits every element in
// table order and drives every net. It visits through the same behaviour table as Simulator,
// which skips the visits that would change nothing, and serves as that one's reference in the
// tests and benchmarks.
class FullPassSimulator final : public SimCore {
public:
    explicit FullPassSimulator(Schematic& schematic) : SimCore(schematic) {}

    void SimStep() override;
};
