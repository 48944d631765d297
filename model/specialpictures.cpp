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

QImage DrawLarge(int index) {
    QImage img(71, 81, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QColor ink(30, 30, 30);
    p.setPen(QPen(ink, 1));
    switch (index) {
    case LargeGenerator:
        // A box with a square wave; the two outputs leave on the right at rows 2 and 6.
        p.setBrush(QColor(255, 250, 220));
        p.drawRect(5, 5, 55, 65);
        p.drawLine(61, 20, 70, 20);
        p.drawLine(61, 60, 70, 60);
        p.setPen(QPen(QColor(200, 40, 20), 2));
        p.drawPolyline(
            QPolygon({{12, 48}, {20, 48}, {20, 28}, {32, 28}, {32, 48}, {44, 48}, {44, 28}, {52, 28}}));
        p.setPen(QPen(ink, 1));
        p.drawText(QRect(50, 12, 10, 14), Qt::AlignCenter, QStringLiteral("1"));
        p.drawText(QRect(50, 52, 10, 14), Qt::AlignCenter, QStringLiteral("2"));
        break;
    case LargeProbe:
        // A screen with a trace; the input enters on the left at row 4.
        p.drawLine(0, 40, 9, 40);
        p.setBrush(QColor(70, 70, 80));
        p.drawRect(10, 5, 55, 65);
        p.setBrush(QColor(10, 40, 20));
        p.drawRect(15, 12, 45, 40);
        p.setPen(QPen(QColor(80, 255, 120), 1));
        p.drawPolyline(
            QPolygon({{17, 42}, {27, 42}, {27, 22}, {40, 22}, {40, 42}, {50, 42}, {50, 22}, {58, 22}}));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(180, 180, 190));
        p.drawEllipse(20, 57, 8, 8);
        p.drawEllipse(46, 57, 8, 8);
        break;
    default:
        break;
    }
    p.end();
    return img;
}

} // namespace

QImage LargePicture(int index) {
    static const std::array<QImage, 2> set{DrawLarge(LargeGenerator), DrawLarge(LargeProbe)};
    if (index < 0 || index >= static_cast<int>(set.size())) return DrawLarge(-1);
    return set[static_cast<size_t>(index)];
}

QImage SmallPicture(int index) {
    static const std::array<QImage, 4> set{Draw(0), Draw(1), Draw(2), Draw(3)};
    if (index < 0 || index >= static_cast<int>(set.size())) return Draw(-1);
    return set[static_cast<size_t>(index)];
}
