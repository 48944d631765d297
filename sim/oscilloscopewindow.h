// SPDX-License-Identifier: MIT
#pragma once

#include "model/schematic.h"
#include "sim/simulator.h"

#include <QDialog>

#include <array>

class QGroupBox;
class QListWidget;
class QPushButton;
class TFrame18;

// The oscilloscope window: the traces of up to five probes over the simulated time. The check
// list names the listed channels; the ticked ones that have a probe are shown, stacked in channel
// order, and the window's height follows them. While it is visible it follows the schematic: a
// probe listed in the navigator refreshes the list, a placed probe ticks its channel, a deleted one
// leaves its panel.
class TForm17 : public QDialog {
    Q_OBJECT
public:
    TForm17(const Schematic& model, const Simulator& simulator, QWidget* parent = nullptr);

    // Lists "Осциллограф1".."Осциллограф<OscCount>", all ticked, and lays the panels out anew.
    void RefreshProbeList();
    // The layout: unticks the channels without a probe, stacks the panels of the ticked ones 60
    // pixels apart and makes the window's outer height the stack's height + 65 (unchanged when no
    // channel is shown).
    void CheckListBox1ClickCheck();
    // Draws the trace of every shown channel at the simulator's present time.
    void Button2Click();

    // The window's height with its frame, as the layout sets it.
    int OuterHeight() const;

    QListWidget* CheckListBox1 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    TFrame18* Frame181 = nullptr;
    QPushButton* Button2 = nullptr; // hidden; its click draws the traces

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // After a change of the channels or of the element table.
    void FollowChannels();
    void SetOuterHeight(int height);
    // What the frame adds to the window's size (nothing before it is first on screen).
    QSize FrameExtra() const;
    // The list, the group and the frame keep their distances to every edge.
    void LayOutBoxes();

    const Schematic& model_;
    const Simulator& sim_;
    std::array<int32_t, 6> seen_{}; // OscChannel as last followed, entries 1..5
    bool laying_ = false;           // the layout is changing ticks itself
    QSize frameUsed_{0, 0};         // the frame's size the window's size was set for
};
