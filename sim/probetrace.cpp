// SPDX-License-Identifier: MIT
#include "sim/probetrace.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Drops the record's entries before `kept`, keeping their effect in LevelBefore and RecordFrom.
void DropOldest(TElement& probe, std::vector<TSimTime>::iterator kept, TSimTime time) {
    std::vector<TSimTime>& record = probe.Transitions;
    for (auto it = record.begin(); it != kept; ++it)
        if (*it <= time) probe.RecordFrom = std::max(probe.RecordFrom, *it);
    if ((kept - record.begin()) % 2 != 0) probe.LevelBefore = !probe.LevelBefore;
    record.erase(record.begin(), kept);
}

// The first entry after `t` from `from` on: a search that doubles its step, so a column with few
// changes costs little and one with many a binary search.
std::span<const TSimTime>::iterator After(std::span<const TSimTime>::iterator from,
                                          std::span<const TSimTime>::iterator end, TSimTime t) {
    if (from == end || *from > t) return from;
    ptrdiff_t step = 1;
    for (;;) {
        const auto hi = end - from > step ? from + step : end;
        if (hi == end || *hi > t) return std::upper_bound(from + 1, hi, t);
        from = hi;
        step *= 2;
    }
}

} // namespace

void RecordTransition(TElement& probe, TSimTime time, ProbeRecording recording, size_t wholeLimit) {
    std::vector<TSimTime>& record = probe.Transitions;
    if (recording == ProbeRecording::Whole && wholeLimit > 0) {
        if (record.size() >= wholeLimit) {
            const size_t drop = record.size() - wholeLimit + std::max<size_t>(1, wholeLimit / 8);
            DropOldest(probe, record.begin() + static_cast<std::ptrdiff_t>(drop), time);
        }
        // Grown by hand so that the storage stops at the bound (also when an earlier run left
        // more).
        if (record.capacity() > wholeLimit) {
            std::vector<TSimTime> fitted;
            fitted.reserve(wholeLimit);
            fitted.assign(record.begin(), record.end());
            record.swap(fitted);
        }
        if (record.size() == record.capacity())
            record.reserve(std::min(wholeLimit, std::max<size_t>(64, record.capacity() * 2)));
    }
    record.push_back(time);
    if (recording != ProbeRecording::Visible || record.size() % ProbeTrimEvery != 0) return;
    const TSimTime oldest = time - TraceWidth;
    DropOldest(
        probe,
        std::find_if(record.begin(), record.end(), [&](TSimTime t) { return t >= oldest && t <= time; }),
        time);
}

bool LevelAt(std::span<const TSimTime> transitions, bool levelBefore, TSimTime t) {
    const auto n = std::upper_bound(transitions.begin(), transitions.end(), t) - transitions.begin();
    return levelBefore != (n % 2 != 0);
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
    DrawTraceView(image, transitions, levelBefore, simTime, 1);
}

void DrawTraceView(QImage& image, std::span<const TSimTime> transitions, bool levelBefore, TSimTime viewEnd,
                   TSimTime unitsPerPixel) {
    if (image.format() != QImage::Format_RGB32) image = QImage(image.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    const int w = image.width();
    if (viewEnd < 0 || w <= 0) return; // no unit from 0 to viewEnd
    const TSimTime k = std::max<TSimTime>(1, unitsPerPixel);
    const QRgb pen = qRgb(0, 0, 0);
    const auto columnEnd = [&](int x) { return viewEnd - static_cast<TSimTime>(w - 1 - x) * k; };
    // The first column that reaches unit 0; the point before it is the column to its left, low
    // before unit 0.
    const int first = static_cast<int>(std::max<TSimTime>(0, w - 1 - viewEnd / k));
    const TSimTime before = columnEnd(first - 1);
    auto next = std::upper_bound(transitions.begin(), transitions.end(), before);
    bool high = levelBefore != ((next - transitions.begin()) % 2 != 0);
    int y = before < 0 || !high ? TraceLowY : TraceHighY;
    for (int x = first; x < w; ++x) {
        const auto after = After(next, transitions.end(), columnEnd(x));
        const auto changes = after - next;
        next = after;
        if (changes % 2 != 0) high = !high;
        const int ny = high ? TraceHighY : TraceLowY;
        DrawTraceLine(image, x - 1, y, x, ny, pen);
        if (k > 1 && changes >= 2) DrawTraceLine(image, x, TraceHighY, x, TraceLowY, pen);
        y = ny;
    }
}
