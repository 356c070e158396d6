// The deterministic host for tests and replays: a virtual clock, the window
// surface in memory, sounds and message boxes recorded (boxes answered OK at
// once), and events injected by the caller.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/host.h"

struct MenuBar;

class HeadlessHost : public Host {
public:
    explicit HeadlessHost(std::int64_t epochSeconds = 0);

    std::uint64_t NowMs() override { return m_nowMs; }
    std::int64_t EpochSeconds() override {
        return m_epochSeconds + static_cast<std::int64_t>(m_nowMs / 1000);
    }
    Surface &WindowSurface() override { return m_surface; }
    bool CreateWindow(const WindowSpec &window) override;
    void ShowWindow(int nCmdShow) override { m_nShowState = nCmdShow; m_bShown = true; }
    void DestroyWindow() override { m_bWindow = false; m_bShown = false; }
    void SetMenuBar(const MenuBar *menu) override { m_pMenu = menu; }
    void Present() override {}

    std::optional<Event> PollEvent() override;
    // Moves the virtual clock to the deadline (nothing else can happen in
    // between); false when there is neither an event nor a deadline.
    bool WaitForEvent(std::optional<std::uint64_t> deadlineMs) override;

    void PlaySound(const char *fileName) override { m_sounds.emplace_back(fileName); }
    int MessageBox(const char *text, const char *caption, unsigned style, bool owned) override;
    void BeforeExit(int code) override;

    // Test and replay controls.
    void SetNowMs(std::uint64_t ms) { m_nowMs = ms; }
    void SetEpochSeconds(std::int64_t s) { m_epochSeconds = s; }
    void Inject(const Event &ev) { m_queue.push_back(ev); }
    bool HasQueuedEvents() const { return !m_queue.empty(); }

    struct Box {
        std::string caption;
        std::string text;
        unsigned style;
        bool owned;
    };
    std::vector<std::string> &Sounds() { return m_sounds; }
    std::vector<Box> &Boxes() { return m_boxes; }
    const WindowSpec &Window() const { return m_window; }
    bool HasWindow() const { return m_bWindow; }
    bool IsShown() const { return m_bShown; }
    int ShowState() const { return m_nShowState; }
    const MenuBar *Menu() const { return m_pMenu; }

    // Called with the exit code just before the process ends (the replay
    // tool writes its last line here).
    void OnExit(std::function<void(int)> fn) { m_onExit = std::move(fn); }

private:
    std::int64_t m_epochSeconds;
    std::uint64_t m_nowMs = 0;
    Surface m_surface;
    std::deque<Event> m_queue;
    std::vector<std::string> m_sounds;
    std::vector<Box> m_boxes;
    WindowSpec m_window;
    bool m_bWindow = false;
    bool m_bShown = false;
    int m_nShowState = 0;
    const MenuBar *m_pMenu = nullptr;
    std::function<void(int)> m_onExit;
};

// Moves the virtual clock ms milliseconds on, delivering every timer tick of
// the main window due on the way at its own due time (ties by ascending id,
// each after a pending paint); stops where the program ends.
void RunVirtualTime(HeadlessHost &host, std::uint64_t ms);
