// SPDX-License-Identifier: MIT
#pragma once

// Readers of the exported traces for the tests: a value change dump and the comma-separated rows,
// both into the changes of each named probe.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

struct ParsedTraces {
    QString fault;                                                    // empty when the text was read whole
    int64_t start = -1;                                               // the time of $dumpvars
    std::map<QString, bool> initial;                                  // per name: the level in $dumpvars
    std::map<QString, std::vector<std::pair<int64_t, bool>>> changes; // per name, in file order
};

inline ParsedTraces ParseVcd(const QByteArray& text) {
    ParsedTraces p;
    const QList<QByteArray> words = text.simplified().split(' ');
    QHash<QByteArray, QString> names;
    bool definitions = true;
    bool dumpvars = false;
    int64_t now = -1;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QByteArray& w = words[i];
        if (w.isEmpty()) continue;
        if (definitions) {
            if (w == "$var") {
                if (i + 4 >= words.size() || words[i + 1] != "wire" || words[i + 2] != "1") {
                    p.fault = QStringLiteral("bad $var");
                    return p;
                }
                names.insert(words[i + 3], QString::fromUtf8(words[i + 4]));
                i += 5; // past "$end"
            } else if (w == "$enddefinitions") {
                definitions = false;
                ++i;
            }
            continue;
        }
        if (w == "$dumpvars") {
            dumpvars = true;
            p.start = now;
        } else if (w == "$end") {
            dumpvars = false;
        } else if (w.startsWith('#')) {
            bool ok = false;
            const int64_t t = w.mid(1).toLongLong(&ok);
            if (!ok || t < now) {
                p.fault = QStringLiteral("bad time ") + QString::fromUtf8(w);
                return p;
            }
            now = t;
        } else if ((w[0] == '0' || w[0] == '1') && names.contains(w.mid(1))) {
            const QString& name = names[w.mid(1)];
            if (dumpvars)
                p.initial[name] = w[0] == '1';
            else
                p.changes[name].emplace_back(now, w[0] == '1');
        } else if (!w.startsWith('$')) {
            p.fault = QStringLiteral("unexpected ") + QString::fromUtf8(w);
            return p;
        }
    }
    return p;
}

inline ParsedTraces ParseCsv(const QByteArray& text) {
    ParsedTraces p;
    QStringList lines = QString::fromUtf8(text).split(u'\n');
    if (lines.value(0) != u"time,probe,level" || !lines.last().isEmpty()) {
        p.fault = QStringLiteral("bad header or last line");
        return p;
    }
    lines.removeFirst();
    lines.removeLast();
    int64_t last = -1;
    for (const QString& line : lines) {
        const QStringList f = line.split(u',');
        bool ok = false;
        const int64_t t = f.value(0).toLongLong(&ok);
        if (f.size() != 3 || !ok || t < last || (f[2] != u"0" && f[2] != u"1")) {
            p.fault = QStringLiteral("bad row ") + line;
            return p;
        }
        last = t;
        p.changes[f[1]].emplace_back(t, f[2] == u"1");
    }
    return p;
}
