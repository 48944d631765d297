// SPDX-License-Identifier: MIT
#include "sim/expression.h"

#include <array>

namespace {

struct KnownExpression {
    QStringView text;
    ExprCode code;
};

constexpr std::array<KnownExpression, 8> Known{{
    {u"~1", ExprCode::Not1},
    {u"1+2", ExprCode::Or2},
    {u"1&2", ExprCode::And2},
    {u"~1+~2", ExprCode::Nand2},
    {u"~1&~2", ExprCode::Nor2},
    {u"1+2+3+4", ExprCode::Or4},
    {u"1&2&3&4", ExprCode::And4},
    {u"~1+~2+~3+~4+~5+~6+~7+~8", ExprCode::Nand8},
}};

bool In(const TElement& e, int n) {
    return InputLevel(e, n) != 0;
}

} // namespace

uint8_t InputLevel(const TElement& element, int n) {
    for (const TLeg& leg : element.Legs)
        if (leg.IsInput && leg.Ordinal == n) return leg.Level;
    return 0;
}

QStringView ExpressionText(const QString& scriptLine) {
    if (scriptLine.size() <= 2) return {};
    return QStringView(scriptLine).mid(2, 100);
}

ExprCode ResolveExpression(QStringView text) {
    for (const KnownExpression& k : Known)
        if (text == k.text) return k.code;
    return ExprCode::Other;
}

uint8_t EvalCode(ExprCode code, const TElement& e) {
    switch (code) {
    case ExprCode::Not1:
        return static_cast<uint8_t>(InputLevel(e, 1) ^ 1);
    case ExprCode::Or2:
        return In(e, 1) || In(e, 2);
    case ExprCode::And2:
        return In(e, 1) && In(e, 2);
    case ExprCode::Nand2:
        return !In(e, 1) || !In(e, 2);
    case ExprCode::Nor2:
        return !In(e, 1) && !In(e, 2);
    case ExprCode::Or4:
        return In(e, 1) || In(e, 2) || In(e, 3) || In(e, 4);
    case ExprCode::And4:
        return In(e, 1) && In(e, 2) && In(e, 3) && In(e, 4);
    case ExprCode::Nand8:
        for (int n = 1; n <= 8; ++n)
            if (!In(e, n)) return 1;
        return 0;
    case ExprCode::Other:
        break;
    }
    return 1;
}

uint8_t EvalExpression(QStringView text, const TElement& element) {
    return EvalCode(ResolveExpression(text), element);
}

void NumberLegs(TElement& element) {
    int32_t inputs = 1;
    int32_t outputs = 1;
    for (TLeg& leg : element.Legs) {
        leg.IsInput = leg.X == 0;
        leg.Ordinal = leg.IsInput ? inputs++ : outputs++;
    }
}
