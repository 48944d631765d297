// SPDX-License-Identifier: MIT
// The test file reader and the checks of its cases: whatever the text, a file that reads holds
// cases whose statements name elements of the right kinds at times in order and inside the run,
// and checking a case against level changes at the times it names never fails.
#include "model/netlist.h"
#include "tests/common/benchnetlist.h"
#include "tests/fuzz/fuzzsupport.h"
#include "tools/testcheck.h"
#include "tools/testfile.h"

#include <algorithm>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    return InitFuzzApplication(argc, argv);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Schematic s;
    static bool loaded = ReadNetlist(QString::fromUtf8(BenchNetlist), s).ok;
    FuzzCheck(loaded, "the schematic does not load");

    const TestFile file =
        ReadTestFile(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)), s);
    if (!file.ok) {
        FuzzCheck(!file.message.isEmpty(), "an error without its message");
        return 0;
    }
    FuzzCheck(!file.cases.empty(), "a file that reads without a case");
    for (const TestCase& c : file.cases) {
        TestTime start = 0;
        for (const TestStatement& st : c.statements) {
            const auto kind = [&](int e) {
                return e >= 1 && e <= s.ElementCount() ? s.element(e).kind() : ElementKind::Unknown;
            };
            const bool read =
                kind(st.element) == ElementKind::Probe || kind(st.element) == ElementKind::Indicator;
            if (st.kind == StatementKind::Set)
                FuzzCheck(kind(st.element) == ElementKind::Switch, "a set of no switch");
            if (st.kind == StatementKind::Delay) {
                FuzzCheck(read || kind(st.element) == ElementKind::Switch, "a delay from a wrong element");
                FuzzCheck(kind(st.to) == ElementKind::Probe || kind(st.to) == ElementKind::Indicator,
                          "a delay to a wrong element");
                FuzzCheck(st.bound >= 0 && st.bound <= MaxTestTime, "a delay bound out of range");
                continue;
            }
            if (st.kind != StatementKind::Set) FuzzCheck(read, "an expectation of no probe or indicator");
            FuzzCheck(st.from >= start && st.from <= st.until && st.until < c.length, "times out of order");
            start = st.from;
        }
        FuzzCheck(c.length >= 0 && c.length <= MaxTestTime + 1, "a run length out of range");
        // Every element changes at every time the case names, alternately up and down.
        CaseTraces traces;
        traces.length = c.length;
        std::vector<LevelChange> changes;
        for (const TestStatement& st : c.statements)
            for (const TestTime t : {st.from, st.until})
                changes.push_back({t, changes.empty() || !changes.back().level});
        std::stable_sort(changes.begin(), changes.end(),
                         [](const LevelChange& a, const LevelChange& b) { return a.time < b.time; });
        traces.changes.assign(static_cast<size_t>(s.ElementCount()) + 1, changes);
        for (const TestFailure& f : CheckCase(c, traces, s))
            FuzzCheck(f.line >= 1 && !f.expected.isEmpty() && !f.seen.isEmpty(),
                      "a failure without its values");
    }
    return 0;
}
