// SPDX-License-Identifier: MIT
#pragma once

#include "sim/simulator.h"

#include <QObject>

#include <functional>
#include <memory>

// The simulation run loop of the main window. Start() keeps running inside the caller (the run
// button's handler) until Stop(): each cycle waits the time scale while the application handles
// its events, runs units unless paused, and calls the cycle hooks. At a time scale above 0 a cycle
// runs one unit; at 0 it runs as many as fit in a few milliseconds, so the window still handles
// its events many times a second, and the hooks see the last unit of the cycle. A stop, a pause or
// a switch turned over from an event takes effect at the next cycle. Any command, even one that
// destroys the owner, may run between two cycles: the loop notices and returns.
class SimulationRun : public QObject {
    Q_OBJECT
public:
    explicit SimulationRun(Simulator& simulator, QObject* parent = nullptr);
    ~SimulationRun() override;

    Simulator& simulator() { return sim_; }
    bool running() const { return running_; }

    // Milliseconds to wait before each cycle (the time scale).
    std::function<int()> waitMs;
    // Called once the run is prepared, before its first cycle (tests start the clock elsewhere).
    std::function<void()> afterPrepare;
    // Called before the last unit of a cycle runs (the status bar shows the time).
    std::function<void()> beforeUnit;
    // Called once per cycle after its units and before the events are handled.
    std::function<void()> afterUnit;
    // Called at the end of every cycle; tests and benchmarks drive a run with it.
    std::function<void()> onCycle;

    // Runs until a stop is requested; nothing when already running.
    void Start();
    void Stop() { sim_.StopRequested = true; }
    void TogglePause() { sim_.Paused = !sim_.Paused; }

    // At time scale 0, how long a cycle runs units before the window handles its events again.
    static constexpr int64_t CycleBudgetNs = 8'000'000;

Q_SIGNALS:
    // The run starts (after PrepareRun) or has ended.
    void runningChanged(bool running);

private:
    // The units of a cycle at time scale 0 before its last one, for about CycleBudgetNs.
    void RunAhead();

    Simulator& sim_;
    bool running_ = false;
};
