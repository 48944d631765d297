// SPDX-License-Identifier: MIT
#include "editor/pointerstate.h"

#include "editor/elementpicture.h"
#include "editor/overlaydrawing.h"
#include "editor/workspaceframe.h"
#include "model/pinhit.h"

#include <QFrame>

#include <algorithm>
#include <array>

PointerState::PointerState(SchematicDocument& document, TFrame2& frame, const TOptions& options,
                           QObject* parent)
    : QObject(parent), document_(document), model_(document.schematic()), frame_(frame), options_(options) {}

int PointerState::ElementOf(const ElementPicture* picture) const {
    if (!picture) return 0;
    const int k = picture->tag();
    return k >= 1 && k <= model_.ElementCount() ? k : 0;
}

void PointerState::SurfacePress(Qt::MouseButton button, QPoint p) {
    if (button == Qt::RightButton) {
        Q_EMIT surfaceRightPressed(p);
    } else if (button == Qt::LeftButton) {
        BandAnchor = p;
        BandCorner = p;
        BandActive = true;
    }
}

void PointerState::SurfaceMove(QPoint p) {
    EraseHoverMarker();
    if (BandActive) {
        BandEnd = p;
        DrawSelectionRectangle(BandEnd);
        DrawSelectionRectangle(BandCorner);
        BandCorner = BandEnd;
    }
}

void PointerState::SurfaceClick() {
    model_.DeselectAll();
}

void PointerState::SurfaceRelease(Qt::MouseButton button, QPoint p) {
    if (button != Qt::LeftButton) return;
    BandEnd = p;
    if (BandActive) DrawSelectionRectangle(BandCorner);
    BandActive = false;
    if (BandEnd == BandAnchor)
        model_.DeselectAll();
    else
        SelectInBand();
    BandAnchor = {};
    BandEnd = {};
}

// The band is compared with the pictures' panel positions as they are, although a panel point
// lies 2 pixels right of and below the same surface point.
void PointerState::SelectInBand() {
    const int l = std::min(BandAnchor.x(), BandEnd.x()), t = std::min(BandAnchor.y(), BandEnd.y());
    const int r = std::max(BandAnchor.x(), BandEnd.x()), b = std::max(BandAnchor.y(), BandEnd.y());
    const auto inside = [&](QPoint c) { return l < c.x() && c.x() < r && t < c.y() && c.y() < b; };
    for (int k = 1; k <= model_.ElementCount(); ++k) {
        const ElementPicture* picture = frame_.picture(k);
        if (!picture) continue;
        const int left = picture->x(), top = picture->y();
        const int right = left + picture->width(), bottom = top + picture->height();
        bool hit = false;
        if (options_.FullSelection) {
            hit = l < left && t < top && right < r && bottom < b;
        } else {
            const std::array<QPoint, 4> corners = {QPoint(left, top), QPoint(right, top),
                                                   QPoint(right, bottom), QPoint(left, bottom)};
            hit = std::any_of(corners.begin(), corners.end(), inside);
        }
        if (hit) model_.SelectElement(k);
    }
}

void PointerState::EndBand() {
    if (!BandActive) return;
    DrawSelectionRectangle(BandCorner);
    BandActive = false;
}

void PointerState::PicturePress(ElementPicture* picture, Qt::MouseButton button,
                                Qt::KeyboardModifiers modifiers, QPoint p) {
    if ((button != Qt::LeftButton && button != Qt::RightButton) || WireDrag) return;
    const int k = ElementOf(picture);
    if (k == 0) return;
    // A drag whose release never came ends here.
    document_.EndMove();
    const int j = LegAt(model_.element(k), p.x(), p.y(), frame_.view().Scale);
    if (button == Qt::RightButton) {
        Q_EMIT pictureRightPressed(picture, j);
        return;
    }
    if (j >= 0) {
        WireDrag = true;
        SourcePin = {k, j};
    }
    PressPoint = p;
    if (!(modifiers & Qt::ControlModifier)) Moving = true;
}

void PointerState::PictureMove(ElementPicture* picture, QPoint p) {
    const int k = ElementOf(picture);
    if (k == 0) return;
    if (WireDrag) {
        Q_EMIT wireDragMoved(picture, p);
    } else if (Moving) {
        DragSelection(picture, p);
    } else {
        EraseHoverMarker();
        const int j = LegAt(model_.element(k), p.x(), p.y(), frame_.view().Scale);
        if (j >= 0) {
            DrawLegMarker(picture, j);
            hoverPicture_ = picture;
            hoverLeg_ = j;
        }
    }
}

void PointerState::DragSelection(ElementPicture* pressed, QPoint p) {
    if (model_.element(pressed->tag()).Selected) {
        const int scale = frame_.view().Scale;
        const QFrame* panel = frame_.Panel1();
        const int dx = p.x() - PressPoint.x(), dy = p.y() - PressPoint.y();
        for (int k = 1; k <= model_.ElementCount(); ++k) {
            if (!model_.element(k).Selected) continue;
            const ElementPicture* picture = frame_.picture(k);
            if (!picture) continue;
            int left = picture->x(), top = picture->y();
            // Each axis on its own: an element held at one edge still moves along the other.
            const int nl = left + dx;
            if (0 < nl && nl < panel->width() - picture->width()) left = nl / scale * scale + 2;
            const int nt = top + dy;
            if (0 < nt && nt < panel->height() - picture->height()) top = nt / scale * scale + 2;
            // The picture follows Coord (placed on its grid point).
            const TPoint32 coord{left / scale, top / scale};
            document_.MoveElement(k, coord);
        }
    }
    if (options_.DrawConnections) RequestReroute();
}

void PointerState::PictureRelease(ElementPicture* picture, Qt::MouseButton button,
                                  Qt::KeyboardModifiers modifiers, QPoint p) {
    if (button != Qt::LeftButton) return;
    const int k = ElementOf(picture);
    if (k == 0) return;
    Moving = false;
    if (WireDrag) {
        WireDrag = false;
        Q_EMIT wireDragReleased(picture, p);
        return;
    }
    if (modifiers & Qt::ControlModifier) {
        model_.ToggleSelection(k);
    } else if (!model_.element(k).Selected) {
        model_.DeselectAll();
        model_.ToggleSelection(k);
    }
    Reroute();
    document_.EndMove();
}

void PointerState::DrawSelectionRectangle(QPoint corner) {
    ::DrawSelectionRectangle(frame_.surface(), BandAnchor, corner);
    frame_.Image1()->update();
}

void PointerState::DrawLegMarker(ElementPicture* picture, int leg) {
    const int k = ElementOf(picture);
    if (k == 0) return;
    const TElement& e = model_.element(k);
    if (leg < 0 || leg >= static_cast<int>(e.Legs.size())) return;
    picture->ToggleMarker(e.Legs[static_cast<size_t>(leg)], options_.DesktopColor);
}

void PointerState::EraseHoverMarker() {
    if (hoverPicture_) DrawLegMarker(hoverPicture_, hoverLeg_);
    hoverPicture_ = nullptr;
    hoverLeg_ = -1;
}

void PointerState::RequestReroute() {
    if (reroutePending_) return;
    reroutePending_ = true;
    QMetaObject::invokeMethod(this, &PointerState::RunPendingReroute, Qt::QueuedConnection);
}

void PointerState::RunPendingReroute() {
    if (!reroutePending_) return;
    reroutePending_ = false;
    Q_EMIT rerouteRequested();
}

void PointerState::Reroute() {
    reroutePending_ = false;
    Q_EMIT rerouteRequested();
}
