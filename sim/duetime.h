// SPDX-License-Identifier: MIT
#pragma once

#include "model/types.h"

#include <cstdint>
#include <limits>

// Times of scheduled changes (a chip output's Timer, a generator's next toggle): the clock plus a
// delay or a duration. Delays and durations are plain 32-bit integers nobody checks, so a due time
// may lie up to 2^31 units ahead or behind; a sum past the last time there is is stored as
// NeverDue, which never falls due.
constexpr TSimTime NeverDue = std::numeric_limits<TSimTime>::max();

// time + delay, NeverDue when the sum reaches NeverDue, the lowest time when it falls below it.
inline TSimTime DueTime(TSimTime time, int32_t delay) {
    constexpr TSimTime Lowest = std::numeric_limits<TSimTime>::min();
    if (delay >= 0) return time >= NeverDue - delay ? NeverDue : time + delay;
    return time < Lowest - delay ? Lowest : time + delay;
}

// A chip output's change falls due when its time has come; one whose time has already passed (a
// delay 0 scheduled in the second pass of a unit, a negative delay) takes effect now instead of
// never. Timer 0 means no change, except while the clock reads 0: then every first output takes
// its Pending level.
inline bool ChangeFallsDue(TSimTime timer, TSimTime time) {
    return timer != NeverDue && (timer == time || (timer != 0 && timer < time));
}

// A generator toggles when the time of its next toggle has come or passed.
inline bool ToggleFallsDue(TSimTime timer, TSimTime time) {
    return timer != NeverDue && timer <= time;
}
