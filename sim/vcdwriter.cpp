// SPDX-License-Identifier: MIT
#include "sim/vcdwriter.h"

#include <algorithm>

namespace {

// A VCD identifier: printable ASCII from '!' to '~', in base 94.
QByteArray Identifier(size_t n) {
    QByteArray id;
    do {
        id += static_cast<char>('!' + n % 94);
        n /= 94;
    } while (n != 0);
    return id;
}

// Names are single words in VCD: blanks and control characters would split or break them.
QByteArray Word(const QString& name) {
    QString word = name;
    for (QChar& c : word)
        if (c.isSpace() || c.unicode() < 0x20 || c.unicode() == 0x7F) c = u'_';
    return word.isEmpty() ? QByteArray("_") : word.toUtf8();
}

struct Change {
    int64_t time;
    size_t wire;
    bool level;
};

} // namespace

QByteArray VcdText(const std::vector<VcdWire>& wires, int64_t endTime) {
    return VcdText(wires, 0, endTime);
}

QByteArray VcdText(const std::vector<VcdWire>& wires, int64_t startTime, int64_t endTime) {
    QByteArray out = "$version Tarnwell $end\n$timescale 1 ns $end\n";
    std::vector<QString> scopes;
    for (const VcdWire& w : wires)
        if (std::find(scopes.begin(), scopes.end(), w.scope) == scopes.end()) scopes.push_back(w.scope);
    for (const QString& scope : scopes) {
        out += "$scope module " + Word(scope) + " $end\n";
        for (size_t i = 0; i < wires.size(); ++i)
            if (wires[i].scope == scope)
                out += "$var wire 1 " + Identifier(i) + ' ' + Word(wires[i].name) + " $end\n";
        out += "$upscope $end\n";
    }
    out += "$enddefinitions $end\n#" + QByteArray::number(startTime) + "\n$dumpvars\n";
    for (size_t i = 0; i < wires.size(); ++i)
        out += (wires[i].initial ? '1' : '0') + Identifier(i) + '\n';
    out += "$end\n";

    std::vector<Change> changes;
    for (size_t i = 0; i < wires.size(); ++i)
        for (const auto& [time, level] : wires[i].changes)
            changes.push_back({time, i, level});
    std::stable_sort(changes.begin(), changes.end(),
                     [](const Change& a, const Change& b) { return a.time < b.time; });
    int64_t now = startTime;
    for (const Change& c : changes) {
        if (c.time != now) out += '#' + QByteArray::number(c.time) + '\n';
        now = c.time;
        out += (c.level ? '1' : '0') + Identifier(c.wire) + '\n';
    }
    if (endTime > now) out += '#' + QByteArray::number(endTime) + '\n';
    return out;
}
