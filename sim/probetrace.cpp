// SPDX-License-Identifier: MIT
#include "sim/probetrace.h"

#include <algorithm>
#include <cstdlib>

void RecordTransition(TElement& probe, TSimTime time, ProbeRecording recording) {
    std::vector<TSimTime>& record = probe.Transitions;
    record.push_back(time);
    if (recording == ProbeRecording::All || record.size() % ProbeTrimEvery != 0) return;
    const TSimTime oldest = time - TraceWidth;
    const auto kept =
        std::find_if(record.begin(), record.end(), [&](TSimTime t) { return t >= oldest && t <= time; });
    const auto dropped = kept - record.begin();
    if (dropped % 2 != 0) probe.LevelBefore = !probe.LevelBefore;
    record.erase(record.begin(), kept);
}

void DrawTraceLine(QImage& image, int x0, int y0, int x1, int y1, QRgb rgb) {
    const int w = image.width(), h = image.height();
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        if (x0 >= 0 && x0 < w && y0 >= 0 && y0 < h) reinterpret_cast<QRgb*>(image.scanLine(y0))[x0] = rgb;
        if (x0 == x1 && y0 == y1) return;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void DrawTrace(QImage& image, std::span<const TSimTime> transitions, bool levelBefore, TSimTime simTime) {
    if (image.format() != QImage::Format_RGB32) image = QImage(image.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    if (simTime < 0) return; // no unit from 0 to simTime
    const TSimTime w = image.width();
    const TSimTime now = simTime;
    const QRgb pen = qRgb(0, 0, 0);
    // Units more than w before now fall off the left edge; the first drawn point is the unit w
    // before now (at x = -1) or unit 0.
    TSimTime t = std::max<TSimTime>(0, now - w);
    auto next = std::upper_bound(transitions.begin(), transitions.end(), t);
    bool high = levelBefore != ((next - transitions.begin()) % 2 != 0);
    int x = now < w ? static_cast<int>(w - now - 2) : -1;
    int y = TraceLowY;
    for (; t <= now; ++t) {
        for (; next != transitions.end() && *next <= t; ++next)
            high = !high;
        const int nx = static_cast<int>(w - 1 - (now - t));
        const int ny = high ? TraceHighY : TraceLowY;
        DrawTraceLine(image, x, y, nx, ny, pen);
        x = nx;
        y = ny;
    }
}
