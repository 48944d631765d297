// SPDX-License-Identifier: MIT
#pragma once

#include "sim/probetrace.h"

#include <QImage>

#include <span>
#include <vector>

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

// The zoomed trace drawn the straightforward way: every unit from 0 to `viewEnd` is looked at and
// counted into the column it falls in (column x holds the `unitsPerPixel` units ending with
// viewEnd - (width - 1 - x) * unitsPerPixel). Each column steps from the level of the column
// before it to its own last unit's level; a column with two changes or more gets a bar from the
// high to the low line. The oracle of DrawTraceView.
inline QImage DrawTraceViewFromZero(std::span<const TSimTime> transitions, TSimTime viewEnd,
                                    TSimTime unitsPerPixel, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    const int w = size.width();
    const QRgb pen = qRgb(0, 0, 0);
    const TSimTime k = unitsPerPixel;
    std::vector<int> levels(static_cast<size_t>(w), -1), counts(static_cast<size_t>(w), 0);
    int level = 0;
    int before = 0; // the level at the end of the column left of the picture
    size_t next = 0;
    for (TSimTime t = 0; t <= viewEnd; ++t) {
        int changes = 0;
        for (; next < transitions.size() && transitions[next] <= t; ++next, ++changes)
            level ^= 1;
        const TSimTime column = w - 1 - (viewEnd - t) / k;
        if (column < 0) {
            before = level;
            continue;
        }
        levels[static_cast<size_t>(column)] = level; // the column's last unit comes last
        counts[static_cast<size_t>(column)] += changes;
    }
    int y = before ? TraceHighY : TraceLowY;
    for (int x = 0; x < w; ++x) {
        if (levels[static_cast<size_t>(x)] < 0) continue; // before unit 0
        const int ny = levels[static_cast<size_t>(x)] ? TraceHighY : TraceLowY;
        DrawTraceLine(image, x - 1, y, x, ny, pen);
        if (k > 1 && counts[static_cast<size_t>(x)] >= 2)
            DrawTraceLine(image, x, TraceHighY, x, TraceLowY, pen);
        y = ny;
    }
    return image;
}
