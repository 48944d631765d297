// SPDX-License-Identifier: MIT
#pragma once

#include "document/schematicdocument.h"
#include "editor/options.h"
#include "editor/surfaceview.h"
#include "editor/viewstate.h"
#include "router/routinggrids.h"

#include <QFrame>
#include <QImage>
#include <QScrollArea>

#include <vector>

class ElementPicture;

// The workspace: a scrolling frame holding a square panel with a lowered bevel; inside it the
// drawing surface 2 pixels in from the edge, and above the surface one picture per element,
// whose tag is the element index, in index order from bottom to top. The wires on the surface are
// those of the document's routing as last shown (ShowWires).
class TFrame2 : public QScrollArea {
    Q_OBJECT
public:
    TFrame2(SchematicDocument& document, const TOptions& options, QWidget* parent = nullptr);

    ViewState& view() { return view_; }
    const ViewState& view() const { return view_; }
    // The document's routing grids.
    const RoutingGrids& grids() const { return document_.grids(); }
    const TOptions& options() const { return options_; }

    QFrame* Panel1() const { return panel_; }
    SurfaceView* Image1() const { return image1_; }
    QImage& surface() { return surface_; }
    const std::vector<ElementPicture*>& pictures() const { return pictures_; }
    ElementPicture* picture(int index) const;

    // Resizes the panel to the field at the current Scale and paints background and grid dots
    // (without wires).
    void DesktopSetup();
    // Takes the wires on the surface away and draws those of the document's routing.
    void ShowWires();
    // Toggles the wires on the surface (exclusive or), with the view's hovered net; nothing while
    // no wires are shown.
    void ToggleWires();
    // Makes the picture controls follow the element table: one per element 1..ElementCount,
    // tag = index, bitmap and box from the model (refreshed from element `from` on).
    void SyncPictures(int from = 1);
    // Places and sizes the picture of one element from its Coord and bitmap at the current Scale.
    void LayoutPicture(int index);
    // Destroys the picture of a deleted element; the later pictures take one tag less, so each
    // picture keeps showing its element.
    void RemovePicture(int index);
    // A picture for an element that came back at `index`, in its place among the others; the later
    // pictures take one tag more.
    void InsertPicture(int index);

Q_SIGNALS:
    void picturePressed(ElementPicture* picture, QMouseEvent* event);
    void pictureMoved(ElementPicture* picture, QMouseEvent* event);
    void pictureReleased(ElementPicture* picture, QMouseEvent* event);
    void pictureDoubleClicked(ElementPicture* picture, QMouseEvent* event);

private:
    ElementPicture* NewPicture();

    SchematicDocument& document_;
    const Schematic& model_;
    const TOptions& options_;
    ViewState view_;
    // The wires drawn on the surface: the routing they were drawn from.
    RoutingGrids shown_;
    bool wiresShown_ = false;
    QFrame* panel_;
    SurfaceView* image1_;
    QImage surface_;
    std::vector<ElementPicture*> pictures_; // [i] shows element i + 1
};
