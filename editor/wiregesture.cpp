// SPDX-License-Identifier: MIT
#include "editor/wiregesture.h"

#include "editor/elementpicture.h"
#include "editor/overlaydrawing.h"
#include "editor/pointerstate.h"
#include "editor/workspaceframe.h"
#include "model/pinhit.h"

WireGesture::WireGesture(Schematic& model, TFrame2& frame, PointerState& pointer, QObject* parent)
    : QObject(parent), model_(model), frame_(frame), pointer_(pointer) {}

QPoint WireGesture::PanelPoint(const ElementPicture* source, QPoint p) const {
    return source ? p + source->pos() : p;
}

std::optional<TPinRef> WireGesture::TargetAt(QPoint p) const {
    const int scale = frame_.view().Scale;
    for (int k = 1; k <= model_.ElementCount(); ++k) {
        const ElementPicture* picture = frame_.picture(k);
        if (!picture) continue;
        const int j = LegAt(model_.element(k), p.x() - picture->x(), p.y() - picture->y(), scale);
        if (j >= 0) return TPinRef{k, j};
    }
    return std::nullopt;
}

void WireGesture::EraseTargetMarker() {
    if (targetPicture_) pointer_.DrawLegMarker(targetPicture_, targetLeg_);
    targetPicture_ = nullptr;
    targetLeg_ = -1;
}

void WireGesture::ToggleDropDot() {
    DrawDropDot(frame_.surface(), DropCell, frame_.view().Scale);
    frame_.Image1()->update();
}

void WireGesture::Move(ElementPicture* source, QPoint p) {
    const QPoint at = PanelPoint(source, p);
    EraseTargetMarker();
    if (const std::optional<TPinRef> target = TargetAt(at)) {
        ElementPicture* picture = frame_.picture(target->Element);
        pointer_.DrawLegMarker(picture, target->Leg);
        picture->repaint();
        targetPicture_ = picture;
        targetLeg_ = target->Leg;
        return;
    }
    const int scale = frame_.view().Scale, h = scale / 2;
    const QPoint cell((at.x() + h) / scale, (at.y() + h) / scale);
    const bool inside = cell.x() >= 0 && cell.x() <= GridMax && cell.y() >= 0 && cell.y() <= GridMax;
    const RoutingGrids& grids = frame_.grids();
    if (!inside || grids.NetMap.at(cell.x(), cell.y()) == NoNet) {
        if (DropCode != 0) ToggleDropDot();
        DropCode = 0;
    } else if (DropCode == 0) {
        DropCell = cell;
        DropCode = grids.WireMap.at(cell.x(), cell.y());
        ToggleDropDot();
    } else if (cell != DropCell) {
        ToggleDropDot();
        DropCode = grids.WireMap.at(cell.x(), cell.y());
        DropCell = cell;
        ToggleDropDot();
    }
}

WireDrop WireGesture::Release(ElementPicture* source, QPoint p) {
    const std::optional<TPinRef> target = TargetAt(PanelPoint(source, p));
    WireDrop drop;
    if (DropCode != 0) {
        DropCode = 0;
        ToggleDropDot();
        // The wires may have been routed anew since the dot was drawn (or nets removed without a
        // re-route): only a net that still exists is joined.
        const int n = frame_.grids().NetMap.at(DropCell.x(), DropCell.y());
        const auto& conns = model_.Conns();
        if (n >= 0 && n < static_cast<int>(conns.size())) drop.netPin = conns[static_cast<size_t>(n)].front();
    }
    EraseTargetMarker();
    if (target && *target != pointer_.SourcePin) drop.target = target;
    return drop;
}

void WireGesture::Cancel() {
    if (DropCode != 0) {
        DropCode = 0;
        ToggleDropDot();
    }
    EraseTargetMarker();
}
