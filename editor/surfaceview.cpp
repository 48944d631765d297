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
    Q_EMIT mousePressed(event);
}
void SurfaceView::mouseMoveEvent(QMouseEvent* event) {
    Q_EMIT mouseMoved(event);
}
void SurfaceView::mouseReleaseEvent(QMouseEvent* event) {
    Q_EMIT mouseReleased(event);
}
