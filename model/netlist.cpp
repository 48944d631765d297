// SPDX-License-Identifier: MIT
#include "model/netlist.h"

#include <QRegularExpression>

#include <utility>

namespace {

bool toInt(const QString& text, int32_t* out) {
    bool ok = false;
    const int v = text.toInt(&ok, 10);
    if (ok) *out = v;
    return ok;
}

bool validPins(const QString& pins) {
    for (QChar c : pins)
        if (c != u'0' && c != u'1') return false;
    return true;
}

} // namespace

NetlistResult LoadNetlist(const QString& text, Schematic& s) {
    NetlistResult r;
    const QStringList lines = text.split(u'\n');
    static const QRegularExpression spaces(QStringLiteral("\\s+"));
    auto fail = [&r](int line, const QString& what) {
        r.ok = false;
        r.line = line;
        r.message = QStringLiteral("line %1: %2").arg(line).arg(what);
        return r;
    };
    for (int i = 0; i < lines.size(); ++i) {
        const int lineNo = i + 1;
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(u'#')) continue;
        const QStringList w = line.split(spaces, Qt::SkipEmptyParts);
        const QString& kw = w[0];
        if (kw == u"element") {
            if (w.size() < 10)
                return fail(lineNo, QStringLiteral("element needs NAME X Y W H INT EXT LH HL"));
            int32_t x, y, cw, ch, lh, hl;
            if (!toInt(w[2], &x) || !toInt(w[3], &y) || !toInt(w[4], &cw) || !toInt(w[5], &ch) ||
                !toInt(w[8], &lh) || !toInt(w[9], &hl))
                return fail(lineNo, QStringLiteral("not a whole number"));
            if (cw < 0 || ch < 0) return fail(lineNo, QStringLiteral("negative element size"));
            const QString left = w[6] == u"-" ? QString() : w[6];
            const QString right = w[7] == u"-" ? QString() : w[7];
            if (!validPins(left) || !validPins(right))
                return fail(lineNo, QStringLiteral("pin strings hold only 0 and 1 (or -)"));
            TElement e;
            e.Name = w[1];
            e.Coord = {x, y};
            e.CellWidth = cw;
            e.CellHeight = ch;
            e.Reaction_LH = lh;
            e.Reaction_HL = hl;
            e.Legs = BuildLegs(left, right, cw);
            if (w.size() > 10) e.Script << QStringList(w.mid(10)).join(u' ');
            if (s.AddElement(std::move(e)) == 0)
                return fail(lineNo, QStringLiteral("more than %1 elements").arg(MaxElements));
        } else if (kw == u"net") {
            if (w.size() % 2 == 0) return fail(lineNo, QStringLiteral("net needs pairs of element and leg"));
            if (w.size() < 5) return fail(lineNo, QStringLiteral("a net needs two pins or more"));
            TConns net;
            for (int k = 1; k + 1 < w.size(); k += 2) {
                TPinRef pin;
                if (!toInt(w[k], &pin.Element) || !toInt(w[k + 1], &pin.Leg))
                    return fail(lineNo, QStringLiteral("not a whole number"));
                net.push_back(pin);
            }
            const NetCheck check = s.AddNet(std::move(net));
            const TPinRef& pin = check.pin;
            switch (check.fault) {
            case NetFault::None:
                break;
            case NetFault::NoSuchElement:
                return fail(lineNo, QStringLiteral("unknown element %1").arg(pin.Element));
            case NetFault::NoSuchLeg:
                return fail(lineNo, QStringLiteral("element %1 has no leg %2").arg(pin.Element).arg(pin.Leg));
            case NetFault::PinTaken:
                return fail(lineNo,
                            QStringLiteral("pin %1 %2 is already in a net").arg(pin.Element).arg(pin.Leg));
            case NetFault::TooFewPins:
                return fail(lineNo, QStringLiteral("a net needs two pins or more"));
            }
        } else if (kw == u"toggle") {
            if (w.size() != 3) return fail(lineNo, QStringLiteral("toggle needs NAME T"));
            TToggle t;
            for (int e = 1; e <= s.ElementCount() && t.element == 0; ++e)
                if (s.element(e).Name == w[1]) t.element = e;
            if (t.element == 0) return fail(lineNo, QStringLiteral("unknown element %1").arg(w[1]));
            if (s.element(t.element).kind() != ElementKind::Switch)
                return fail(lineNo, QStringLiteral("%1 is not a switch").arg(w[1]));
            if (!toInt(w[2], &t.time) || t.time < 0) return fail(lineNo, QStringLiteral("bad time unit"));
            r.toggles.push_back(t);
        } else {
            return fail(lineNo, QStringLiteral("unknown line kind '%1'").arg(kw));
        }
    }
    r.ok = true;
    return r;
}
