// SPDX-License-Identifier: MIT
#include "tests/common/batchfixture.h"

#include <QProcess>

#include <gtest/gtest.h>

namespace {

class BatchRouteTest : public BatchFixture {
protected:
    static BatchResult Route(const QStringList& args) { return Call(&BatchRoute, args); }
};

TEST_F(BatchRouteTest, PrintsEveryWireCellXMajor) {
    const BatchResult r = Route({DataPath("two_chips.net")});
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

// Words are split on spaces and tabs; a CR before each line feed (a file saved with CR LF line
// ends) is dropped, so these files read as the LF original.
TEST_F(BatchRouteTest, TabsAndCrLfLineEndsReadAsThePlainFile) {
    const QByteArray plain = Data("two_chips.net");
    const BatchResult expected = Route({DataPath("two_chips.net")});
    ASSERT_FALSE(expected.out.isEmpty());
    QByteArray crlf = plain;
    crlf.replace("\n", "\r\n");
    QByteArray tabs = plain;
    tabs.replace(" ", " \t\t");
    QByteArray noFinalLineEnd = crlf;
    noFinalLineEnd.chop(1); // the last line ends in a lone CR
    for (const QByteArray& text : {crlf, tabs, noFinalLineEnd}) {
        const BatchResult r = Route({Write(text)});
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_EQ(r.out, expected.out) << text.toStdString();
    }
}

// The installed executable behaves the same through its real streams.
TEST_F(BatchRouteTest, ExecutableRoutesAndFails) {
    QProcess p;
    p.start(QStringLiteral(TARNWELL_BATCH), {QStringLiteral("route"), DataPath("two_chips.net")});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0);
    const QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines.size(), 28);
    EXPECT_EQ(lines.value(16), QStringLiteral("29 12 10003 0"));

    const QString bad = Write(Data("two_chips.net") + "net 9 0 1 0\n", "bad.txt");
    p.start(QStringLiteral(TARNWELL_BATCH), {QStringLiteral("route"), bad});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 2);
    EXPECT_TRUE(p.readAllStandardOutput().isEmpty());
    EXPECT_EQ(p.readAllStandardError(), "tarnwell-batch: " + bad.toUtf8() + ": line 5: unknown element 9\n");
}

} // namespace
