// SPDX-License-Identifier: MIT
#pragma once

#include "document/schematicdocument.h"
#include "editor/options.h"

#include <QObject>
#include <QPoint>
#include <QPointer>

class ElementPicture;
class TFrame2;

// The pointer state machine of the workspace: selecting by click, Ctrl+click and band, dragging
// the selection in whole cells, and the pin marker under the pointer. The main window's pointer
// handlers pass their events here (surface events in surface pixels, picture events relative to
// the picture). Pictures with tag 0 (the template picture) are ignored. The wire gesture and
// the context menus are handed on through the signals below. A drag of the selection is one edit
// of the document, from its first move to the re-route of its release.
class PointerState : public QObject {
    Q_OBJECT
public:
    PointerState(SchematicDocument& document, TFrame2& frame, const TOptions& options,
                 QObject* parent = nullptr);

    void SurfacePress(Qt::MouseButton button, QPoint p);
    void SurfaceMove(QPoint p);
    // A left release over the surface after a left press there, before the release itself.
    void SurfaceClick();
    void SurfaceRelease(Qt::MouseButton button, QPoint p);
    void PicturePress(ElementPicture* picture, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                      QPoint p);
    void PictureMove(ElementPicture* picture, QPoint p);
    void PictureRelease(ElementPicture* picture, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                        QPoint p);
    // Erases the band being dragged and stops drawing it (a wheel turn); the release still selects.
    void EndBand();

    // Toggles the band outline from BandAnchor to `corner` (surface pixels).
    void DrawSelectionRectangle(QPoint corner);
    // Toggles the marker on one leg of the element `picture` shows; nothing for tag 0.
    void DrawLegMarker(ElementPicture* picture, int leg);
    bool HoverMarkerShown() const { return !hoverPicture_.isNull(); }
    ElementPicture* HoverMarkerPicture() const { return hoverPicture_; }
    int HoverMarkerLeg() const { return hoverLeg_; }

    // The band on the surface, in surface pixels.
    bool BandActive = false;
    QPoint BandAnchor;
    QPoint BandCorner; // as last drawn
    QPoint BandEnd;
    // A left press on a picture without Ctrl is held; PressPoint is relative to that picture.
    bool Moving = false;
    QPoint PressPoint;
    // A wire is being dragged from SourcePin (a left press on a pin); it wins over Moving.
    bool WireDrag = false;
    TPinRef SourcePin;

Q_SIGNALS:
    // Re-route and redraw the wires: on every release on a picture, and while dragging with
    // DrawConnections on (then at most once per event-loop round, see RequestReroute).
    void rerouteRequested();
    // The wire gesture: a left press on pin `SourcePin` has started it; moves and the release
    // (WireDrag is already off then) come relative to the source picture.
    void wireDragMoved(ElementPicture* source, QPoint p);
    void wireDragReleased(ElementPicture* source, QPoint p);
    // A right press on a picture (`leg` = the pin under the pointer, -1 for none) or on the surface.
    void pictureRightPressed(ElementPicture* picture, int leg);
    void surfaceRightPressed(QPoint p);

private:
    void DragSelection(ElementPicture* pressed, QPoint p);
    void SelectInBand();
    void EraseHoverMarker();
    // Moves come faster than a dense schematic routes. Rather than routing on every move and
    // letting the moves pile up, a move asks for one re-route that runs once the event loop has
    // delivered the moves already waiting, so the pictures follow the pointer and the wires catch
    // up. The release routes at once and cancels a request still open, so the final wires are
    // those of the final positions (a skipped re-route also hands no search direction on).
    void RequestReroute();
    void RunPendingReroute();
    void Reroute();
    int ElementOf(const ElementPicture* picture) const;

    SchematicDocument& document_;
    Schematic& model_;
    TFrame2& frame_;
    const TOptions& options_;
    // The marker drawn on the pin under the pointer. Its picture is destroyed with its element,
    // which drops the marker; a renumbered picture keeps it under its new tag.
    QPointer<ElementPicture> hoverPicture_;
    int hoverLeg_ = -1;
    bool reroutePending_ = false;
};
