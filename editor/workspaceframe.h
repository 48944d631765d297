// SPDX-License-Identifier: MIT
#pragma once

#include "model/schematic.h"

#include <QFrame>
#include <QImage>
#include <QScrollArea>

#include <vector>

class ElementPicture;

// Shows the workspace surface bitmap; the bitmap itself is owned by TFrame2.
class SurfaceView : public QWidget {
    Q_OBJECT
public:
    SurfaceView(const QImage* surface, QWidget* parent);

Q_SIGNALS:
    void mousePressed(QMouseEvent* event);
    void mouseMoved(QMouseEvent* event);
    void mouseReleased(QMouseEvent* event);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    const QImage* surface_;
};

// The workspace: a scrolling frame holding a square panel with a lowered bevel; inside it the
// drawing surface 2 pixels in from the edge, and above the surface one picture per element,
// whose tag is the element index.
class TFrame2 : public QScrollArea {
    Q_OBJECT
public:
    explicit TFrame2(Schematic& model, QWidget* parent = nullptr);

    QFrame* Panel1() const { return panel_; }
    SurfaceView* Image1() const { return image1_; }
    QImage& surface() { return surface_; }
    const std::vector<ElementPicture*>& pictures() const { return pictures_; }
    ElementPicture* picture(int index) const;

    // Resizes the panel to the field at the current Scale and paints background and grid dots.
    void DesktopSetup();
    // Makes the picture controls follow the element table: one per element 1..ElementCount,
    // tag = index, bitmap and box from the model.
    void SyncPictures();
    // Places and sizes the picture of one element from its Coord and bitmap at the current Scale.
    void LayoutPicture(int index);

    // The selection band while it is dragged: the anchor and the corner it was last drawn to,
    // in surface pixels.
    bool Banding = false;
    QPoint BandAnchor;
    QPoint BandCorner;

Q_SIGNALS:
    void picturePressed(ElementPicture* picture, QMouseEvent* event);
    void pictureMoved(ElementPicture* picture, QMouseEvent* event);
    void pictureReleased(ElementPicture* picture, QMouseEvent* event);
    void pictureDoubleClicked(ElementPicture* picture, QMouseEvent* event);

private:
    Schematic& model_;
    QFrame* panel_;
    SurfaceView* image1_;
    QImage surface_;
    std::vector<ElementPicture*> pictures_; // [i] shows element i + 1
};
