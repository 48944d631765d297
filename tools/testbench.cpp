// SPDX-License-Identifier: MIT
#include "tools/testbench.h"

#include "sim/simulator.h"

TestBench::TestBench(Schematic& s) : s_(s), startLegs_(static_cast<size_t>(s.ElementCount()) + 1) {
    for (int i = 1; i <= s.ElementCount(); ++i)
        startLegs_[static_cast<size_t>(i)] = s.element(i).Legs;
}

CaseTraces TestBench::Run(const TestCase& c) {
    for (int i = 1; i <= s_.ElementCount(); ++i)
        s_.elementForRun(i).Legs = startLegs_[static_cast<size_t>(i)];
    CaseTraces traces;
    traces.length = c.length;
    traces.changes.resize(static_cast<size_t>(s_.ElementCount()) + 1);

    Simulator sim(s_);
    sim.Recording = ProbeRecording::All;
    sim.RecordIndicators = true;
    sim.PrepareRun();

    // The statements go in time order, so the sets do. Several sets of one switch in one unit
    // leave one position, which is a change when it differs from the one before the unit.
    for (const TestStatement& st : c.statements) {
        if (st.kind != StatementKind::Set) continue;
        sim.RunUnits(st.from - sim.SimTime);
        if (s_.element(st.element).State != st.level) s_.ToggleSwitch(st.element);
        std::vector<LevelChange>& list = traces.changes[static_cast<size_t>(st.element)];
        if (!list.empty() && list.back().time == st.from) list.pop_back();
        if (st.level != (!list.empty() && list.back().level)) list.push_back({st.from, st.level});
    }
    sim.RunUnits(c.length - sim.SimTime);

    for (int i = 1; i <= s_.ElementCount(); ++i) {
        const TElement& e = s_.element(i);
        if (e.kind() != ElementKind::Probe && e.kind() != ElementKind::Indicator) continue;
        // Every record flips the level, which starts at 0.
        bool level = false;
        for (const auto time : e.Transitions) {
            level = !level;
            traces.changes[static_cast<size_t>(i)].push_back({time, level});
        }
    }
    return traces;
}
