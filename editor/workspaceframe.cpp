// SPDX-License-Identifier: MIT
#include "editor/workspaceframe.h"

#include "editor/elementpicture.h"
#include "editor/surface.h"

#include <QMouseEvent>
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

TFrame2::TFrame2(Schematic& model, QWidget* parent) : QScrollArea(parent), model_(model) {
    setObjectName(QStringLiteral("Frame21"));
    panel_ = new QFrame;
    panel_->setObjectName(QStringLiteral("Panel1"));
    panel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel_->setLineWidth(2);
    panel_->setAutoFillBackground(true);
    QPalette pal = panel_->palette();
    pal.setColor(QPalette::Window, Qt::white);
    panel_->setPalette(pal);
    image1_ = new SurfaceView(&surface_, panel_);
    image1_->setObjectName(QStringLiteral("Image1"));
    setWidget(panel_);
    setWidgetResizable(false);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    connect(&model_, &Schematic::elementImageChanged, this, [this](int index) {
        if (ElementPicture* p = picture(index)) p->setPicture(model_.element(index).Bitmap);
    });
}

ElementPicture* TFrame2::picture(int index) const {
    if (index < 1 || index > static_cast<int>(pictures_.size())) return nullptr;
    return pictures_[static_cast<size_t>(index - 1)];
}

void TFrame2::DesktopSetup() {
    const int side = FieldPixels(model_.Scale);
    panel_->resize(side, side);
    PaintDesktop(surface_, model_.Scale, model_.Options.DesktopColor, model_.Options.GridColor);
    image1_->setGeometry(2, 2, std::max(0, side - 4), std::max(0, side - 4));
    image1_->update();
}

void TFrame2::SyncPictures() {
    while (static_cast<int>(pictures_.size()) > model_.ElementCount) {
        delete pictures_.back();
        pictures_.pop_back();
    }
    while (static_cast<int>(pictures_.size()) < model_.ElementCount) {
        auto* p = new ElementPicture(panel_);
        connect(p, &ElementPicture::pressed, this, &TFrame2::picturePressed);
        connect(p, &ElementPicture::moved, this, &TFrame2::pictureMoved);
        connect(p, &ElementPicture::released, this, &TFrame2::pictureReleased);
        connect(p, &ElementPicture::doubleClicked, this, &TFrame2::pictureDoubleClicked);
        pictures_.push_back(p);
        p->show();
    }
    for (int i = 1; i <= model_.ElementCount; ++i) {
        ElementPicture* p = picture(i);
        p->setTag(i);
        p->setPicture(model_.element(i).Bitmap);
        LayoutPicture(i);
    }
}

void TFrame2::LayoutPicture(int index) {
    const TElement& e = model_.element(index);
    const int s = model_.Scale;
    picture(index)->setGeometry(e.Coord.x * s + 2, e.Coord.y * s + 2, e.Bitmap.width() * s / 10,
                                e.Bitmap.height() * s / 10);
}
