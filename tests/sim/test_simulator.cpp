// SPDX-License-Identifier: MIT
#include "model/specialpictures.h"
#include "sim/fullpasssimulator.h"
#include "sim/probetrace.h"
#include "sim/simulator.h"
#include "tests/common/runaccess.h"
#include "tests/sim/tracereference.h"
#include "tools/gen/chipring.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

namespace {

// Builds schematics element by element, as placing would (legs from the two pin strings).
struct Builder {
    Schematic s;

    int Add(const QString& name, const QString& left, const QString& right, int width, int lh = 0, int hl = 0,
            const QString& script = QString()) {
        TElement e;
        e.Name = name;
        e.CellWidth = width;
        e.Legs = BuildLegs(left, right, width);
        e.Reaction_LH = lh;
        e.Reaction_HL = hl;
        if (!script.isNull()) e.Script << script;
        return s.AddElement(std::move(e));
    }
    int Switch(int n) {
        return Add(QStringLiteral("Переключатель%1").arg(n), QString(), QStringLiteral("1"), 2);
    }
    int Indicator(int n) {
        const int i = Add(QStringLiteral("Индикатор%1").arg(n), QStringLiteral("1"), QString(), 2);
        s.SetBitmap(i, SmallPicture(SmallIndicatorUnlit));
        return i;
    }
    int Probe(int n) {
        return Add(QStringLiteral("Осциллограф%1").arg(n), QStringLiteral("0001"), QString(), 7);
    }
    int Generator(int n, int low, int high) {
        return Add(QStringLiteral("Генератор%1").arg(n), QString(), QStringLiteral("010001"), 7, low, high);
    }
    int Inverter(int n, int lh, int hl) {
        return Add(QStringLiteral("D%1.1").arg(n), QStringLiteral("1"), QStringLiteral("1"), 4, lh, hl,
                   QStringLiteral("Y=~1"));
    }
    void Net(std::initializer_list<TPinRef> pins) { ASSERT_TRUE(s.AddNet(TConns(pins))); }
};

TEST(Simulator, PrepareRunResetsClockNetsStatesAndNumbersLegs) {
    Builder b;
    const int sw = b.Switch(1);
    const int chip = b.Add(QStringLiteral("D1.1"), QStringLiteral("101"), QStringLiteral("01"), 3, 1, 1,
                           QStringLiteral("Y=1&2"));
    const int probe = b.Probe(1);
    b.Net({{sw, 0}, {chip, 0}});
    b.Net({{chip, 2}, {probe, 0}});
    TElement& c = ForRun(b.s, chip);
    c.Legs[2].Level = 1;
    c.Legs[2].Pending = 1;
    c.Legs[2].Timer = 7;
    b.s.ToggleSwitch(sw);
    ForRun(b.s, probe).Transitions = {3, 5};

    Simulator sim(b.s);
    sim.SimTime = 42;
    sim.NetLevels = {1};
    sim.PrepareRun();
    EXPECT_EQ(sim.SimTime, 0);
    EXPECT_EQ(sim.NetLevels, (std::vector<uint8_t>{0, 0}));
    EXPECT_FALSE(b.s.element(sw).State);
    EXPECT_TRUE(b.s.element(probe).Transitions.empty());
    // Inputs at rows 1 and 3 and the output at row 2: input 1, input 2, output 1.
    EXPECT_TRUE(c.Legs[0].IsInput);
    EXPECT_EQ(c.Legs[0].Ordinal, 1);
    EXPECT_TRUE(c.Legs[1].IsInput);
    EXPECT_EQ(c.Legs[1].Ordinal, 2);
    EXPECT_FALSE(c.Legs[2].IsInput);
    EXPECT_EQ(c.Legs[2].Ordinal, 1);
    // Timers are cleared; levels and pending levels carry over to the next run.
    EXPECT_EQ(c.Legs[2].Timer, 0);
    EXPECT_EQ(c.Legs[2].Level, 1);
    EXPECT_EQ(c.Legs[2].Pending, 1);
}

// Switch -> inverter (LH 3, HL 2) -> indicator and probe, in this table order, all levels 0.
TEST(Simulator, SwitchInverterIndicatorProbeExample) {
    Builder b;
    const int sw = b.Switch(1);
    const int inv = b.Inverter(1, 3, 2);
    const int ind = b.Indicator(1);
    const int probe = b.Probe(1);
    b.Net({{sw, 0}, {inv, 0}});
    b.Net({{inv, 1}, {ind, 0}, {probe, 0}});
    Simulator sim(b.s);
    QSignalSpy pictures(&b.s, &Schematic::elementImageChanged);
    ForRun(b.s, ind).Selected = true;

    sim.PrepareRun();
    const TElement& indicator = b.s.element(ind);
    std::vector<int> indicatorRises;
    for (int t = 0; t <= 13; ++t) {
        ASSERT_EQ(sim.SimTime, t);
        if (t == 10) b.s.ToggleSwitch(sw); // the user turns the switch on before time 10
        sim.SimStep();
        const bool afterFirst = indicator.State;
        sim.SimStep();
        if (t == 4) {
            EXPECT_FALSE(afterFirst) << "the chip's change reaches the indicator in the second pass";
            EXPECT_TRUE(indicator.State);
        }
        if (t == 12) {
            EXPECT_TRUE(afterFirst);
            EXPECT_FALSE(indicator.State);
        }
        EXPECT_EQ(indicator.State, t >= 4 && t < 12) << "time " << t;
        sim.SimTime += 1;
        // The picture follows State after the unit, never inside a pass.
        EXPECT_EQ(indicator.Bitmap, SmallPicture(t > 4 && t <= 12 ? SmallIndicatorLit : SmallIndicatorUnlit))
            << "time " << t;
        sim.ShowIndicators();
        EXPECT_EQ(indicator.Bitmap, SmallPicture(indicator.State ? SmallIndicatorLit : SmallIndicatorUnlit))
            << "time " << t;
    }
    EXPECT_FALSE(indicator.State);
    EXPECT_EQ(b.s.element(probe).Transitions, (std::vector<TSimTime>{4, 12}));
    EXPECT_EQ(b.s.element(inv).Legs[1].Level, 0);
    EXPECT_EQ(sim.NetLevels, (std::vector<uint8_t>{1, 0}));

    // The indicator got its lit picture at 4 and its unlit one at 12, and lost the selection tint;
    // between them the switch got its "on" picture.
    std::vector<int> changed;
    for (const QList<QVariant>& args : pictures)
        changed.push_back(args.at(0).toInt());
    EXPECT_EQ(changed, (std::vector<int>{ind, sw, ind}));
    EXPECT_EQ(indicator.Bitmap, SmallPicture(SmallIndicatorUnlit));
    EXPECT_FALSE(indicator.Selected);
    EXPECT_NE(SmallPicture(SmallIndicatorLit), SmallPicture(SmallIndicatorUnlit));
}

struct GeneratorCase {
    int high;
    int low;
    std::vector<int> changes; // times at which output 0 changes, first one to 1
};

class GeneratorTiming : public testing::TestWithParam<GeneratorCase> {};

TEST_P(GeneratorTiming, TogglesAfterItsDurationsWithComplementOutput) {
    const GeneratorCase& c = GetParam();
    Builder b;
    const int gen = b.Generator(1, c.low, c.high);
    Simulator sim(b.s);
    sim.PrepareRun();
    const TElement& g = b.s.element(gen);
    std::vector<int> changes;
    uint8_t last = g.Legs[0].Level;
    ASSERT_EQ(last, 0);
    for (int t = 0; t <= 250; ++t) {
        for (int pass = 0; pass < 2; ++pass) {
            sim.SimStep();
            EXPECT_EQ(g.Legs[1].Level, 1 - g.Legs[0].Level) << "time " << t;
            if (g.Legs[0].Level != last) {
                EXPECT_EQ(pass, 0) << "a generator toggles in the first pass";
                changes.push_back(t);
                last = g.Legs[0].Level;
            }
        }
        sim.SimTime += 1;
    }
    EXPECT_EQ(changes, c.changes);
}

INSTANTIATE_TEST_SUITE_P(Sim, GeneratorTiming,
                         testing::Values(GeneratorCase{100, 100, {0, 100, 200}},
                                         GeneratorCase{30, 70, {0, 30, 100, 130, 200, 230}}));

struct PulseCase {
    int pulse; // units the switch stays on, from time 10
    int delay; // both delays of the inverter
    std::vector<TSimTime> transitions;
};

class PulseFilter : public testing::TestWithParam<PulseCase> {};

// Switch -> inverter -> probe: the inverter rises at 1 + delay, then sees a pulse from time 10.
TEST_P(PulseFilter, PulseShorterThanTheDelayNeverReachesTheOutput) {
    const PulseCase& c = GetParam();
    Builder b;
    const int sw = b.Switch(1);
    const int inv = b.Inverter(1, c.delay, c.delay);
    const int probe = b.Probe(1);
    b.Net({{sw, 0}, {inv, 0}});
    b.Net({{inv, 1}, {probe, 0}});
    Simulator sim(b.s);
    sim.PrepareRun();
    for (int t = 0; t < 40; ++t) {
        if (t == 10 || t == 10 + c.pulse) b.s.ToggleSwitch(sw);
        sim.RunUnit();
    }
    EXPECT_EQ(b.s.element(probe).Transitions, c.transitions);
}

INSTANTIATE_TEST_SUITE_P(Sim, PulseFilter,
                         testing::Values(PulseCase{2, 5, {6}}, PulseCase{4, 5, {6}},
                                         PulseCase{5, 5, {6, 15, 20}}, PulseCase{6, 5, {6, 15, 21}}));

// Switch -> inverter with delay 0 -> probe. The switch turned on before time 5 reaches the chip in
// the second pass of 5; that change is overdue in the next unit and takes effect in its first pass.
TEST(Simulator, DelayZeroChangeScheduledInSecondPassTakesEffectNextUnit) {
    Builder b;
    const int sw = b.Switch(1);
    const int inv = b.Inverter(1, 0, 0);
    const int probe = b.Probe(1);
    b.Net({{sw, 0}, {inv, 0}});
    b.Net({{inv, 1}, {probe, 0}});
    Simulator sim(b.s);
    sim.PrepareRun();
    const TLeg& out = b.s.element(inv).Legs[1];
    for (int t = 0; t < 5; ++t)
        sim.RunUnit();
    // Delay 0 scheduled in the first pass of time 1 fell due in its second pass.
    EXPECT_EQ(out.Level, 1);
    b.s.ToggleSwitch(sw);
    sim.RunUnit(); // time 5: the chip sees the switch in its second pass and schedules for time 5
    EXPECT_EQ(out.Level, 1);
    EXPECT_EQ(out.Timer, 5);
    sim.SimStep(); // first pass of time 6
    EXPECT_EQ(out.Level, 0);
    EXPECT_EQ(out.Timer, 0);
    sim.SimStep();
    sim.SimTime += 1;
    EXPECT_EQ(b.s.element(probe).Transitions, (std::vector<TSimTime>{2, 6}));
}

TEST(Simulator, NegativeDelayTakesEffectAtTheNextVisit) {
    Builder b;
    const int inv = b.Inverter(1, -3, -3);
    Simulator sim(b.s);
    sim.PrepareRun();
    const TLeg& out = b.s.element(inv).Legs[1];
    sim.RunUnit(); // time 0: Pending (0) taken
    sim.SimStep(); // time 1: the unconnected input reads 0, so 1 is wanted, due at -2
    EXPECT_EQ(out.Timer, -2);
    EXPECT_EQ(out.Level, 0);
    sim.SimStep();
    EXPECT_EQ(out.Level, 1);
    EXPECT_EQ(out.Timer, 0);
}

TEST(Simulator, TimeUnitZeroTakesPendingOfTheFirstOutputOnly) {
    Builder b;
    const int chip = b.Add(QStringLiteral("D1.1"), QStringLiteral("1"), QStringLiteral("11"), 4, 1, 1,
                           QStringLiteral("Y=~1"));
    TElement& c = ForRun(b.s, chip);
    c.Legs[1].Pending = 1;
    c.Legs[2].Pending = 1;
    Simulator sim(b.s);
    sim.PrepareRun();
    sim.RunUnit();
    EXPECT_EQ(c.Legs[1].Level, 1);
    EXPECT_EQ(c.Legs[2].Level, 0) << "the second output is not visited at time 0";
    // From time 1 on the chip evaluates: both outputs follow the one expression (~0 = 1).
    sim.RunUnit();
    sim.RunUnit();
    EXPECT_EQ(c.Legs[2].Level, 1);
}

struct SharedNetCase {
    bool firstOn;
    bool secondOn;
    bool reversed; // the second switch joined the net first
    uint8_t expected;
};

class SharedNet : public testing::TestWithParam<SharedNetCase> {};

TEST_P(SharedNet, LastOutputInPinOrderWins) {
    const SharedNetCase& c = GetParam();
    Builder b;
    const int a = b.Switch(1);
    const int z = b.Switch(2);
    const int ind = b.Indicator(1);
    if (c.reversed)
        b.Net({{z, 0}, {ind, 0}, {a, 0}});
    else
        b.Net({{a, 0}, {ind, 0}, {z, 0}});
    Simulator sim(b.s);
    sim.PrepareRun();
    if (c.firstOn) b.s.ToggleSwitch(a);
    if (c.secondOn) b.s.ToggleSwitch(z);
    sim.RunUnit();
    EXPECT_EQ(sim.NetLevels[0], c.expected);
    EXPECT_EQ(b.s.element(ind).State, c.expected != 0);
}

INSTANTIATE_TEST_SUITE_P(Sim, SharedNet,
                         testing::Values(SharedNetCase{true, false, false, 0},
                                         SharedNetCase{false, true, false, 1},
                                         SharedNetCase{true, false, true, 1},
                                         SharedNetCase{false, true, true, 0}));

TEST(Simulator, UnconnectedInputKeepsItsLevel) {
    Builder b;
    const int sw = b.Switch(1);
    const int chip = b.Add(QStringLiteral("D1.1"), QStringLiteral("11"), QStringLiteral("1"), 4, 1, 1,
                           QStringLiteral("Y=1&2"));
    b.Net({{sw, 0}, {chip, 0}});
    TElement& c = ForRun(b.s, chip);
    c.Legs[1].Level = 1; // input 2 is in no net
    Simulator sim(b.s);
    sim.PrepareRun();
    b.s.ToggleSwitch(sw);
    for (int t = 0; t < 4; ++t)
        sim.RunUnit();
    EXPECT_EQ(c.Legs[1].Level, 1);
    EXPECT_EQ(c.Legs[2].Level, 1);

    c.Legs[1].Level = 0;
    for (int t = 0; t < 4; ++t)
        sim.RunUnit();
    EXPECT_EQ(c.Legs[1].Level, 0);
    EXPECT_EQ(c.Legs[2].Level, 0);
}

TEST(Simulator, ChipWithoutScriptLineDrivesOne) {
    Builder b;
    const int chip = b.Add(QStringLiteral("D1.1"), QStringLiteral("1"), QStringLiteral("1"), 4, 2, 2);
    ASSERT_TRUE(b.s.element(chip).Script.isEmpty());
    Simulator sim(b.s);
    sim.PrepareRun();
    for (int t = 0; t < 4; ++t)
        sim.RunUnit();
    EXPECT_EQ(b.s.element(chip).Legs[1].Level, 1);
}

TEST(Simulator, AnElementAddedDuringARunIsEvaluatedWithItsOwnExpression) {
    Builder b;
    const int sw = b.Switch(1);
    const int inv = b.Inverter(1, 1, 1);
    b.Net({{sw, 0}, {inv, 0}});
    Simulator sim(b.s);
    sim.PrepareRun();
    b.s.ToggleSwitch(sw);
    for (int t = 0; t < 4; ++t)
        sim.RunUnit();
    ASSERT_EQ(b.s.element(inv).Legs[1].Level, 0);
    // An OR gate joins the switch's net: its output follows the switch, not the inverter.
    const int orGate = b.Add(QStringLiteral("D2.1"), QStringLiteral("11"), QStringLiteral("1"), 4, 1, 1,
                             QStringLiteral("Y=1+2"));
    ASSERT_TRUE(b.s.ConnectPins({sw, 0}, {orGate, 0}));
    NumberLegs(ForRun(b.s, orGate));
    for (int t = 0; t < 4; ++t)
        sim.RunUnit();
    EXPECT_EQ(b.s.element(orGate).Legs[2].Level, 1);
    EXPECT_EQ(b.s.element(inv).Legs[1].Level, 0);
}

// A removed net takes its level with it: the nets after it keep their own levels from the very
// next pass (no pass sees a neighbour's level).
TEST(Simulator, NetLevelsFollowTheirNetsWhenAnEarlierNetIsRemoved) {
    Builder b;
    const int sw1 = b.Switch(1);
    const int sw2 = b.Switch(2);
    const int sw3 = b.Switch(3);
    const int ind1 = b.Indicator(1);
    const int ind2 = b.Indicator(2);
    const int ind3 = b.Indicator(3);
    b.Net({{sw1, 0}, {ind1, 0}});
    b.Net({{sw2, 0}, {ind2, 0}});
    b.Net({{sw3, 0}, {ind3, 0}});
    Simulator sim(b.s);
    sim.PrepareRun();
    b.s.ToggleSwitch(sw2);
    sim.RunUnit();
    ASSERT_EQ(sim.NetLevels, (std::vector<uint8_t>{0, 1, 0}));
    b.s.RemoveNet(1);
    sim.SimStep();
    EXPECT_EQ(sim.NetLevels, (std::vector<uint8_t>{0, 0}));
    EXPECT_FALSE(b.s.element(ind3).State) << "net 2 moved to 1 and must not read the removed net's 1";
    // A merge keeps the first net's level; the merged-in net's level goes.
    b.s.ToggleSwitch(sw3);
    sim.RunUnit();
    ASSERT_EQ(sim.NetLevels, (std::vector<uint8_t>{0, 1}));
    ASSERT_TRUE(b.s.ConnectPins({ind1, 0}, {ind3, 0}));
    sim.SyncNetLevels();
    EXPECT_EQ(sim.NetLevels, (std::vector<uint8_t>{0}));
}

TEST(Simulator, NetLevelsFollowNetsChangedDuringARun) {
    Builder b;
    const int sw = b.Switch(1);
    const int ind = b.Indicator(1);
    const int sw2 = b.Switch(2);
    const int ind2 = b.Indicator(2);
    b.Net({{sw, 0}, {ind, 0}});
    Simulator sim(b.s);
    sim.PrepareRun();
    b.s.ToggleSwitch(sw);
    sim.RunUnit();
    ASSERT_EQ(sim.NetLevels, (std::vector<uint8_t>{1}));

    // A net joins without preparation: the old level stays, the new net starts at 0.
    b.Net({{sw2, 0}, {ind2, 0}});
    b.s.ToggleSwitch(sw2);
    sim.SimStep();
    EXPECT_EQ(sim.NetLevels, (std::vector<uint8_t>{1, 1}));
    sim.SimStep();
    EXPECT_TRUE(b.s.element(ind2).State);

    // All nets go (a new schematic): the passes go on with no net.
    b.s.Clear();
    sim.RunUnit();
    EXPECT_TRUE(sim.NetLevels.empty());
    EXPECT_EQ(sim.SimTime, 2);
}

TEST(Simulator, SpecialElementsWithoutTheirPinsAreSkipped) {
    Builder b;
    b.Add(QStringLiteral("Переключатель1"), QString(), QString(), 2);
    b.Add(QStringLiteral("Генератор1"), QString(), QStringLiteral("01"), 7, 5, 5);
    b.Add(QStringLiteral("Индикатор1"), QString(), QString(), 2);
    b.Add(QStringLiteral("Осциллограф1"), QString(), QString(), 7);
    b.Add(QStringLiteral("X1"), QStringLiteral("1"), QString(), 2);
    Simulator sim(b.s);
    sim.PrepareRun();
    for (int t = 0; t < 12; ++t)
        sim.RunUnit();
    EXPECT_EQ(b.s.element(2).Legs[0].Level, 1) << "toggled at 0 and 10";
}

// The straightforward pass, with the expression text compared at every evaluation and no value
// shared between outputs, as the oracle of Simulator::SimStep.
void ReferenceStep(Schematic& s, std::vector<uint8_t>& nets, TSimTime time) {
    for (size_t i = 0; i < s.Conns().size(); ++i)
        for (const TPinRef& p : s.Conns()[i]) {
            TLeg& leg = ForRun(s, p.Element).Legs[static_cast<size_t>(p.Leg)];
            if (leg.X == 0) leg.Level = nets[i];
        }
    for (int i = 1; i <= s.ElementCount(); ++i) {
        TElement& e = ForRun(s, i);
        if (e.kind() == ElementKind::Generator) {
            TLeg& out = e.Legs[0];
            if (out.Timer <= time) {
                out.Level = 1 - out.Level;
                e.Legs[1].Level = 1 - out.Level;
                out.Timer = time + (out.Level == 1 ? e.Reaction_HL : e.Reaction_LH);
            }
            continue;
        }
        if (e.kind() != ElementKind::Chip) continue;
        const QStringView text = e.Script.isEmpty() ? QStringView() : ExpressionText(e.Script.first());
        for (TLeg& leg : e.Legs) {
            if (leg.IsInput) continue;
            auto schedule = [&](uint8_t v) {
                leg.Timer = time + (v == 1 ? e.Reaction_LH : e.Reaction_HL);
                leg.Pending = v;
            };
            if (leg.Timer == time || (leg.Timer != 0 && leg.Timer < time)) {
                leg.Timer = 0;
                leg.Level = leg.Pending;
                break;
            }
            const uint8_t v = EvalExpression(text, e);
            if (leg.Timer != 0) {
                if (v == leg.Level) schedule(v);
                break;
            }
            if (v != leg.Level) schedule(v);
        }
    }
    for (size_t i = 0; i < s.Conns().size(); ++i)
        for (const TPinRef& p : s.Conns()[i]) {
            const TLeg& leg = s.element(p.Element).Legs[static_cast<size_t>(p.Leg)];
            if (leg.X != 0) nets[i] = leg.Level;
        }
}

// Changes made between two units of a run without preparing the simulator again, as editing
// commands may do; the same change is made to both schematics of the comparison below.
void EditDuringRun(Schematic& s, TSimTime t) {
    switch (t) {
    case 60: { // a pin moves to another net
        ASSERT_GT(s.Conns()[20].size(), 2u);
        const TPinRef pin = s.Conns()[20].back();
        s.DisconnectPin(pin);
        ASSERT_TRUE(s.ConnectPins(pin, s.Conns()[30][0]));
        break;
    }
    case 80:
        s.RemoveNet(40);
        break;
    case 120: // two nets merge
        ASSERT_TRUE(s.ConnectPins(s.Conns()[10][0], s.Conns()[11][0]));
        break;
    case 250: // the last element (the generator) is deleted with its pins
        s.SelectElement(s.ElementCount());
        s.DeleteSelected();
        break;
    default:
        break;
    }
}

TEST(Simulator, ChipRingMatchesTheStraightforwardPass) {
    Schematic fast;
    Schematic slow;
    for (Schematic* s : {&fast, &slow}) {
        MakeChipRing(*s, 300, 7);
        // Some outputs start high, and a generator as the last driver of two nets keeps the
        // ring busy.
        for (int i = 1; i <= 300; i += 3)
            ForRun(*s, i).Legs.back().Pending = 1;
        TElement gen;
        gen.Name = QStringLiteral("Генератор1");
        gen.CellWidth = 7;
        gen.Legs = BuildLegs(QString(), QStringLiteral("010001"), 7);
        gen.Reaction_LH = 3;
        gen.Reaction_HL = 5;
        const int g = s->AddElement(gen);
        ASSERT_TRUE(s->ConnectPins({g, 0}, s->Conns()[0][0]));
        ASSERT_TRUE(s->ConnectPins({g, 1}, s->Conns()[150][0]));
    }
    Simulator sim(fast);
    sim.PrepareRun();
    for (int i = 1; i <= slow.ElementCount(); ++i)
        NumberLegs(ForRun(slow, i));
    // The oracle keeps each net's level under the net's id, so it follows the net through edits.
    std::map<uint64_t, uint8_t> levelOf;
    std::vector<uint8_t> nets;
    int changes = 0;
    for (TSimTime t = 0; t < 300; ++t) {
        EditDuringRun(fast, t);
        EditDuringRun(slow, t);
        for (int pass = 0; pass < 2; ++pass) {
            nets.clear();
            for (uint64_t id : slow.NetIds())
                nets.push_back(levelOf[id]);
            const std::vector<uint8_t> before = nets;
            sim.SimStep();
            ReferenceStep(slow, nets, t);
            for (size_t n = 0; n < nets.size(); ++n)
                levelOf[slow.NetIds()[n]] = nets[n];
            if (nets != before && t > 100) ++changes;
            ASSERT_EQ(sim.NetLevels, nets) << "time " << t << " pass " << pass;
        }
        sim.SimTime += 1;
    }
    ASSERT_EQ(fast.ElementCount(), 300);
    for (int i = 1; i <= 300; ++i)
        for (size_t l = 0; l < fast.element(i).Legs.size(); ++l) {
            const TLeg& a = fast.element(i).Legs[l];
            const TLeg& z = slow.element(i).Legs[l];
            ASSERT_EQ(a.Level, z.Level);
            ASSERT_EQ(a.Timer, z.Timer);
            ASSERT_EQ(a.Pending, z.Pending);
        }
    EXPECT_GT(changes, 10) << "the ring should stay active after the edits";
}

// A new run clears every State; the switches and indicators that showed State 1 get their off and
// unlit pictures back, so picture and State agree from the first unit on.
template <class Sim> void CheckPrepareRunPutsBackThePictures() {
    Builder b;
    const int sw = b.Switch(1);
    const int lamp = b.Indicator(1);
    const int offSwitch = b.Switch(2);
    b.Net({{sw, 0}, {lamp, 0}});
    Sim sim(b.s);
    sim.PrepareRun();
    b.s.ToggleSwitch(sw);
    b.s.ToggleSelection(lamp); // a selected indicator that lights up shows its lit picture untinted
    sim.RunUnit();
    ASSERT_TRUE(b.s.element(lamp).State);
    ASSERT_EQ(b.s.element(lamp).Bitmap, SmallPicture(SmallIndicatorLit));
    ASSERT_FALSE(b.s.element(lamp).Selected);
    b.s.ToggleSelection(lamp); // tinted: the fresh picture drops the tint
    b.s.SetBitmap(offSwitch, SmallPicture(SmallSwitchOff));
    b.s.ToggleSelection(offSwitch);
    const QImage tintedOff = b.s.element(offSwitch).Bitmap;

    QSignalSpy repaints(&b.s, &Schematic::elementImageChanged);
    sim.PrepareRun();
    EXPECT_FALSE(b.s.element(sw).State);
    EXPECT_EQ(b.s.element(sw).Bitmap, SmallPicture(SmallSwitchOff));
    EXPECT_FALSE(b.s.element(lamp).State);
    EXPECT_EQ(b.s.element(lamp).Bitmap, SmallPicture(SmallIndicatorUnlit));
    EXPECT_FALSE(b.s.element(lamp).Selected);
    // A switch that was off keeps its picture and its selection.
    EXPECT_EQ(b.s.element(offSwitch).Bitmap, tintedOff);
    EXPECT_TRUE(b.s.element(offSwitch).Selected);
    EXPECT_EQ(repaints.count(), 2);
}

TEST(Simulator, PrepareRunPutsBackTheSwitchAndIndicatorPictures) {
    CheckPrepareRunPutsBackThePictures<Simulator>();
}

TEST(FullPassSimulator, PrepareRunPutsBackTheSwitchAndIndicatorPictures) {
    CheckPrepareRunPutsBackThePictures<FullPassSimulator>();
}

// A generator of period 2 changes the probe's input in every unit. Kept whole, the record grows by
// a transition a unit; kept for drawing, it stays within one trimming batch and draws the same
// pixels at every time looked at.
TEST(Simulator, AProbeOnAFastGeneratorStaysInBoundedMemoryAndDrawsTheSameTrace) {
    struct Run {
        Builder b;
        Simulator sim{b.s};
        int probe = 0;
        explicit Run(ProbeRecording recording) {
            const int gen = b.Generator(1, 1, 1);
            probe = b.Probe(1);
            b.Net({{gen, 0}, {probe, 0}});
            sim.Recording = recording;
            sim.PrepareRun();
        }
    };
    Run kept(ProbeRecording::Visible), all(ProbeRecording::All);
    const QSize size(TraceWidth, TraceHeight);
    size_t longest = 0;
    for (const int64_t units : {1, 320, 700, 5000, 10000, 123456, 400000}) {
        while (kept.sim.SimTime < units) {
            kept.sim.RunUnit();
            longest = std::max(longest, kept.b.s.element(kept.probe).Transitions.size());
        }
        all.sim.RunUnits(units - all.sim.SimTime);
        ASSERT_EQ(kept.sim.SimTime, all.sim.SimTime);
        const TElement& k = kept.b.s.element(kept.probe);
        const TElement& a = all.b.s.element(all.probe);
        EXPECT_EQ(a.Transitions.size(), static_cast<size_t>(units));
        QImage fast(size, QImage::Format_RGB32);
        DrawTrace(fast, k.Transitions, k.LevelBefore, kept.sim.SimTime);
        EXPECT_EQ(fast, DrawTraceFromZero(a.Transitions, all.sim.SimTime, size)) << "after " << units;
    }
    EXPECT_LE(longest, ProbeTrimEvery);
    EXPECT_LE(kept.b.s.element(kept.probe).Transitions.size(), ProbeTrimEvery);
}

} // namespace
