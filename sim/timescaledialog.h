// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QSlider;

// The time-scale tool window: the wait per simulated time unit in milliseconds, 0..1000, chosen
// on a track bar or typed into the edit beside it. It stays on top of the main window and, every
// time it becomes active, moves over the top-left corner of the workspace.
class TForm15 : public QDialog {
    Q_OBJECT
public:
    // `mainWindow` and `workspace` give the place the window takes when it becomes active.
    TForm15(QWidget* mainWindow, QWidget* workspace);

    // The track bar's position: milliseconds to wait per time unit.
    int Position() const;
    // Where FormActivate puts the window (screen coordinates of its outer top-left corner).
    QPoint ActivePlace() const;

    QSlider* TrackBar1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLabel* Label1 = nullptr; // "Быстро (0)"
    QLabel* Label2 = nullptr; // "Медленно (1000)"

    void TrackBar1Change();
    // Enter in the edit: the number, at most 1000, becomes the position; a text that is no number
    // is replaced by the current position. Returns true when the key was handled here.
    bool Edit1KeyPress(int key);
    void FormActivate();

Q_SIGNALS:
    // The user closed the window.
    void closed();

public Q_SLOTS:
    void reject() override;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* mainWindow_;
    QWidget* workspace_;
};
