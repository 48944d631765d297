// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QWidget>

class QMouseEvent;
class QPaintEvent;

// Shows the workspace surface bitmap; the bitmap itself is owned by TFrame2. A left release over
// the surface after a left press on it raises clicked() before mouseReleased().
class SurfaceView : public QWidget {
    Q_OBJECT
public:
    SurfaceView(const QImage* surface, QWidget* parent);

Q_SIGNALS:
    void mousePressed(QMouseEvent* event);
    void mouseMoved(QMouseEvent* event);
    void mouseReleased(QMouseEvent* event);
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    const QImage* surface_;
    bool leftPressed_ = false;
};
