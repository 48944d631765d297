// SPDX-License-Identifier: MIT
#include "app/simulationrun.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>

#include <algorithm>

SimulationRun::SimulationRun(Simulator& simulator, QObject* parent) : QObject(parent), sim_(simulator) {}

SimulationRun::~SimulationRun() = default;

void SimulationRun::Start() {
    if (running_) return;
    sim_.StopRequested = false;
    sim_.Paused = false;
    sim_.PrepareRun();
    if (afterPrepare) afterPrepare();
    running_ = true;
    Q_EMIT runningChanged(true);

    const QPointer<SimulationRun> alive(this);
    do {
        const int wait = waitMs ? waitMs() : 100;
        WaitMs(static_cast<uint32_t>(std::max(wait, 0)));
        if (!alive) return;
        if (!sim_.Paused) {
            if (wait <= 0) RunAhead();
            if (beforeUnit) beforeUnit();
            sim_.RunUnit();
        }
        if (afterUnit) afterUnit();
        QCoreApplication::processEvents();
        if (!alive) return;
        if (onCycle) {
            onCycle();
            if (!alive) return;
        }
    } while (!sim_.StopRequested);

    running_ = false;
    Q_EMIT runningChanged(false);
}

void SimulationRun::RunAhead() {
    // Stretches of units between looks at the clock: short at first, so a slow circuit does not
    // overrun the budget, and longer once the units prove cheap (a look costs tens of nanoseconds).
    QElapsedTimer clock;
    clock.start();
    int64_t stretch = 1;
    while (clock.nsecsElapsed() < CycleBudgetNs) {
        sim_.RunUnits(stretch);
        stretch = std::min<int64_t>(stretch * 2, 256);
    }
}
