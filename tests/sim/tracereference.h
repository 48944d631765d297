// SPDX-License-Identifier: MIT
#pragma once

#include "sim/probetrace.h"

#include <QImage>

#include <span>

// The trace drawn the straightforward way, from time 0 on: every unit from 0 to `simTime` is
// looked at, and the record is the whole list of changes since the run started (the level before
// them low). The oracle of DrawTrace in tests and benchmarks.
inline QImage DrawTraceFromZero(std::span<const TSimTime> transitions, TSimTime simTime, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    const int w = size.width();
    const QRgb pen = qRgb(0, 0, 0);
    int penX = simTime < w ? w - simTime - 2 : -1;
    int penY = TraceLowY;
    int y = TraceLowY;
    size_t k = 0;
    for (TSimTime t = 0; t <= simTime; ++t) {
        while (k < transitions.size() && transitions[k] <= t) {
            y = y == TraceLowY ? TraceHighY : TraceLowY;
            ++k;
        }
        if (simTime - t <= w) {
            const int x = w - 1 - (simTime - t);
            DrawTraceLine(image, penX, penY, x, y, pen);
            penX = x;
            penY = y;
        }
    }
    return image;
}
