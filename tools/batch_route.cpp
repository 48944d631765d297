// SPDX-License-Identifier: MIT
#include "tools/batch.h"
#include "tools/batchio.h"

#include "router/router.h"

// route FILE: derives the pin cells, routes every wire once and prints each cell that holds a
// wire or a routed pin as "X Y WIRE NET", x-major.
int BatchRoute(const QStringList& args, FILE* out, FILE* err) {
    if (args.size() != 1) {
        ReportError(err, QStringLiteral("route takes one FILE (usage: tarnwell-batch route FILE)"));
        return 2;
    }
    Schematic s;
    if (!ReadNetlistFile(args[0], s, err)) return 2;

    s.DeriveCons();
    RoutingGrids grids;
    RouteWires(s, grids);
    QByteArray result;
    for (int x = 0; x <= GridMax; ++x)
        for (int y = 0; y <= GridMax; ++y) {
            const int32_t wire = grids.WireMap.at(x, y);
            const int32_t net = grids.NetMap.at(x, y);
            if ((wire == WireFree || wire == WireBody) && net == NoNet) continue;
            result += QByteArray::number(x) + ' ' + QByteArray::number(y) + ' ' + QByteArray::number(wire) +
                      ' ' + QByteArray::number(net) + '\n';
        }
    return WriteOutput(out, result, err) ? 0 : 1;
}
