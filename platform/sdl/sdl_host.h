// The SDL2 host: the real window with the menu bar the host draws, mouse and
// focus events in the window's terms, timers on real time, sounds through
// SDL audio and modal message boxes as overlays. Presenting sends only the
// changed rectangles through SDL's window surface, scaled by a whole factor.
#pragma once

#include <SDL2/SDL.h>

#include <chrono>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/host.h"
#include "platform/sdl/sdl_audio.h"
#include "platform/sdl/sdl_layout.h"
#include "platform/sdl/sdl_present.h"

class FontFace;
class MenuTracker;
class MessageBoxView;
enum class MenuKey;

class SdlHost : public Host {
public:
    SdlHost();
    ~SdlHost() override;

    // Starts SDL's video. False, with the reason on standard error, when
    // there is no graphical display to open a window on.
    bool Start();
    // Closes the window, the audio device and SDL.
    void Shutdown();

    std::uint64_t NowMs() override;
    std::int64_t EpochSeconds() override;
    Surface &WindowSurface() override { return m_surface; }
    bool CreateWindow(const WindowSpec &window) override;
    void ShowWindow(int nCmdShow) override;
    void DestroyWindow() override;
    void SetMenuBar(const MenuBar *menu) override;
    void Present() override;
    std::optional<Event> PollEvent() override;
    bool WaitForEvent(std::optional<std::uint64_t> deadlineMs) override;
    void PlaySound(const char *fileName) override;
    int MessageBox(const char *text, const char *caption, unsigned style, bool owned) override;
    void BeforeExit(int code) override;

    // Where the logical picture lies in the window now.
    const Placement &GetPlacement() const { return m_placement; }
    bool IsFullscreen() const { return m_bFullscreen; }

private:
    bool NextSdlEvent(SDL_Event *ev, int timeoutMs);
    int TimeoutUntil(std::optional<std::uint64_t> deadlineMs);
    void Translate(const SDL_Event &ev);
    void TranslateForBox(const SDL_Event &ev);
    bool IsLeavingMotion(const SDL_Event &ev) const;
    void OnKeyDown(const SDL_KeyboardEvent &key);
    void OnKeyUp(const SDL_KeyboardEvent &key);
    void OnWindowEvent(const SDL_WindowEvent &ev);
    void Queue(const Event &ev);
    bool MenuKeyFor(SDL_Keycode sym, MenuKey *out) const;
    void ToggleFullscreen();
    void RefreshPlacement();
    void DamageLogical(const CRect &rc) { m_damage.push_back(rc); }
    void LoadFonts();
    void EnsureFonts();
    int FatalBox(const char *text, const char *caption);

    SDL_Window *m_pWindow = nullptr;
    int m_nDisplayFd = -1; // the X display connection, to wait on
    bool m_bStarted = false;
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
    bool m_bShown = false;
    bool m_bFullscreen = false;
    int m_nWindowScale = 1;
    Placement m_placement;
    int m_nTargetW = 0, m_nTargetH = 0; // window surface size the placement is for
    Surface m_surface;
    SDL_Surface *m_pShadow = nullptr; // used when the window's pixels are not 32-bit
    std::vector<CRect> m_damage;      // logical rectangles to compose
    bool m_bFullRedraw = true;
    bool m_bTraceFirstFrame = false;
    bool m_bSoundPrepared = false;

    std::deque<Event> m_queue;
    bool m_bAltPending = false;

    std::shared_ptr<const FontFace> m_font, m_bold;
    std::unique_ptr<MenuTracker> m_menu;
    MessageBoxView *m_pBox = nullptr;
    SoundPlayer m_sound;
};
