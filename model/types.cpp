// SPDX-License-Identifier: MIT
#include "model/types.h"

ElementKind KindOfName(const QString& name) {
    if (name.isEmpty()) return ElementKind::Unknown;
    switch (name.front().unicode()) {
    case u'D':
        return ElementKind::Chip;
    case u'И':
        return ElementKind::Indicator;
    case u'П':
        return ElementKind::Switch;
    case u'Г':
        return ElementKind::Generator;
    case u'О':
        return ElementKind::Probe;
    default:
        return ElementKind::Unknown;
    }
}

ElementKind TElement::kind() const {
    return KindOfName(Name);
}

std::vector<TLeg> BuildLegs(const QString& leftPins, const QString& rightPins, int32_t cellWidth) {
    std::vector<TLeg> legs;
    auto addSide = [&legs](const QString& pins, int32_t x) {
        for (qsizetype i = 0; i < pins.size(); ++i) {
            if (pins[i] != u'1') continue;
            TLeg leg;
            leg.X = x;
            leg.Y = static_cast<int32_t>(i + 1);
            legs.push_back(leg);
        }
    };
    addSide(leftPins, 0);
    addSide(rightPins, cellWidth);
    return legs;
}
