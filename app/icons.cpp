// SPDX-License-Identifier: MIT
#include "app/icons.h"

#include <QPainter>
#include <QPainterPath>

namespace {

QImage blank(int w, int h) {
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    return img;
}

} // namespace

QImage ToolbarImage(int index) {
    QImage img = blank(21, 21);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(40, 40, 40);
    switch (index) {
    case 0: { // run: green triangle
        QPainterPath path;
        path.moveTo(5, 3);
        path.lineTo(17, 10.5);
        path.lineTo(5, 18);
        path.closeSubpath();
        p.fillPath(path, QColor(30, 150, 40));
        p.setPen(QPen(QColor(10, 80, 20), 1));
        p.drawPath(path);
        break;
    }
    case 1: // stop: red square
        p.setPen(QPen(QColor(120, 10, 10), 1));
        p.setBrush(QColor(200, 30, 30));
        p.drawRect(QRectF(4.5, 4.5, 12, 12));
        break;
    case 2: // pause: two bars
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 60, 160));
        p.drawRect(QRectF(5, 4, 4, 13));
        p.drawRect(QRectF(12, 4, 4, 13));
        break;
    case 3: { // new: a page with a folded corner
        QPainterPath page;
        page.moveTo(4.5, 2.5);
        page.lineTo(12.5, 2.5);
        page.lineTo(16.5, 6.5);
        page.lineTo(16.5, 18.5);
        page.lineTo(4.5, 18.5);
        page.closeSubpath();
        p.fillPath(page, Qt::white);
        p.setPen(QPen(ink, 1));
        p.drawPath(page);
        p.drawLine(QPointF(12.5, 2.5), QPointF(12.5, 6.5));
        p.drawLine(QPointF(12.5, 6.5), QPointF(16.5, 6.5));
        break;
    }
    case 4: { // open: a folder
        p.setPen(QPen(QColor(120, 90, 10), 1));
        p.setBrush(QColor(240, 200, 80));
        p.drawRect(QRectF(2.5, 6.5, 15, 11));
        p.drawRect(QRectF(2.5, 4.5, 6, 2));
        break;
    }
    case 5: // save: a floppy disk
        p.setPen(QPen(QColor(20, 40, 90), 1));
        p.setBrush(QColor(60, 90, 170));
        p.drawRect(QRectF(3.5, 3.5, 14, 14));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6.5, 3.5, 8, 5));
        p.drawRect(QRectF(6.5, 11.5, 8, 6));
        break;
    case 6: // time scale: a clock
        p.setPen(QPen(ink, 1.2));
        p.setBrush(QColor(250, 250, 235));
        p.drawEllipse(QPointF(10.5, 10.5), 8, 8);
        p.drawLine(QPointF(10.5, 10.5), QPointF(10.5, 5));
        p.drawLine(QPointF(10.5, 10.5), QPointF(14.5, 12.5));
        break;
    case 7: { // oscilloscopes: a screen with a square wave
        p.setPen(QPen(ink, 1));
        p.setBrush(QColor(20, 40, 20));
        p.drawRect(QRectF(1.5, 3.5, 18, 14));
        p.setPen(QPen(QColor(80, 240, 80), 1.2));
        const QPointF wave[] = {{3, 14}, {6, 14}, {6, 7}, {10, 7}, {10, 14}, {14, 14}, {14, 7}, {18, 7}};
        p.drawPolyline(wave, 8);
        break;
    }
    case 8:   // undo: an arrow bending back to the left
    case 9: { // redo: the same arrow mirrored
        if (index == 9) {
            p.translate(21, 0);
            p.scale(-1, 1);
        }
        const QColor arrow(30, 90, 170);
        QPainterPath bend;
        bend.moveTo(6, 8);
        bend.lineTo(12, 8);
        bend.cubicTo(19, 8, 19, 17, 12, 17);
        bend.lineTo(8, 17);
        p.setPen(QPen(arrow, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(bend);
        QPainterPath head;
        head.moveTo(1.5, 8);
        head.lineTo(7.5, 3);
        head.lineTo(7.5, 13);
        head.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(arrow);
        p.drawPath(head);
        break;
    }
    default:
        break;
    }
    return img;
}

QImage NavigatorImage(int index) {
    QImage img = blank(16, 16);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    if (index == 0) { // group: a chip body with pins
        p.setPen(QPen(QColor(60, 60, 60), 1));
        for (int y = 4; y <= 12; y += 4) {
            p.drawLine(1, y, 4, y);
            p.drawLine(12, y, 15, y);
        }
        p.setBrush(QColor(70, 70, 80));
        p.drawRect(QRectF(3.5, 1.5, 9, 13));
    } else { // element: a filled (placed) or hollow (listed) gate
        p.setPen(QPen(QColor(30, 60, 140), 1.2));
        p.setBrush(index == 1 ? QColor(60, 160, 70) : QColor(255, 255, 255));
        QPainterPath gate;
        gate.moveTo(3, 2.5);
        gate.lineTo(8, 2.5);
        gate.arcTo(QRectF(2.5, 2.5, 11, 11), 90, -180);
        gate.lineTo(3, 13.5);
        gate.closeSubpath();
        p.drawPath(gate);
    }
    return img;
}
