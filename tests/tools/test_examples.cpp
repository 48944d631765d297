// SPDX-License-Identifier: MIT
// The example schematics of examples/, loaded and run by the runner with the default catalogue.
#include "tests/common/batchfixture.h"

#include <gtest/gtest.h>

namespace {

class Examples : public BatchFixture {
protected:
    static QString Example(const char* name) {
        return QStringLiteral(TARNWELL_EXAMPLES "/") + QString::fromUtf8(name);
    }
    static BatchResult Run(const char* name, int units) {
        return Call(&BatchRun, {Example(name), QStringLiteral("--units"), QString::number(units)});
    }
    // The line of the output that starts with `prefix`, without it.
    static QString Line(const BatchResult& r, const QString& prefix) {
        for (const QString& line : r.out.split(u'\n'))
            if (line.startsWith(prefix)) return line.mid(prefix.size());
        return QStringLiteral("<none>");
    }
};

// Three inverters (К155ЛН1: 12 units to 1, 8 to 0) all start at 0 with nothing scheduled. Unit 0
// evaluates no chip. At unit 1 each sees 0 and wants 1: due at 1 + 12 = 13. At 13 all three rise
// in the first pass; in the second pass each sees its input at 1 and wants 0 (due 13 + 8 = 21) and
// the probe sees the rise. At 21 all fall and want 1 again (due 33), and so on: the ring runs in
// step with a period of 12 + 8 units, rising at 13 + 20k and falling at 21 + 20k.
TEST_F(Examples, RingOscillatorTogglesWithTheInverterDelays) {
    const BatchResult r = Run("ring_oscillator.tsv", 100);
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.err, QString());
    EXPECT_EQ(r.out,
              u"Осциллограф1 transitions: 13 21 33 41 53 61 73 81 93\nNetLevels: 1 1 1\nSimTime: 100\n");
}

// A NAND latch with both switches off holds both outputs at 1 (set and reset both active): the
// gates see 0 at unit 1 and rise 11 units later.
TEST_F(Examples, RsLatchSetHoldResetHold) {
    const BatchResult loaded = Run("rs_latch.tsv", 50);
    ASSERT_EQ(loaded.status, 0) << loaded.err.toStdString();
    EXPECT_EQ(Line(loaded, QStringLiteral("Индикатор1 state: ")), QStringLiteral("1"));
    EXPECT_EQ(Line(loaded, QStringLiteral("Индикатор2 state: ")), QStringLiteral("1"));
    EXPECT_EQ(Line(loaded, QStringLiteral("Осциллограф1 transitions:")), QStringLiteral(" 12"));

    // The netlist turns the switches: reset input released at 100 (Q̄ falls 7 later, at 107),
    // set released at 200 (hold), reset pulled at 300 (Q̄ rises at 311, Q falls 7 later at 318),
    // released at 400 (hold).
    struct Step {
        int units;
        const char* q;
        const char* nq;
    };
    for (const Step& step : {Step{100, "1", "1"}, Step{200, "1", "0"}, Step{300, "1", "0"},
                             Step{400, "0", "1"}, Step{500, "0", "1"}}) {
        const BatchResult r = Run("rs_latch.net", step.units);
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_EQ(Line(r, QStringLiteral("Индикатор1 state: ")), QString::fromLatin1(step.q)) << step.units;
        EXPECT_EQ(Line(r, QStringLiteral("Индикатор2 state: ")), QString::fromLatin1(step.nq)) << step.units;
    }
    const BatchResult all = Run("rs_latch.net", 500);
    EXPECT_EQ(Line(all, QStringLiteral("Осциллограф1 transitions:")), QStringLiteral(" 12 318"));
    EXPECT_EQ(Line(all, QStringLiteral("Осциллограф2 transitions:")), QStringLiteral(" 12 107 311"));
}

TEST_F(Examples, HalfAdderOverTheFourInputCombinations) {
    // Loaded, both switches are off: sum 0, carry 0, and the netlist of the same circuit agrees
    // net for net until its first toggle.
    const BatchResult loaded = Run("half_adder.tsv", 100);
    ASSERT_EQ(loaded.status, 0) << loaded.err.toStdString();
    EXPECT_EQ(Line(loaded, QStringLiteral("Индикатор1 state: ")), QStringLiteral("0"));
    EXPECT_EQ(Line(loaded, QStringLiteral("Индикатор2 state: ")), QStringLiteral("0"));
    EXPECT_EQ(Run("half_adder.net", 100).out, loaded.out);

    // A toggles at 100, B at 200, A again at 300: inputs 00, 10, 11, 01.
    struct Step {
        int units;
        const char* sum;
        const char* carry;
    };
    for (const Step& step :
         {Step{100, "0", "0"}, Step{200, "1", "0"}, Step{300, "0", "1"}, Step{400, "1", "0"}}) {
        const BatchResult r = Run("half_adder.net", step.units);
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_EQ(Line(r, QStringLiteral("Индикатор1 state: ")), QString::fromLatin1(step.sum)) << step.units;
        EXPECT_EQ(Line(r, QStringLiteral("Индикатор2 state: ")), QString::fromLatin1(step.carry))
            << step.units;
    }
}

// The generator (50 units high, 50 low) rises at 0, 100, 200, … and falls at 50, 150, …; the
// master follows the inverted output while the clock is high, the slave takes it over while it
// is low, so once the flip-flop has settled from its start the output changes exactly once per
// period, a few gate delays after each fall of the clock. (Each latch pair mixes a К155ЛА3 gate
// with a faster К555ЛА3 one: with two equal gates a NAND latch started from 0 and 0 swings in step
// for ever, since both gates see the same levels at the same pass.)
TEST_F(Examples, DivideByTwoTogglesOncePerGeneratorPeriod) {
    const BatchResult r = Run("divide_by_two.tsv", 1000);
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList clock = Line(r, QStringLiteral("Осциллограф1 transitions: ")).split(u' ');
    EXPECT_EQ(clock.mid(0, 4), (QStringList{"0", "50", "100", "150"}));
    EXPECT_EQ(clock.size(), 20);
    std::vector<int> settled;
    for (const QString& t : Line(r, QStringLiteral("Осциллограф2 transitions: ")).split(u' '))
        if (t.toInt() >= 100) settled.push_back(t.toInt());
    ASSERT_EQ(settled.size(), 9u) << r.out.toStdString();
    for (size_t k = 0; k < settled.size(); ++k) {
        const int fall = 150 + 100 * static_cast<int>(k);
        EXPECT_GT(settled[k], fall) << r.out.toStdString();
        EXPECT_LT(settled[k], fall + 30) << r.out.toStdString();
    }
}

TEST_F(Examples, RouteLoadsAFileSetAndReportsAMissingOne) {
    const BatchResult r = Call(&BatchRoute, {Example("ring_oscillator.tsv")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    // The probe's pin cell (65, 22) belongs to net 2.
    EXPECT_TRUE(r.out.contains(QStringLiteral("\n65 22 ")));

    const BatchResult missing = Call(&BatchRoute, {dir.filePath(QStringLiteral("none.tsv"))});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.out, QString());
    EXPECT_EQ(missing.err,
              QStringLiteral("tarnwell-batch: %1: Cannot open file \"%1\". No such file or directory\n"
                             "tarnwell-batch: %1: Схема не загружена: она пуста.\n")
                  .arg(dir.filePath(QStringLiteral("none.tsv"))));
    const BatchResult noBases = Call(&BatchRun, {Example("ring_oscillator.tsv"), QStringLiteral("--units"),
                                                 QStringLiteral("1"), QStringLiteral("--bases"), dir.path()});
    EXPECT_EQ(noBases.status, 2);
    EXPECT_TRUE(noBases.err.contains(QStringLiteral("no catalogue in"))) << noBases.err.toStdString();
}

} // namespace
