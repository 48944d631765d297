// SPDX-License-Identifier: MIT
#pragma once

#include "model/types.h"

#include <QString>
#include <QStringView>

#include <cstdint>

// The eight logic functions a chip element's script may name, and Other for any other text.
enum class ExprCode : uint8_t { Not1, Or2, And2, Nand2, Nor2, Or4, And4, Nand8, Other };

// Level of the element's input number n (1-based, among inputs in leg order): the Level of the
// first leg with IsInput set and Ordinal n; 0 when the element has no such input.
uint8_t InputLevel(const TElement& element, int n);

// The expression text of a script line: the line from its third character, at most 100
// characters (the first two characters are skipped whatever they hold).
QStringView ExpressionText(const QString& scriptLine);

// The function named by an expression text, by exact comparison with the eight texts.
ExprCode ResolveExpression(QStringView text);

// Value 0 or 1 of a resolved expression on the element's current input levels. Operands are read
// left to right and reading stops once the result is decided.
uint8_t EvalCode(ExprCode code, const TElement& element);

// Value 0 or 1 of the expression text on the element's current input levels; any text other
// than the eight known ones yields 1.
uint8_t EvalExpression(QStringView text, const TElement& element);

// Assigns IsInput and Ordinal to every leg: legs with X = 0 are inputs, numbered 1.. in leg
// order; all others are outputs, numbered 1.. separately.
void NumberLegs(TElement& element);
