// SPDX-License-Identifier: MIT
#pragma once

#include "model/placement.h"
#include "model/types.h"

#include <QString>

// The four built-in element kinds that need no catalogue entry.
namespace SpecialElements {

// "Спец. элементы", the navigator group of the special elements.
QString GroupName();
// The designator's base name of a special kind ("Индикатор", "Переключатель", "Генератор",
// "Осциллограф"); empty for other kinds.
QString BaseName(ElementKind kind);
// What placing an element of a special kind starts from: its picture, pin strings and (for a
// generator) the durations of 100 units each.
TPlacementData Placement(ElementKind kind);
// The number written in the two characters after the base name (the probe's channel), 0 when
// there is none.
int NumberOf(const QString& name, ElementKind kind);

} // namespace SpecialElements
