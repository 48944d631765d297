// SPDX-License-Identifier: MIT
#include "sim/expression.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A chip element with the given input levels (inputs at rows 1.., one output), numbered.
TElement Chip(const std::vector<uint8_t>& inputs) {
    TElement e;
    e.CellWidth = 4;
    e.Legs = BuildLegs(QString(static_cast<qsizetype>(inputs.size()), u'1'), QStringLiteral("1"), 4);
    NumberLegs(e);
    for (size_t i = 0; i < inputs.size(); ++i)
        e.Legs[i].Level = inputs[i];
    return e;
}

struct ExprCase {
    const char* text;
    std::vector<uint8_t> inputs;
    uint8_t expected;
};

void PrintTo(const ExprCase& c, std::ostream* os) {
    *os << '"' << c.text << "\" on";
    for (uint8_t v : c.inputs)
        *os << ' ' << int(v);
}

class ExpressionTable : public testing::TestWithParam<ExprCase> {};

TEST_P(ExpressionTable, ValueOnInputLevels) {
    const ExprCase& c = GetParam();
    const TElement e = Chip(c.inputs);
    const QString text = QString::fromUtf8(c.text);
    EXPECT_EQ(EvalExpression(text, e), c.expected);
    // The resolved form gives the same value as the text.
    EXPECT_EQ(EvalCode(ResolveExpression(text), e), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Sim, ExpressionTable,
    testing::Values(ExprCase{"~1", {0}, 1}, ExprCase{"~1", {1}, 0}, ExprCase{"~1", {}, 1},
                    ExprCase{"1+2", {0, 0}, 0}, ExprCase{"1+2", {0, 1}, 1}, ExprCase{"1+2", {1, 0}, 1},
                    ExprCase{"1+2", {1, 1}, 1}, ExprCase{"1+2", {1}, 1}, ExprCase{"1+2", {0}, 0},
                    ExprCase{"1&2", {0, 0}, 0}, ExprCase{"1&2", {0, 1}, 0}, ExprCase{"1&2", {1, 0}, 0},
                    ExprCase{"1&2", {1, 1}, 1}, ExprCase{"1&2", {1}, 0}, ExprCase{"~1+~2", {0, 0}, 1},
                    ExprCase{"~1+~2", {0, 1}, 1}, ExprCase{"~1+~2", {1, 0}, 1}, ExprCase{"~1+~2", {1, 1}, 0},
                    ExprCase{"~1&~2", {0, 0}, 1}, ExprCase{"~1&~2", {0, 1}, 0}, ExprCase{"~1&~2", {1, 0}, 0},
                    ExprCase{"~1&~2", {1, 1}, 0}, ExprCase{"1+2+3+4", {0, 0, 0, 0}, 0},
                    ExprCase{"1+2+3+4", {0, 0, 0, 1}, 1}, ExprCase{"1+2+3+4", {0, 0, 1, 0}, 1},
                    ExprCase{"1+2+3+4", {1, 0, 0, 0}, 1}, ExprCase{"1+2+3+4", {0, 0}, 0},
                    ExprCase{"1+2+3+4", {0, 1}, 1}, ExprCase{"1&2&3&4", {1, 1, 1, 1}, 1},
                    ExprCase{"1&2&3&4", {1, 1, 1, 0}, 0}, ExprCase{"1&2&3&4", {0, 1, 1, 1}, 0},
                    ExprCase{"1&2&3&4", {1, 1}, 0},
                    ExprCase{"~1+~2+~3+~4+~5+~6+~7+~8", {1, 1, 1, 1, 1, 1, 1, 1}, 0},
                    ExprCase{"~1+~2+~3+~4+~5+~6+~7+~8", {1, 1, 1, 1, 1, 1, 1, 0}, 1},
                    ExprCase{"~1+~2+~3+~4+~5+~6+~7+~8", {0, 1, 1, 1, 1, 1, 1, 1}, 1},
                    ExprCase{"~1+~2+~3+~4+~5+~6+~7+~8", {1, 1}, 1},
                    // Anything else is 1: other spellings, a trailing blank, an empty text.
                    ExprCase{"~1 ", {1}, 1}, ExprCase{" ~1", {1}, 1}, ExprCase{"1 & 2", {0, 0}, 1},
                    ExprCase{"1|2", {0, 0}, 1}, ExprCase{"~2", {0, 1}, 1}, ExprCase{"", {0}, 1},
                    ExprCase{"1&2&3", {0, 0, 0}, 1}));

TEST(Expression, TextIsTheFirstLineFromItsThirdCharacterAtMost100) {
    EXPECT_EQ(ExpressionText(QStringLiteral("Y=~1")), u"~1");
    EXPECT_EQ(ExpressionText(QStringLiteral("~~~1")), u"~1");
    EXPECT_TRUE(ExpressionText(QStringLiteral("~1")).isEmpty());
    EXPECT_TRUE(ExpressionText(QStringLiteral("Y")).isEmpty());
    EXPECT_TRUE(ExpressionText(QString()).isEmpty());
    const QString longLine = QStringLiteral("ab") + QString(150, u'x');
    EXPECT_EQ(ExpressionText(longLine).size(), 100);

    // "~1" alone leaves an empty expression: an inverter with input 1 still yields 1.
    const TElement e = Chip({1});
    EXPECT_EQ(EvalExpression(ExpressionText(QStringLiteral("~1")), e), 1);
    EXPECT_EQ(EvalExpression(ExpressionText(QStringLiteral("Y=~1")), e), 0);
}

TEST(Expression, InputNumberingSkipsOutputsAndFindsTheFirstMatch) {
    // Inputs at rows 1 and 3, an output at row 2 of the other side.
    TElement e;
    e.CellWidth = 3;
    e.Legs = BuildLegs(QStringLiteral("101"), QStringLiteral("01"), 3);
    NumberLegs(e);
    ASSERT_EQ(e.Legs.size(), 3u);
    EXPECT_TRUE(e.Legs[0].IsInput);
    EXPECT_EQ(e.Legs[0].Ordinal, 1);
    EXPECT_EQ(e.Legs[0].Y, 1);
    EXPECT_TRUE(e.Legs[1].IsInput);
    EXPECT_EQ(e.Legs[1].Ordinal, 2);
    EXPECT_EQ(e.Legs[1].Y, 3);
    EXPECT_FALSE(e.Legs[2].IsInput);
    EXPECT_EQ(e.Legs[2].Ordinal, 1);
    EXPECT_EQ(e.Legs[2].Y, 2);

    // InputLevel reads inputs only: the output's Level never counts as input 1.
    e.Legs[0].Level = 0;
    e.Legs[1].Level = 1;
    e.Legs[2].Level = 1;
    EXPECT_EQ(InputLevel(e, 1), 0);
    EXPECT_EQ(InputLevel(e, 2), 1);
    EXPECT_EQ(InputLevel(e, 3), 0);
    EXPECT_EQ(InputLevel(e, 0), 0);

    // Two outputs are numbered 1 and 2 separately from the inputs.
    TElement two;
    two.CellWidth = 4;
    two.Legs = BuildLegs(QStringLiteral("1"), QStringLiteral("11"), 4);
    NumberLegs(two);
    EXPECT_EQ(two.Legs[1].Ordinal, 1);
    EXPECT_EQ(two.Legs[2].Ordinal, 2);
    EXPECT_FALSE(two.Legs[2].IsInput);
}

} // namespace
