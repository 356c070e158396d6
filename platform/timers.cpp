// The timer scheduler shared by both hosts.
#include "platform/timers.h"

void TimerQueue::Set(int id, std::uint32_t periodMs, std::uint64_t nowMs) {
    if (periodMs == 0) periodMs = 1;
    m_timers[id] = Timer{periodMs, nowMs + periodMs};
}

void TimerQueue::Kill(int id) { m_timers.erase(id); }

std::optional<std::uint32_t> TimerQueue::Period(int id) const {
    auto it = m_timers.find(id);
    if (it == m_timers.end()) return std::nullopt;
    return it->second.periodMs;
}

std::optional<std::uint64_t> TimerQueue::NextDue() const {
    std::optional<std::uint64_t> best;
    for (const auto &[id, t] : m_timers)
        if (!best || t.dueMs < *best) best = t.dueMs;
    return best;
}

std::optional<TimerQueue::Tick> TimerQueue::PopDue(std::uint64_t nowMs) {
    auto best = m_timers.end();
    // std::map iterates ids in ascending order, so the first of equal due
    // times is the lowest id.
    for (auto it = m_timers.begin(); it != m_timers.end(); ++it)
        if (it->second.dueMs <= nowMs && (best == m_timers.end() || it->second.dueMs < best->second.dueMs))
            best = it;
    if (best == m_timers.end()) return std::nullopt;
    Timer &t = best->second;
    Tick tick{best->first, t.dueMs};
    t.dueMs += t.periodMs;
    if (t.dueMs <= nowMs) t.dueMs += ((nowMs - t.dueMs) / t.periodMs + 1) * t.periodMs;
    return tick;
}
