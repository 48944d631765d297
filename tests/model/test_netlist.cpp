// SPDX-License-Identifier: MIT
#include "model/netlist.h"

#include <gtest/gtest.h>

namespace {

TEST(Netlist, ReadsElementsNetsAndToggles) {
    Schematic s;
    const NetlistResult r = LoadNetlist(QStringLiteral("# two gates\n"
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
    const NetlistResult r = LoadNetlist(QString::fromUtf8(GetParam().text), s);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.line, GetParam().line);
    EXPECT_TRUE(r.message.startsWith(QStringLiteral("line %1: ").arg(GetParam().line)))
        << r.message.toStdString();
}

constexpr const char* Two = "element A 0 0 2 2 1 1 1 1\nelement B 5 0 2 2 1 1 1 1\n";

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

} // namespace
