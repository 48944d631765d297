// SPDX-License-Identifier: MIT
#include "editor/surfaceview.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

SurfaceView::SurfaceView(const QImage* surface, QWidget* parent) : QWidget(parent), surface_(surface) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void SurfaceView::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.drawImage(event->rect().topLeft(), *surface_, event->rect());
}

void SurfaceView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) leftPressed_ = true;
    Q_EMIT mousePressed(event);
}
void SurfaceView::mouseMoveEvent(QMouseEvent* event) {
    Q_EMIT mouseMoved(event);
}
void SurfaceView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const bool click = leftPressed_ && rect().contains(event->position().toPoint());
        leftPressed_ = false;
        if (click) Q_EMIT clicked();
    }
    Q_EMIT mouseReleased(event);
}
