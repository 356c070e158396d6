// Window timers on the host's clock. Both hosts use this one scheduler, so a
// tick comes at the same time in a replay as in the real window.
#pragma once

#include <cstdint>
#include <map>
#include <optional>

class TimerQueue {
public:
    // Sets timer `id` to fire every `periodMs` from `nowMs` on. Setting a
    // running id replaces it and restarts its period.
    void Set(int id, std::uint32_t periodMs, std::uint64_t nowMs);
    void Kill(int id);
    void KillAll() { m_timers.clear(); }

    bool IsSet(int id) const { return m_timers.count(id) != 0; }
    std::optional<std::uint32_t> Period(int id) const;
    const auto &All() const { return m_timers; }

    // The earliest due time of any timer.
    std::optional<std::uint64_t> NextDue() const;

    struct Tick {
        int id;
        std::uint64_t dueMs;
    };
    // Takes the earliest tick due at or before `nowMs` (ties by ascending id)
    // and schedules that timer's next tick. A timer that has fallen behind by
    // more than a period fires once and continues on its own beat, rather
    // than in a burst.
    std::optional<Tick> PopDue(std::uint64_t nowMs);

private:
    struct Timer {
        std::uint32_t periodMs;
        std::uint64_t dueMs;
    };
    std::map<int, Timer> m_timers;
};
