// The one interface a host implements: the headless host for tests and
// replays, the SDL host for the real window. The framework classes
// (CWinApp, CWnd, CDC, ...) are written once on top of it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/surface.h"

struct MenuBar;

// The game's fixed coordinate space: the window surface covers all of it.
constexpr int GAME_WIDTH = 600;
constexpr int GAME_HEIGHT = 450;

enum class EventKind {
    Paint,      // carried out by the window, never queued by a host
    Command,    // id = command id
    MenuSelect, // a menu opened, moved over or closed
    Activate,   // state = 0 deactivated, 1 activated
    MouseMove,  // x, y in client coordinates
    Timer,      // id = timer id
    Close,      // the close box
};

struct Event {
    EventKind kind = EventKind::Paint;
    int id = 0;
    int x = 0;
    int y = 0;
    int state = 0;
};

// What a window asks for at creation.
struct WindowSpec {
    std::string title;
    std::string className;
    int left = 0, top = 0, right = 0, bottom = 0; // outer rectangle on the screen
    std::uint32_t style = 0;
    const Surface *icon = nullptr; // may be null
};

class Host {
public:
    virtual ~Host() = default;

    // Milliseconds since the program started (monotonic).
    virtual std::uint64_t NowMs() = 0;
    // Seconds since the epoch, for seeding the random generator.
    virtual std::int64_t EpochSeconds() = 0;

    // The window's picture in game coordinates, GAME_WIDTH x GAME_HEIGHT.
    virtual Surface &WindowSurface() = 0;
    // Creates the (hidden) window. Returns false when no window can be made.
    virtual bool CreateWindow(const WindowSpec &window) = 0;
    // nCmdShow as the program was started: SW_SHOWNORMAL and friends.
    virtual void ShowWindow(int nCmdShow) = 0;
    virtual void DestroyWindow() = 0;
    // Shows `menu` as the window's menu bar; null removes the bar.
    virtual void SetMenuBar(const MenuBar *menu) = 0;
    // Brings changed parts of the window surface to the screen.
    virtual void Present() = 0;

    // Takes the next input event without waiting.
    virtual std::optional<Event> PollEvent() = 0;
    // Sleeps until input arrives or the clock reaches `deadlineMs` (none: no
    // deadline). Returns false when there will be no more events at all.
    virtual bool WaitForEvent(std::optional<std::uint64_t> deadlineMs) = 0;

    // Starts playing a WAV file from the current directory, cutting off the
    // one that plays. A missing file or no audio device plays nothing.
    virtual void PlaySound(const char *fileName) = 0;
    // A modal box with an OK button; returns when it is dismissed. `owned` is
    // true when the main window owns it.
    virtual int MessageBox(const char *text, const char *caption, unsigned style, bool owned) = 0;

    // Called just before the process ends with `code`.
    virtual void BeforeExit(int code) { (void)code; }
};

// The host the program runs on. Set once by the entry point.
Host &CurrentHost();
void SetHost(Host *host);
bool HasHost();
