// SPDX-License-Identifier: MIT
#include "editor/elementpicture.h"

#include "document/schematicimage.h"
#include "editor/overlaydrawing.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

ElementPicture::ElementPicture(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
    // Moves without a button pressed show the marker of the pin under the pointer.
    setMouseTracking(true);
}

void ElementPicture::setPicture(const QImage& image) {
    image_ = image;
    Compose();
}

void ElementPicture::setTinted(bool tinted) {
    if (tinted == tinted_) return;
    tinted_ = tinted;
    Compose();
}

void ElementPicture::ToggleMarker(const TLeg& leg, int32_t desktop) {
    const Marker m{leg.X, leg.Y, desktop};
    if (const auto it = std::find(markers_.begin(), markers_.end(), m); it != markers_.end())
        markers_.erase(it);
    else
        markers_.push_back(m);
    Compose();
}

void ElementPicture::ClearMarkers() {
    if (markers_.empty()) return;
    markers_.clear();
    Compose();
}

void ElementPicture::Compose() {
    // Every mark is an exclusive or, so the order they are drawn in makes no difference.
    shown_ = image_;
    if (tinted_) DrawSelectionTint(shown_);
    for (const Marker& m : markers_) {
        TLeg leg;
        leg.X = m.x;
        leg.Y = m.y;
        DrawLegMarker(shown_, leg, m.desktop);
    }
    masked_ = KeyedPicture(shown_);
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
