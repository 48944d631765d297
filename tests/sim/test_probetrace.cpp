// SPDX-License-Identifier: MIT
// The oscilloscope trace drawn from a probe's record, and the record's trimming.
#include "sim/probetrace.h"
#include "tests/sim/tracereference.h"

#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace {

const QSize TraceSize(TraceWidth, TraceHeight);
constexpr int W = TraceWidth;

QImage Draw(const std::vector<TSimTime>& transitions, TSimTime simTime, bool levelBefore = false) {
    QImage image(TraceSize, QImage::Format_RGB32);
    DrawTrace(image, transitions, levelBefore, simTime);
    return image;
}

bool Black(const QImage& image, int x, int y) {
    return image.pixel(x, y) == qRgb(0, 0, 0);
}

// The black pixels of row y as runs "a..b" (or "a"), separated by spaces.
std::string Runs(const QImage& image, int y) {
    std::string out;
    for (int x = 0; x < image.width(); ++x) {
        if (!Black(image, x, y)) continue;
        int end = x;
        while (end + 1 < image.width() && Black(image, end + 1, y))
            ++end;
        if (!out.empty()) out += ' ';
        out += std::to_string(x);
        if (end > x) out += ".." + std::to_string(end);
        x = end;
    }
    return out;
}

// Every pixel is white or black, and the black ones between the two lines belong to steps.
int BlackOutsideTheLines(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            EXPECT_TRUE(p == qRgb(0, 0, 0) || p == qRgb(255, 255, 255)) << x << "," << y;
            n += p == qRgb(0, 0, 0) && (y < TraceHighY || y > TraceLowY);
        }
    return n;
}

struct RowsCase {
    const char* what;
    std::vector<TSimTime> transitions;
    TSimTime simTime;
    std::string low;  // black runs on the low line
    std::string high; // black runs on the high line
};

void PrintTo(const RowsCase& c, std::ostream* os) {
    *os << c.what;
}

class TraceRows : public testing::TestWithParam<RowsCase> {};

TEST_P(TraceRows, DrawsTheLevelOnePixelPerUnitWithTheNewestAtTheRightEdge) {
    const RowsCase& c = GetParam();
    const QImage image = Draw(c.transitions, c.simTime);
    EXPECT_EQ(Runs(image, TraceLowY), c.low);
    EXPECT_EQ(Runs(image, TraceHighY), c.high);
    EXPECT_EQ(BlackOutsideTheLines(image), 0);
    EXPECT_EQ(image, DrawTraceFromZero(c.transitions, c.simTime, TraceSize));
}

INSTANTIATE_TEST_SUITE_P(
    Sim, TraceRows,
    testing::Values(RowsCase{"one change at 4, time 10", {4}, 10, "309..313", "314..320"},
                    RowsCase{"never changed, time 0", {}, 0, "319..320", ""},
                    RowsCase{"never changed, time 50", {}, 50, "269..320", ""},
                    RowsCase{"never changed, time 318: not yet at the left edge", {}, 318, "1..320", ""},
                    RowsCase{"never changed, time 320: the whole width", {}, 320, "0..320", ""},
                    RowsCase{"never changed, long after", {}, 100000, "0..320", ""},
                    RowsCase{"a change scrolled out of view", {100}, 1000, "", "0..320"},
                    RowsCase{"a change 100 units ago", {900}, 1000, "0..219", "220..320"},
                    RowsCase{"up and down again", {2, 6}, 10, "309..311 316..320", "312..315"},
                    RowsCase{"two changes in one unit cancel", {3, 3, 7}, 10, "309..316", "317..320"},
                    RowsCase{"a change at the newest unit", {10}, 10, "309..319", "320"},
                    RowsCase{"a change at the unit that falls off the edge", {679}, 1000, "", "0..320"},
                    RowsCase{"a change at the second unit in view", {681}, 1000, "0", "1..320"}),
    [](const testing::TestParamInfo<RowsCase>& info) { return "Case" + std::to_string(info.index); });

TEST(Trace, AChangeIsAOnePixelSlantedStep) {
    // At time 10 the change at 4 steps from (313, 30) to (314, 5): every row in between is
    // covered by one of the two columns, and no other column has a pixel between the lines.
    const QImage image = Draw({4}, 10);
    for (int y = TraceHighY; y <= TraceLowY; ++y)
        EXPECT_TRUE(Black(image, 313, y) || Black(image, 314, y)) << y;
    for (int x = 0; x < W; ++x)
        for (int y = TraceHighY + 1; y < TraceLowY; ++y)
            if (x != 313 && x != 314) {
                EXPECT_FALSE(Black(image, x, y)) << x << "," << y;
            }
}

TEST(Trace, BeforeTimeZeroNothingIsDrawn) {
    const QImage image = Draw({}, -5);
    EXPECT_EQ(Runs(image, TraceLowY), "");
    EXPECT_EQ(image, DrawTraceFromZero({}, -5, TraceSize));
}

TEST(Trace, TheLevelBeforeTheRecordStartsTheLine) {
    // A record whose older changes were dropped: high before 900.
    EXPECT_EQ(Draw({900}, 1000, true), Draw({5, 900}, 1000));
    EXPECT_EQ(Runs(Draw({}, 1000, true), TraceHighY), "0..320");
}

// Increasing times with repeats (two changes in one unit), some at or past `until`.
std::vector<TSimTime> RandomChanges(std::mt19937& rng, TSimTime until, double density) {
    std::vector<TSimTime> out;
    std::bernoulli_distribution change(density), twice(0.05);
    for (TSimTime t = 0; t <= until + 3; ++t) {
        if (!change(rng)) continue;
        out.push_back(t);
        if (twice(rng)) out.push_back(t);
    }
    return out;
}

TEST(Trace, TheFastDrawingEqualsTheDrawingFromTimeZero) {
    std::mt19937 rng(20261210);
    const TSimTime times[] = {0, 1, 2, 7, 319, 320, 321, 322, 641, 642, 1000, 4099, 30011};
    for (const double density : {0.002, 0.05, 0.5, 1.0})
        for (const TSimTime t : times) {
            const std::vector<TSimTime> changes = RandomChanges(rng, t, density);
            EXPECT_EQ(Draw(changes, t), DrawTraceFromZero(changes, t, TraceSize))
                << "time " << t << " density " << density;
        }
}

// Zoomed out, the drawing from the first visible column equals the one that counts every unit
// from 0, at every zoom level, for right edges before, at and far past the picture's width.
TEST(Trace, EveryZoomEqualsTheDrawingFromTimeZero) {
    std::mt19937 rng(24);
    for (const TSimTime k : {1, 2, 5, 10, 50, 1000})
        for (const double density : {0.01, 0.3, 1.0})
            for (const TSimTime end :
                 {TSimTime{0}, TSimTime{3}, W * k - 1, W * k, W * k + 7, 3 * W * k + k / 2}) {
                const std::vector<TSimTime> changes = RandomChanges(rng, end, density);
                QImage image(TraceSize, QImage::Format_RGB32);
                DrawTraceView(image, changes, false, end, k);
                ASSERT_EQ(image, DrawTraceViewFromZero(changes, end, k, TraceSize))
                    << k << " units a pixel, density " << density << ", right edge " << end;
            }
}

// A pulse narrower than a column stays visible as a bar; at one unit a pixel two changes in one
// unit still cancel.
TEST(Trace, APulseInsideOneColumnIsABar) {
    QImage image(TraceSize, QImage::Format_RGB32);
    DrawTraceView(image, std::vector<TSimTime>{1003, 1004}, false, 10000, 100);
    // Units 1003 and 1004 lie in the column of units 1001 .. 1100: x = 320 - (10000 - 1100) / 100.
    for (int y = TraceHighY; y <= TraceLowY; ++y)
        EXPECT_TRUE(Black(image, 231, y)) << y;
    EXPECT_EQ(Runs(image, TraceHighY), "231");
    DrawTraceView(image, std::vector<TSimTime>{5, 5}, false, 10, 1);
    EXPECT_EQ(Runs(image, TraceHighY), "");
}

TEST(Trace, LevelAtCountsTheChangesUpToTheUnit) {
    const std::vector<TSimTime> t = {3, 3, 7, 9};
    struct Case {
        TSimTime at;
        bool before, level;
    };
    for (const Case c : {Case{0, false, false}, Case{3, false, false}, Case{7, false, true},
                         Case{8, true, false}, Case{9, false, false}, Case{100, true, true}})
        EXPECT_EQ(LevelAt(t, c.before, c.at), c.level) << c.at;
}

TEST(ProbeRecord, ATrimmedRecordDrawsTheSamePixelsAsTheWholeOne) {
    std::mt19937 rng(7);
    for (const double density : {0.1, 0.9, 1.0}) {
        const std::vector<TSimTime> changes = RandomChanges(rng, 60000, density);
        TElement kept, all;
        size_t longest = 0;
        for (size_t i = 0; i < changes.size(); ++i) {
            RecordTransition(kept, changes[i], ProbeRecording::Visible);
            RecordTransition(all, changes[i], ProbeRecording::All);
            longest = std::max(longest, kept.Transitions.size());
            // Drawn at the time of the change and a little later, as the run loop would.
            if (i % 997 != 0 && i + 1 != changes.size()) continue;
            for (const TSimTime now : {changes[i], changes[i] + 1, changes[i] + W, changes[i] + W + 1}) {
                const QImage expected = DrawTraceFromZero(all.Transitions, now, TraceSize);
                ASSERT_EQ(Draw(kept.Transitions, now, kept.LevelBefore), expected)
                    << "density " << density << " change " << i << " drawn at " << now;
            }
        }
        EXPECT_EQ(all.Transitions, changes);
        EXPECT_LE(longest, ProbeTrimEvery);
        EXPECT_LT(kept.Transitions.size(), changes.size());
    }
}

TEST(ProbeRecord, TrimmingKeepsWhatCanStillBeDrawnAndTheLevelBeforeIt) {
    TElement probe;
    const TSimTime last = static_cast<TSimTime>(ProbeTrimEvery) - 1;
    for (TSimTime t = 0; t <= last; ++t)
        RecordTransition(probe, t, ProbeRecording::Visible);
    // The entries 0 .. last - W - 1 went; the level before the rest flipped once for each of them.
    ASSERT_EQ(probe.Transitions.size(), static_cast<size_t>(W + 1));
    EXPECT_EQ(probe.Transitions.front(), last - W);
    EXPECT_EQ(probe.Transitions.back(), last);
    EXPECT_EQ(probe.LevelBefore, (last - W) % 2 != 0);
}

// The clock used to be a signed 32-bit count that wrapped round after 2^31 units.
TEST(ProbeRecord, ARecordAcrossTwoToTheThirtyFirstIsTrimmedByAgeOnly) {
    TElement probe;
    const TSimTime first = (TSimTime{1} << 31) - 2000;
    const auto changes = static_cast<TSimTime>(ProbeTrimEvery);
    for (TSimTime t = first; t < first + changes; ++t)
        RecordTransition(probe, t, ProbeRecording::Visible);
    const TSimTime last = first + changes - 1;
    ASSERT_EQ(probe.Transitions.size(), static_cast<size_t>(W + 1));
    EXPECT_EQ(probe.Transitions.front(), last - W);
    EXPECT_EQ(probe.Transitions.back(), last);
    EXPECT_GT(probe.Transitions.front(), TSimTime{1} << 31);
    EXPECT_EQ(probe.LevelBefore, (changes - W - 1) % 2 != 0);
}

TEST(ProbeRecord, ChangesFromBeforeTheClockWasSetBackAreDropped) {
    TElement probe;
    const TSimTime late = TSimTime{1} << 40;
    for (size_t i = 0; i + 1 < ProbeTrimEvery; ++i)
        RecordTransition(probe, late + static_cast<TSimTime>(i), ProbeRecording::Visible);
    RecordTransition(probe, 3, ProbeRecording::Visible);
    EXPECT_EQ(probe.Transitions, (std::vector<TSimTime>{3}));
}

// The whole record under a bound: the storage never passes it, the oldest changes go first and
// their effect stays in LevelBefore, and RecordFrom tells from which unit the record is whole.
TEST(ProbeRecord, AWholeRecordKeepsToItsBound) {
    for (const size_t limit : {size_t{8}, size_t{1000}, size_t{4097}}) {
        SCOPED_TRACE(limit);
        TElement probe, all;
        std::mt19937 rng(static_cast<unsigned>(limit));
        const std::vector<TSimTime> changes = RandomChanges(rng, 20000, 0.7);
        for (const TSimTime t : changes) {
            RecordTransition(probe, t, ProbeRecording::Whole, limit);
            RecordTransition(all, t, ProbeRecording::All);
            ASSERT_LE(probe.Transitions.capacity(), limit);
        }
        ASSERT_GE(probe.Transitions.size(), limit - limit / 8);
        // What is kept is the newest part of the whole record, with the level before it.
        const auto kept = static_cast<std::ptrdiff_t>(probe.Transitions.size());
        EXPECT_TRUE(
            std::equal(probe.Transitions.begin(), probe.Transitions.end(), all.Transitions.end() - kept));
        const TSimTime lastDropped = *(all.Transitions.end() - kept - 1);
        EXPECT_EQ(probe.RecordFrom, lastDropped);
        EXPECT_EQ(probe.LevelBefore, (all.Transitions.size() - probe.Transitions.size()) % 2 != 0);
        // From RecordFrom on the levels are the whole record's.
        for (TSimTime t = probe.RecordFrom; t <= 20003; t += 37)
            ASSERT_EQ(LevelAt(probe.Transitions, probe.LevelBefore, t), LevelAt(all.Transitions, false, t))
                << t;
    }
    // Under the bound nothing is dropped.
    TElement probe;
    for (TSimTime t = 0; t < 100; ++t)
        RecordTransition(probe, t, ProbeRecording::Whole, 100);
    EXPECT_EQ(probe.Transitions.size(), 100u);
    EXPECT_EQ(probe.RecordFrom, 0);
    EXPECT_FALSE(probe.LevelBefore);
}

} // namespace
