// SPDX-License-Identifier: MIT
#include "editor/elementpicture.h"

#include <QMouseEvent>
#include <QPainter>

ElementPicture::ElementPicture(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
    // Moves without a button pressed show the marker of the pin under the pointer.
    setMouseTracking(true);
}

void ElementPicture::setPicture(const QImage& image) {
    image_ = image;
    if (image_.isNull()) {
        masked_ = QImage();
    } else {
        masked_ = image_.convertToFormat(QImage::Format_ARGB32);
        const QRgb key = image_.pixel(0, image_.height() - 1) | 0xFF000000u;
        for (int y = 0; y < masked_.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(masked_.scanLine(y));
            for (int x = 0; x < masked_.width(); ++x)
                if ((line[x] | 0xFF000000u) == key) line[x] = 0;
        }
    }
    update();
}

void ElementPicture::paintEvent(QPaintEvent*) {
    if (masked_.isNull()) return;
    QPainter p(this);
    const QSize box = masked_.size().scaled(size(), Qt::KeepAspectRatio);
    p.drawImage(QRect(QPoint(0, 0), box), masked_);
}

void ElementPicture::mousePressEvent(QMouseEvent* event) {
    Q_EMIT pressed(this, event);
}
void ElementPicture::mouseMoveEvent(QMouseEvent* event) {
    Q_EMIT moved(this, event);
}
void ElementPicture::mouseReleaseEvent(QMouseEvent* event) {
    Q_EMIT released(this, event);
}
void ElementPicture::mouseDoubleClickEvent(QMouseEvent* event) {
    Q_EMIT doubleClicked(this, event);
}
