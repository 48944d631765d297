// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QWidget>

// The picture control of one placed element: shows the element's bitmap stretched to its box,
// keeping proportions; pixels of the key colour (the bitmap's bottom-left pixel) are not painted.
// Its tag is the element index.
class ElementPicture : public QWidget {
    Q_OBJECT
public:
    explicit ElementPicture(QWidget* parent = nullptr);

    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }
    void setPicture(const QImage& image);
    const QImage& picture() const { return image_; }

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
    int tag_ = 0;
    QImage image_;
    QImage masked_; // image_ with the key colour made transparent
};
