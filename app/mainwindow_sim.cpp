// SPDX-License-Identifier: MIT
// The main window's simulation commands: run, stop, pause, time scale.
#include "app/mainwindow.h"

#include "sim/oscilloscopewindow.h"
#include "sim/timescaledialog.h"

#include <QLabel>
#include <QSlider>
#include <QToolButton>

// The run loop stays inside this handler; see SimulationRun.
void TForm1::ToolButton6Click() {
    run_->Start();
}

void TForm1::ShowRunState(bool running) {
    ToolButton6->setEnabled(!running);
    ToolButton7->setEnabled(running);
    ToolButton8->setEnabled(running);
    ToolButton8->setChecked(running && simulator().Paused);
}

void TForm1::ToolButton7Click() {
    run_->Stop();
}

void TForm1::ToolButton8Click() {
    run_->TogglePause();
    // The button stays pressed while the run is paused.
    ToolButton8->setChecked(simulator().Paused);
}

void TForm1::ToolButton9Click() {
    if (!window<TForm15>()) return;
    if (ToolButton9->isChecked()) {
        window<TForm15>()->FormActivate();
        window<TForm15>()->show();
    } else {
        window<TForm15>()->hide();
    }
    activateWindow();
}

void TForm1::RequestSimulationStop() {
    run_->Stop();
}

void TForm1::RedrawOscilloscope() {
    window<TForm17>()->Button2Click();
}
