// SPDX-License-Identifier: MIT
#pragma once

#include "editor/options.h"
#include "editor/surfaceview.h"
#include "editor/viewstate.h"
#include "model/schematic.h"
#include "router/routinggrids.h"

#include <QFrame>
#include <QImage>
#include <QScrollArea>

#include <vector>

class ElementPicture;

// The workspace: a scrolling frame holding a square panel with a lowered bevel; inside it the
// drawing surface 2 pixels in from the edge, and above the surface one picture per element,
// whose tag is the element index.
class TFrame2 : public QScrollArea {
    Q_OBJECT
public:
    TFrame2(Schematic& model, const TOptions& options, QWidget* parent = nullptr);

    ViewState& view() { return view_; }
    const ViewState& view() const { return view_; }
    RoutingGrids& grids() { return grids_; }
    const RoutingGrids& grids() const { return grids_; }
    const TOptions& options() const { return options_; }

    QFrame* Panel1() const { return panel_; }
    SurfaceView* Image1() const { return image1_; }
    QImage& surface() { return surface_; }
    const std::vector<ElementPicture*>& pictures() const { return pictures_; }
    ElementPicture* picture(int index) const;

    // Resizes the panel to the field at the current Scale and paints background and grid dots.
    void DesktopSetup();
    // Makes the picture controls follow the element table: one per element 1..ElementCount,
    // tag = index, bitmap and box from the model (refreshed from element `from` on).
    void SyncPictures(int from = 1);
    // Places and sizes the picture of one element from its Coord and bitmap at the current Scale.
    void LayoutPicture(int index);
    // Destroys the picture of a deleted element; the later pictures take one tag less, so each
    // picture keeps showing its element.
    void RemovePicture(int index);

Q_SIGNALS:
    void picturePressed(ElementPicture* picture, QMouseEvent* event);
    void pictureMoved(ElementPicture* picture, QMouseEvent* event);
    void pictureReleased(ElementPicture* picture, QMouseEvent* event);
    void pictureDoubleClicked(ElementPicture* picture, QMouseEvent* event);

private:
    Schematic& model_;
    const TOptions& options_;
    ViewState view_;
    RoutingGrids grids_;
    QFrame* panel_;
    SurfaceView* image1_;
    QImage surface_;
    std::vector<ElementPicture*> pictures_; // [i] shows element i + 1
};
