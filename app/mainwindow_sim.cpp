// SPDX-License-Identifier: MIT
// The main window's simulation commands: run, stop, pause, time scale.
#include "app/mainwindow.h"

#include "sim/oscilloscopewindow.h"
#include "sim/timescaledialog.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPointer>
#include <QSlider>
#include <QToolButton>

Simulator& TForm1::simulator() {
    if (!sim_) sim_ = std::make_unique<Simulator>(*model_);
    return *sim_;
}

// Runs the simulation until a stop is requested. The loop stays inside this handler and keeps the
// window usable by processing events while it waits and once per cycle, so any command (even one
// that closes or destroys this window) may run between two time units.
void TForm1::ToolButton6Click() {
    if (simRunning_) return;
    Simulator& sim = simulator();
    sim.StopRequested = false;
    sim.Paused = false;
    ToolButton6->setEnabled(false);
    ToolButton7->setEnabled(true);
    ToolButton8->setEnabled(true);
    sim.PrepareRun();
    simRunning_ = true;

    const QPointer<TForm1> alive(this);
    do {
        WaitMs(static_cast<uint32_t>(Form15 ? Form15->Position() : 100));
        if (!alive) return;
        if (!sim.Paused) {
            StatusPanel->setText(sim.TimeText());
            sim.RunUnit();
        }
        if (model_->OscCount > 0 && Form17 && Form17->isVisible()) RedrawOscilloscope();
        QCoreApplication::processEvents();
        if (!alive) return;
        if (OnSimCycle) {
            OnSimCycle();
            if (!alive) return;
        }
    } while (!sim.StopRequested);

    simRunning_ = false;
    ToolButton6->setEnabled(true);
    ToolButton7->setEnabled(false);
    ToolButton8->setEnabled(false);
}

void TForm1::ToolButton7Click() {
    simulator().StopRequested = true;
}

void TForm1::ToolButton8Click() {
    Simulator& sim = simulator();
    sim.Paused = !sim.Paused;
}

void TForm1::ToolButton9Click() {
    if (!Form15) return;
    if (ToolButton9->isChecked()) {
        Form15->FormActivate();
        Form15->show();
    } else {
        Form15->hide();
    }
    activateWindow();
}

void TForm1::RequestSimulationStop() {
    if (sim_) sim_->StopRequested = true;
}

void TForm1::RedrawOscilloscope() {
    // The oscilloscope window draws its traces from the probes' Transitions when it repaints.
    Form17->update();
}
