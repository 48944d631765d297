// SPDX-License-Identifier: MIT
#include "tools/batch.h"
#include "tools/batchio.h"
#include "tools/batchschematic.h"

#include "document/schematicdocument.h"
#include "sim/simulator.h"
#include "sim/traceexport.h"

#include <algorithm>

namespace {

int Fail(FILE* err, const QString& message) {
    ReportError(err, message);
    return 2;
}

} // namespace

// run FILE --units N [--bases DIR] [--vcd FILE] [--csv FILE]: prepares the simulator, runs N
// time units at time scale 0 without windows (applying a netlist's switch toggles before the two
// passes of their unit) and prints the probes' transitions, the indicators' states, the net levels
// and the final time; --vcd and --csv also write every probe's transitions to those files. A
// schematic file set (FILE.tsv) is loaded as the program opens it, with the catalogue of DIR.
int BatchRun(const QStringList& args, FILE* out, FILE* err) {
    QString file;
    QString unitsText;
    QString bases;
    QString vcdFile;
    QString csvFile;
    bool haveUnits = false;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == u"--vcd" || args[i] == u"--csv") {
            QString& target = args[i] == u"--vcd" ? vcdFile : csvFile;
            if (!target.isEmpty()) return Fail(err, QStringLiteral("%1 given twice").arg(args[i]));
            if (i + 1 >= args.size() || args[i + 1].isEmpty())
                return Fail(err, QStringLiteral("%1 needs a file name").arg(args[i]));
            target = args[++i];
        } else if (args[i] == u"--bases") {
            if (!bases.isEmpty()) return Fail(err, QStringLiteral("--bases given twice"));
            if (i + 1 >= args.size() || args[i + 1].isEmpty())
                return Fail(err, QStringLiteral("--bases needs a folder"));
            bases = args[++i];
        } else if (args[i] == u"--units") {
            if (haveUnits) return Fail(err, QStringLiteral("--units given twice"));
            if (i + 1 >= args.size()) return Fail(err, QStringLiteral("--units needs a number"));
            unitsText = args[++i];
            haveUnits = true;
        } else if (args[i].startsWith(u"--") || !file.isEmpty()) {
            return Fail(err,
                        QStringLiteral("unexpected argument '%1' (usage: run FILE --units N)").arg(args[i]));
        } else {
            file = args[i];
        }
    }
    if (file.isEmpty()) return Fail(err, QStringLiteral("missing FILE (usage: run FILE --units N)"));
    if (!haveUnits) return Fail(err, QStringLiteral("missing --units N"));
    int64_t units = 0;
    if (const NumberFault fault = ReadWholeNumber(unitsText, 0, NetlistLastTime, &units);
        fault != NumberFault::None)
        return Fail(err, NumberFaultMessage(fault, QStringLiteral("--units"), unitsText, 0));

    SchematicDocument document;
    Schematic& s = document.schematic();
    std::vector<TToggle> toggles;
    if (IsSchematicFile(file)) {
        if (!LoadSchematicSet(file, bases.isEmpty() ? DefaultBasesFolder() : bases, document, err)) return 2;
    } else {
        const std::optional<NetlistResult> parsed = ReadNetlistFile(file, document, err);
        if (!parsed) return 2;
        toggles = parsed->toggles;
    }

    std::stable_sort(toggles.begin(), toggles.end(),
                     [](const TToggle& a, const TToggle& b) { return a.time < b.time; });
    auto next = toggles.cbegin();

    Simulator& sim = document.simulator();
    // Every transition is printed, so the probes keep them all (8 bytes each).
    sim.Recording = ProbeRecording::All;
    sim.PrepareRun();
    // The stretches between toggles in one call each, which skips the quiet units.
    while (sim.SimTime < units) {
        for (; next != toggles.cend() && next->time == sim.SimTime; ++next)
            s.ToggleSwitch(next->element);
        const TSimTime until = next != toggles.cend() && next->time < units ? next->time : units;
        sim.RunUnits(until - sim.SimTime);
    }

    QString result;
    for (int i = 1; i <= s.ElementCount(); ++i) {
        const TElement& e = s.element(i);
        if (e.kind() == ElementKind::Probe) {
            result += e.Name + QStringLiteral(" transitions:");
            for (TSimTime t : e.Transitions)
                result += u' ' + QString::number(t);
            result += u'\n';
        } else if (e.kind() == ElementKind::Indicator) {
            result += e.Name + QStringLiteral(" state: %1\n").arg(e.State ? 1 : 0);
        }
    }
    result += QStringLiteral("NetLevels:");
    for (uint8_t level : sim.NetLevels)
        result += u' ' + QString::number(level);
    result += QStringLiteral("\nSimTime: %1\n").arg(sim.SimTime);
    if (!WriteOutput(out, result.toUtf8(), err)) return 1;

    std::vector<TraceRecord> records;
    for (int i = 1; i <= s.ElementCount(); ++i)
        if (s.element(i).kind() == ElementKind::Probe) records.push_back(ProbeRecord(s.element(i)));
    int status = 0;
    for (const auto& [path, vcd] : {std::pair{vcdFile, true}, std::pair{csvFile, false}}) {
        if (!path.isEmpty() &&
            !WriteFileWhole(path, vcd ? TracesVcd(records, sim.SimTime) : TracesCsv(records), err))
            status = 1;
    }
    return status;
}
