// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <limits>

// Times of scheduled changes (a chip output's Timer, a generator's next toggle). Delays and
// periods are plain integers nobody checks, so their sum with the clock may leave the 32-bit
// range: a time past the last one is stored as NeverDue, which never falls due, so a change
// scheduled beyond the end of time never happens instead of wrapping round to an early time.
constexpr int32_t NeverDue = std::numeric_limits<int32_t>::max();

// time + delay, NeverDue when the sum reaches NeverDue, the lowest time when it falls below it.
inline int32_t DueTime(int32_t time, int32_t delay) {
    const int64_t due = int64_t{time} + delay;
    if (due >= NeverDue) return NeverDue;
    if (due < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(due);
}

// A chip output's change falls due when its time has come; one whose time has already passed (a
// delay 0 scheduled in the second pass of a unit, a negative delay) takes effect now instead of
// never. Timer 0 means no change, except while the clock reads 0: then every first output takes
// its Pending level.
inline bool ChangeFallsDue(int32_t timer, int32_t time) {
    return timer != NeverDue && (timer == time || (timer != 0 && timer < time));
}

// A generator toggles when the time of its next toggle has come or passed.
inline bool ToggleFallsDue(int32_t timer, int32_t time) {
    return timer != NeverDue && timer <= time;
}

// The clock's step: a + b with two's complement wrap-around, as a signed 32-bit clock counts.
inline int32_t WrapAdd(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
