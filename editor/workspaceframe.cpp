// SPDX-License-Identifier: MIT
#include "editor/workspaceframe.h"

#include "editor/elementpicture.h"
#include "editor/surface.h"
#include "editor/wiredrawing.h"
#include "ui/whitepanel.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

TFrame2::TFrame2(SchematicDocument& document, const TOptions& options, QWidget* parent)
    : QScrollArea(parent), document_(document), model_(document.schematic()), options_(options) {
    setObjectName(QStringLiteral("Frame21"));
    panel_ = new QFrame;
    panel_->setObjectName(QStringLiteral("Panel1"));
    panel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel_->setLineWidth(2);
    MakeWhitePanel(panel_);
    image1_ = new SurfaceView(&surface_, panel_);
    image1_->setObjectName(QStringLiteral("Image1"));
    setWidget(panel_);
    setWidgetResizable(false);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The pictures follow the element table: tags always equal element indices.
    connect(&model_, &Schematic::elementAdded, this, [this](int index) { SyncPictures(index); });
    connect(&model_, &Schematic::elementDeleted, this, &TFrame2::RemovePicture);
    connect(&model_, &Schematic::elementInserted, this, &TFrame2::InsertPicture);
    connect(&model_, &Schematic::elementsRemoved, this, [this] { SyncPictures(); });
    connect(&model_, &Schematic::elementMoved, this, &TFrame2::LayoutPicture);
    connect(&model_, &Schematic::elementImageChanged, this, [this](int index) {
        ElementPicture* p = picture(index);
        if (!p) return;
        // A fresh bitmap carries no marks.
        p->ClearMarkers();
        p->setTinted(model_.element(index).Selected);
        p->setPicture(model_.element(index).Bitmap);
    });
    connect(&model_, &Schematic::selectionChanged, this, [this](int index) {
        if (ElementPicture* p = picture(index)) p->setTinted(model_.element(index).Selected);
    });
}

ElementPicture* TFrame2::picture(int index) const {
    if (index < 1 || index > static_cast<int>(pictures_.size())) return nullptr;
    return pictures_[static_cast<size_t>(index - 1)];
}

void TFrame2::DesktopSetup() {
    const int side = FieldPixels(view_.Scale);
    panel_->resize(side, side);
    PaintDesktop(surface_, view_.Scale, options_.DesktopColor, options_.GridColor);
    wiresShown_ = false;
    image1_->setGeometry(2, 2, std::max(0, side - 4), std::max(0, side - 4));
    image1_->update();
}

void TFrame2::ShowWires() {
    ToggleWires();
    shown_ = document_.grids();
    wiresShown_ = true;
    ToggleWires();
}

void TFrame2::ToggleWires() {
    if (!wiresShown_) return;
    DrawField(surface_, shown_, view_, options_);
    image1_->update();
}

ElementPicture* TFrame2::NewPicture() {
    auto* p = new ElementPicture(panel_);
    connect(p, &ElementPicture::pressed, this, &TFrame2::picturePressed);
    connect(p, &ElementPicture::moved, this, &TFrame2::pictureMoved);
    connect(p, &ElementPicture::released, this, &TFrame2::pictureReleased);
    connect(p, &ElementPicture::doubleClicked, this, &TFrame2::pictureDoubleClicked);
    return p;
}

void TFrame2::SyncPictures(int from) {
    while (static_cast<int>(pictures_.size()) > model_.ElementCount()) {
        delete pictures_.back();
        pictures_.pop_back();
    }
    while (static_cast<int>(pictures_.size()) < model_.ElementCount()) {
        ElementPicture* p = NewPicture();
        pictures_.push_back(p);
        p->show();
    }
    for (int i = std::max(from, 1); i <= model_.ElementCount(); ++i) {
        ElementPicture* p = picture(i);
        p->setTag(i);
        p->setTinted(model_.element(i).Selected);
        p->setPicture(model_.element(i).Bitmap);
        LayoutPicture(i);
    }
}

void TFrame2::InsertPicture(int index) {
    if (index < 1 || index > static_cast<int>(pictures_.size()) + 1) return SyncPictures();
    ElementPicture* p = NewPicture();
    pictures_.insert(pictures_.begin() + (index - 1), p);
    // Later elements lie above earlier ones, as they did before the deletion.
    if (ElementPicture* above = picture(index + 1)) p->stackUnder(above);
    for (int i = index; i <= static_cast<int>(pictures_.size()); ++i)
        picture(i)->setTag(i);
    p->setTinted(model_.element(index).Selected);
    p->setPicture(model_.element(index).Bitmap);
    LayoutPicture(index);
    p->show();
}

void TFrame2::LayoutPicture(int index) {
    const TElement& e = model_.element(index);
    const qint64 s = view_.Scale;
    // In 64 bits, then held within what a widget's geometry takes: an element far off the field
    // stays far off without overflowing.
    const auto pixels = [](qint64 v) {
        return static_cast<int>(std::clamp<qint64>(v, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    };
    picture(index)->setGeometry(pixels(e.Coord.x * s + 2), pixels(e.Coord.y * s + 2),
                                pixels(e.Bitmap.width() * s / 10), pixels(e.Bitmap.height() * s / 10));
}

void TFrame2::RemovePicture(int index) {
    if (index < 1 || index > static_cast<int>(pictures_.size())) return;
    delete pictures_[static_cast<size_t>(index - 1)];
    pictures_.erase(pictures_.begin() + (index - 1));
    for (int i = index; i <= static_cast<int>(pictures_.size()); ++i)
        picture(i)->setTag(i);
}
