// SPDX-License-Identifier: MIT
// A long run with random edits between cycles: a schematic of a few dozen chips, switches,
// generators, indicators and probes is simulated while it is edited through the operations the
// editor uses, in the order the editor runs them (the operation, then PrepareRun where the editor
// runs it, then the re-route). The model's invariants and the navigator's link are checked after
// every edit; one edit saves the schematic and loads the saved copy back. TARNWELL_SOAK_UNITS sets the length
// (10^4 time units unless set; `make soak` runs 10^6 under the sanitizers).
#include "model/invariants.h"
#include "model/schematicfiles.h"
#include "model/specialelements.h"
#include "router/router.h"
#include "sim/simulator.h"

#include <QStandardItem>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>

namespace {

struct ChipType {
    const char* inputs;
    const char* outputs;
    const char* script;
    int elements; // logic elements per chip
};

// The default catalogue's kinds of element: pin strings and expressions.
const ChipType kTypes[] = {{"01", "01", "Y=~1", 6},
                           {"101", "010", "Y=1&2", 4},
                           {"101", "010", "Y=~1+~2", 4},
                           {"101", "010", "Y=1+2", 4},
                           {"101", "010", "Y=~1&~2", 4},
                           {"11011", "001", "Y=1+2+3+4", 2},
                           {"111101111", "00001", "Y=~1+~2+~3+~4+~5+~6+~7+~8", 1}};

TPlacementData ChipData(const ChipType& t, std::mt19937& rng) {
    TPlacementData d;
    const int rows = std::max(static_cast<int>(qstrlen(t.inputs)), static_cast<int>(qstrlen(t.outputs)));
    d.picture = QImage(50, 10 * rows + 30, QImage::Format_RGB32);
    d.picture.fill(Qt::white);
    d.leftPins = QString::fromLatin1(t.inputs);
    d.rightPins = QString::fromLatin1(t.outputs);
    d.script = {QString::fromLatin1(t.script)};
    d.reactionLH = static_cast<int32_t>(rng() % 20);
    d.reactionHL = static_cast<int32_t>(rng() % 20);
    return d;
}

// Resident set size in kB.
long ResidentKb() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * 4;
}

class Soak {
public:
    explicit Soak(uint32_t seed) : rng_(seed), sim_(s_) {}

    Schematic& schematic() { return s_; }
    Simulator& simulator() { return sim_; }
    int64_t edits = 0;

    // Lists and places a chip of a random type: every logic element of it.
    void PlaceChip() {
        const size_t type = rng_() % std::size(kTypes);
        const ChipType& t = kTypes[type];
        const QString mark = QStringLiteral("K%1").arg(s_.ChipCount() + 1);
        chipTypes_[mark] = type;
        QStandardItem* group = s_.ListChip(mark, t.elements);
        const TPlacementData d = ChipData(t, rng_);
        for (int j = 0; j < group->rowCount() && !s_.isFull(); ++j)
            Place(group->child(j), d);
    }

    void PlaceSpecial(ElementKind kind) {
        if (QStandardItem* node = s_.ListSpecial(kind)) Place(node, SpecialElements::Placement(kind));
    }

    void Place(QStandardItem* node, const TPlacementData& d) {
        const int index = s_.PlaceNode(node, d, rng_() % 4 == 0, nullptr);
        if (index == 0) return;
        s_.SetCoord(index, {static_cast<int32_t>(rng_() % 190), static_cast<int32_t>(rng_() % 190)});
    }

    // A few dozen chips and the special elements, wired at random.
    void Populate() {
        for (int i = 0; i < 12; ++i)
            PlaceChip();
        for (int i = 0; i < 6; ++i)
            PlaceSpecial(ElementKind::Switch);
        for (int i = 0; i < 3; ++i)
            PlaceSpecial(ElementKind::Generator);
        for (int i = 0; i < 3; ++i)
            PlaceSpecial(ElementKind::Indicator);
        for (int i = 0; i < 5; ++i)
            PlaceSpecial(ElementKind::Probe);
        for (int i = 0; i < 2 * s_.ElementCount(); ++i)
            ConnectRandom();
        sim_.PrepareRun();
        Reroute();
    }

    // What loading needs to place a node: the type of its chip by the group's marking (marks are
    // never reused, ChipCount only grows), or the set-up of a special kind. The delays come from
    // the element file.
    bool PlacementFor(const QStandardItem* node, TPlacementData* data) {
        const ElementKind kind = KindOfName(node->text());
        if (kind == ElementKind::Unknown) return false;
        if (kind != ElementKind::Chip) {
            *data = SpecialElements::Placement(kind);
            return true;
        }
        const auto type = node->parent() ? chipTypes_.find(node->parent()->text()) : chipTypes_.end();
        if (type == chipTypes_.end()) return false;
        std::mt19937 fixed(0);
        *data = ChipData(kTypes[type->second], fixed);
        return true;
    }

    // "Сохранить" to a scratch folder, then "Новый" and "Открыть" of the saved copy, as the editor
    // runs them. Returns the failure text, empty when the copy loaded whole and as it was saved.
    std::string LoadSavedCopy() {
        if (!scratch_.isValid()) return "no scratch folder";
        const TSchematicFileNames names = SchematicFileNames(scratch_.filePath(QStringLiteral("copy.tsv")));
        const QString saveError = SaveSchematicFiles(s_, names);
        if (!saveError.isEmpty()) return "save: " + saveError.toStdString();
        const QByteArray tree = WriteTreeFile(s_.navigator());
        const QByteArray elements = WriteElementFile(s_);
        const QByteArray nets = WriteNetFile(s_);
        s_.Clear();
        TLoadOptions options;
        options.placement = [this](const QStandardItem* node, TPlacementData* data, QString*) {
            return PlacementFor(node, data);
        };
        options.selectOnCreate = rng_() % 4 == 0;
        options.placed = [this](int) { sim_.PrepareRun(); };
        const TLoadResult r = LoadSchematicFiles(s_, names, options);
        if (!r.complete) return "load: " + r.error.toStdString();
        if (WriteTreeFile(s_.navigator()) != tree) return "the tree differs from the saved one";
        if (WriteElementFile(s_) != elements) return "the elements differ from the saved ones";
        if (WriteNetFile(s_) != nets) return "the nets differ from the saved ones";
        return {};
    }

    // A wire from a random pin, mostly to a free pin as a user wires; one in ten may join two
    // nets. Pins picked wholly at random would soon merge every pin into one net.
    bool ConnectRandom() {
        const TPinRef a = RandomPin();
        TPinRef b = RandomPin();
        if (rng_() % 10 != 0)
            for (int tries = 0; tries < 8 && s_.PinIsConnected(b); ++tries)
                b = RandomPin();
        return s_.ConnectPins(a, b);
    }

    TPinRef RandomPin() {
        if (s_.ElementCount() == 0) return {};
        const int e = 1 + static_cast<int>(rng_() % static_cast<uint32_t>(s_.ElementCount()));
        const int legs = static_cast<int>(s_.element(e).Legs.size());
        return {e, legs ? static_cast<int>(rng_() % static_cast<uint32_t>(legs)) : 0};
    }

    int RandomElement() {
        return s_.ElementCount() ? 1 + static_cast<int>(rng_() % static_cast<uint32_t>(s_.ElementCount()))
                                 : 0;
    }

    void Reroute() {
        s_.DeriveCons();
        RouteWires(s_, grids_);
    }

    // One random edit, followed by what the editor runs after it.
    void Edit() {
        ++edits;
        const uint32_t pick = rng_() % 100;
        if (pick < 8) {
            if (!s_.isFull()) PlaceChip();
            sim_.PrepareRun();
        } else if (pick < 12) {
            constexpr ElementKind kinds[] = {ElementKind::Switch, ElementKind::Generator,
                                             ElementKind::Indicator, ElementKind::Probe};
            if (!s_.isFull()) PlaceSpecial(kinds[rng_() % 4]);
            sim_.PrepareRun();
        } else if (pick < 25) {
            if (const int e = RandomElement())
                s_.SetCoord(e, {static_cast<int32_t>(rng_() % 200), static_cast<int32_t>(rng_() % 200)});
        } else if (pick < 55) {
            if (ConnectRandom()) sim_.PrepareRun();
        } else if (pick < 64) {
            if (!s_.Conns().empty()) {
                const TConns& net = s_.Conns()[rng_() % s_.Conns().size()];
                s_.DisconnectPin(net[rng_() % net.size()]);
                sim_.PrepareRun();
            }
        } else if (pick < 67) {
            if (!s_.Conns().empty()) {
                s_.RemoveNet(static_cast<int>(rng_() % s_.Conns().size()));
                sim_.PrepareRun();
            }
        } else if (pick < 75) {
            // "Удалить выделенные элементы": select a few, delete, re-link the navigator.
            s_.DeselectAll();
            for (int k = 0; k < 3; ++k)
                if (const int e = RandomElement()) s_.SelectElement(e);
            s_.DeleteSelected();
            s_.AssociateTree();
        } else if (pick < 80) {
            // The navigator's "Удалить" on a random node.
            const std::vector<QStandardItem*> nodes = s_.navigator().nodesInTreeOrder();
            if (!nodes.empty()) s_.RemoveFromTree(nodes[rng_() % nodes.size()]);
        } else if (pick < 92) {
            for (int e = 1; e <= s_.ElementCount(); ++e)
                if (s_.element(e).kind() == ElementKind::Switch && rng_() % 2) {
                    s_.ToggleSwitch(e);
                    break;
                }
        } else if (pick < 97) {
            for (int e = 1; e <= s_.ElementCount(); ++e)
                if (s_.element(e).kind() == ElementKind::Generator && rng_() % 2) {
                    s_.SetGeneratorDurations(e, 1 + static_cast<int32_t>(rng_() % 150),
                                             1 + static_cast<int32_t>(rng_() % 150));
                    break;
                }
        } else if (pick < 99) {
            loadFault = LoadSavedCopy();
            ++loads;
        } else {
            // "Новый", then a fresh schematic.
            s_.Clear();
            Reroute();
            Populate();
        }
        Reroute();
    }

    std::mt19937 rng_;
    // Why the last load of a saved copy failed; empty when it succeeded.
    std::string loadFault;
    int64_t loads = 0;

private:
    QTemporaryDir scratch_;
    std::map<QString, size_t> chipTypes_;
    Schematic s_;
    Simulator sim_;
    RoutingGrids grids_;
};

int64_t SoakUnits() {
    const QByteArray env = qgetenv("TARNWELL_SOAK_UNITS");
    bool ok = false;
    const long long units = env.toLongLong(&ok);
    return ok && units > 0 ? units : 10000;
}

TEST(Soak, RandomEditsBetweenCyclesKeepTheInvariants) {
    const int64_t units = SoakUnits();
    Soak soak(20261210);
    soak.Populate();
    ASSERT_EQ(CheckInvariants(soak.schematic()), "");
    const long startKb = ResidentKb();
    int64_t done = 0;
    size_t maxTransitions = 0;
    int64_t netsSeen = 0, cycles = 0;
    while (done < units) {
        // A cycle of 1..100 units, then an edit, as the user edits while the run loop runs.
        const int64_t cycle = std::min<int64_t>(1 + soak.rng_() % 100, units - done);
        soak.simulator().RunUnits(cycle);
        done += cycle;
        // The levels follow the nets as the passes found them.
        ASSERT_EQ(soak.simulator().NetLevels.size(), soak.schematic().Conns().size()) << "at unit " << done;
        for (int e = 1; e <= soak.schematic().ElementCount(); ++e)
            maxTransitions = std::max(maxTransitions, soak.schematic().element(e).Transitions.size());
        netsSeen += static_cast<int64_t>(soak.schematic().Conns().size());
        ++cycles;
        soak.Edit();
        ASSERT_EQ(soak.loadFault, "") << "after edit " << soak.edits;
        ASSERT_EQ(CheckInvariants(soak.schematic()), "") << "after edit " << soak.edits;
        ASSERT_EQ(CheckNavigator(soak.schematic()), "") << "after edit " << soak.edits;
    }
    const long endKb = ResidentKb();
    size_t largestNet = 0;
    for (const TConns& net : soak.schematic().Conns())
        largestNet = std::max(largestNet, net.size());
    std::printf("soak: %lld units, %lld edits (%lld loads of a saved copy), %d elements and %zu nets at the "
                "end (the largest of %zu pins), %.1f nets on average, longest probe record %zu, "
                "resident %ld kB at the start, %ld kB at the end\n",
                static_cast<long long>(done), static_cast<long long>(soak.edits),
                static_cast<long long>(soak.loads), soak.schematic().ElementCount(),
                soak.schematic().Conns().size(), largestNet,
                cycles ? static_cast<double>(netsSeen) / static_cast<double>(cycles) : 0.0, maxTransitions,
                startKb, endKb);
    ::testing::Test::RecordProperty("resident_start_kb", static_cast<int>(startKb));
    ::testing::Test::RecordProperty("resident_end_kb", static_cast<int>(endKb));
    EXPECT_EQ(done, units);
}

} // namespace
