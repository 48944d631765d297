// SPDX-License-Identifier: MIT
#include "tools/batch.h"
#include "tools/batchio.h"
#include "tools/batchschematic.h"

#include "document/schematicdocument.h"
#include "router/router.h"

// route FILE [--bases DIR]: derives the pin cells, routes every wire once (after the netlist's edit
// lines) and prints each cell that holds a wire or a routed pin as "X Y WIRE NET", x-major. A
// schematic file set (FILE.tsv) is loaded as the program opens it, and the grids are printed as
// that load leaves them.
int BatchRoute(const QStringList& args, FILE* out, FILE* err) {
    QString file;
    QString bases;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == u"--bases" && bases.isEmpty() && i + 1 < args.size()) {
            bases = args[++i];
        } else if (!file.isEmpty() || args[i].startsWith(u"--")) {
            file.clear();
            break;
        } else {
            file = args[i];
        }
    }
    if (file.isEmpty()) {
        ReportError(err,
                    QStringLiteral("route takes one FILE (usage: tarnwell-batch route FILE [--bases DIR])"));
        return 2;
    }
    SchematicDocument document;
    if (!LoadRoutedSchematic(file, bases, document, err)) return 2;
    const RoutingGrids& grids = document.grids();
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
