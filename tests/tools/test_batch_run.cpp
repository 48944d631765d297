// SPDX-License-Identifier: MIT
#include "tests/common/batchfixture.h"

#include <gtest/gtest.h>

namespace {

class BatchRunCommand : public BatchFixture {
protected:
    static BatchResult Run(const QStringList& args) { return Call(&BatchRun, args); }
};

TEST_F(BatchRunCommand, SwitchInverterIndicatorProbe) {
    const QString file = DataPath("sim_example.net");
    const BatchResult o = Run({file, QStringLiteral("--units"), QStringLiteral("13")});
    EXPECT_EQ(o.status, 0) << o.err.toStdString();
    EXPECT_EQ(o.out, u"И1 state: 0\nО1 transitions: 4 12\nNetLevels: 1 0\nSimTime: 13\n");
    EXPECT_TRUE(o.err.isEmpty());

    // Before the switch's change falls due the indicator is still lit.
    const BatchResult early = Run({QStringLiteral("--units"), QStringLiteral("12"), file});
    EXPECT_EQ(early.out, u"И1 state: 1\nО1 transitions: 4\nNetLevels: 1 1\nSimTime: 12\n");
}

TEST_F(BatchRunCommand, GeneratorDurationsAndComplementOutput) {
    const BatchResult o = Run({DataPath("generator.net"), QStringLiteral("--units"), QStringLiteral("131")});
    EXPECT_EQ(o.status, 0) << o.err.toStdString();
    // Output 0 rises at 0, falls at 30 (high 30), rises at 100 (low 70), falls at 130; the probes
    // see each change in the second pass of its unit.
    EXPECT_EQ(o.out, u"О1 transitions: 0 30 100 130\nО2 transitions: 30 100 130\nИ1 state: 1\n"
                     u"NetLevels: 0 1\nSimTime: 131\n");
}

// The clock counts on past 2^31 (it used to be a signed 32-bit count): the quiet stretches between
// the changes are skipped, so three billion units take no time.
TEST_F(BatchRunCommand, ARunPastTwoToTheThirtyFirstUnits) {
    const QString file = Write(QStringLiteral("element Г1 0 0 7 8 - 010001 2000000000 1500000000\n"
                                              "element О1 10 0 7 8 0001 - 0 0\n"
                                              "element П1 20 0 2 2 - 1 0 0\n"
                                              "element D1.1 30 0 4 3 1 1 3 2 Y=~1\n"
                                              "element О2 40 0 7 8 0001 - 0 0\n"
                                              "net 1 0 2 0\n"
                                              "net 3 0 4 0\n"
                                              "net 4 1 5 0\n"
                                              "toggle П1 3000000000\n"));
    const BatchResult o = Run({file, QStringLiteral("--units"), QStringLiteral("3000000010")});
    EXPECT_EQ(o.status, 0) << o.err.toStdString();
    EXPECT_EQ(o.out, u"О1 transitions: 0 1500000000\nО2 transitions: 4 3000000002\nNetLevels: 0 1 0\n"
                     u"SimTime: 3000000010\n");
}

TEST_F(BatchRunCommand, ZeroUnitsAndNoNets) {
    const QString file = Write(QStringLiteral("element И1 0 0 2 2 1 - 0 0\n"));
    const BatchResult o = Run({file, QStringLiteral("--units"), QStringLiteral("0")});
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out, u"И1 state: 0\nNetLevels:\nSimTime: 0\n");
}

} // namespace
