// SPDX-License-Identifier: MIT
#include "tools/testcheck.h"

#include <algorithm>

namespace {

QString Bit(bool level) {
    return level ? QStringLiteral("1") : QStringLiteral("0");
}

QString Range(TestTime first, TestTime last) {
    return QStringLiteral("%1..%2").arg(first).arg(last);
}

// The first change after `t`.
std::vector<LevelChange>::const_iterator After(const std::vector<LevelChange>& changes, TestTime t) {
    return std::upper_bound(changes.begin(), changes.end(), t,
                            [](TestTime time, const LevelChange& c) { return time < c.time; });
}

// The first change at `t` or later.
std::vector<LevelChange>::const_iterator From(const std::vector<LevelChange>& changes, TestTime t) {
    return std::lower_bound(changes.begin(), changes.end(), t,
                            [](const LevelChange& c, TestTime time) { return c.time < time; });
}

} // namespace

bool LevelAfter(const std::vector<LevelChange>& changes, TestTime t) {
    const auto next = After(changes, t);
    return next != changes.begin() && std::prev(next)->level;
}

std::vector<TestFailure> CheckCase(const TestCase& c, const CaseTraces& traces, const Schematic& s) {
    std::vector<TestFailure> failures;
    const TestTime last = std::max<TestTime>(traces.length - 1, 0);
    for (const TestStatement& st : c.statements) {
        auto fail = [&](const QString& expected, const QString& seen, const QString& at) {
            failures.push_back({st.line, st.text, expected, seen, at});
        };
        const std::vector<LevelChange>& changes = traces.changes[static_cast<size_t>(st.element)];
        switch (st.kind) {
        case StatementKind::Set:
            break;
        case StatementKind::Level:
            if (const bool seen = LevelAfter(changes, st.from); seen != st.level)
                fail(Bit(st.level), Bit(seen), QString::number(st.from));
            break;
        case StatementKind::Stable: {
            if (const bool seen = LevelAfter(changes, st.from); seen != st.level) {
                fail(Bit(st.level), Bit(seen), QString::number(st.from));
                break;
            }
            const auto change = After(changes, st.from);
            if (change != changes.end() && change->time <= st.until)
                fail(Bit(st.level), Bit(change->level), QString::number(change->time));
            break;
        }
        case StatementKind::Edge: {
            bool found = false;
            for (auto it = From(changes, st.from); it != changes.end() && it->time <= st.until && !found;
                 ++it)
                found = it->level == st.level;
            if (!found)
                fail(st.level ? QStringLiteral("rise") : QStringLiteral("fall"),
                     st.level ? QStringLiteral("no rise") : QStringLiteral("no fall"),
                     Range(st.from, st.until));
            break;
        }
        case StatementKind::Delay: {
            const QString bound =
                (st.atMost ? QStringLiteral("<= ") : QStringLiteral(">= ")) + QString::number(st.bound);
            const std::vector<LevelChange>& to = traces.changes[static_cast<size_t>(st.to)];
            // A delay from something that never changes would check nothing.
            if (changes.empty()) {
                fail(bound, QStringLiteral("no change of %1").arg(s.element(st.element).Name),
                     Range(0, last));
                break;
            }
            for (const LevelChange& from : changes) {
                const auto next = From(to, from.time);
                if (next == to.end()) {
                    // The run ended before TO followed: too late for "<=", never too early for ">=".
                    if (st.atMost) {
                        fail(bound, QStringLiteral("no change of %1").arg(s.element(st.to).Name),
                             Range(from.time, last));
                        break;
                    }
                    continue;
                }
                const TestTime delay = next->time - from.time;
                if (st.atMost ? delay > st.bound : delay < st.bound) {
                    fail(bound, QString::number(delay), QString::number(from.time));
                    break;
                }
            }
            break;
        }
        }
    }
    return failures;
}
