// SPDX-License-Identifier: MIT
// Test files read into cases, and expectations checked against recorded level changes.
#include "model/netlist.h"
#include "tools/testcheck.h"
#include "tools/testfile.h"

#include <gtest/gtest.h>

namespace {

class TestFileCheck : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ReadNetlist(QStringLiteral("element П1 0 0 2 2 - 1 0 0\n"
                                               "element О1 10 0 7 8 0001 - 0 0\n"
                                               "element И1 20 0 2 2 1 - 0 0\n"),
                                s)
                        .ok);
    }
    // The failures of the one case of `text` on traces where the probe (element 2) changes as
    // `probe` and the indicator (element 3) as `lamp`.
    std::vector<TestFailure> Check(const char* text, std::vector<LevelChange> probe,
                                   std::vector<LevelChange> lamp = {}) {
        const TestFile file = ReadTestFile(QByteArray(text), s);
        EXPECT_TRUE(file.ok) << file.message.toStdString();
        if (!file.ok) return {};
        EXPECT_EQ(file.cases.size(), 1u);
        CaseTraces traces;
        traces.length = file.cases[0].length;
        traces.changes = {{}, {}, std::move(probe), std::move(lamp)};
        return CheckCase(file.cases[0], traces, s);
    }

    Schematic s;
};

// Two changes in one unit (a pulse through a chip without delay): the level after the unit is the
// last one, but the change in between is a change all the same.
TEST_F(TestFileCheck, TwoChangesInOneUnit) {
    const std::vector<LevelChange> glitch = {{5, true}, {5, false}};
    EXPECT_FALSE(LevelAfter(glitch, 5));
    EXPECT_FALSE(LevelAfter(glitch, 4));
    EXPECT_TRUE(Check("expect О1 0 at 5\nexpect О1 rises between 5 5\nexpect О1 falls between 5 5\n", glitch)
                    .empty());
    const std::vector<TestFailure> f = Check("expect О1 stable 0 from 4 to 9\n", glitch);
    ASSERT_EQ(f.size(), 1u);
    EXPECT_EQ(f[0].seen, u"1");
    EXPECT_EQ(f[0].at, u"5");
}

// Each change of FROM is measured to the first change of TO at its time or later (the same unit
// counts as 0); the first change of FROM that breaks the bound is reported.
TEST_F(TestFileCheck, DelayTakesTheNextChangeOfToForEveryChangeOfFrom) {
    const std::vector<LevelChange> probe = {{10, true}, {20, false}, {30, true}};
    const std::vector<LevelChange> lamp = {{3, true}, {10, false}, {26, true}, {34, false}};
    // From 10 to 10 (0), 20 to 26 (6), 30 to 34 (4).
    EXPECT_TRUE(Check("run 40\nexpect delay О1 И1 <= 6\nexpect delay О1 И1 >= 0\n", probe, lamp).empty());
    const std::vector<TestFailure> late = Check("run 40\nexpect delay О1 И1 <= 5\n", probe, lamp);
    ASSERT_EQ(late.size(), 1u);
    EXPECT_EQ(late[0].seen, u"6");
    EXPECT_EQ(late[0].at, u"20");
    const std::vector<TestFailure> early = Check("run 40\nexpect delay О1 И1 >= 1\n", probe, lamp);
    ASSERT_EQ(early.size(), 1u);
    EXPECT_EQ(early[0].seen, u"0");
    EXPECT_EQ(early[0].at, u"10");
}

TEST_F(TestFileCheck, CasesTheirNamesAndRunLengths) {
    const TestFile file = ReadTestFile("set П1 1 at 7\n"
                                       "test \"  spaced \"  \n"
                                       "expect О1 stable 1 from 3 to 12\n"
                                       "expect delay П1 О1 <= 4\n"
                                       "test \"given\"\n"
                                       "run 100\n"
                                       "expect И1 1 at 0\n"
                                       "test \"nothing\"\n",
                                       s);
    ASSERT_TRUE(file.ok) << file.message.toStdString();
    ASSERT_EQ(file.cases.size(), 4u);
    EXPECT_EQ(file.cases[0].name, QString());
    EXPECT_EQ(file.cases[0].length, 8);
    EXPECT_EQ(file.cases[0].lengthLine, 1);
    EXPECT_EQ(file.cases[1].name, u"  spaced ");
    EXPECT_EQ(file.cases[1].line, 2);
    EXPECT_EQ(file.cases[1].length, 13);
    ASSERT_EQ(file.cases[1].statements.size(), 2u);
    EXPECT_EQ(file.cases[1].statements[1].kind, StatementKind::Delay);
    EXPECT_EQ(file.cases[1].statements[1].element, 1);
    EXPECT_EQ(file.cases[1].statements[1].to, 2);
    EXPECT_EQ(file.cases[2].length, 100);
    EXPECT_EQ(file.cases[2].lengthLine, 6);
    EXPECT_EQ(file.cases[3].length, 0);
    EXPECT_TRUE(file.cases[3].statements.empty());
}

} // namespace
