// SPDX-License-Identifier: MIT
#include "model/specialelements.h"

#include "model/specialpictures.h"

namespace SpecialElements {

QString GroupName() {
    return QStringLiteral("Спец. элементы");
}

QString BaseName(ElementKind kind) {
    switch (kind) {
    case ElementKind::Indicator:
        return QStringLiteral("Индикатор");
    case ElementKind::Switch:
        return QStringLiteral("Переключатель");
    case ElementKind::Generator:
        return QStringLiteral("Генератор");
    case ElementKind::Probe:
        return QStringLiteral("Осциллограф");
    default:
        return {};
    }
}

TPlacementData Placement(ElementKind kind) {
    TPlacementData d;
    switch (kind) {
    case ElementKind::Indicator:
        d.picture = SmallPicture(SmallIndicatorUnlit);
        d.leftPins = QStringLiteral("1");
        break;
    case ElementKind::Switch:
        d.picture = SmallPicture(SmallSwitchOff);
        d.rightPins = QStringLiteral("1");
        break;
    case ElementKind::Generator:
        d.picture = LargePicture(LargeGenerator);
        d.rightPins = QStringLiteral("010001");
        d.reactionLH = 100;
        d.reactionHL = 100;
        break;
    case ElementKind::Probe:
        d.picture = LargePicture(LargeProbe);
        d.leftPins = QStringLiteral("0001");
        break;
    default:
        break;
    }
    return d;
}

int NumberOf(const QString& name, ElementKind kind) {
    const QString base = BaseName(kind);
    if (base.isEmpty() || !name.startsWith(base)) return 0;
    bool ok = false;
    const int n = name.mid(base.size(), 2).toInt(&ok);
    return ok ? n : 0;
}

} // namespace SpecialElements
