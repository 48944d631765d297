// SPDX-License-Identifier: MIT
#pragma once

#include "model/schematic.h"

#include <QObject>
#include <QPoint>
#include <QPointer>

#include <optional>

class ElementPicture;
class PointerState;
class TFrame2;

// What a wire dragged from the source pin is released onto: the first pin of the net whose wire
// carried the drop dot, and the pin under the pointer unless it is the source itself. Either,
// both or neither may be there; the caller joins the source to each in this order.
struct WireDrop {
    std::optional<TPinRef> netPin;
    std::optional<TPinRef> target;
};

// The feedback of a wire drag from Pointer's SourcePin. Over a pin (the first one found over the
// elements in index order, the source pin included) it shows a marker on that pin, repainted at
// once; elsewhere it shows a dot on the routed wire cell nearest the pointer. Positions come
// relative to the source picture, which holds the pointer.
class WireGesture : public QObject {
    Q_OBJECT
public:
    WireGesture(Schematic& model, TFrame2& frame, PointerState& pointer, QObject* parent = nullptr);

    void Move(ElementPicture* source, QPoint p);
    // Removes the marker and the dot and tells what to connect.
    WireDrop Release(ElementPicture* source, QPoint p);
    // Removes the marker and the dot; nothing is to be connected.
    void Cancel();

    bool TargetMarkerShown() const { return !targetPicture_.isNull(); }
    ElementPicture* TargetMarkerPicture() const { return targetPicture_; }
    int TargetMarkerLeg() const { return targetLeg_; }

    // The WireMap code of the cell under the drop dot, 0 while no dot is shown.
    int32_t DropCode = 0;
    // The grid cell of the drop dot.
    QPoint DropCell;

private:
    // The first pin under panel point `p`, or none.
    std::optional<TPinRef> TargetAt(QPoint p) const;
    void EraseTargetMarker();
    void ToggleDropDot();
    QPoint PanelPoint(const ElementPicture* source, QPoint p) const;

    Schematic& model_;
    TFrame2& frame_;
    PointerState& pointer_;
    // A deleted element's picture goes with it and drops the marker.
    QPointer<ElementPicture> targetPicture_;
    int targetLeg_ = -1;
};
