// The headless host: everything in memory, on a virtual clock.
#include "platform/headless/headless_host.h"

#include "platform/winapp.h"

HeadlessHost::HeadlessHost(std::int64_t epochSeconds)
    : m_epochSeconds(epochSeconds), m_surface(GAME_WIDTH, GAME_HEIGHT) {}

bool HeadlessHost::CreateWindow(const WindowSpec &window) {
    m_window = window;
    m_bWindow = true;
    return true;
}

std::optional<Event> HeadlessHost::PollEvent() {
    if (m_queue.empty()) return std::nullopt;
    Event ev = m_queue.front();
    m_queue.pop_front();
    return ev;
}

bool HeadlessHost::WaitForEvent(std::optional<std::uint64_t> deadlineMs) {
    if (!m_queue.empty()) return true;
    if (!deadlineMs) return false;
    if (*deadlineMs > m_nowMs) m_nowMs = *deadlineMs;
    return true;
}

int HeadlessHost::MessageBox(const char *text, const char *caption, unsigned style, bool owned) {
    m_boxes.push_back(Box{caption, text, style, owned});
    return 1; // IDOK
}

void HeadlessHost::BeforeExit(int code) {
    if (m_onExit) m_onExit(code);
}

void RunVirtualTime(HeadlessHost &host, std::uint64_t ms) {
    const std::uint64_t end = host.NowMs() + ms;
    while (!QuitRequested()) {
        auto due = NextTimerDue();
        if (!due || *due > end) break;
        if (*due > host.NowMs()) host.SetNowMs(*due);
        DispatchDueTimer(host.NowMs());
    }
    if (!QuitRequested()) host.SetNowMs(end);
}
