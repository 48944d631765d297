// SPDX-License-Identifier: MIT
#include "model/netlist.h"

#include <QFile>

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace {

// The reading of a file without edit lines, its toggles resolved.
NetlistResult Read(const QString& text, Schematic& s) {
    NetlistResult r = ReadNetlist(text, s);
    if (r.ok) ResolveToggles(s, r);
    return r;
}

TEST(Netlist, ReadsElementsNetsAndToggles) {
    Schematic s;
    const NetlistResult r = Read(QStringLiteral("# two gates\n"
                                                "element D1.1 10 10 4 5 0101 01 12 8 y=~1&~2\n"
                                                "\n"
                                                "element Переключатель1 2 3 2 2 - 1 0 0\n"
                                                "net 2 0 1 0\n"
                                                "toggle Переключатель1 10\n"),
                                 s);
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    ASSERT_EQ(s.ElementCount(), 2);
    const TElement& d = s.element(1);
    EXPECT_EQ(d.Name, QStringLiteral("D1.1"));
    EXPECT_EQ(d.Coord, (TPoint32{10, 10}));
    EXPECT_EQ(d.CellWidth, 4);
    EXPECT_EQ(d.CellHeight, 5);
    EXPECT_EQ(d.Reaction_LH, 12);
    EXPECT_EQ(d.Reaction_HL, 8);
    ASSERT_EQ(d.Legs.size(), 3u);
    EXPECT_EQ(d.Legs[2].X, 4);
    EXPECT_EQ(d.Legs[2].Y, 2);
    EXPECT_EQ(d.Script, QStringList(QStringLiteral("y=~1&~2")));
    EXPECT_TRUE(s.element(2).Script.isEmpty());
    EXPECT_EQ(s.element(2).Legs.size(), 1u);
    ASSERT_EQ(s.Conns().size(), 1u);
    EXPECT_EQ(s.Conns()[0], (TConns{{2, 0}, {1, 0}}));
    ASSERT_EQ(r.toggles.size(), 1u);
    EXPECT_EQ(r.toggles[0].element, 2);
    EXPECT_EQ(r.toggles[0].time, 10);
}

struct BadCase {
    const char* text;
    int line;
};

class NetlistErrors : public ::testing::TestWithParam<BadCase> {};

TEST_P(NetlistErrors, NameTheLine) {
    Schematic s;
    const NetlistResult r = Read(QString::fromUtf8(GetParam().text), s);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.line, GetParam().line);
    EXPECT_TRUE(r.message.startsWith(QStringLiteral("line %1: ").arg(GetParam().line)))
        << r.message.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Lines, NetlistErrors,
    ::testing::Values(
        BadCase{"wire 1 2\n", 1}, BadCase{"element A 0 0 2 2 1 1 1\n", 1},
        BadCase{"element A x 0 2 2 1 1 1 1\n", 1}, BadCase{"element A 0 0 2 2 12 1 1 1\n", 1},
        BadCase{"element A 0 0 -2 2 1 1 1 1\n", 1},
        BadCase{"element A 0 0 2 2 1 1 1 1\nelement B 5 0 2 2 1 1 1 1\nnet 1 0 3 0\n", 3},
        BadCase{"element A 0 0 2 2 1 1 1 1\nelement B 5 0 2 2 1 1 1 1\nnet 1 0 2 5\n", 3},
        BadCase{"element A 0 0 2 2 1 1 1 1\nelement B 5 0 2 2 1 1 1 1\nnet 1 0 2\n", 3},
        BadCase{"element A 0 0 2 2 1 1 1 1\nelement B 5 0 2 2 1 1 1 1\nnet 1 0\n", 3},
        BadCase{"element A 0 0 2 2 1 1 1 1\nelement B 5 0 2 2 1 1 1 1\nnet 1 0 2 0\nnet 2 1 1 0\n", 4},
        BadCase{"element A 0 0 2 2 1 1 1 1\nelement B 5 0 2 2 1 1 1 1\nnet 1 0 1 0\n", 3},
        BadCase{"element A 0 0 2 2 1 1 1 1\ntoggle A 3\n", 2},
        BadCase{"element П1 0 0 2 2 - 1 0 0\ntoggle П2 3\n", 2},
        BadCase{"element П1 0 0 2 2 - 1 0 0\ntoggle П1 -1\n", 2}));

// The edit lines are read in file order and left for the document to apply.
TEST(Netlist, EditLinesAreReadNotApplied) {
    QFile f(QStringLiteral(TARNWELL_TEST_DATA "/edits.net"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    Schematic s;
    const NetlistResult r = ReadNetlist(QString::fromUtf8(f.readAll()), s);
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    EXPECT_EQ(s.ElementCount(), 5);
    EXPECT_EQ(s.Conns().size(), 4u);
    std::vector<int> lines;
    for (const TNetlistEdit& e : r.edits)
        lines.push_back(e.line);
    EXPECT_EQ(lines, (std::vector<int>{3, 13, 14, 15, 16, 17}));
    EXPECT_EQ(r.edits[0].kind, NetlistEditKind::Connect);
    EXPECT_EQ(r.edits[0].names, (QStringList{QStringLiteral("D1.1"), QStringLiteral("D4.1")}));
    EXPECT_EQ(r.edits[4].kind, NetlistEditKind::Delete);
}

struct NumberCase {
    const char* text;
    int32_t min;
    NumberFault fault;
    int32_t value;
};

class WholeNumbers : public ::testing::TestWithParam<NumberCase> {};

TEST_P(WholeNumbers, DigitsWithAnOptionalMinus) {
    const NumberCase& c = GetParam();
    int32_t value = -7;
    EXPECT_EQ(ReadWholeNumber(QString::fromUtf8(c.text), c.min, std::numeric_limits<int32_t>::max(), &value),
              c.fault);
    EXPECT_EQ(value, c.fault == NumberFault::None ? c.value : -7);
}

constexpr int32_t Low = std::numeric_limits<int32_t>::min();

INSTANTIATE_TEST_SUITE_P(
    Table, WholeNumbers,
    ::testing::Values(
        NumberCase{"0", 0, NumberFault::None, 0}, NumberCase{"-0", 0, NumberFault::None, 0},
        NumberCase{"007", 0, NumberFault::None, 7},
        NumberCase{"2147483647", 0, NumberFault::None, 2147483647},
        NumberCase{"-2147483648", Low, NumberFault::None, Low},
        NumberCase{"2147483648", 0, NumberFault::OutOfRange, 0},
        NumberCase{"-2147483649", Low, NumberFault::OutOfRange, 0},
        NumberCase{"184467440737095516161844674407370955161", 0, NumberFault::OutOfRange, 0},
        NumberCase{"-1", 0, NumberFault::OutOfRange, 0}, NumberCase{"+10", 0, NumberFault::NotANumber, 0},
        NumberCase{" 5", 0, NumberFault::NotANumber, 0}, NumberCase{"5 ", 0, NumberFault::NotANumber, 0},
        NumberCase{"", 0, NumberFault::NotANumber, 0}, NumberCase{"-", 0, NumberFault::NotANumber, 0},
        NumberCase{"--1", Low, NumberFault::NotANumber, 0}, NumberCase{"0x10", 0, NumberFault::NotANumber, 0},
        NumberCase{"1e3", 0, NumberFault::NotANumber, 0},
        NumberCase{"\xd9\xa3", 0, NumberFault::NotANumber, 0})); // an Arabic-Indic three

// The runner's unit counts and toggle times take 64 bits.
TEST(WholeNumbers, SixtyFourBits) {
    constexpr int64_t Low64 = std::numeric_limits<int64_t>::min();
    constexpr int64_t High64 = std::numeric_limits<int64_t>::max();
    const struct {
        const char* text;
        NumberFault fault;
        int64_t value;
    } cases[] = {
        {"4611686018427387904", NumberFault::None, int64_t{1} << 62},
        {"9223372036854775807", NumberFault::None, High64},
        {"9223372036854775808", NumberFault::OutOfRange, 0},
        {"-9223372036854775808", NumberFault::None, Low64},
        {"-9223372036854775809", NumberFault::OutOfRange, 0},
        {"18446744073709551616", NumberFault::OutOfRange, 0},
        {"99999999999999999999999999", NumberFault::OutOfRange, 0},
        {"3000000000", NumberFault::None, 3000000000},
        {"30000x0000", NumberFault::NotANumber, 0},
    };
    for (const auto& c : cases) {
        int64_t value = -7;
        EXPECT_EQ(ReadWholeNumber(QString::fromUtf8(c.text), Low64, High64, &value), c.fault) << c.text;
        EXPECT_EQ(value, c.fault == NumberFault::None ? c.value : -7) << c.text;
    }
    int64_t value = 0;
    EXPECT_EQ(ReadWholeNumber(u"4611686018427387905", int64_t{0}, int64_t{1} << 62, &value),
              NumberFault::OutOfRange);
}

// A NUL inside a number is not its end.
TEST(WholeNumbers, NulInsideANumber) {
    int32_t value = 0;
    EXPECT_EQ(ReadWholeNumber(QStringView(u"1\u0000999", 5), 0, 10000, &value), NumberFault::NotANumber);
}

} // namespace
