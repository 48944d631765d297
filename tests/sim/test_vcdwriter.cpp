// SPDX-License-Identifier: MIT
// The value change dump writer, read back by a small reader of the format.
#include "sim/vcdwriter.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <map>

namespace {

// What a reader makes of a dump: each wire as "scope.name" with its changes after $dumpvars, and
// the initial levels.
struct Dump {
    std::map<QString, std::vector<std::pair<int64_t, bool>>> changes;
    std::map<QString, bool> initial;
    std::vector<int64_t> times;
};

Dump ReadVcd(const QByteArray& text) {
    Dump d;
    std::map<QString, QString> wires; // identifier -> scope.name
    QString scope;
    int64_t now = -1;
    bool dumpvars = false;
    for (const QString& line : QString::fromUtf8(text).split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList w = line.split(u' ');
        if (w[0] == u"$scope") {
            scope = w[2];
        } else if (w[0] == u"$var") {
            EXPECT_EQ(w.size(), 6) << line.toStdString();
            EXPECT_EQ(wires.count(w[3]), 0u) << "identifier used twice: " << w[3].toStdString();
            wires[w[3]] = scope + u'.' + w[4];
        } else if (w[0] == u"$dumpvars") {
            dumpvars = true;
        } else if (w[0] == u"$end") {
            dumpvars = false;
        } else if (line.startsWith(u'#')) {
            now = line.mid(1).toLongLong();
            d.times.push_back(now);
        } else if (line[0] == u'0' || line[0] == u'1') {
            const QString& wire = wires.at(line.mid(1));
            if (dumpvars)
                d.initial[wire] = line[0] == u'1';
            else
                d.changes[wire].emplace_back(now, line[0] == u'1');
        }
    }
    return d;
}

TEST(VcdWriter, ReadsBackWhatItWasGiven) {
    std::vector<VcdWire> wires;
    // More wires than one identifier character can tell apart.
    for (int i = 0; i < 200; ++i)
        wires.push_back({i < 100 ? QStringLiteral("a") : QStringLiteral("b"),
                         QStringLiteral("w%1").arg(i % 100),
                         i % 3 == 0,
                         {{i, i % 3 != 0}, {i + 7, i % 3 == 0}}});
    const QByteArray text = VcdText(wires, 1000);
    EXPECT_TRUE(text.startsWith("$version Tarnwell $end\n$timescale 1 ns $end\n$scope module a $end\n"));
    const Dump d = ReadVcd(text);
    ASSERT_EQ(d.changes.size(), 200u);
    for (int i = 0; i < 200; ++i) {
        const QString name = (i < 100 ? QStringLiteral("a.w%1") : QStringLiteral("b.w%1")).arg(i % 100);
        EXPECT_EQ(d.initial.at(name), wires[static_cast<size_t>(i)].initial) << i;
        EXPECT_EQ(d.changes.at(name), wires[static_cast<size_t>(i)].changes) << i;
    }
    // Each time is written once, increasing, and the dump ends at the end time.
    for (size_t k = 1; k < d.times.size(); ++k)
        EXPECT_LT(d.times[k - 1], d.times[k]);
    EXPECT_EQ(d.times.back(), 1000);
}

// Names are single words: blanks and control characters become "_"; the end time is written only
// past the last change; changes at one time keep the order of the wires.
TEST(VcdWriter, NamesEndTimeAndOrder) {
    const std::vector<VcdWire> wires = {
        {QStringLiteral("case one"), QStringLiteral("О 1\t"), false, {{5, true}, {5, false}}},
        {QStringLiteral("case one"), QString(), true, {{3, false}}}};
    EXPECT_EQ(VcdText(wires, 5), QByteArray("$version Tarnwell $end\n$timescale 1 ns $end\n"
                                            "$scope module case_one $end\n$var wire 1 ! О_1_ $end\n"
                                            "$var wire 1 \" _ $end\n$upscope $end\n$enddefinitions $end\n"
                                            "#0\n$dumpvars\n0!\n1\"\n$end\n#3\n0\"\n#5\n1!\n0!\n"));
}

} // namespace
