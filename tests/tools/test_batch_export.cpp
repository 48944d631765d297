// SPDX-License-Identifier: MIT
// The runner's --vcd and --csv files: their text, their agreement with the printed transitions on
// the examples and on generated schematics, GTKWave's tools reading them, and write failures.
#include "tests/common/batchfixture.h"
#include "tests/common/traceparse.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <random>

namespace {

using Changes = std::vector<std::pair<int64_t, bool>>;

class BatchExport : public BatchFixture {
protected:
    static BatchResult Run(const QStringList& args) { return Call(&BatchRun, args); }
    // The printed "NAME transitions: t1 t2 ..." lines as the changes they stand for: every probe
    // starts low, so the levels alternate from 1.
    static std::map<QString, Changes> Printed(const QString& out) {
        std::map<QString, Changes> printed;
        const QString marker = QStringLiteral(" transitions:");
        for (const QString& line : out.split(u'\n')) {
            const qsizetype at = line.indexOf(marker);
            if (at < 0) continue;
            Changes& c = printed[line.left(at)];
            bool level = false;
            for (const QString& t : line.mid(at + marker.size()).split(u' ', Qt::SkipEmptyParts))
                c.emplace_back(t.toLongLong(), level = !level);
        }
        return printed;
    }
};

TEST_F(BatchExport, GeneratorRecordAsDumpAndRows) {
    const QString vcd = dir.filePath(QStringLiteral("out.vcd"));
    const QString csv = dir.filePath(QStringLiteral("out.csv"));
    const BatchResult r = Run({DataPath("generator.net"), QStringLiteral("--units"), QStringLiteral("131"),
                               QStringLiteral("--vcd"), vcd, QStringLiteral("--csv"), csv});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.err, QString());
    // The printed result is the same as without the files.
    EXPECT_EQ(r.out, u"О1 transitions: 0 30 100 130\nО2 transitions: 30 100 130\nИ1 state: 1\n"
                     u"NetLevels: 0 1\nSimTime: 131\n");
    EXPECT_EQ(QString::fromUtf8(Read(vcd)), u"$version Tarnwell $end\n$timescale 1 ns $end\n"
                                            u"$scope module probes $end\n"
                                            u"$var wire 1 ! О1 $end\n$var wire 1 \" О2 $end\n"
                                            u"$upscope $end\n$enddefinitions $end\n"
                                            u"#0\n$dumpvars\n0!\n0\"\n$end\n1!\n"
                                            u"#30\n0!\n1\"\n#100\n1!\n0\"\n#130\n0!\n1\"\n#131\n");
    EXPECT_EQ(QString::fromUtf8(Read(csv)), u"time,probe,level\n0,О1,1\n30,О1,0\n30,О2,1\n100,О1,1\n"
                                            u"100,О2,0\n130,О1,0\n130,О2,1\n");
}

// Generators with random durations and switches with random toggles feed a random network of
// inverters and NAND gates; up to five probes watch random drivers.
QByteArray GeneratedNetlist(unsigned seed) {
    std::mt19937 rng(seed);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    QByteArray text;
    int element = 0;
    std::vector<std::pair<int, int>> drivers; // element, leg
    std::map<std::pair<int, int>, QList<std::pair<int, int>>> readers;
    auto place = [&](const QByteArray& rest) {
        ++element;
        text += "element " + rest.left(rest.indexOf(' ')) + ' ' + QByteArray::number(element % 10 * 15) +
                ' ' + QByteArray::number(element / 10 * 15) + rest.mid(rest.indexOf(' ')) + '\n';
        return element;
    };
    const int generators = pick(1, 3);
    for (int g = 1; g <= generators; ++g) {
        const int e = place("Г" + QByteArray::number(g) + " 7 8 - 010001 " + QByteArray::number(pick(1, 40)) +
                            ' ' + QByteArray::number(pick(1, 40)));
        drivers.push_back({e, 0});
        drivers.push_back({e, 1});
    }
    QByteArray toggles;
    for (int p = 1; p <= 2; ++p) {
        drivers.push_back({place("П" + QByteArray::number(p) + " 2 2 - 1 0 0"), 0});
        for (int k = 0; k < 3; ++k)
            toggles += "toggle П" + QByteArray::number(p) + ' ' + QByteArray::number(pick(0, 400)) + '\n';
    }
    const int gates = pick(4, 12);
    for (int d = 1; d <= gates; ++d) {
        const bool nand = pick(0, 1) == 1;
        const int e = place("D" + QByteArray::number(d) + ".1 4 3 " + (nand ? "11" : "1") + " 1 " +
                            QByteArray::number(pick(1, 15)) + ' ' + QByteArray::number(pick(1, 15)) +
                            (nand ? " Y=~1+~2" : " Y=~1"));
        for (int in = 0; in < (nand ? 2 : 1); ++in)
            readers[drivers[static_cast<size_t>(pick(0, static_cast<int>(drivers.size()) - 1))]].push_back(
                {e, in});
        drivers.push_back({e, nand ? 2 : 1});
    }
    const int probes = pick(1, 5);
    for (int o = 1; o <= probes; ++o) {
        const int e = place("О" + QByteArray::number(o) + " 7 8 0001 - 0 0");
        readers[drivers[static_cast<size_t>(pick(0, static_cast<int>(drivers.size()) - 1))]].push_back(
            {e, 0});
    }
    for (const auto& [driver, list] : readers) {
        text += "net " + QByteArray::number(driver.first) + ' ' + QByteArray::number(driver.second);
        for (const auto& [e, leg] : list)
            text += ' ' + QByteArray::number(e) + ' ' + QByteArray::number(leg);
        text += '\n';
    }
    return text + toggles;
}

TEST_F(BatchExport, FilesAgreeWithThePrintedTransitions) {
    struct Case {
        QString file;
        int units;
    };
    std::vector<Case> cases;
    // The examples with probes.
    for (const char* example : {"ring_oscillator.tsv", "divide_by_two.tsv", "rs_latch.tsv", "rs_latch.net"})
        cases.push_back({QStringLiteral(TARNWELL_EXAMPLES "/") + QString::fromLatin1(example), 600});
    for (unsigned seed = 1; seed <= 12; ++seed)
        cases.push_back({Write(GeneratedNetlist(seed), QStringLiteral("gen%1.net").arg(seed)), 500});
    const QString vcd = dir.filePath(QStringLiteral("out.vcd"));
    const QString csv = dir.filePath(QStringLiteral("out.csv"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        const BatchResult r = Run({c.file, QStringLiteral("--units"), QString::number(c.units),
                                   QStringLiteral("--vcd"), vcd, QStringLiteral("--csv"), csv});
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        const std::map<QString, Changes> printed = Printed(r.out);
        ASSERT_FALSE(printed.empty());
        const ParsedTraces dump = ParseVcd(Read(vcd));
        const ParsedTraces rows = ParseCsv(Read(csv));
        ASSERT_EQ(dump.fault, QString());
        ASSERT_EQ(rows.fault, QString());
        EXPECT_EQ(dump.start, 0);
        for (const auto& [name, changes] : printed) {
            SCOPED_TRACE(name.toStdString());
            ASSERT_TRUE(dump.initial.contains(name));
            EXPECT_FALSE(dump.initial.at(name));
            EXPECT_EQ(dump.changes.contains(name) ? dump.changes.at(name) : Changes(), changes);
            EXPECT_EQ(rows.changes.contains(name) ? rows.changes.at(name) : Changes(), changes);
        }
        EXPECT_EQ(dump.initial.size(), printed.size());
    }
}

// The levels a dump gives from its start on: the changes at the start time belong to the
// initial levels (a reader keeps the last value written for a time).
ParsedTraces Settled(ParsedTraces p) {
    for (auto& [name, changes] : p.changes) {
        auto first = changes.begin();
        for (; first != changes.end() && first->first == p.start; ++first)
            p.initial[name] = first->second;
        changes.erase(changes.begin(), first);
    }
    return p;
}

// GTKWave's own converter takes the dump without a message, and its way back gives the same
// changes. Runs where Debian's gtkwave package is installed.
TEST_F(BatchExport, GtkwaveToolsReadTheDump) {
    const QString toFst = QStandardPaths::findExecutable(QStringLiteral("vcd2fst"));
    const QString toVcd = QStandardPaths::findExecutable(QStringLiteral("fst2vcd"));
    if (toFst.isEmpty() || toVcd.isEmpty()) GTEST_SKIP() << "vcd2fst and fst2vcd are not installed";
    size_t compared = 0;
    for (unsigned seed : {3u, 7u, 11u, 12u}) {
        const QString vcd = dir.filePath(QStringLiteral("run%1.vcd").arg(seed));
        const QString fst = dir.filePath(QStringLiteral("run%1.fst").arg(seed));
        const BatchResult r = Run({Write(GeneratedNetlist(seed)), QStringLiteral("--units"),
                                   QStringLiteral("2000"), QStringLiteral("--vcd"), vcd});
        ASSERT_EQ(r.status, 0) << r.err.toStdString();

        QProcess convert;
        convert.setProcessChannelMode(QProcess::MergedChannels);
        convert.start(toFst, {vcd, fst});
        ASSERT_TRUE(convert.waitForFinished(60000));
        EXPECT_EQ(convert.exitCode(), 0);
        EXPECT_EQ(QString::fromUtf8(convert.readAll()).trimmed(), QString()) << seed;

        QProcess back;
        back.start(toVcd, {fst});
        ASSERT_TRUE(back.waitForFinished(60000));
        ASSERT_EQ(back.exitCode(), 0);
        const ParsedTraces ours = Settled(ParseVcd(Read(vcd)));
        const ParsedTraces theirs = Settled(ParseVcd(back.readAllStandardOutput()));
        ASSERT_EQ(theirs.fault, QString());
        EXPECT_EQ(theirs.initial, ours.initial) << seed;
        EXPECT_EQ(theirs.changes, ours.changes) << seed;
        for (const auto& [name, changes] : ours.changes)
            compared += changes.size();
    }
    EXPECT_GT(compared, 100u);
}

// A file that cannot be written is reported, fails the run, and leaves nothing under its name;
// the other file and the printed result are still written.
TEST_F(BatchExport, UnwritableFileIsReportedAndLeavesNothing) {
    const QString folderTaken = dir.filePath(QStringLiteral("taken"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("taken")));
    const QString missingFolder = dir.filePath(QStringLiteral("missing/out.vcd"));
    const QString csv = dir.filePath(QStringLiteral("out.csv"));
    for (const QString& bad : {missingFolder, folderTaken}) {
        SCOPED_TRACE(bad.toStdString());
        const BatchResult r = Run({DataPath("generator.net"), QStringLiteral("--units"), QStringLiteral("50"),
                                   QStringLiteral("--vcd"), bad, QStringLiteral("--csv"), csv});
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("tarnwell-batch: cannot write %1: ").arg(bad)))
            << r.err.toStdString();
        EXPECT_TRUE(r.out.endsWith(u"SimTime: 50\n"));
        EXPECT_EQ(Read(csv), QByteArray("time,probe,level\n0,О1,1\n30,О1,0\n30,О2,1\n"));
        EXPECT_FALSE(QFile::exists(missingFolder));
        EXPECT_TRUE(QFileInfo(folderTaken).isDir());
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).filter(QStringLiteral("out.vcd")), QStringList());
    }
    // A file already there is replaced whole.
    const QString old = Write(QByteArray(100000, 'x'), QStringLiteral("old.csv"));
    ASSERT_EQ(Run({DataPath("generator.net"), QStringLiteral("--units"), QStringLiteral("1"),
                   QStringLiteral("--csv"), old})
                  .status,
              0);
    EXPECT_EQ(Read(old), QByteArray("time,probe,level\n0,О1,1\n"));
}

} // namespace
