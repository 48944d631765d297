// SPDX-License-Identifier: MIT
#pragma once

#include "sim/simulator.h"

#include <QObject>

#include <functional>
#include <memory>

// The simulation run loop of the main window. Start() keeps running inside the caller (the run
// button's handler) until Stop(): each cycle waits the time scale while the application handles
// its events, runs one unit unless paused, and calls the cycle hooks. Any command, even one that
// destroys the owner, may run between two units: the loop notices and returns.
class SimulationRun : public QObject {
    Q_OBJECT
public:
    explicit SimulationRun(Schematic& schematic, QObject* parent = nullptr);
    ~SimulationRun() override;

    Simulator& simulator() { return sim_; }
    bool running() const { return running_; }

    // Milliseconds to wait before each unit (the time scale).
    std::function<int()> waitMs;
    // Called before a unit runs (the status bar shows the time).
    std::function<void()> beforeUnit;
    // Called once per cycle after the unit and before the events are handled.
    std::function<void()> afterUnit;
    // Called at the end of every cycle; tests and benchmarks drive a run with it.
    std::function<void()> onCycle;

    // Runs until a stop is requested; nothing when already running.
    void Start();
    void Stop() { sim_.StopRequested = true; }
    void TogglePause() { sim_.Paused = !sim_.Paused; }

Q_SIGNALS:
    // The run starts (after PrepareRun) or has ended.
    void runningChanged(bool running);

private:
    Simulator sim_;
    bool running_ = false;
};
