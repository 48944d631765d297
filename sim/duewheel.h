// SPDX-License-Identifier: MIT
#pragma once

#include "model/types.h"
#include "sim/duequeue.h"
#include "sim/duetime.h"

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

// The elements whose next visit falls due at a known time, each at most once. Times less than
// Span units after the wheel's time sit in a ring of lists, one per time, so setting an element
// and taking what falls due cost constant time; later times wait in a heap until they come
// within reach. An element set again leaves its old list entry behind, skipped when its time
// comes; the lists are emptied as the time passes them.
class DueWheel {
public:
    static constexpr TSimTime Span = 1024;

    // Empties the wheel, makes room for elements 0..count and sets its time.
    void Reset(int count, TSimTime now) {
        for (size_t w = 0; w < used_.size(); ++w)
            for (uint64_t bits = used_[w]; bits != 0; bits &= bits - 1)
                ring_[w * 64 + static_cast<size_t>(std::countr_zero(bits))].clear();
        used_.fill(0);
        due_.assign(static_cast<size_t>(count) + 1, NeverDue);
        far_.reset(count);
        now_ = now;
    }
    TSimTime now() const { return now_; }

    // Puts `element` at `time`, which must lie after now(), in place of any entry it had.
    void Set(int element, TSimTime time) {
        const auto i = static_cast<size_t>(element);
        if (due_[i] == time) return;
        due_[i] = time;
        if (time - now_ < Span) {
            far_.remove(element);
            const auto slot = static_cast<size_t>(time & (Span - 1));
            ring_[slot].push_back(element);
            used_[slot >> 6] |= uint64_t{1} << (slot & 63);
        } else {
            far_.set(element, time);
        }
    }
    void Remove(int element) {
        const auto i = static_cast<size_t>(element);
        if (due_[i] == NeverDue) return;
        due_[i] = NeverDue;
        far_.remove(element);
    }

    // Moves the wheel's time on to `time` and hands every element due by then to `take`.
    template <class Take> void Advance(TSimTime time, Take&& take) {
        if (time <= now_) return;
        const TSimTime last = time - now_ < Span ? time : now_ + Span - 1;
        for (TSimTime t = now_ + 1; t <= last; ++t)
            Drain(t, take);
        now_ = time;
        while (!far_.empty() && far_.topTime() - now_ < Span) {
            const int element = far_.topElement();
            const TSimTime at = far_.topTime();
            far_.pop();
            if (at <= now_) {
                due_[static_cast<size_t>(element)] = NeverDue;
                take(element);
            } else {
                const auto slot = static_cast<size_t>(at & (Span - 1));
                ring_[slot].push_back(element);
                used_[slot >> 6] |= uint64_t{1} << (slot & 63);
            }
        }
    }

    // No entry falls due before this time (NeverDue when there is none). Left-behind entries
    // count, so the answer may be early, never late.
    TSimTime Earliest() const {
        TSimTime earliest = far_.empty() ? NeverDue : far_.topTime();
        const auto start = static_cast<size_t>((now_ + 1) & (Span - 1));
        for (size_t k = 0; k < Words + 1; ++k) {
            // Word by word from the slot of now() + 1 round the ring; the first and the last look
            // at the two parts of the starting word.
            const size_t w = ((start >> 6) + k) % Words;
            uint64_t bits = used_[w];
            if (k == 0) bits &= ~uint64_t{0} << (start & 63);
            if (k == Words) bits &= (start & 63) == 0 ? 0 : ~(~uint64_t{0} << (start & 63));
            if (bits == 0) continue;
            const size_t slot = w * 64 + static_cast<size_t>(std::countr_zero(bits));
            const TSimTime ahead = static_cast<TSimTime>((slot - start) & static_cast<size_t>(Span - 1));
            return std::min(earliest, now_ + 1 + ahead);
        }
        return earliest;
    }

private:
    static constexpr size_t Words = static_cast<size_t>(Span) / 64;

    template <class Take> void Drain(TSimTime t, Take& take) {
        const auto slot = static_cast<size_t>(t & (Span - 1));
        const uint64_t bit = uint64_t{1} << (slot & 63);
        if ((used_[slot >> 6] & bit) == 0) return;
        used_[slot >> 6] &= ~bit;
        std::vector<int>& list = ring_[slot];
        for (int element : list) {
            TSimTime& due = due_[static_cast<size_t>(element)];
            if (due != t) continue;
            due = NeverDue;
            take(element);
        }
        list.clear();
    }

    TSimTime now_ = 0;
    std::array<std::vector<int>, static_cast<size_t>(Span)> ring_;
    std::array<uint64_t, Words> used_{}; // a bit per non-empty list of ring_
    std::vector<TSimTime> due_;          // per element: its time, NeverDue when not in the wheel
    DueQueue far_;                       // entries Span or more units ahead
};
