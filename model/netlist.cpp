// SPDX-License-Identifier: MIT
#include "model/netlist.h"

#include <limits>
#include <utility>

namespace {

constexpr int32_t Int32Min = std::numeric_limits<int32_t>::min();
constexpr int32_t Int32Max = std::numeric_limits<int32_t>::max();

// A numeric field of a line: its name in messages and the values it takes.
struct Field {
    const char* name;
    int64_t min;
    int64_t max;
};

constexpr Field FieldX{"X", -NetlistFarLimit, NetlistFarLimit};
constexpr Field FieldY{"Y", -NetlistFarLimit, NetlistFarLimit};
constexpr Field FieldWidth{"width", 0, NetlistFarLimit};
constexpr Field FieldHeight{"height", 0, NetlistFarLimit};
constexpr Field FieldDelayLH{"delay LH", 0, Int32Max};
constexpr Field FieldDelayHL{"delay HL", 0, Int32Max};
constexpr Field FieldElement{"element", Int32Min, Int32Max};
constexpr Field FieldLeg{"leg", Int32Min, Int32Max};
constexpr Field FieldTime{"time unit", 0, NetlistLastTime};
constexpr Field FieldNet{"net", Int32Min, Int32Max};

bool validPins(const QString& pins) {
    for (QChar c : pins)
        if (c != u'0' && c != u'1') return false;
    return true;
}

// Words separated by spaces and tabs; every other character belongs to a word.
QStringList SplitWords(QStringView line) {
    QStringList words;
    qsizetype start = -1;
    for (qsizetype i = 0; i <= line.size(); ++i) {
        const bool gap = i == line.size() || line[i] == u' ' || line[i] == u'\t';
        if (gap && start >= 0) {
            words << line.mid(start, i - start).toString();
            start = -1;
        } else if (!gap && start < 0) {
            start = i;
        }
    }
    return words;
}

// Position of the first control character other than tab, or -1.
qsizetype ControlCharacter(QStringView line) {
    for (qsizetype i = 0; i < line.size(); ++i)
        if ((line[i].unicode() < 0x20 && line[i] != u'\t') || line[i].unicode() == 0x7F) return i;
    return -1;
}

} // namespace

StatementLine ReadStatementLine(QStringView line) {
    if (line.endsWith(u'\r')) line.chop(1);
    StatementLine r{line, SplitWords(line), QString()};
    if (r.words.isEmpty() || r.words[0].startsWith(u'#')) {
        r.words.clear();
        return r;
    }
    if (const qsizetype at = ControlCharacter(line); at >= 0)
        r.fault = QStringLiteral("control character U+%1")
                      .arg(QString::number(line[at].unicode(), 16).toUpper().rightJustified(4, u'0'));
    return r;
}

int UniqueElement(const Schematic& s, const QString& name, QString* why) {
    int found = 0;
    int count = 0;
    for (int e = 1; e <= s.ElementCount(); ++e)
        if (s.element(e).Name == name && count++ == 0) found = e;
    if (count == 0) *why = QStringLiteral("unknown element %1").arg(name);
    if (count > 1) *why = QStringLiteral("%1 names %2 elements").arg(name).arg(count);
    return count == 1 ? found : 0;
}

NumberFault ReadWholeNumber(QStringView text, int64_t min, int64_t max, int64_t* out) {
    const bool negative = text.startsWith(u'-');
    const QStringView digits = negative ? text.mid(1) : text;
    if (digits.isEmpty()) return NumberFault::NotANumber;
    // The magnitude stops growing just past the 64-bit range, so long inputs stay in range of the
    // arithmetic while still reading as out of range.
    constexpr uint64_t Top = uint64_t{1} << 63; // the magnitude of the lowest value
    uint64_t magnitude = 0;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9') return NumberFault::NotANumber;
        const auto digit = static_cast<uint64_t>(c.unicode() - u'0');
        magnitude = magnitude > (Top - digit) / 10 ? Top + 1 : magnitude * 10 + digit;
    }
    if (magnitude > Top || (magnitude == Top && !negative)) return NumberFault::OutOfRange;
    const int64_t value = magnitude == Top ? std::numeric_limits<int64_t>::min()
                          : negative       ? -static_cast<int64_t>(magnitude)
                                           : static_cast<int64_t>(magnitude);
    if (value < min || value > max) return NumberFault::OutOfRange;
    *out = value;
    return NumberFault::None;
}

NumberFault ReadWholeNumber(QStringView text, int32_t min, int32_t max, int32_t* out) {
    int64_t value = 0;
    const NumberFault fault = ReadWholeNumber(text, int64_t{min}, int64_t{max}, &value);
    if (fault == NumberFault::None) *out = static_cast<int32_t>(value);
    return fault;
}

QString NumberFaultMessage(NumberFault fault, const QString& field, QStringView text, int64_t min) {
    if (fault == NumberFault::NotANumber)
        return QStringLiteral("%1 is not a whole number: %2").arg(field, text.toString());
    if (min == 0 && text.startsWith(u'-'))
        return QStringLiteral("%1 is negative: %2").arg(field, text.toString());
    return QStringLiteral("%1 out of range: %2").arg(field, text.toString());
}

void NetlistResult::Fail(int at, const QString& what) {
    ok = false;
    line = at;
    message = QStringLiteral("line %1: %2").arg(at).arg(what);
}

NetlistResult ReadNetlist(const QString& text, Schematic& s) {
    NetlistResult r;
    const QStringList lines = text.split(u'\n');
    auto fail = [&r](int line, const QString& what) {
        r.Fail(line, what);
        return r;
    };
    // Reads word `w` as `field`; on a fault sets `bad` to its message.
    QString bad;
    auto number = [&bad]<typename Int>(const QString& w, const Field& field, Int* out) {
        int64_t value = 0;
        const NumberFault fault = ReadWholeNumber(w, field.min, field.max, &value);
        if (fault == NumberFault::None) *out = static_cast<Int>(value);
        if (fault != NumberFault::None)
            bad = NumberFaultMessage(fault, QString::fromLatin1(field.name), w, field.min);
        return fault == NumberFault::None;
    };
    std::vector<TNetlistEdit>& edits = r.edits;
    std::vector<TNetlistToggle>& toggles = r.pendingToggles;

    for (int i = 0; i < lines.size(); ++i) {
        const int lineNo = i + 1;
        const StatementLine line = ReadStatementLine(lines[i]);
        if (line.words.isEmpty()) continue;
        if (!line.fault.isEmpty()) return fail(lineNo, line.fault);
        const QStringList& w = line.words;
        const QString& kw = w[0];
        if (kw == u"element") {
            if (w.size() < 10)
                return fail(lineNo, QStringLiteral("element needs NAME X Y W H INT EXT LH HL"));
            int32_t x, y, cw, ch, lh, hl;
            if (!number(w[2], FieldX, &x) || !number(w[3], FieldY, &y) || !number(w[4], FieldWidth, &cw) ||
                !number(w[5], FieldHeight, &ch) || !number(w[8], FieldDelayLH, &lh) ||
                !number(w[9], FieldDelayHL, &hl))
                return fail(lineNo, bad);
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
            // The rectangle covers columns x..x+cw and rows y..y+ch; the editor keeps such an
            // element, but nothing of it outside the field is routed or drawn.
            const bool wholly = x > GridMax || y > GridMax || x + cw < 0 || y + ch < 0;
            const bool partly = x < 0 || y < 0 || x + cw > GridMax || y + ch > GridMax;
            if (partly)
                r.warnings << QStringLiteral("line %1: warning: element %2 lies %3outside the %4 × %4 field")
                                  .arg(lineNo)
                                  .arg(w[1], wholly ? QString() : QStringLiteral("partly "))
                                  .arg(GridSize);
        } else if (kw == u"net") {
            if (w.size() % 2 == 0) return fail(lineNo, QStringLiteral("net needs pairs of element and leg"));
            if (w.size() < 5) return fail(lineNo, QStringLiteral("a net needs two pins or more"));
            TConns net;
            for (int k = 1; k + 1 < w.size(); k += 2) {
                TPinRef pin;
                if (!number(w[k], FieldElement, &pin.Element) || !number(w[k + 1], FieldLeg, &pin.Leg))
                    return fail(lineNo, bad);
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
            TNetlistToggle t{lineNo, w[1], 0};
            if (!number(w[2], FieldTime, &t.time)) return fail(lineNo, bad);
            toggles.push_back(std::move(t));
        } else if (kw == u"connect") {
            TNetlistEdit e{lineNo, NetlistEditKind::Connect, {w.value(1), w.value(3)}};
            if (w.size() != 5) return fail(lineNo, QStringLiteral("connect needs NAME LEG NAME LEG"));
            if (!number(w[2], FieldLeg, &e.legs[0]) || !number(w[4], FieldLeg, &e.legs[1]))
                return fail(lineNo, bad);
            edits.push_back(std::move(e));
        } else if (kw == u"disconnect") {
            TNetlistEdit e{lineNo, NetlistEditKind::Disconnect, {w.value(1)}};
            if (w.size() != 3) return fail(lineNo, QStringLiteral("disconnect needs NAME LEG"));
            if (!number(w[2], FieldLeg, &e.legs[0])) return fail(lineNo, bad);
            edits.push_back(std::move(e));
        } else if (kw == u"removenet") {
            TNetlistEdit e{lineNo, NetlistEditKind::RemoveNet, {}};
            if (w.size() != 2) return fail(lineNo, QStringLiteral("removenet needs N"));
            if (!number(w[1], FieldNet, &e.net)) return fail(lineNo, bad);
            edits.push_back(std::move(e));
        } else if (kw == u"delete") {
            if (w.size() < 2) return fail(lineNo, QStringLiteral("delete needs NAME [NAME...]"));
            edits.push_back({lineNo, NetlistEditKind::Delete, w.mid(1)});
        } else if (kw == u"undo" || kw == u"redo") {
            if (w.size() != 1) return fail(lineNo, QStringLiteral("%1 takes nothing after it").arg(kw));
            edits.push_back({lineNo, kw == u"undo" ? NetlistEditKind::Undo : NetlistEditKind::Redo, {}});
        } else {
            return fail(lineNo, QStringLiteral("unknown line kind '%1'").arg(kw));
        }
    }

    r.ok = true;
    return r;
}

QString ResolveEdit(const Schematic& s, const TNetlistEdit& e, std::vector<int>* elements,
                    std::vector<TPinRef>* pins) {
    QString why;
    elements->clear();
    pins->clear();
    for (const QString& name : e.names) {
        elements->push_back(UniqueElement(s, name, &why));
        if (elements->back() == 0) return why;
    }
    for (size_t k = 0; k < elements->size() && e.kind != NetlistEditKind::Delete; ++k) {
        const TPinRef pin{(*elements)[k], e.legs[k]};
        if (pin.Leg < 0 || pin.Leg >= static_cast<int>(s.element(pin.Element).Legs.size()))
            return QStringLiteral("element %1 has no leg %2")
                .arg(e.names[static_cast<qsizetype>(k)])
                .arg(pin.Leg);
        pins->push_back(pin);
    }
    if (e.kind == NetlistEditKind::Connect && (*pins)[0] == (*pins)[1])
        return QStringLiteral("connect joins pin %1 %2 with itself").arg(e.names[0]).arg((*pins)[0].Leg);
    return {};
}

bool ResolveToggles(const Schematic& s, NetlistResult& r) {
    r.toggles.clear();
    for (const TNetlistToggle& pending : r.pendingToggles) {
        TToggle t{0, pending.time};
        // The first element of that name, as the toggle line has always meant.
        for (int e = 1; e <= s.ElementCount() && t.element == 0; ++e)
            if (s.element(e).Name == pending.name) t.element = e;
        if (t.element == 0) {
            r.Fail(pending.line, QStringLiteral("unknown element %1").arg(pending.name));
            return false;
        }
        if (s.element(t.element).kind() != ElementKind::Switch) {
            r.Fail(pending.line, QStringLiteral("%1 is not a switch").arg(pending.name));
            return false;
        }
        r.toggles.push_back(t);
    }
    return true;
}

QString NetlistText(const Schematic& s) {
    QString out;
    for (int i = 1; i <= s.ElementCount(); ++i) {
        const TElement& e = s.element(i);
        QString left, right;
        for (const TLeg& leg : e.Legs) {
            QString& side = leg.X == 0 ? left : right;
            if (side.size() < leg.Y) side = side.leftJustified(leg.Y, u'0');
            side[leg.Y - 1] = u'1';
        }
        out += QStringLiteral("element %1 %2 %3 %4 %5 %6 %7 %8 %9")
                   .arg(e.Name)
                   .arg(e.Coord.x)
                   .arg(e.Coord.y)
                   .arg(e.CellWidth)
                   .arg(e.CellHeight)
                   .arg(left.isEmpty() ? QStringLiteral("-") : left,
                        right.isEmpty() ? QStringLiteral("-") : right)
                   .arg(e.Reaction_LH)
                   .arg(e.Reaction_HL);
        if (!e.Script.isEmpty()) out += u' ' + e.Script.join(u' ');
        out += u'\n';
    }
    for (const TConns& net : s.Conns()) {
        out += QStringLiteral("net");
        for (const TPinRef& pin : net)
            out += QStringLiteral(" %1 %2").arg(pin.Element).arg(pin.Leg);
        out += u'\n';
    }
    return out;
}
