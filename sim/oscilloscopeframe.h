// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QScrollArea>
#include <QWidget>

#include <array>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QScrollBar;

// The picture of one channel's trace, shown at one pixel per pixel.
class TracePicture : public QWidget {
    Q_OBJECT
public:
    explicit TracePicture(QWidget* parent = nullptr);
    // The picture the trace is drawn into; call update() after drawing.
    QImage& image() { return image_; }
    const QImage& image() const { return image_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage image_;
};

// One channel panel, 403 x 60: the trace, the channel number with the levels at the time cursors
// under it, the scale edit and scroll bar of the time axis all channels share, and the "Вкл" box
// (ticked: the trace is drawn, saved and catches the cursors).
struct ChannelPanel {
    QFrame* Panel = nullptr;
    TracePicture* Image = nullptr;
    QLabel* Number = nullptr;
    QLabel* Levels = nullptr;
    QLabel* ScaleLabel = nullptr;
    QLineEdit* ScaleEdit = nullptr;
    QCheckBox* OnBox = nullptr;
    QScrollBar* ScrollBar = nullptr;
};

// The oscilloscope window's channel frame: five channel panels, all hidden at first, placed by
// the window's layout. Scrolls vertically when the panels do not fit.
class TFrame18 : public QScrollArea {
    Q_OBJECT
public:
    static constexpr int PanelWidth = 403;
    static constexpr int PanelHeight = 60;

    explicit TFrame18(QWidget* parent = nullptr);

    // Channel c = 1..5.
    const ChannelPanel& channel(int c) const { return channels_[static_cast<size_t>(c - 1)]; }
    // Shows channel c's panel at `top` inside the frame, or hides it.
    void ShowPanel(int c, int top);
    void HidePanel(int c);
    bool PanelShown(int c) const;

private:
    // The scrolled area follows the lowest shown panel.
    void FitContents();

    QWidget* contents_;
    std::array<ChannelPanel, 5> channels_;
};
