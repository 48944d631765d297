// SPDX-License-Identifier: MIT
#include "model/specialpictures.h"

#include <QPainter>

#include <array>

namespace {

constexpr int Side = 21;

QImage Draw(int index) {
    QImage img(Side, Side, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    const QColor ink(30, 30, 30);
    switch (index) {
    case SmallIndicatorUnlit:
    case SmallIndicatorLit:
        // A lamp with its input lead on the left (the pin sits at row 1, y = 10).
        p.setPen(QPen(ink, 1));
        p.drawLine(0, 10, 4, 10);
        p.setBrush(index == SmallIndicatorLit ? QColor(255, 40, 20) : QColor(90, 20, 20));
        p.drawEllipse(4, 3, 14, 14);
        if (index == SmallIndicatorLit) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 220, 200));
            p.drawEllipse(8, 6, 4, 4);
        }
        break;
    case SmallSwitchOff:
    case SmallSwitchOn: {
        // A toggle lever with its output lead on the right.
        p.setPen(QPen(ink, 1));
        p.drawLine(16, 10, 20, 10);
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(2, 6, 14, 8);
        const bool on = index == SmallSwitchOn;
        p.setBrush(on ? QColor(30, 160, 40) : QColor(120, 120, 120));
        p.drawRect(on ? 9 : 3, 7, 6, 6);
        break;
    }
    default:
        break;
    }
    p.end();
    return img;
}

} // namespace

QImage SmallPicture(int index) {
    static const std::array<QImage, 4> set{Draw(0), Draw(1), Draw(2), Draw(3)};
    if (index < 0 || index >= static_cast<int>(set.size())) return Draw(-1);
    return set[static_cast<size_t>(index)];
}
