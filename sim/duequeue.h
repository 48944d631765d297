// SPDX-License-Identifier: MIT
#pragma once

#include "model/types.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// A min-heap of element indices by due time with at most one entry per element, so its size is
// bounded by the element table however often an element is rescheduled.
class DueQueue {
public:
    // Empties the queue and makes room for element indices 0..count.
    void reset(int count) {
        heap_.clear();
        slot_.assign(static_cast<size_t>(count) + 1, Absent);
    }
    bool empty() const { return heap_.empty(); }
    TSimTime topTime() const { return heap_.front().time; }
    int topElement() const { return heap_.front().element; }

    // Puts the element in the queue at `time`, or moves it there.
    void set(int element, TSimTime time) {
        uint32_t& at = slot_[static_cast<size_t>(element)];
        if (at == Absent) {
            at = static_cast<uint32_t>(heap_.size());
            heap_.push_back({time, element});
            up(at);
            return;
        }
        const TSimTime old = heap_[at].time;
        heap_[at].time = time;
        if (time < old)
            up(at);
        else if (time > old)
            down(at);
    }
    void remove(int element) {
        const uint32_t at = slot_[static_cast<size_t>(element)];
        if (at == Absent) return;
        slot_[static_cast<size_t>(element)] = Absent;
        const Entry last = heap_.back();
        heap_.pop_back();
        if (at == heap_.size()) return;
        heap_[at] = last;
        slot_[static_cast<size_t>(last.element)] = at;
        up(at);
        down(slot_[static_cast<size_t>(last.element)]);
    }
    void pop() { remove(heap_.front().element); }

private:
    static constexpr uint32_t Absent = ~uint32_t{0};
    struct Entry {
        TSimTime time;
        int element;
    };
    void place(uint32_t at, Entry e) {
        heap_[at] = e;
        slot_[static_cast<size_t>(e.element)] = at;
    }
    void up(uint32_t at) {
        const Entry e = heap_[at];
        while (at > 0) {
            const uint32_t parent = (at - 1) / 2;
            if (heap_[parent].time <= e.time) break;
            place(at, heap_[parent]);
            at = parent;
        }
        place(at, e);
    }
    void down(uint32_t at) {
        const Entry e = heap_[at];
        const auto n = static_cast<uint32_t>(heap_.size());
        for (;;) {
            uint32_t child = 2 * at + 1;
            if (child >= n) break;
            if (child + 1 < n && heap_[child + 1].time < heap_[child].time) ++child;
            if (heap_[child].time >= e.time) break;
            place(at, heap_[child]);
            at = child;
        }
        place(at, e);
    }

    std::vector<Entry> heap_;
    std::vector<uint32_t> slot_; // each element's place in heap_, Absent when not queued
};
