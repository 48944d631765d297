// SPDX-License-Identifier: MIT
#include "router/router.h"
#include "tests/common/batchfixture.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

namespace {

class BatchRouteTest : public BatchFixture {
protected:
    static BatchResult Route(const QStringList& args) { return Call(&BatchRoute, args); }
};

const QByteArray TwoChips = "# the wire turns twice\n"
                            "element D1.1 10 10 3 4 - 01 1 1\n"
                            "element D2.1 30 20 3 4 01 - 1 1 y=1\n"
                            "net 2 0 1 0\n";

TEST_F(BatchRouteTest, PrintsEveryWireCellXMajor) {
    const BatchResult r = Route({Write(TwoChips)});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty());
    QStringList expected;
    for (int x = 13; x <= 28; ++x)
        expected << QStringLiteral("%1 12 10000 0").arg(x);
    expected << QStringLiteral("29 12 10003 0");
    for (int y = 13; y <= 21; ++y)
        expected << QStringLiteral("29 %1 10001 0").arg(y);
    expected << QStringLiteral("29 22 10004 0") << QStringLiteral("30 22 10000 0");
    EXPECT_EQ(r.out, expected.join(u'\n') + u'\n');
}

TEST_F(BatchRouteTest, EmptyNetlistPrintsNothing) {
    const BatchResult r = Route({Write("# nothing\n\nelement D1.1 5 5 4 5 1 1 1 1\n")});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.isEmpty());
}

struct BadInput {
    const char* name;
    QByteArray text;
    const char* message; // part of the message on standard error
};

class BatchRouteErrors : public BatchRouteTest, public ::testing::WithParamInterface<BadInput> {};

TEST_P(BatchRouteErrors, MessageOnStandardErrorExitTwoNothingPrinted) {
    const BadInput& c = GetParam();
    const BatchResult r = Route({Write(c.text)});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
    EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << r.err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Lines, BatchRouteErrors,
    ::testing::Values(BadInput{"malformed", TwoChips + "element D3.1 1 2 3\n", "line 5:"},
                      BadInput{"not_a_number", "element D1.1 x 10 3 4 - 01 1 1\n", "line 1:"},
                      BadInput{"unknown_element", TwoChips + "\nnet 7 0 1 0\n", "line 6: unknown element 7"},
                      BadInput{"unknown_leg", TwoChips + "net 2 3 1 0\n", "line 5: element 2 has no leg 3"},
                      BadInput{"pin_in_two_nets", TwoChips + "net 1 0 2 0\n",
                               "line 5: pin 1 0 is already in a net"},
                      BadInput{"unknown_kind", "wire 1 2\n", "line 1:"},
                      BadInput{"far_away", TwoChips + "element D3.1 2147483000 5 3 4 - 1 1 1\n",
                               "line 5: element position or size out of range"},
                      BadInput{"not_utf8", "element D\xff.1 1 1 1 1 - - 1 1\n", "not UTF-8"}),
    [](const auto& info) { return info.param.name; });

TEST_F(BatchRouteTest, MissingFileOrArgumentsAreErrors) {
    BatchResult r = Route({dir.filePath(QStringLiteral("missing.txt"))});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.contains(QStringLiteral("missing.txt"))) << r.err.toStdString();
    r = Route({});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("usage")));
    r = Route({Write(TwoChips), QStringLiteral("extra")});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.out.isEmpty());
}

// The installed executable behaves the same through its real streams.
TEST_F(BatchRouteTest, ExecutableRoutesAndFails) {
    QProcess p;
    p.start(QStringLiteral(TARNWELL_BATCH), {QStringLiteral("route"), Write(TwoChips)});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0);
    const QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines.size(), 28);
    EXPECT_EQ(lines.value(16), QStringLiteral("29 12 10003 0"));

    p.start(QStringLiteral(TARNWELL_BATCH),
            {QStringLiteral("route"), Write(TwoChips + "net 9 0 1 0\n", "bad.txt")});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 2);
    EXPECT_TRUE(p.readAllStandardOutput().isEmpty());
    EXPECT_TRUE(p.readAllStandardError().contains("line 5: unknown element 9"));
}

} // namespace
