// SPDX-License-Identifier: MIT
#include "tests/common/batchfixture.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

namespace {

class BatchRunCommand : public BatchFixture {
protected:
    static BatchResult Run(const QStringList& args) { return Call(&BatchRun, args); }
};

TEST_F(BatchRunCommand, SwitchInverterIndicatorProbe) {
    const QString file = QStringLiteral(TARNWELL_TEST_DATA "/sim_example.net");
    const BatchResult o = Run({file, QStringLiteral("--units"), QStringLiteral("13")});
    EXPECT_EQ(o.status, 0) << o.err.toStdString();
    EXPECT_EQ(o.out, u"И1 state: 0\nО1 transitions: 4 12\nNetLevels: 1 0\nSimTime: 13\n");
    EXPECT_TRUE(o.err.isEmpty());

    // Before the switch's change falls due the indicator is still lit.
    const BatchResult early = Run({QStringLiteral("--units"), QStringLiteral("12"), file});
    EXPECT_EQ(early.out, u"И1 state: 1\nО1 transitions: 4\nNetLevels: 1 1\nSimTime: 12\n");
}

TEST_F(BatchRunCommand, GeneratorDurationsAndComplementOutput) {
    const QString file = Write(QStringLiteral("element Г1 0 0 7 8 - 010001 70 30\n"
                                              "element О1 10 0 7 8 0001 - 0 0\n"
                                              "element О2 20 0 7 8 0001 - 0 0\n"
                                              "element И1 30 0 2 2 1 - 0 0\n"
                                              "net 1 0 2 0\n"
                                              "net 1 1 3 0 4 0\n"));
    const BatchResult o = Run({file, QStringLiteral("--units"), QStringLiteral("131")});
    EXPECT_EQ(o.status, 0) << o.err.toStdString();
    // Output 0 rises at 0, falls at 30 (high 30), rises at 100 (low 70), falls at 130; the probes
    // see each change in the second pass of its unit.
    EXPECT_EQ(o.out, u"О1 transitions: 0 30 100 130\nО2 transitions: 30 100 130\nИ1 state: 1\n"
                     u"NetLevels: 0 1\nSimTime: 131\n");
}

TEST_F(BatchRunCommand, ZeroUnitsAndNoNets) {
    const QString file = Write(QStringLiteral("element И1 0 0 2 2 1 - 0 0\n"));
    const BatchResult o = Run({file, QStringLiteral("--units"), QStringLiteral("0")});
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out, u"И1 state: 0\nNetLevels:\nSimTime: 0\n");
}

struct BadCase {
    const char* name;
    const char* netlist; // nullptr: the file does not exist
    QStringList args;    // "FILE" stands for the file
    const char* message; // part of the message
};

void PrintTo(const BadCase& c, std::ostream* os) {
    *os << c.name;
}

class BatchRunBadInput : public BatchRunCommand, public testing::WithParamInterface<BadCase> {};

TEST_P(BatchRunBadInput, MessageAndStatus2) {
    const BadCase& c = GetParam();
    const QString file =
        c.netlist ? Write(QString::fromUtf8(c.netlist)) : dir.filePath(QStringLiteral("missing.net"));
    QStringList args = c.args;
    args.replaceInStrings(QStringLiteral("FILE"), file);
    const BatchResult o = Run(args);
    EXPECT_EQ(o.status, 2);
    EXPECT_TRUE(o.out.isEmpty()) << o.out.toStdString();
    EXPECT_TRUE(o.err.contains(QString::fromUtf8(c.message))) << o.err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Sim, BatchRunBadInput,
    testing::Values(
        BadCase{"UnknownLine", "element П1 0 0 2 2 - 1 0 0\nwire 1 2\n", {"FILE", "--units", "5"}, "line 2:"},
        BadCase{"ToggleNotASwitch",
                "element И1 0 0 2 2 1 - 0 0\n\ntoggle И1 3\n",
                {"FILE", "--units", "5"},
                "line 3:"},
        BadCase{"ToggleUnknown", "# comment\ntoggle П9 3\n", {"FILE", "--units", "5"}, "line 2:"},
        BadCase{"BadNet", "element П1 0 0 2 2 - 1 0 0\nnet 1 0 1 5\n", {"FILE", "--units", "5"}, "line 2:"},
        BadCase{"MissingUnits", "", {"FILE"}, "--units"},
        BadCase{"UnitsWithoutNumber", "", {"FILE", "--units"}, "--units"},
        BadCase{"NegativeUnits", "", {"FILE", "--units", "-1"}, "--units"},
        BadCase{"UnitsNotANumber", "", {"FILE", "--units", "ten"}, "--units"},
        BadCase{"UnitsTooLarge", "", {"FILE", "--units", "99999999999"}, "--units"},
        BadCase{"UnitsTwice", "", {"FILE", "--units", "1", "--units", "2"}, "--units"},
        BadCase{"NoFile", "", {"--units", "1"}, "FILE"},
        BadCase{"TwoFiles", "", {"FILE", "FILE", "--units", "1"}, "unexpected"},
        BadCase{"UnknownOption", "", {"FILE", "--unit", "1"}, "unexpected"},
        BadCase{"MissingFile", nullptr, {"FILE", "--units", "1"}, "missing.net"}),
    [](const testing::TestParamInfo<BadCase>& info) { return std::string(info.param.name); });

} // namespace
