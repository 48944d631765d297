// SPDX-License-Identifier: MIT
#pragma once

#include "model/types.h"

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <vector>

// The picture control of one placed element: shows the element's bitmap stretched to its box,
// keeping proportions; pixels of the key colour (the shown picture's bottom-left pixel) are not
// painted. Over the element's bitmap it draws the view's marks by exclusive or: the selection tint
// while the element is selected and the pin markers. Its tag is the element index.
class ElementPicture : public QWidget {
    Q_OBJECT
public:
    explicit ElementPicture(QWidget* parent = nullptr);

    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }
    // The element's bitmap as the model holds it.
    void setPicture(const QImage& image);
    void setTinted(bool tinted);
    // Draws or removes the marker of a leg (drawn in the desktop colour `desktop`, toggled like
    // every exclusive-or mark).
    void ToggleMarker(const TLeg& leg, int32_t desktop);
    // Drops every marker: a replaced bitmap is shown without them.
    void ClearMarkers();
    // The picture as shown: the bitmap with the tint and the markers.
    const QImage& picture() const { return shown_; }

Q_SIGNALS:
    void pressed(ElementPicture* self, QMouseEvent* event);
    void moved(ElementPicture* self, QMouseEvent* event);
    void released(ElementPicture* self, QMouseEvent* event);
    void doubleClicked(ElementPicture* self, QMouseEvent* event);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void Compose();

    struct Marker {
        int32_t x;
        int32_t y;
        int32_t desktop;
        friend bool operator==(const Marker&, const Marker&) = default;
    };

    int tag_ = 0;
    QImage image_;
    bool tinted_ = false;
    std::vector<Marker> markers_;
    QImage shown_;
    QImage masked_; // shown_ with the key colour made transparent
};
