// SPDX-License-Identifier: MIT
#include "tools/batch.h"

#include "model/netlist.h"
#include "router/router.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>

#include <cstdlib>

namespace {

// Positions and sizes beyond this cannot be on the workspace and would overflow pin arithmetic.
constexpr int32_t FarLimit = 1000000;

void Print(FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
}

// 1-based line of the element with the given index (its "element" line in file order).
int ElementLine(const QString& text, int index) {
    static const QRegularExpression spaces(QStringLiteral("\\s+"));
    const QStringList lines = text.split(u'\n');
    int seen = 0;
    for (int i = 0; i < lines.size(); ++i)
        if (lines[i].trimmed().split(spaces, Qt::SkipEmptyParts).value(0) == u"element" && ++seen == index)
            return i + 1;
    return 0;
}

} // namespace

int BatchRoute(const QStringList& args, FILE* out, FILE* err) {
    if (args.size() != 1) {
        Print(err, QStringLiteral("usage: tarnwell-batch route FILE\n"));
        return 2;
    }
    const QString& path = args[0];
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Print(err, QStringLiteral("tarnwell-batch: cannot read %1: %2\n").arg(path, file.errorString()));
        return 2;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        Print(err, QStringLiteral("tarnwell-batch: cannot read %1: %2\n").arg(path, file.errorString()));
        return 2;
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    if (utf8.hasError()) {
        Print(err, QStringLiteral("tarnwell-batch: %1 is not UTF-8 text\n").arg(path));
        return 2;
    }

    Schematic s;
    const NetlistResult r = LoadNetlist(text, s);
    if (!r.ok) {
        Print(err, QStringLiteral("%1: %2\n").arg(path, r.message));
        return 2;
    }
    for (int i = 1; i <= s.ElementCount(); ++i) {
        const TElement& e = s.element(i);
        if (std::abs(int64_t{e.Coord.x}) > FarLimit || std::abs(int64_t{e.Coord.y}) > FarLimit ||
            e.CellWidth > FarLimit || e.CellHeight > FarLimit) {
            Print(err, QStringLiteral("%1: line %2: element position or size out of range (more than %3)\n")
                           .arg(path)
                           .arg(ElementLine(text, i))
                           .arg(FarLimit));
            return 2;
        }
    }

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
    std::fwrite(result.constData(), 1, static_cast<size_t>(result.size()), out);
    return std::fflush(out) == 0 ? 0 : 1;
}
