// SPDX-License-Identifier: MIT
#include "app/inifile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdint>

namespace {

QString writeFile(const QTemporaryDir& dir, const QByteArray& bytes) {
    const QString path = dir.filePath(QStringLiteral("main.ini"));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

struct IntCase {
    const char* text;
    bool ok;
    int32_t value;
};

class ParseIntegerTest : public ::testing::TestWithParam<IntCase> {};

TEST_P(ParseIntegerTest, DecimalAndHexadecimalForms) {
    int32_t v = 12345;
    EXPECT_EQ(IniFile::ParseInteger(QString::fromLatin1(GetParam().text), &v), GetParam().ok)
        << GetParam().text;
    if (GetParam().ok) {
        EXPECT_EQ(v, GetParam().value) << GetParam().text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Values, ParseIntegerTest,
    ::testing::Values(IntCase{"16777215", true, 16777215}, IntCase{"-7", true, -7}, IntCase{" 42 ", true, 42},
                      IntCase{"0xFF", true, 255}, IntCase{"0X1f", true, 31}, IntCase{"$00FF00", true, 0xFF00},
                      IntCase{"0xFFFFFFFF", true, -1}, IntCase{"2147483647", true, 2147483647},
                      IntCase{"2147483648", false, 0}, IntCase{"99999999999999999999", false, 0},
                      IntCase{"0x100000000", false, 0}, IntCase{"$", false, 0}, IntCase{"0x", false, 0},
                      IntCase{"12abc", false, 0}, IntCase{"", false, 0}, IntCase{"1 2", false, 0},
                      IntCase{"0x-5", false, 0}, IntCase{"white", false, 0},
                      // Only the documented forms: a prefix directly followed by hex digits.
                      IntCase{"0x 1F", false, 0}, IntCase{"$0x10", false, 0}, IntCase{"$ 10", false, 0},
                      IntCase{"0x+1F", false, 0}, IntCase{"+5", false, 0}, IntCase{"- 5", false, 0},
                      IntCase{"$7fffffff", true, 2147483647}, IntCase{"-2147483648", true, INT32_MIN}));

TEST(IniFile, MissingFileReadsDefaults) {
    QTemporaryDir dir;
    IniFile ini(dir.filePath(QStringLiteral("nothing.ini")));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Colors"), QStringLiteral("Desktop"), 16777215), 16777215);
    EXPECT_TRUE(ini.ReadBool(QStringLiteral("Main"), QStringLiteral("LockBases"), true));
}

TEST(IniFile, JunkNeverCrashesAndUnusableValuesReadAsDefaults) {
    QTemporaryDir dir;
    QByteArray junk("garbage line without equals\r\n[Colors\r\n=7\r\n[Colors]\r\nDesktop = $FF\r\n"
                    "Grid=99999999999999\r\n[colors]\r\nDesktop=1\r\n[Selection]\r\nFull=\x01\x02\xff\xfe\r\n"
                    "Sel_conn=0\r\n[Main]\r\nLockBases=yes\r\n");
    junk.append('\0');
    junk.append("\x80\x81 binary tail");
    IniFile ini(writeFile(dir, junk));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Colors"), QStringLiteral("Desktop"), 5),
              255);                                                                     // first section wins
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Colors"), QStringLiteral("Grid"), 5), 5); // too large
    EXPECT_FALSE(ini.ReadBool(QStringLiteral("Selection"), QStringLiteral("Full"), false)); // binary
    EXPECT_FALSE(
        ini.ReadBool(QStringLiteral("selection"), QStringLiteral("SEL_CONN"), true));     // case-insensitive
    EXPECT_TRUE(ini.ReadBool(QStringLiteral("Main"), QStringLiteral("LockBases"), true)); // not a number
}

TEST(IniFile, WritesUpdateInPlaceAndKeepOtherLines) {
    QTemporaryDir dir;
    const QString path =
        writeFile(dir, "; comment\r\n[Colors]\r\nDesktop=1\r\n\r\n[Main]\r\nLockBases=0\r\n");
    IniFile ini(path);
    QString error;
    ASSERT_TRUE(ini.WriteInteger(QStringLiteral("Colors"), QStringLiteral("Desktop"), 255, &error));
    ASSERT_TRUE(ini.WriteInteger(QStringLiteral("Colors"), QStringLiteral("Grid"), -1, &error));
    ASSERT_TRUE(ini.WriteBool(QStringLiteral("Selection"), QStringLiteral("Full"), true, &error));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("; comment\r\n[Colors]\r\nDesktop=255\r\nGrid=-1\r\n\r\n[Main]\r\n"
                                      "LockBases=0\r\n[Selection]\r\nFull=1\r\n"));
    // A fresh reader sees what was written.
    IniFile again(path);
    EXPECT_EQ(again.ReadInteger(QStringLiteral("Colors"), QStringLiteral("Grid"), 0), -1);
    EXPECT_TRUE(again.ReadBool(QStringLiteral("Selection"), QStringLiteral("Full"), false));
}

TEST(IniFile, WriteIntoAMissingFolderFailsWithThePath) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("config/main.ini"));
    IniFile ini(path);
    QString error;
    EXPECT_FALSE(ini.WriteInteger(QStringLiteral("Colors"), QStringLiteral("Desktop"), 1, &error));
    EXPECT_EQ(error, QStringLiteral("Unable to write to %1").arg(path));
    EXPECT_FALSE(QFile::exists(path));
}

} // namespace
