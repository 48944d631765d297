// SPDX-License-Identifier: MIT
#include "app/colorbox.h"

#include "editor/surface.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPixmap>
#include <QSignalBlocker>

namespace {

struct Named {
    const char* name;
    int32_t bgr;
};

constexpr Named StandardColours[] = {
    {QT_TRANSLATE_NOOP("ColorBox", "Чёрный"), 0x000000},
    {QT_TRANSLATE_NOOP("ColorBox", "Бордовый"), 0x000080},
    {QT_TRANSLATE_NOOP("ColorBox", "Зелёный"), 0x008000},
    {QT_TRANSLATE_NOOP("ColorBox", "Оливковый"), 0x008080},
    {QT_TRANSLATE_NOOP("ColorBox", "Тёмно-синий"), 0x800000},
    {QT_TRANSLATE_NOOP("ColorBox", "Пурпурный"), 0x800080},
    {QT_TRANSLATE_NOOP("ColorBox", "Сине-зелёный"), 0x808000},
    {QT_TRANSLATE_NOOP("ColorBox", "Серый"), 0x808080},
    {QT_TRANSLATE_NOOP("ColorBox", "Серебристый"), 0xC0C0C0},
    {QT_TRANSLATE_NOOP("ColorBox", "Красный"), 0x0000FF},
    {QT_TRANSLATE_NOOP("ColorBox", "Салатовый"), 0x00FF00},
    {QT_TRANSLATE_NOOP("ColorBox", "Жёлтый"), 0x00FFFF},
    {QT_TRANSLATE_NOOP("ColorBox", "Синий"), 0xFF0000},
    {QT_TRANSLATE_NOOP("ColorBox", "Фуксия"), 0xFF00FF},
    {QT_TRANSLATE_NOOP("ColorBox", "Голубой"), 0xFFFF00},
    {QT_TRANSLATE_NOOP("ColorBox", "Белый"), 0xFFFFFF},
};

QIcon swatch(int32_t bgr) {
    QPixmap pm(16, 12);
    pm.fill(ColorFromInt(bgr));
    QPainter p(&pm);
    p.setPen(Qt::black);
    p.drawRect(0, 0, 15, 11);
    return QIcon(pm);
}

} // namespace

ColorBox::ColorBox(QWidget* parent) : QComboBox(parent) {
    for (const Named& c : StandardColours)
        addItem(swatch(c.bgr), tr(c.name), c.bgr);
    setCurrentIndex(count() - 1); // white, the default
    connect(this, &QComboBox::currentIndexChanged, this, [this](int) { Q_EMIT colourChosen(selected()); });
}

int32_t ColorBox::selected() const {
    return currentIndex() < 0 ? 0xFFFFFF : currentData().toInt();
}

void ColorBox::setSelected(int32_t color) {
    const QSignalBlocker block(this);
    int i = findData(color);
    if (i < 0) {
        addItem(swatch(color),
                QStringLiteral("$%1").arg(static_cast<uint32_t>(color), 8, 16, QLatin1Char('0')).toUpper(),
                color);
        i = count() - 1;
    }
    setCurrentIndex(i);
}
