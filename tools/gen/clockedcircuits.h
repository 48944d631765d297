// SPDX-License-Identifier: MIT
#pragma once

#include "model/schematic.h"

#include <QStringList>

#include <algorithm>
#include <random>
#include <vector>

// Clocked circuits for the simulator's tests and benchmarks, built in code with the pins placing
// would give them. Elements are added in the order named; all levels start at 0.

inline int AddGeneratorElement(Schematic& s, int n, int low, int high) {
    TElement e;
    e.Name = QStringLiteral("Генератор%1").arg(n);
    e.CellWidth = 7;
    e.CellHeight = 8;
    e.Legs = BuildLegs(QString(), QStringLiteral("010001"), 7);
    e.Reaction_LH = low;
    e.Reaction_HL = high;
    return s.AddElement(std::move(e));
}

inline int AddGateElement(Schematic& s, int n, const char* script, int inputs, int lh, int hl) {
    TElement e;
    e.Name = QStringLiteral("D%1.1").arg(n);
    e.CellWidth = 4;
    e.CellHeight = inputs + 1;
    e.Coord = {(n % 40) * 5, (n / 40) * 8};
    e.Legs = BuildLegs(QString(inputs, u'1'), QStringLiteral("1"), e.CellWidth);
    e.Reaction_LH = lh;
    e.Reaction_HL = hl;
    e.Script << QString::fromLatin1(script);
    return s.AddElement(std::move(e));
}

// A generator (durations `low` and `high`) followed by `inverters` inverters with both delays 1,
// each driving the next; the last output stays open. A change of the generator travels one
// inverter per unit.
inline void MakeInverterChain(Schematic& s, int inverters, int low, int high) {
    const int gen = AddGeneratorElement(s, 1, low, high);
    int previous = gen;
    int previousLeg = 0;
    for (int i = 1; i <= inverters; ++i) {
        const int inv = AddGateElement(s, i, "Y=~1", 1, 1, 1);
        s.AddNet({{previous, previousLeg}, {inv, 0}});
        previous = inv;
        previousLeg = 1;
    }
}

// `generators` generators with different periods, then `gates` two-input NAND gates with delays
// 1..4, or all `fixedDelay` when it is above 0 (the wiring stays the same). Every gate reads two of
// the 64 drivers (generator outputs or gates) added just before it, so changes ripple from the
// generators through a deep network without closed loops.
inline void MakeNandNetwork(Schematic& s, int gates, int generators, unsigned seed = 2024,
                            int fixedDelay = 0) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> randomDelay(1, 4);
    const auto delay = [&](std::mt19937& r) {
        const int d = randomDelay(r);
        return fixedDelay > 0 ? fixedDelay : d;
    };
    std::vector<TPinRef> drivers;
    for (int g = 1; g <= generators; ++g) {
        const int gen = AddGeneratorElement(s, g, 20 + 37 * g, 15 + 29 * g);
        drivers.push_back({gen, 0});
        drivers.push_back({gen, 1});
    }
    std::vector<TConns> nets(drivers.size() + static_cast<size_t>(gates));
    for (size_t d = 0; d < drivers.size(); ++d)
        nets[d].push_back(drivers[d]);
    for (int n = 1; n <= gates; ++n) {
        const int gate = AddGateElement(s, n, "Y=~1+~2", 2, delay(rng), delay(rng));
        const int window = std::min<int>(64, static_cast<int>(drivers.size()));
        std::uniform_int_distribution<int> back(1, window);
        for (int input = 0; input < 2; ++input) {
            const size_t net = drivers.size() - static_cast<size_t>(back(rng));
            nets[net].push_back({gate, input});
        }
        nets[drivers.size()].push_back({gate, 2});
        drivers.push_back({gate, 2});
    }
    // A net needs two pins: outputs nobody reads stay open.
    for (TConns& net : nets)
        if (net.size() >= 2) s.AddNet(std::move(net));
}
