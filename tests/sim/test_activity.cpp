// SPDX-License-Identifier: MIT
// The simulator visits only the elements where something may change; these tests hold it to the
// results of the full-pass simulator, pass by pass, on hand-made and generated schematics.
#include "sim/fullpasssimulator.h"
#include "sim/simulator.h"
#include "tests/common/runaccess.h"
#include "tests/sim/tracereference.h"
#include "tools/gen/chipring.h"
#include "tools/gen/clockedcircuits.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

// The same schematic twice, one run by Simulator and one by FullPassSimulator. Every change from
// outside is made to both.
struct Pair {
    Schematic fast;
    Schematic full;
    Simulator sim{fast};
    FullPassSimulator ref{full};
    std::vector<int> fastPictures; // indices in the order of the elementImageChanged signals
    std::vector<int> fullPictures;
    bool inPass = false;

    Pair() {
        // The indicators' records are compared too.
        sim.RecordIndicators = true;
        ref.RecordIndicators = true;
        // No view code runs inside a pass: the pictures come after the unit.
        QObject::connect(&fast, &Schematic::elementImageChanged, [this](int i) {
            EXPECT_FALSE(inPass) << "a picture signal inside a pass";
            fastPictures.push_back(i);
        });
        QObject::connect(&full, &Schematic::elementImageChanged, [this](int i) {
            EXPECT_FALSE(inPass) << "a picture signal inside a pass";
            fullPictures.push_back(i);
        });
    }
    void Build(const std::function<void(Schematic&)>& make) {
        make(fast);
        make(full);
    }
    void Both(const std::function<void(Schematic&)>& change) {
        change(fast);
        change(full);
    }
    void PrepareRun() {
        sim.PrepareRun();
        ref.PrepareRun();
    }
    void Toggle(int element) {
        Both([element](Schematic& s) { s.ToggleSwitch(element); });
    }
    // One unit pass by pass, comparing after each pass, then the pictures as RunUnit sets them.
    void Unit() {
        for (int pass = 0; pass < 2; ++pass) {
            inPass = true;
            sim.SimStep();
            ref.SimStep();
            inPass = false;
            ExpectSame(pass);
            if (::testing::Test::HasFailure()) return;
        }
        sim.SimTime += 1;
        ref.SimTime += 1;
        sim.ShowIndicators();
        ref.ShowIndicators();
        ExpectSame(2);
    }
    // `units` units in one call of the simulator, and pass by pass for the reference with the
    // pictures set at the end, as RunUnits sets them.
    void Units(TSimTime units) {
        sim.RunUnits(units);
        for (TSimTime u = 0; u < units; ++u) {
            ref.SimStep();
            ref.SimStep();
            ref.SimTime += 1;
        }
        ref.ShowIndicators();
        ExpectSame(-1);
    }

    void ExpectSame(int pass) {
        const std::string where = "time " + std::to_string(ref.SimTime) + " pass " + std::to_string(pass);
        ASSERT_EQ(sim.SimTime, ref.SimTime) << where;
        ASSERT_EQ(sim.NetLevels, ref.NetLevels) << where;
        ASSERT_EQ(fast.ElementCount(), full.ElementCount()) << where;
        for (int i = 1; i <= fast.ElementCount(); ++i) {
            const TElement& a = fast.element(i);
            const TElement& b = full.element(i);
            ASSERT_EQ(a.State, b.State) << where << " element " << i;
            ASSERT_EQ(a.Transitions, b.Transitions) << where << " element " << i;
            ASSERT_EQ(a.Selected, b.Selected) << where << " element " << i;
            ASSERT_EQ(a.Legs.size(), b.Legs.size());
            for (size_t l = 0; l < a.Legs.size(); ++l) {
                const TLeg& x = a.Legs[l];
                const TLeg& y = b.Legs[l];
                ASSERT_TRUE(x.Level == y.Level && x.Timer == y.Timer && x.Pending == y.Pending &&
                            x.IsInput == y.IsInput && x.Ordinal == y.Ordinal)
                    << where << " element " << i << " leg " << l << ": level " << int(x.Level) << "/"
                    << int(y.Level) << " timer " << x.Timer << "/" << y.Timer << " pending " << int(x.Pending)
                    << "/" << int(y.Pending);
            }
        }
        ASSERT_EQ(fastPictures, fullPictures) << where;
    }
    void ExpectSamePictures() {
        for (int i = 1; i <= fast.ElementCount(); ++i)
            ASSERT_EQ(fast.element(i).Bitmap, full.element(i).Bitmap) << "element " << i;
    }
};

// Elements as placing gives them: legs from the two pin strings.
int Add(Schematic& s, const QString& name, const QString& left, const QString& right, int width, int lh = 0,
        int hl = 0, const char* script = nullptr) {
    TElement e;
    e.Name = name;
    e.CellWidth = width;
    e.Legs = BuildLegs(left, right, width);
    e.Reaction_LH = lh;
    e.Reaction_HL = hl;
    if (script) e.Script << QString::fromLatin1(script);
    return s.AddElement(std::move(e));
}
int Switch(Schematic& s) {
    return Add(s, QStringLiteral("Переключатель%1").arg(s.ElementCount() + 1), QString(), QStringLiteral("1"),
               2);
}
int Probe(Schematic& s) {
    return Add(s, QStringLiteral("Осциллограф%1").arg(s.ElementCount() + 1), QStringLiteral("0001"),
               QString(), 7);
}
int Indicator(Schematic& s) {
    return Add(s, QStringLiteral("Индикатор%1").arg(s.ElementCount() + 1), QStringLiteral("1"), QString(), 2);
}
int Generator(Schematic& s, int low, int high) {
    return Add(s, QStringLiteral("Генератор%1").arg(s.ElementCount() + 1), QString(),
               QStringLiteral("010001"), 7, low, high);
}
int Inverter(Schematic& s, int lh, int hl) {
    return Add(s, QStringLiteral("D%1.1").arg(s.ElementCount() + 1), QStringLiteral("1"), QStringLiteral("1"),
               4, lh, hl, "Y=~1");
}
void Net(Schematic& s, TConns pins) {
    ASSERT_TRUE(s.AddNet(std::move(pins)));
}

// A hand-made case: a schematic, what happens from outside before a unit, and what one probe
// must have recorded after `units` units.
struct HandCase {
    const char* name;
    std::function<void(Schematic&)> make;
    std::function<void(Pair&, TSimTime)> before; // called before every unit with its time
    int units;
    int probe;                         // the element whose Transitions are checked
    std::vector<TSimTime> transitions; // checked when not empty or when `none` is set
    bool none = false;                 // the probe records nothing
};

void PrintTo(const HandCase& c, std::ostream* os) {
    *os << c.name;
}

class HandCases : public testing::TestWithParam<HandCase> {};

TEST_P(HandCases, SameAsTheFullPassesAndTheExpectedRecord) {
    const HandCase& c = GetParam();
    Pair p;
    p.Build(c.make);
    p.PrepareRun();
    for (int t = 0; t < c.units; ++t) {
        if (c.before) c.before(p, p.ref.SimTime);
        p.Unit();
        ASSERT_FALSE(HasFailure());
    }
    p.ExpectSamePictures();
    if (!c.transitions.empty() || c.none) {
        EXPECT_EQ(p.fast.element(c.probe).Transitions, c.transitions);
    }

    // The same run again, every unit through RunUnits, which may skip it.
    Pair q;
    q.Build(c.make);
    q.PrepareRun();
    for (int t = 0; t < c.units; ++t) {
        if (c.before) c.before(q, q.ref.SimTime);
        q.Units(1);
        ASSERT_FALSE(HasFailure());
    }
}

// Switch -> inverter (delays 4) -> probe. The switch is on from 10 to 12: the inverter wants 0,
// then its present level again, and moves the unwanted change on at every pass. Switched on at
// 20 for good, the change moved on last in the first pass of 20 falls due at 24 with no effect,
// and the change to 0 scheduled then falls due at 28.
void ChangeOfMind(Schematic& s) {
    const int sw = Switch(s);
    const int inv = Inverter(s, 4, 4);
    const int probe = Probe(s);
    Net(s, {{sw, 0}, {inv, 0}});
    Net(s, {{inv, 1}, {probe, 0}});
}

// Switches 1 and 2 drive inverters 3 and 4 (delay 1) whose outputs share the net of probe 5, with
// inverter 4 last in the net's pin order: only its changes reach the net.
void TwoDrivers(Schematic& s) {
    const int a = Switch(s);
    const int z = Switch(s);
    const int inv1 = Inverter(s, 1, 1);
    const int inv2 = Inverter(s, 1, 1);
    const int probe = Probe(s);
    Net(s, {{a, 0}, {inv1, 0}});
    Net(s, {{z, 0}, {inv2, 0}});
    Net(s, {{inv1, 1}, {probe, 0}, {inv2, 1}});
}

// An inverter (LH 3, HL 2) whose only input is its own output, watched by a probe.
void SelfLoop(Schematic& s) {
    const int inv = Inverter(s, 3, 2);
    const int probe = Probe(s);
    Net(s, {{inv, 1}, {inv, 0}, {probe, 0}});
}

// A generator with high duration 0 and low duration 3 and a probe on its output.
void ZeroDuration(Schematic& s) {
    const int gen = Generator(s, 3, 0);
    const int probe = Probe(s);
    Net(s, {{gen, 0}, {probe, 0}});
}

// Switch -> probe 2 and inverter 3 (delays 1) -> probe 4.
void SwitchProbeInverterProbe(Schematic& s) {
    const int sw = Switch(s);
    const int probe = Probe(s);
    const int inv = Inverter(s, 1, 1);
    const int probe2 = Probe(s);
    Net(s, {{sw, 0}, {probe, 0}, {inv, 0}});
    Net(s, {{inv, 1}, {probe2, 0}});
}

// Generator (2/2) -> inverter 2 -> inverter 3 -> probe 4; inverter 2 is deleted at 20 (inverter
// 3's input is then in no net and keeps its level) and at 30 the generator drives inverter 3
// (now element 2) directly.
void GeneratorTwoInverters(Schematic& s) {
    const int gen = Generator(s, 2, 2);
    const int inv1 = Inverter(s, 1, 1);
    const int inv2 = Inverter(s, 1, 1);
    const int probe = Probe(s);
    Net(s, {{gen, 0}, {inv1, 0}});
    Net(s, {{inv1, 1}, {inv2, 0}});
    Net(s, {{inv2, 1}, {probe, 0}});
}

std::vector<TSimTime> SelfLoopRecord() {
    std::vector<TSimTime> times;
    for (TSimTime t = 4; t < 40; t += 5) {
        times.push_back(t);
        if (t + 2 < 40) times.push_back(t + 2);
    }
    return times;
}

std::vector<TSimTime> ZeroDurationRecord() {
    std::vector<TSimTime> times;
    for (TSimTime t = 0; t < 30; t += 3) {
        times.push_back(t);
        times.push_back(t + 1);
    }
    return times;
}

INSTANTIATE_TEST_SUITE_P(
    Activity, HandCases,
    testing::Values(HandCase{"ChangeOfMindBeforeTheDelayEnds",
                             ChangeOfMind,
                             [](Pair& p, TSimTime t) {
                                 if (t == 10 || t == 12 || t == 20) p.Toggle(1);
                             },
                             40,
                             3,
                             {5, 28}},
                    HandCase{"TwoDriversOnOneNetLastWins",
                             TwoDrivers,
                             [](Pair& p, TSimTime t) {
                                 if (t == 5) p.Toggle(1);
                                 if (t == 10) p.Toggle(2);
                                 if (t == 15) p.Toggle(1);
                             },
                             25,
                             5,
                             {2, 11}},
                    HandCase{"OnlyInputIsItsOwnOutput", SelfLoop, nullptr, 40, 2, SelfLoopRecord()},
                    HandCase{"GeneratorWithDurationZero", ZeroDuration, nullptr, 29, 2, ZeroDurationRecord()},
                    HandCase{"ToggleAtUnitZero",
                             SwitchProbeInverterProbe,
                             [](Pair& p, TSimTime t) {
                                 if (t == 0) p.Toggle(1);
                             },
                             20,
                             4,
                             {},
                             true},
                    HandCase{"ToggleAtUnitZeroReachesTheProbeAtZero",
                             SwitchProbeInverterProbe,
                             [](Pair& p, TSimTime t) {
                                 if (t == 0) p.Toggle(1);
                             },
                             20,
                             2,
                             {0}},
                    HandCase{"DeletionAndNewConnectionDuringARun",
                             GeneratorTwoInverters,
                             [](Pair& p, TSimTime t) {
                                 if (t == 20)
                                     p.Both([](Schematic& s) {
                                         s.SelectElement(2);
                                         s.DeleteSelected();
                                     });
                                 if (t == 30)
                                     p.Both([](Schematic& s) { ASSERT_TRUE(s.ConnectPins({1, 0}, {2, 0})); });
                             },
                             40,
                             3,
                             // Two units through two inverters after each toggle at 0, 2, 4, ...; nothing
                             // while inverter 3 is cut off; from 30 one inverter: a unit after the toggles.
                             {2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 31, 33, 35, 37, 39}}),
    [](const testing::TestParamInfo<HandCase>& info) { return std::string(info.param.name); });

// The longest delays and durations fall due some 2^31 units on, not within a run of 1000 units
// (with a 32-bit clock they used to wrap round to an early time).
struct FarCase {
    const char* name;
    int lh;
    int hl;
    bool switchOn; // the inverter's input is 1, so it wants 0 (delay HL)
    bool generator;
    std::vector<TSimTime> transitions;
};

void PrintTo(const FarCase& c, std::ostream* os) {
    *os << c.name;
}

class FarDelays : public testing::TestWithParam<FarCase> {};

TEST_P(FarDelays, NeverFallDueWithinTheRun) {
    const FarCase& c = GetParam();
    Pair p;
    p.Build([&c](Schematic& s) {
        if (c.generator) {
            // lh is the low duration, hl the high one.
            const int gen = Generator(s, c.lh, c.hl);
            const int probe = Probe(s);
            Net(s, {{gen, 0}, {probe, 0}});
            return;
        }
        const int sw = Switch(s);
        const int inv = Inverter(s, c.lh, c.hl);
        const int probe = Probe(s);
        Net(s, {{sw, 0}, {inv, 0}});
        Net(s, {{inv, 1}, {probe, 0}});
        // Starting at 1 lets the inverter want 0 once the switch is on.
        if (c.switchOn) ForRun(s, inv).Legs[1].Pending = 1;
    });
    p.PrepareRun();
    if (c.switchOn) p.Toggle(1);
    for (int t = 0; t < 50; ++t) {
        p.Unit();
        ASSERT_FALSE(HasFailure());
    }
    p.Units(950);
    ASSERT_FALSE(HasFailure());
    EXPECT_EQ(p.fast.element(c.generator ? 2 : 3).Transitions, c.transitions);
    EXPECT_EQ(p.sim.SimTime, 1000);
}

INSTANTIATE_TEST_SUITE_P(
    Activity, FarDelays,
    testing::Values(FarCase{"ChipLowToHighMax", 2147483647, 1, false, false, {}},
                    FarCase{"ChipLowToHighMaxLessOne", 2147483646, 1, false, false, {}},
                    FarCase{"ChipHighToLowMax", 1, 2147483647, true, false, {0}},
                    FarCase{"ChipHighToLowMaxLessOne", 1, 2147483646, true, false, {0}},
                    FarCase{"GeneratorHighMax", 1, 2147483647, false, true, {0}},
                    FarCase{"GeneratorHighMaxLessOne", 1, 2147483646, false, true, {0}},
                    FarCase{"GeneratorLowMax", 2147483647, 1, false, true, {0, 1}},
                    FarCase{"GeneratorLowMaxLessOne", 2147483646, 1, false, true, {0, 1}}),
    [](const testing::TestParamInfo<FarCase>& info) { return std::string(info.param.name); });

TEST(DueTime, SaturatesAtTheEndsOfTheClock) {
    constexpr TSimTime Lowest = std::numeric_limits<TSimTime>::min();
    EXPECT_EQ(DueTime(5, 3), 8);
    EXPECT_EQ(DueTime(5, -7), -2);
    EXPECT_EQ(DueTime(1, 2147483647), TSimTime{2147483648});
    EXPECT_EQ(DueTime(TSimTime{1} << 31, 2147483647), (TSimTime{1} << 32) - 1);
    EXPECT_EQ(DueTime(NeverDue - 5, 4), NeverDue - 1);
    EXPECT_EQ(DueTime(NeverDue - 5, 5), NeverDue);
    EXPECT_EQ(DueTime(NeverDue - 5, 2147483647), NeverDue);
    EXPECT_EQ(DueTime(Lowest + 5, -5), Lowest);
    EXPECT_EQ(DueTime(Lowest + 5, -2147483647 - 1), Lowest);
    EXPECT_FALSE(ChangeFallsDue(NeverDue, NeverDue));
    EXPECT_FALSE(ToggleFallsDue(NeverDue, NeverDue));
    EXPECT_TRUE(ChangeFallsDue(0, 0));
    EXPECT_FALSE(ChangeFallsDue(0, 5));
    EXPECT_TRUE(ChangeFallsDue(-3, 5));
}

// Random schematics of every kind of element: chips of the eight expressions, unknown texts and
// no script, with up to eight inputs and three outputs; switches, generators, probes,
// indicators and elements of no kind; delays from -2 to beyond the clock's range; nets of two
// to six pins with any number of outputs, so loops and shared nets abound; some pins in no net.
void MakeRandom(Schematic& s, unsigned seed, int elements) {
    std::mt19937 rng(seed);
    const auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    static const char* const scripts[] = {"Y=~1",    "Y=1+2",     "Y=1&2",     "Y=~1+~2",
                                          "Y=~1&~2", "Y=1+2+3+4", "Y=1&2&3&4", "Y=~1+~2+~3+~4+~5+~6+~7+~8",
                                          "Y=1 + 2", "~1"};
    static const int delays[] = {0, 1, 1, 2, 2, 3, 4, 5, 7, 11, -1, -2, 2147483646, 2147483647};
    const auto delay = [&] {
        return pick(0, 3) == 0 ? delays[pick(0, static_cast<int>(std::size(delays)) - 1)] : pick(1, 12);
    };
    for (int i = 1; i <= elements; ++i) {
        const int kind = pick(0, 99);
        if (kind < 60) {
            const int s8 = pick(0, 10);
            const int inputs = pick(0, 8);
            const int outputs = pick(1, 3);
            TElement e;
            e.Name = QStringLiteral("D%1.1").arg(i);
            e.CellWidth = 4;
            // Inputs and outputs at random rows, so leg order mixes the sides.
            e.Legs = BuildLegs(QString(inputs, u'1'), QString(outputs, u'1'), 4);
            std::shuffle(e.Legs.begin(), e.Legs.end(), rng);
            e.Reaction_LH = delay();
            e.Reaction_HL = delay();
            if (s8 < 10) e.Script << QString::fromLatin1(scripts[s8]);
            for (TLeg& leg : e.Legs)
                if (leg.X != 0) leg.Pending = static_cast<uint8_t>(pick(0, 1));
            s.AddElement(std::move(e));
        } else if (kind < 70) {
            const int sw = Switch(s);
            ForRun(s, sw).Legs[0].Level = static_cast<uint8_t>(pick(0, 1));
        } else if (kind < 78) {
            const int low =
                pick(0, 4) == 0 ? delays[pick(0, static_cast<int>(std::size(delays)) - 1)] : pick(1, 30);
            Generator(s, low, pick(0, 4) == 0 ? pick(-1, 2) : pick(1, 30));
        } else if (kind < 86) {
            Probe(s);
        } else if (kind < 95) {
            Indicator(s);
        } else {
            Add(s, QStringLiteral("X%1").arg(i), QStringLiteral("11"), QStringLiteral("1"), 3);
        }
    }
    std::vector<TPinRef> pins;
    for (int i = 1; i <= s.ElementCount(); ++i)
        for (int l = 0; l < static_cast<int>(s.element(i).Legs.size()); ++l)
            pins.push_back({i, l});
    std::shuffle(pins.begin(), pins.end(), rng);
    size_t at = 0;
    while (at + 2 <= pins.size()) {
        if (pick(0, 6) == 0) {
            ++at; // this pin stays in no net
            continue;
        }
        const size_t size = std::min<size_t>(static_cast<size_t>(pick(2, 6)), pins.size() - at);
        if (size < 2) break;
        s.AddNet(TConns(pins.begin() + static_cast<std::ptrdiff_t>(at),
                        pins.begin() + static_cast<std::ptrdiff_t>(at + size)));
        at += size;
    }
}

// What the user and the editing commands may do between two units, the same to both schematics.
void RandomChange(Pair& p, std::mt19937& rng) {
    const auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    Schematic& s = p.full;
    const int count = s.ElementCount();
    if (count == 0) return;
    const int what = pick(0, 99);
    if (what < 50) {
        // Turn a switch over.
        std::vector<int> switches;
        for (int i = 1; i <= count; ++i)
            if (s.element(i).kind() == ElementKind::Switch) switches.push_back(i);
        if (!switches.empty())
            p.Toggle(switches[static_cast<size_t>(pick(0, static_cast<int>(switches.size()) - 1))]);
    } else if (what < 60) {
        // The user sets an input that is in no net.
        const int i = pick(1, count);
        const int legs = static_cast<int>(s.element(i).Legs.size());
        if (legs == 0) return;
        const int l = pick(0, legs - 1);
        if (s.element(i).Legs[static_cast<size_t>(l)].X != 0 || s.PinIsConnected({i, l})) return;
        p.Both([i, l](Schematic& x) {
            TLeg& leg = ForRun(x, i).Legs[static_cast<size_t>(l)];
            leg.Level = leg.Level ? 0 : 1;
        });
    } else if (what < 68) {
        const int i = pick(1, count);
        const int legs = static_cast<int>(s.element(i).Legs.size());
        if (legs > 0) {
            const int l = pick(0, legs - 1);
            p.Both([i, l](Schematic& x) { x.DisconnectPin({i, l}); });
        }
    } else if (what < 78) {
        const int a = pick(1, count);
        const int b = pick(1, count);
        const int la = static_cast<int>(s.element(a).Legs.size());
        const int lb = static_cast<int>(s.element(b).Legs.size());
        if (la > 0 && lb > 0) {
            const TPinRef pa{a, pick(0, la - 1)};
            const TPinRef pb{b, pick(0, lb - 1)};
            p.Both([pa, pb](Schematic& x) { x.ConnectPins(pa, pb); });
        }
    } else if (what < 83) {
        if (!s.Conns().empty()) {
            const int n = pick(0, static_cast<int>(s.Conns().size()) - 1);
            p.Both([n](Schematic& x) { x.RemoveNet(n); });
        }
    } else if (what < 88) {
        const int i = pick(1, count);
        p.Both([i](Schematic& x) {
            x.SelectElement(i);
            x.DeleteSelected();
        });
    } else if (what < 93) {
        // A new element joins during the run, numbered or not (placing prepares the run, other
        // paths may not).
        const unsigned seed = static_cast<unsigned>(pick(0, 1 << 30));
        const bool number = pick(0, 1) == 0;
        const int before = count;
        p.Both([seed, number, before](Schematic& x) {
            Schematic one;
            MakeRandom(one, seed, 1);
            TElement e = one.element(1);
            if (number) NumberLegs(e);
            const int i = x.AddElement(e);
            if (i > 0 && !e.Legs.empty() && before > 0 && !x.element(before).Legs.empty())
                x.ConnectPins({i, 0}, {before, 0});
        });
    } else if (what < 97) {
        // The generator dialog sets new durations.
        for (int i = 1; i <= count; ++i) {
            if (s.element(i).kind() != ElementKind::Generator) continue;
            const int low = pick(0, 20);
            const int high = pick(0, 20);
            p.Both([i, low, high](Schematic& x) {
                ForRun(x, i).Reaction_LH = low;
                ForRun(x, i).Reaction_HL = high;
            });
            break;
        }
    } else {
        p.PrepareRun();
    }
}

class RandomSchematics : public testing::TestWithParam<unsigned> {};

TEST_P(RandomSchematics, SameAsTheFullPassesAfterEveryPass) {
    const unsigned seed = GetParam();
    std::mt19937 rng(seed * 7919u + 1);
    Pair p;
    const int elements = 20 + static_cast<int>(seed % 7) * 20;
    p.Build([seed, elements](Schematic& s) { MakeRandom(s, seed, elements); });
    p.PrepareRun();
    // Units pass by pass with a change from outside now and then, and stretches of units run in
    // one call.
    for (int round = 0; round < 160; ++round) {
        if (std::uniform_int_distribution<int>(0, 2)(rng) == 0) RandomChange(p, rng);
        if (std::uniform_int_distribution<int>(0, 3)(rng) == 0)
            p.Units(std::uniform_int_distribution<int>(1, 40)(rng));
        else
            p.Unit();
        ASSERT_FALSE(HasFailure()) << "seed " << seed << " round " << round;
    }
    p.ExpectSamePictures();
}

INSTANTIATE_TEST_SUITE_P(Activity, RandomSchematics, testing::Range(1u, 61u));

// Code reached by an indicator's picture signal may change the schematic (the third signal removes
// the first net, the sixth deletes the last element). The signals come after the unit, so the
// edits fall between two units, and both simulators go on from the schematic as it is then.
TEST(Activity, AnEditFromAPictureSignalFallsBetweenTwoUnits) {
    Pair p;
    p.Build([](Schematic& s) { MakeRandom(s, 4242, 80); });
    for (Schematic* s : {&p.fast, &p.full}) {
        auto signals = std::make_shared<int>(0);
        QObject::connect(s, &Schematic::elementImageChanged, [s, signals](int) {
            const int n = ++*signals;
            if (n == 3) s->RemoveNet(0);
            if (n == 6) {
                s->SelectElement(s->ElementCount());
                s->DeleteSelected();
            }
        });
    }
    p.PrepareRun();
    for (int t = 0; t < 200; ++t) {
        if (t % 5 == 0)
            for (int i = 1; i <= p.full.ElementCount(); ++i)
                if (p.full.element(i).kind() == ElementKind::Switch) p.Toggle(i);
        p.Unit();
        ASSERT_FALSE(HasFailure()) << "time " << t;
    }
    EXPECT_GT(p.fastPictures.size(), 6u);
}

struct CircuitCase {
    const char* name;
    std::function<void(Schematic&)> make;
    int units;
};

void PrintTo(const CircuitCase& c, std::ostream* os) {
    *os << c.name;
}

class Circuits : public testing::TestWithParam<CircuitCase> {};

// Probes and indicators on some of the nets.
void Watch(Schematic& s) {
    const size_t nets = s.Conns().size();
    for (size_t n = 0; n < nets; n += 5) {
        const TPinRef pin = s.Conns()[n][0];
        const int watcher = n % 10 == 0 ? Probe(s) : Indicator(s);
        ASSERT_TRUE(s.ConnectPins(pin, {watcher, 0}));
    }
}

// The benchmark's circuits at a smaller size, with probes and indicators, pass by pass and in
// stretches. A busy circuit runs in plain passes for stretches and tracks again in between.
TEST_P(Circuits, SameAsTheFullPasses) {
    const CircuitCase& c = GetParam();
    Pair p;
    p.Build([&c](Schematic& s) {
        c.make(s);
        Watch(s);
    });
    p.PrepareRun();
    for (int t = 0; t < c.units; ++t) {
        p.Unit();
        ASSERT_FALSE(HasFailure());
    }
    for (int chunk : {1, 2, 3, 50, 333, 1000}) {
        p.Units(chunk);
        ASSERT_FALSE(HasFailure()) << "stretch of " << chunk;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Activity, Circuits,
    testing::Values(CircuitCase{"BusyChain", [](Schematic& s) { MakeInverterChain(s, 99, 1, 1); }, 300},
                    CircuitCase{"IdleChain", [](Schematic& s) { MakeInverterChain(s, 99, 34, 34); }, 300},
                    CircuitCase{"NandNetwork", [](Schematic& s) { MakeNandNetwork(s, 192, 8); }, 600},
                    CircuitCase{"ChipRing",
                                [](Schematic& s) {
                                    MakeChipRing(s, 200, 3);
                                    for (int i = 1; i <= 200; i += 3)
                                        ForRun(s, i).Legs.back().Pending = 1;
                                },
                                400}),
    [](const testing::TestParamInfo<CircuitCase>& info) { return std::string(info.param.name); });

// A quiet stretch is skipped, not run unit by unit, and a chip that filtered a pulse before it
// has its Timer where the passes would have moved it: switched for good before unit 250012, which
// the chip sees in its second pass, its change is held up by the change to its present level
// moved on last in the first pass (due at 250017, with no effect) and then takes 5 more units.
TEST(Activity, QuietUnitsAreSkippedWithTheSameResult) {
    Pair p;
    p.Build([](Schematic& s) {
        const int sw = Switch(s);
        const int inv = Inverter(s, 5, 5);
        const int probe = Probe(s);
        const int gen = Generator(s, 100000, 100000);
        const int probe2 = Probe(s);
        Net(s, {{sw, 0}, {inv, 0}});
        Net(s, {{inv, 1}, {probe, 0}});
        Net(s, {{gen, 0}, {probe2, 0}});
    });
    p.PrepareRun();
    for (int t = 0; t < 12; ++t) {
        if (t == 10 || t == 11) p.Toggle(1);
        p.Unit();
    }
    p.Units(250000);
    ASSERT_FALSE(HasFailure());
    EXPECT_EQ(p.sim.SimTime, 250012);
    p.Toggle(1);
    p.Units(20);
    ASSERT_FALSE(HasFailure());
    EXPECT_EQ(p.fast.element(3).Transitions, (std::vector<TSimTime>{6, 250022}));
    EXPECT_EQ(p.fast.element(5).Transitions, (std::vector<TSimTime>{0, 100000, 200000}));
}

// The clock counts on past 2^31 (it was a signed 32-bit count that wrapped round there). A busy
// random schematic run across 2^31 from just before it does what the same run started at 1000
// does, shifted by the difference: pass by pass against the full passes, every level, Timer,
// record and picture, and the oscilloscope's trace of every probe.
TEST(Activity, ABusyRunAcrossTwoToTheThirtyFirst) {
    constexpr TSimTime Early = 1000;
    constexpr TSimTime Late = (TSimTime{1} << 31) - 300;
    constexpr TSimTime Shift = Late - Early;
    Pair early, late;
    for (Pair* p : {&early, &late}) {
        p->Build([](Schematic& s) { MakeRandom(s, 77, 120); });
        p->PrepareRun();
        p->sim.SimTime = p->ref.SimTime = p == &early ? Early : Late;
    }
    int probes = 0;
    for (int i = 1; i <= early.full.ElementCount(); ++i)
        probes += early.full.element(i).kind() == ElementKind::Probe;
    ASSERT_GT(probes, 3);
    for (int u = 0; u < 600; ++u) {
        for (Pair* p : {&early, &late}) {
            if (u % 40 == 0)
                for (int i = 1; i <= p->full.ElementCount(); ++i)
                    if (p->full.element(i).kind() == ElementKind::Switch && (i + u / 40) % 3 == 0)
                        p->Toggle(i);
            p->Unit();
        }
        ASSERT_FALSE(HasFailure()) << "unit " << u;
    }
    early.Units(300);
    late.Units(300);
    ASSERT_FALSE(HasFailure());
    ASSERT_GT(late.sim.SimTime, TSimTime{1} << 31);
    EXPECT_EQ(late.sim.SimTime, early.sim.SimTime + Shift);
    EXPECT_EQ(late.sim.NetLevels, early.sim.NetLevels);
    EXPECT_EQ(late.fastPictures, early.fastPictures);
    size_t changes = 0;
    const auto shifted = [](TSimTime t) { return t == 0 || t == NeverDue ? t : t + Shift; };
    for (int i = 1; i <= early.fast.ElementCount(); ++i) {
        const TElement& a = early.fast.element(i);
        const TElement& b = late.fast.element(i);
        ASSERT_EQ(a.State, b.State) << "element " << i;
        ASSERT_EQ(a.Bitmap, b.Bitmap) << "element " << i;
        std::vector<TSimTime> moved;
        for (TSimTime t : a.Transitions)
            moved.push_back(t + Shift);
        ASSERT_EQ(b.Transitions, moved) << "element " << i;
        ASSERT_EQ(a.LevelBefore, b.LevelBefore) << "element " << i;
        changes += a.Transitions.size();
        for (size_t l = 0; l < a.Legs.size(); ++l) {
            ASSERT_EQ(a.Legs[l].Level, b.Legs[l].Level) << "element " << i << " leg " << l;
            ASSERT_EQ(a.Legs[l].Pending, b.Legs[l].Pending) << "element " << i << " leg " << l;
            ASSERT_EQ(shifted(a.Legs[l].Timer), b.Legs[l].Timer) << "element " << i << " leg " << l;
        }
        if (a.kind() != ElementKind::Probe) continue;
        // The straightforward drawing from time 0 of the early run is the trace of the late one.
        QImage trace(TraceWidth, TraceHeight, QImage::Format_RGB32);
        DrawTrace(trace, b.Transitions, b.LevelBefore, late.sim.SimTime);
        ASSERT_FALSE(a.LevelBefore);
        EXPECT_EQ(trace, DrawTraceFromZero(a.Transitions, early.sim.SimTime, QSize(TraceWidth, TraceHeight)))
            << "probe " << i;
    }
    EXPECT_GT(changes, 50u);
}

// An idle stretch past 2^31 is skipped in one call: a generator's changes 1.5 and 2.5 billion
// units on, and a chip that filtered a pulse at 10 and sees its input change for good at three
// billion (its change to the present level, moved on up to the first pass of that unit, holds
// the real one up by its delay, as in the test above).
TEST(Activity, AnIdleRunSkipsPastTwoToTheThirtyFirst) {
    Schematic s;
    const int sw = Switch(s);
    const int inv = Inverter(s, 5, 5);
    const int probe = Probe(s);
    const int gen = Generator(s, 1000000000, 1500000000);
    const int probe2 = Probe(s);
    const int lamp = Indicator(s);
    Net(s, {{sw, 0}, {inv, 0}});
    Net(s, {{inv, 1}, {probe, 0}});
    Net(s, {{gen, 0}, {probe2, 0}, {lamp, 0}});
    Simulator sim(s);
    sim.PrepareRun();
    const TSimTime on = 3000000000;
    for (const TSimTime until : {TSimTime{10}, TSimTime{11}, TSimTime{12}, on, on + 20}) {
        sim.RunUnits(until - sim.SimTime);
        if (s.element(sw).State != (until == 10 || until == on)) s.ToggleSwitch(sw);
        if (until == on) {
            EXPECT_EQ(s.element(inv).Legs[1].Timer, on - 1 + 5) << "moved on by every skipped visit";
            EXPECT_EQ(sim.TimeText(), QStringLiteral("Время: 3000000000"));
        }
    }
    EXPECT_EQ(sim.SimTime, on + 20);
    EXPECT_EQ(s.element(probe).Transitions, (std::vector<TSimTime>{6, on + 10}));
    EXPECT_EQ(s.element(probe2).Transitions, (std::vector<TSimTime>{0, 1500000000, 2500000000}));
    EXPECT_TRUE(s.element(lamp).State);
    EXPECT_EQ(sim.NetLevels, (std::vector<uint8_t>{1, 0, 1}));
}

} // namespace
