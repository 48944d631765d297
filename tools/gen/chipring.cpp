// SPDX-License-Identifier: MIT
#include "tools/gen/chipring.h"

#include <QStringList>

#include <array>
#include <random>
#include <utility>
#include <vector>

void MakeChipRing(Schematic& s, int count, unsigned seed) {
    struct Kind {
        const char* script;
        int inputs;
    };
    static const std::array<Kind, 8> kinds{{{"Y=~1", 1},
                                            {"Y=1+2", 2},
                                            {"Y=1&2", 2},
                                            {"Y=~1+~2", 2},
                                            {"Y=~1&~2", 2},
                                            {"Y=1+2+3+4", 4},
                                            {"Y=1&2&3&4", 4},
                                            {"Y=~1+~2+~3+~4+~5+~6+~7+~8", 8}}};
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> delay(1, 20);
    std::uniform_int_distribution<int> anyNet(0, count - 1);
    std::vector<TConns> nets(static_cast<size_t>(count));
    for (int i = 1; i <= count; ++i) {
        TElement e;
        const Kind& k = kinds[static_cast<size_t>((i - 1) % 8)];
        e.Name = QStringLiteral("D%1.1").arg(i);
        e.CellWidth = 4;
        e.CellHeight = k.inputs + 1;
        e.Coord = {(i % 40) * 5, (i / 40) * 8};
        e.Legs = BuildLegs(QString(k.inputs, u'1'), QStringLiteral("1"), e.CellWidth);
        e.Reaction_LH = delay(rng);
        e.Reaction_HL = delay(rng);
        e.Script << QString::fromLatin1(k.script);
        s.AddElement(std::move(e));
        nets[static_cast<size_t>(i - 1)].push_back({i, k.inputs}); // the output leg
    }
    for (int i = 1; i <= count; ++i) {
        const TElement& e = s.element(i);
        const int inputs = static_cast<int>(e.Legs.size()) - 1;
        for (int leg = 0; leg < inputs; ++leg) {
            const int net = leg == 0 ? (i - 2 + count) % count : anyNet(rng);
            nets[static_cast<size_t>(net)].push_back({i, leg});
        }
    }
    for (TConns& net : nets)
        s.AddNet(std::move(net));
}
