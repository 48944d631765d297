// SPDX-License-Identifier: MIT
#include "app/colorbox.h"

#include "editor/surface.h"

#include <QPainter>
#include <QPixmap>
#include <QSignalBlocker>

namespace {

struct Named {
    const char* name;
    int32_t bgr;
};

constexpr Named StandardColours[] = {
    {"Чёрный", 0x000000},      {"Бордовый", 0x000080},  {"Зелёный", 0x008000},      {"Оливковый", 0x008080},
    {"Тёмно-синий", 0x800000}, {"Пурпурный", 0x800080}, {"Сине-зелёный", 0x808000}, {"Серый", 0x808080},
    {"Серебристый", 0xC0C0C0}, {"Красный", 0x0000FF},   {"Салатовый", 0x00FF00},    {"Жёлтый", 0x00FFFF},
    {"Синий", 0xFF0000},       {"Фуксия", 0xFF00FF},    {"Голубой", 0xFFFF00},      {"Белый", 0xFFFFFF},
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
        addItem(swatch(c.bgr), QString::fromUtf8(c.name), c.bgr);
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
