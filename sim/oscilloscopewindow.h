// SPDX-License-Identifier: MIT
#pragma once

#include "model/schematic.h"
#include "sim/simulator.h"

#include <QDialog>

#include <QImage>

#include <array>
#include <optional>

class QAction;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QToolButton;
class TFrame18;

// The oscilloscope window: the traces of up to five probes over the simulated time. The check
// list names the listed channels; the ticked ones that have a probe are shown, stacked in channel
// order, and the window's height follows them. While it is visible it follows the schematic: a
// probe listed in the navigator refreshes the list, a placed probe ticks its channel, a deleted one
// leaves its panel.
//
// The time axis is shared by all channels: the traces are drawn at 1, 2, 5, 10 ... 10000 units per
// pixel (the panels' "Масштаб" edits show it as the main window's zoom does, 10 for one unit per
// pixel, 1 for ten) and end at the present unit while they follow the run, or at an earlier unit
// scrolled back to with the panels' scroll bars. A click on a trace sets cursor A, with Shift
// cursor B, each caught by the nearest edge of a shown channel within CursorSnap pixels; the arrow
// keys move cursor A (with Shift B) to the previous or next edge of the clicked channel. The foot
// of the channel list shows the cursors and Δt, each panel the levels at the cursors.
class TForm17 : public QDialog {
    Q_OBJECT
public:
    enum class TraceFile { Vcd, Csv, Png };
    static constexpr int CursorSnap = 4;
    static constexpr QRgb CursorAColor = qRgb(220, 0, 0);
    static constexpr QRgb CursorBColor = qRgb(0, 0, 220);

    TForm17(const Schematic& model, Simulator& simulator, QWidget* parent = nullptr);

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

    // Units per pixel, one of ZoomLevels; the traces are redrawn.
    void SetUnitsPerPixel(TSimTime units);
    TSimTime UnitsPerPixel() const { return unitsPerPixel_; }
    // Zooms one level in (-1) or out (+1).
    void StepZoom(int direction);
    static const std::array<TSimTime, 13> ZoomLevels;
    // The unit at the traces' right edge; setting it stops following the run.
    TSimTime ViewEnd() const;
    void ScrollTo(TSimTime viewEnd);
    void FollowRun();
    bool Following() const { return following_; }

    std::optional<TSimTime> CursorA() const { return cursorA_; }
    std::optional<TSimTime> CursorB() const { return cursorB_; }
    // The readout's lines: cursor times, Δt and 1/Δt, and from which unit the record is whole.
    QString ReadoutText() const;

    // Writes the shown channels' records (Vcd, Csv) or the traces as shown (Png) to `path`; on a
    // failure shows a message box and returns false, leaving no file under the name.
    bool SaveTraces(const QString& path, TraceFile kind);
    // Asks for a file name and type, then SaveTraces.
    void SaveTracesAs();

    QAction* ActWholeHistory = nullptr; // «Записывать всю историю»
    QAction* ActSaveTraces = nullptr;   // «Сохранить трассы...»
    QAction* ActFollow = nullptr;
    QToolButton* FollowButton = nullptr; // returns to following the run
    QLabel* Readout = nullptr;

    QListWidget* CheckListBox1 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    TFrame18* Frame181 = nullptr;
    QPushButton* Button2 = nullptr; // hidden; its click draws the traces

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // After a change of the channels or of the element table.
    void FollowChannels();
    void SetOuterHeight(int height);
    // What the frame adds to the window's size (nothing before it is first on screen).
    QSize FrameExtra() const;
    // The list, the group and the frame keep their distances to every edge.
    void LayOutBoxes();

    // The probes of the channels shown with their "Вкл" ticked: channel number and element.
    std::vector<std::pair<int, const TElement*>> DrawnChannels() const;
    // The unit the run has reached, and the earliest right edge scrolling back can reach.
    TSimTime LatestUnit() const;
    TSimTime EarliestViewEnd() const;
    // The scroll bars, edits, readout and level labels as the view and cursors stand.
    void ShowViewState();
    void ClickTrace(int channel, int x, bool shift);
    void StepCursor(bool b, int direction);
    // The time of column x, or of the nearest edge of a drawn channel within CursorSnap pixels.
    TSimTime SnappedTime(int x) const;
    TSimTime ColumnEnd(int x) const;
    // The picture of every shown channel's panel as it is on screen.
    QImage TracesPicture() const;

    const Schematic& model_;
    Simulator& sim_;
    TSimTime unitsPerPixel_ = 1;
    bool following_ = true;
    TSimTime viewEnd_ = 0; // while not following
    std::optional<TSimTime> cursorA_, cursorB_;
    int selectedChannel_ = 0;       // the channel last clicked
    bool syncing_ = false;          // the scroll bars and edits are being set to the view
    std::array<int32_t, 6> seen_{}; // OscChannel as last followed, entries 1..5
    bool laying_ = false;           // the layout is changing ticks itself
    QSize frameUsed_{0, 0};         // the frame's size the window's size was set for
};
