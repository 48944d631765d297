// SPDX-License-Identifier: MIT
#include "app/simulationrun.h"

#include <QCoreApplication>
#include <QPointer>

SimulationRun::SimulationRun(Schematic& schematic, QObject* parent) : QObject(parent), sim_(schematic) {}

SimulationRun::~SimulationRun() = default;

void SimulationRun::Start() {
    if (running_) return;
    sim_.StopRequested = false;
    sim_.Paused = false;
    sim_.PrepareRun();
    running_ = true;
    Q_EMIT runningChanged(true);

    const QPointer<SimulationRun> alive(this);
    do {
        WaitMs(static_cast<uint32_t>(waitMs ? waitMs() : 100));
        if (!alive) return;
        if (!sim_.Paused) {
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
