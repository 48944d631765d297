// SPDX-License-Identifier: MIT
// Undo and redo over random edits on generated schematics: every undo brings back exactly the
// state before its step, every redo exactly the state after it.
#include "tests/document/historyfixture.h"
#include "tools/gen/schematicgen.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Property {
    const char* name;
    GenOptions gen;
    int sequences;
    int edits;  // edit attempts per sequence
    bool route; // the edits route, and so do routings that are no edits in between
};

void PrintTo(const Property& p, std::ostream* os) {
    *os << p.name;
}

// Under the sanitizers every routing takes many times longer: fewer sequences, the same checks.
#if defined(__SANITIZE_ADDRESS__)
constexpr int Scale = 10;
#else
constexpr int Scale = 1;
#endif

class History : public ::testing::TestWithParam<Property> {};

// For each sequence: a generated schematic with a listed chip and special elements, random edits
// with routings and selection changes in between; then every step undone and redone one by one,
// each time compared with the state recorded on the way (a routing while undone joins the steps
// around it, so the state it leaves is the one expected from then on).
TEST_P(History, UndoAndRedoRestoreEveryStateExactly) {
    const Property& p = GetParam();
    int steps = 0;
    for (int seq = 0; seq < p.sequences / Scale; ++seq) {
        SchematicDocument d;
        d.setPlacementSource(TestPlacement());
        d.setRouteAfterEdits(p.route);
        // The starting schematic is made straight in the model: no step of the history.
        GenerateSchematic(d.schematic(), 1000u + static_cast<uint32_t>(seq), p.gen);
        d.schematic().ListChip(QStringLiteral("K0"), 2);
        d.schematic().ListSpecial(ElementKind::Probe);
        if (p.route) d.Reroute();
        RandomEdits edits(d, 77u + static_cast<uint32_t>(seq), p.route);

        std::vector<Snapshot> states{TakeSnapshot(d)};
        for (int i = 0; i < p.edits; ++i) {
            const uint64_t made = d.stepsMade();
            edits.Edit();
            edits.NoEdit();
            // ("Destroy" leaves the navigator's links as they were, so only the model's own rules.)
            ASSERT_EQ(CheckInvariants(d.schematic()), "") << "sequence " << seq;
            if (d.stepsMade() != made)
                states.push_back(TakeSnapshot(d));
            else
                states.back() = TakeSnapshot(d);
        }
        const int n = static_cast<int>(states.size()) - 1;
        steps += n;
        for (int k = n; k > 0; --k) {
            ASSERT_TRUE(d.canUndo());
            d.Undo();
            ASSERT_EQ(TakeSnapshot(d).DifferenceFrom(states[static_cast<size_t>(k - 1)]), "")
                << "sequence " << seq << ", undo of step " << k << " of " << n;
            ASSERT_EQ(CheckInvariants(d.schematic()), "");
            if (p.route && edits.chance(20)) {
                d.Reroute();
                states[static_cast<size_t>(k - 1)] = TakeSnapshot(d);
            }
        }
        EXPECT_FALSE(d.canUndo());
        EXPECT_FALSE(d.isModified());
        for (int k = 1; k <= n; ++k) {
            ASSERT_TRUE(d.canRedo());
            d.Redo();
            ASSERT_EQ(TakeSnapshot(d).DifferenceFrom(states[static_cast<size_t>(k)]), "")
                << "sequence " << seq << ", redo of step " << k << " of " << n;
        }
        EXPECT_FALSE(d.canRedo());
        EXPECT_EQ(d.isModified(), n > 0);
    }
    // The sequences made steps of every kind, not only failed attempts.
    EXPECT_GT(steps, p.sequences / Scale * p.edits / 3);
}

INSTANTIATE_TEST_SUITE_P(
    Generated, History,
    ::testing::Values(
        // Small schematics routed after every edit: thousands of sequences.
        Property{"small_routed", GenOptions{.elements = 8, .nets = 6, .span = 60}, 2000, 8, true},
        // Overlapping elements and elements over the edge box pins in, so the router hands its
        // direction on and routings that are no edits change the wires.
        Property{"loose_routed", GenOptions{.elements = 10, .nets = 8, .loose = true}, 500, 8, true},
        // The benchmarks' schematics: typical routed, dense without routing.
        Property{"typical_routed", GenOptions{.elements = 40, .nets = 60}, 10, 12, true},
        Property{"dense", GenOptions{.elements = 120, .nets = 250}, 100, 30, false}),
    [](const ::testing::TestParamInfo<Property>& info) { return std::string(info.param.name); });

} // namespace
