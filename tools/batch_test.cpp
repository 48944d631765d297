// SPDX-License-Identifier: MIT
#include "tools/batch.h"
#include "tools/batchio.h"
#include "tools/batchschematic.h"
#include "tools/testbench.h"
#include "tools/testfile.h"
#include "tools/testreport.h"

#include "document/schematicdocument.h"
#include "sim/simulator.h"
#include "sim/vcdwriter.h"

#include <QElapsedTimer>
#include <QFileInfo>

#include <set>

namespace {

const QString Usage =
    QStringLiteral("usage: tarnwell-batch test FILE TESTFILE [--bases DIR] [--junit FILE] [--vcd FILE]");

int Fail(FILE* err, const QString& message) {
    ReportError(err, message);
    return 2;
}

// The wires of one case for the VCD file: every switch, probe and indicator in element order.
void AddWires(const Schematic& s, const QString& scope, const CaseTraces& traces,
              std::vector<VcdWire>& wires) {
    for (int i = 1; i <= s.ElementCount(); ++i) {
        const TElement& e = s.element(i);
        if (e.kind() != ElementKind::Switch && e.kind() != ElementKind::Probe &&
            e.kind() != ElementKind::Indicator)
            continue;
        VcdWire w{scope, e.Name, false, {}};
        for (const LevelChange& c : traces.changes[static_cast<size_t>(i)])
            w.changes.emplace_back(c.time, c.level);
        wires.push_back(std::move(w));
    }
}

} // namespace

// test FILE TESTFILE [--bases DIR] [--junit FILE] [--vcd FILE]: runs every case of the test
// file on the schematic FILE, a netlist or a file set loaded with the catalogue of DIR (a netlist's
// toggle lines are checked but not applied: the test file drives the switches), and prints TAP
// version 13. Exit status 0 when every case passed, 1 when one failed, 2 for bad arguments, a bad
// schematic or test file, or a report that could not be written.
int BatchTest(const QStringList& args, FILE* out, FILE* err) {
    QStringList files;
    QString bases;
    QString junit;
    QString vcd;
    for (int i = 0; i < args.size(); ++i) {
        QString* option = args[i] == u"--bases"   ? &bases
                          : args[i] == u"--junit" ? &junit
                          : args[i] == u"--vcd"   ? &vcd
                                                  : nullptr;
        if (option) {
            if (!option->isEmpty()) return Fail(err, QStringLiteral("%1 given twice").arg(args[i]));
            if (i + 1 >= args.size() || args[i + 1].isEmpty())
                return Fail(err, QStringLiteral("%1 needs a %2")
                                     .arg(args[i], option == &bases ? QStringLiteral("folder")
                                                                    : QStringLiteral("file")));
            *option = args[++i];
        } else if (args[i].startsWith(u"--") || files.size() == 2) {
            return Fail(err, QStringLiteral("unexpected argument '%1' (%2)").arg(args[i], Usage));
        } else {
            files << args[i];
        }
    }
    if (files.size() != 2) return Fail(err, QStringLiteral("test needs FILE and TESTFILE (%1)").arg(Usage));
    const QString& schematic = files[0];
    const QString& testPath = files[1];

    SchematicDocument document;
    Schematic& s = document.schematic();
    if (IsSchematicFile(schematic)) {
        if (!LoadSchematicSet(schematic, bases.isEmpty() ? DefaultBasesFolder() : bases, document, err))
            return 2;
    } else if (!ReadNetlistFile(schematic, document, err)) {
        return 2;
    }
    const std::optional<QByteArray> bytes = ReadInputFile(testPath, err);
    if (!bytes) return 2;
    const TestFile tests = ReadTestFile(*bytes, s);
    if (!tests.ok) return Fail(err, QStringLiteral("%1: %2").arg(testPath, tests.message));
    // As long as `run --units` goes.
    constexpr TestTime MaxRunUnits = NetlistLastTime;
    for (const TestCase& c : tests.cases)
        if (c.length > MaxRunUnits)
            return Fail(err, QStringLiteral(
                                 "%1: line %2: a run of %3 units is longer than the longest run (%4 units)")
                                 .arg(testPath)
                                 .arg(c.lengthLine)
                                 .arg(c.length)
                                 .arg(MaxRunUnits));

    if (!WriteOutput(out, TapHead(tests.cases.size()), err)) return 2;
    const QString fileName = QFileInfo(testPath).fileName();
    TestBench bench(s);
    std::vector<CaseResult> results;
    std::vector<VcdWire> wires;
    std::set<QString> scopes;
    bool failed = false;
    TestTime longest = 0;
    for (const TestCase& c : tests.cases) {
        QElapsedTimer clock;
        clock.start();
        const CaseTraces traces = bench.Run(c);
        CaseResult r{c.name.isEmpty() ? fileName : c.name, CheckCase(c, traces, s), 0};
        r.seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
        failed = failed || !r.failures.empty();
        results.push_back(r);
        if (!WriteOutput(out, TapCase(results.size(), r), err)) return 2;
        if (!vcd.isEmpty()) {
            QString scope = r.name;
            for (int n = 2; !scopes.insert(scope).second; ++n)
                scope = QStringLiteral("%1_%2").arg(r.name).arg(n);
            AddWires(s, scope, traces, wires);
            longest = std::max(longest, c.length);
        }
    }
    if (!junit.isEmpty() && !WriteFileWhole(junit,
                                            JUnitXml(fileName, results,
                                                     {{QStringLiteral("schematic"), schematic},
                                                      {QStringLiteral("testfile"), testPath}}),
                                            err))
        return 2;
    if (!vcd.isEmpty() && !WriteFileWhole(vcd, VcdText(wires, longest), err)) return 2;
    return failed ? 1 : 0;
}
