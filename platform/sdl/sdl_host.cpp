// The SDL2 host: window, menu bar, input translation, presenting, sound and
// message boxes.
#include "platform/sdl/sdl_host.h"

#include <poll.h>
#include <sys/time.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <thread>

#include "platform/font.h"
#include "platform/latin1.h"
#include "platform/menu.h"
#include "platform/runtime.h"
#include "platform/sdl/sdl_menu.h"
#include "platform/sdl/sdl_msgbox.h"
#include "platform/sdl/sdl_x11.h"
#include "platform/winapp.h"

namespace {

bool IsHeadlessDriver(const char *name) {
    return name && (std::strcmp(name, "offscreen") == 0 || std::strcmp(name, "dummy") == 0 ||
                    std::strcmp(name, "evdev") == 0);
}

} // namespace

SdlHost::SdlHost() : m_surface(GAME_WIDTH, GAME_HEIGHT) {
    m_surface.TrackDamage(true);
}

SdlHost::~SdlHost() {
    Shutdown();
}

bool SdlHost::Start() {
    // Desktop manners: the class name the window manager sees, the name the
    // mixer shows, no capture while a button is held, the compositor left on,
    // the screensaver left alone, and no GPU context for a software picture.
    setenv("SDL_VIDEO_X11_WMCLASS", "quarzel", 0);
    // The game takes no text input, so Xlib's compose table (thousands of
    // lines parsed while SDL opens the input method) is not needed.
    setenv("XCOMPOSEFILE", "/dev/null", 0);
    // Without a session bus (no desktop session), D-Bus would try to launch
    // one for SDL's input-method support, leaving a stray bus daemon behind;
    // the game needs neither.
    setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 0);
    SDL_SetHint(SDL_HINT_APP_NAME, "Quarzel");
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Quarzel");
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_STREAM_NAME, "Quarzel");
    SDL_SetHint(SDL_HINT_MOUSE_AUTO_CAPTURE, "0");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");

    const char *asked = std::getenv("SDL_VIDEODRIVER");
    // fontconfig's start (reading its configuration and caches) and the
    // menu's faces are prepared beside SDL's own start, to bring the first
    // picture sooner. SDL switches the process to the environment's locale
    // while it opens the input method, and back; with that locale already
    // set, the switch changes nothing the font thread could see. The "C"
    // locale the program runs in is restored once both are done.
    std::setlocale(LC_ALL, "");
    std::thread fonts([this] { LoadFonts(); });
    int rc = SDL_Init(SDL_INIT_VIDEO);
    fonts.join();
    std::setlocale(LC_ALL, "C");
    if (rc != 0) {
        std::fprintf(stderr,
                     "quarzel: cannot open a window (%s).\n"
                     "quarzel needs a graphical display: run it on an X11 or Wayland desktop.\n",
                     SDL_GetError());
        return false;
    }
    // Without a reachable display SDL quietly falls back to an invisible
    // window; unless that was asked for, say so and stop.
    if ((!asked || !*asked) && IsHeadlessDriver(SDL_GetCurrentVideoDriver())) {
        std::fprintf(stderr,
                     "quarzel: no graphical display found (is DISPLAY or WAYLAND_DISPLAY set?).\n"
                     "quarzel needs a graphical display: run it on an X11 or Wayland desktop.\n");
        SDL_Quit();
        return false;
    }
    m_bStarted = true;
    SDL_StopTextInput();
    m_bTraceFirstFrame = std::getenv("QUARZEL_TRACE_FIRST_FRAME") != nullptr;
    EnsureFonts();
    return true;
}

void SdlHost::LoadFonts() {
    m_font = FontFace::Create("Liberation Sans", 16, 0, 400, false);
    m_bold = FontFace::Create("Liberation Sans", 16, 0, 700, false);
}

void SdlHost::EnsureFonts() {
    if (m_menu)
        return;
    if (!m_font)
        LoadFonts();
    m_menu = std::make_unique<MenuTracker>(m_font, [this](const Event &ev) { Queue(ev); });
}

void SdlHost::Shutdown() {
    m_sound.Close();
    if (m_pShadow)
        SDL_FreeSurface(m_pShadow);
    m_pShadow = nullptr;
    if (m_pWindow)
        SDL_DestroyWindow(m_pWindow);
    m_pWindow = nullptr;
    if (m_bStarted)
        SDL_Quit();
    m_bStarted = false;
}

void SdlHost::BeforeExit(int) {
    Shutdown();
}

std::uint64_t SdlHost::NowMs() {
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now() - m_start)
                                          .count());
}

std::int64_t SdlHost::EpochSeconds() {
    return static_cast<std::int64_t>(std::time(nullptr));
}

bool SdlHost::CreateWindow(const WindowSpec &window) {
    if (!m_bStarted || m_pWindow)
        return m_pWindow != nullptr;
    EnsureFonts();
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) == 0)
        m_nWindowScale = WindowScale(usable.w, usable.h);
    std::string title = Latin1ToUtf8(window.title);
    m_pWindow = SDL_CreateWindow(title.c_str(), window.left, window.top, LOGICAL_WIDTH * m_nWindowScale,
                                 LOGICAL_HEIGHT * m_nWindowScale, SDL_WINDOW_HIDDEN);
    if (!m_pWindow) {
        std::fprintf(stderr, "quarzel: cannot create the window: %s\n", SDL_GetError());
        return false;
    }
    m_nDisplayFd = X11ConnectionFd(m_pWindow);
    if (window.icon && window.icon->Width() > 0 && window.icon->Height() > 0) {
        const Surface &icon = *window.icon;
        SDL_Surface *s = SDL_CreateRGBSurfaceWithFormat(0, icon.Width(), icon.Height(), 32,
                                                        SDL_PIXELFORMAT_ABGR8888);
        if (s) {
            for (int y = 0; y < icon.Height(); ++y) {
                auto *row =
                    reinterpret_cast<Uint32 *>(static_cast<Uint8 *>(s->pixels) + y * s->pitch);
                for (int x = 0; x < icon.Width(); ++x)
                    row[x] = icon.Row(y)[x] | 0xFF000000u;
            }
            SDL_SetWindowIcon(m_pWindow, s);
            SDL_FreeSurface(s);
        }
    }
    return true;
}

void SdlHost::ShowWindow(int nCmdShow) {
    if (!m_pWindow)
        return;
    if (nCmdShow == SW_HIDE) {
        SDL_HideWindow(m_pWindow);
        m_bShown = false;
        return;
    }
    SDL_ShowWindow(m_pWindow);
    m_bShown = true;
    if (nCmdShow == SW_SHOWMINIMIZED)
        SDL_MinimizeWindow(m_pWindow);
    if (nCmdShow == SW_SHOWMAXIMIZED && !m_bFullscreen)
        ToggleFullscreen();
    RefreshPlacement();
    m_bFullRedraw = true;
}

void SdlHost::DestroyWindow() {
    if (m_menu)
        m_menu->SetMenu(nullptr);
    if (m_pShadow)
        SDL_FreeSurface(m_pShadow);
    m_pShadow = nullptr;
    if (m_pWindow)
        SDL_DestroyWindow(m_pWindow);
    m_pWindow = nullptr;
    m_nDisplayFd = -1;
    m_bShown = false;
}

void SdlHost::SetMenuBar(const MenuBar *menu) {
    EnsureFonts();
    m_menu->SetMenu(menu);
}

void SdlHost::RefreshPlacement() {
    if (!m_pWindow)
        return;
    SDL_Surface *ws = SDL_GetWindowSurface(m_pWindow);
    if (!ws)
        return;
    int scale = m_bFullscreen ? FullscreenScale(ws->w, ws->h) : m_nWindowScale;
    m_placement = Placement::Centred(scale, ws->w, ws->h);
    m_nTargetW = ws->w;
    m_nTargetH = ws->h;
    bool direct =
        ws->format->BytesPerPixel == 4 && (ws->format->format == SDL_PIXELFORMAT_RGB888 ||
                                           ws->format->format == SDL_PIXELFORMAT_ARGB8888 ||
                                           ws->format->format == SDL_PIXELFORMAT_BGR888 ||
                                           ws->format->format == SDL_PIXELFORMAT_ABGR8888);
    if (m_pShadow && (direct || m_pShadow->w != ws->w || m_pShadow->h != ws->h)) {
        SDL_FreeSurface(m_pShadow);
        m_pShadow = nullptr;
    }
    if (!direct && !m_pShadow)
        m_pShadow = SDL_CreateRGBSurfaceWithFormat(0, ws->w, ws->h, 32, SDL_PIXELFORMAT_RGB888);
    m_bFullRedraw = true;
}

void SdlHost::Present() {
    if (!m_pWindow || !m_bShown) {
        m_surface.TakeDamage();
        return;
    }
    SDL_Surface *ws = SDL_GetWindowSurface(m_pWindow);
    if (!ws)
        return;
    SDL_Surface *target = m_pShadow ? m_pShadow : ws;
    if (ws->w != m_nTargetW || ws->h != m_nTargetH) {
        RefreshPlacement();
        ws = SDL_GetWindowSurface(m_pWindow);
        if (!ws)
            return;
        target = m_pShadow ? m_pShadow : ws;
    }

    std::vector<CRect> damage;
    damage.swap(m_damage);
    for (const CRect &r : m_surface.TakeDamage())
        damage.push_back(Compositor::GameToLogical(r));
    for (const CRect &r : m_menu->TakeDamage())
        damage.push_back(r);
    if (m_bFullRedraw)
        damage.assign(1, CRect(0, 0, LOGICAL_WIDTH, LOGICAL_HEIGHT));
    if (damage.empty())
        return;

    std::vector<const Overlay *> overlays = m_menu->Overlays();
    if (m_pBox)
        overlays.push_back(&m_pBox->GetOverlay());

    PixelTarget pt;
    pt.pixels = static_cast<std::uint32_t *>(target->pixels);
    pt.pitch = target->pitch;
    pt.width = target->w;
    pt.height = target->h;
    Uint32 fmt = target->format->format;
    pt.order = (fmt == SDL_PIXELFORMAT_BGR888 || fmt == SDL_PIXELFORMAT_ABGR8888)
                   ? PixelTarget::Order::Xbgr
                   : PixelTarget::Order::Xrgb;

    std::vector<SDL_Rect> rects;
    if (m_bFullRedraw)
        Compositor::Clear(pt);
    for (const CRect &r : damage) {
        CRect w = Compositor::Compose(m_surface, overlays, r, m_placement, pt);
        if (!w.IsEmpty())
            rects.push_back(SDL_Rect{w.left, w.top, w.Width(), w.Height()});
    }
    if (m_pShadow) {
        if (m_bFullRedraw)
            rects.assign(1, SDL_Rect{0, 0, ws->w, ws->h});
        for (SDL_Rect &r : rects) {
            SDL_Rect d = r;
            SDL_BlitSurface(m_pShadow, &r, ws, &d);
        }
    }
    if (m_bFullRedraw) {
        SDL_UpdateWindowSurface(m_pWindow);
    } else if (!rects.empty()) {
        SDL_UpdateWindowSurfaceRects(m_pWindow, rects.data(), static_cast<int>(rects.size()));
    }
    m_bFullRedraw = false;

    if (m_bTraceFirstFrame) {
        // For the start-up measurement: the wall-clock time of the first
        // picture on the screen, in microseconds.
        struct timeval tv;
        gettimeofday(&tv, nullptr);
        std::fprintf(stderr, "quarzel: first frame at %lld us\n",
                     static_cast<long long>(tv.tv_sec) * 1000000LL + tv.tv_usec);
        m_bTraceFirstFrame = false;
    }
    if (!m_bSoundPrepared) {
        // With the first picture on the screen, open the audio device now
        // rather than when the ball first bounces, where the wait would show.
        m_bSoundPrepared = true;
        m_sound.Prepare();
    }
}

void SdlHost::Queue(const Event &ev) {
    // Mouse moves that have not been taken yet collapse into the newest.
    if (ev.kind == EventKind::MouseMove && !m_queue.empty() &&
        m_queue.back().kind == EventKind::MouseMove) {
        m_queue.back() = ev;
        return;
    }
    m_queue.push_back(ev);
}

std::optional<Event> SdlHost::PollEvent() {
    SDL_Event ev;
    while (m_queue.empty() && m_bStarted && SDL_PollEvent(&ev))
        Translate(ev);
    if (m_queue.empty())
        return std::nullopt;
    Event out = m_queue.front();
    m_queue.pop_front();
    return out;
}

bool SdlHost::WaitForEvent(std::optional<std::uint64_t> deadlineMs) {
    if (!m_queue.empty())
        return true;
    if (!m_bStarted || !m_pWindow)
        return false;
    SDL_Event ev;
    if (NextSdlEvent(&ev, TimeoutUntil(deadlineMs)))
        Translate(ev);
    return true;
}

int SdlHost::TimeoutUntil(std::optional<std::uint64_t> deadlineMs) {
    if (!deadlineMs)
        return -1;
    std::uint64_t now = NowMs();
    if (*deadlineMs <= now)
        return 0;
    return static_cast<int>(std::min<std::uint64_t>(*deadlineMs - now, INT_MAX));
}

// Takes SDL's next event, waiting up to timeoutMs (-1: without limit). On X11
// the wait is a poll on the display connection: SDL's own wait would, for
// every event it reads while waiting, also send the window a wake-up message
// through a second connection, which costs a round trip per mouse move and
// can reach the server after the window is gone (an X error that ends the
// process when the window closes at once).
bool SdlHost::NextSdlEvent(SDL_Event *ev, int timeoutMs) {
    if (SDL_PollEvent(ev))
        return true;
    if (timeoutMs == 0)
        return false;
    if (m_nDisplayFd >= 0) {
        pollfd p{m_nDisplayFd, POLLIN, 0};
        ::poll(&p, 1, timeoutMs); // a signal ends the wait early; SDL turns it into an event
        return SDL_PollEvent(ev);
    }
    return SDL_WaitEventTimeout(ev, timeoutMs) != 0;
}

bool SdlHost::MenuKeyFor(SDL_Keycode sym, MenuKey *out) const {
    switch (sym) {
    case SDLK_LEFT:
        *out = MenuKey::Left;
        return true;
    case SDLK_RIGHT:
        *out = MenuKey::Right;
        return true;
    case SDLK_UP:
        *out = MenuKey::Up;
        return true;
    case SDLK_DOWN:
        *out = MenuKey::Down;
        return true;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        *out = MenuKey::Enter;
        return true;
    case SDLK_ESCAPE:
        *out = MenuKey::Escape;
        return true;
    default:
        return false;
    }
}

void SdlHost::OnKeyDown(const SDL_KeyboardEvent &key) {
    SDL_Keycode sym = key.keysym.sym;
    if (sym == SDLK_LALT || sym == SDLK_RALT) {
        // Alt alone, pressed and released, opens the menu.
        if (!key.repeat)
            m_bAltPending = true;
        return;
    }
    bool alt = (key.keysym.mod & KMOD_ALT) != 0;
    m_bAltPending = false;
    if (sym == SDLK_F11 || (alt && (sym == SDLK_RETURN || sym == SDLK_KP_ENTER))) {
        if (!key.repeat)
            ToggleFullscreen();
        return;
    }
    if (sym == SDLK_F10) {
        if (!key.repeat)
            m_menu->OnKey(MenuKey::F10);
        return;
    }
    MenuKey mk;
    if (m_menu->IsActive() && MenuKeyFor(sym, &mk))
        m_menu->OnKey(mk);
}

void SdlHost::OnKeyUp(const SDL_KeyboardEvent &key) {
    SDL_Keycode sym = key.keysym.sym;
    if ((sym == SDLK_LALT || sym == SDLK_RALT) && m_bAltPending) {
        m_bAltPending = false;
        m_menu->OnKey(MenuKey::Alt);
    }
}

void SdlHost::ToggleFullscreen() {
    if (!m_pWindow)
        return;
    m_bFullscreen = !m_bFullscreen;
    SDL_SetWindowFullscreen(m_pWindow, m_bFullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    RefreshPlacement();
}

void SdlHost::OnWindowEvent(const SDL_WindowEvent &ev) {
    switch (ev.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        Queue(Event{EventKind::Activate, 0, 0, 0, 1});
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        m_bAltPending = false;
        m_menu->Cancel();
        Queue(Event{EventKind::Activate, 0, 0, 0, 0});
        break;
    case SDL_WINDOWEVENT_EXPOSED:
        m_bFullRedraw = true;
        break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
    case SDL_WINDOWEVENT_RESIZED:
        RefreshPlacement();
        break;
    case SDL_WINDOWEVENT_MAXIMIZED:
        // The maximise box shows the game as large as the screen allows.
        if (!m_bFullscreen) {
            SDL_RestoreWindow(m_pWindow);
            ToggleFullscreen();
        }
        break;
    case SDL_WINDOWEVENT_CLOSE:
        Queue(Event{EventKind::Close});
        break;
    default:
        break;
    }
}

// When the pointer leaves the window, SDL reports a last move at the
// crossing point pulled onto the window's edge, followed by the leave event.
// The pointer was never there: such a move is dropped, so a paddle stays
// where the mouse really left the client area.
bool SdlHost::IsLeavingMotion(const SDL_Event &ev) const {
    int w = 0, h = 0;
    SDL_GetWindowSize(m_pWindow, &w, &h);
    bool onEdge =
        ev.motion.x <= 0 || ev.motion.y <= 0 || ev.motion.x >= w - 1 || ev.motion.y >= h - 1;
    if (!onEdge)
        return false;
    SDL_Event next;
    if (SDL_PeepEvents(&next, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) != 1)
        return false;
    return next.type == SDL_WINDOWEVENT && next.window.event == SDL_WINDOWEVENT_LEAVE;
}

void SdlHost::Translate(const SDL_Event &ev) {
    if (m_pBox) {
        TranslateForBox(ev);
        return;
    }
    switch (ev.type) {
    case SDL_QUIT: // an interrupt or termination signal
        Queue(Event{EventKind::Close});
        break;
    case SDL_WINDOWEVENT:
        OnWindowEvent(ev.window);
        break;
    case SDL_KEYDOWN:
        OnKeyDown(ev.key);
        break;
    case SDL_KEYUP:
        OnKeyUp(ev.key);
        break;
    case SDL_MOUSEMOTION: {
        if (IsLeavingMotion(ev))
            break;
        auto lp = m_placement.ToLogical(ev.motion.x, ev.motion.y);
        if (m_menu->IsActive()) {
            if (lp)
                m_menu->OnMouseMove(*lp);
            break;
        }
        if (!lp)
            break;
        if (auto cp = LogicalToClient(*lp))
            Queue(Event{EventKind::MouseMove, 0, cp->x, cp->y});
        break;
    }
    case SDL_MOUSEBUTTONDOWN: {
        m_bAltPending = false;
        if (ev.button.button != SDL_BUTTON_LEFT)
            break;
        auto lp = m_placement.ToLogical(ev.button.x, ev.button.y);
        if (lp)
            m_menu->OnMouseDown(*lp);
        else
            m_menu->Cancel();
        break;
    }
    case SDL_MOUSEBUTTONUP: {
        if (ev.button.button != SDL_BUTTON_LEFT)
            break;
        if (auto lp = m_placement.ToLogical(ev.button.x, ev.button.y))
            m_menu->OnMouseUp(*lp);
        break;
    }
    default:
        break;
    }
}

// While a message box is open, keys and clicks go to the box; focus changes
// still reach the window, and the picture is kept up to date.
void SdlHost::TranslateForBox(const SDL_Event &ev) {
    MessageBoxView &box = *m_pBox;
    bool changed = false;
    switch (ev.type) {
    case SDL_QUIT:
        box.Dismiss();
        Queue(Event{EventKind::Close});
        break;
    case SDL_WINDOWEVENT:
        if (ev.window.event == SDL_WINDOWEVENT_FOCUS_GAINED ||
            ev.window.event == SDL_WINDOWEVENT_FOCUS_LOST ||
            ev.window.event == SDL_WINDOWEVENT_EXPOSED ||
            ev.window.event == SDL_WINDOWEVENT_SIZE_CHANGED ||
            ev.window.event == SDL_WINDOWEVENT_RESIZED)
            OnWindowEvent(ev.window);
        break;
    case SDL_KEYDOWN:
        switch (ev.key.keysym.sym) {
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            box.OnKey(MessageBoxView::Key::Enter);
            break;
        case SDLK_ESCAPE:
            box.OnKey(MessageBoxView::Key::Escape);
            break;
        case SDLK_SPACE:
            box.OnKey(MessageBoxView::Key::Space);
            break;
        case SDLK_F11:
            ToggleFullscreen();
            break;
        default:
            break;
        }
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (ev.button.button == SDL_BUTTON_LEFT)
            if (auto lp = m_placement.ToLogical(ev.button.x, ev.button.y))
                changed = box.OnMouseDown(*lp);
        break;
    case SDL_MOUSEMOTION:
        if (auto lp = m_placement.ToLogical(ev.motion.x, ev.motion.y))
            changed = box.OnMouseMove(*lp);
        break;
    case SDL_MOUSEBUTTONUP:
        if (ev.button.button == SDL_BUTTON_LEFT) {
            auto lp = m_placement.ToLogical(ev.button.x, ev.button.y);
            changed = box.OnMouseUp(lp ? *lp : Point{-1, -1});
        }
        break;
    default:
        break;
    }
    if (changed)
        DamageLogical(box.Rect());
}

void SdlHost::PlaySound(const char *fileName) {
    m_sound.Play(fileName);
}

int SdlHost::FatalBox(const char *text, const char *caption) {
    // Before the window exists (a start-up failure): standard error and SDL's
    // own box, which may not be able to show every character.
    std::string c = Latin1ToUtf8(caption ? caption : ""), t = Latin1ToUtf8(text ? text : "");
    std::fprintf(stderr, "quarzel: %s: %s\n", c.c_str(), t.c_str());
    if (m_bStarted)
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, c.c_str(), t.c_str(), nullptr);
    return IDOK;
}

int SdlHost::MessageBox(const char *text, const char *caption, unsigned style, bool) {
    if (!m_pWindow || !m_bShown)
        return FatalBox(text, caption);
    m_menu->Cancel();
    m_bAltPending = false;
    MessageBoxView box(m_font, m_bold, text, caption, style);
    MessageBoxView *outer = m_pBox;
    m_pBox = &box;
    DamageLogical(box.Rect());
    while (!box.Done() && m_pWindow && !QuitRequested()) {
        // The window keeps painting and ticking beneath the box.
        PumpBackgroundEvents();
        Present();
        SDL_Event ev;
        while (!box.Done() && SDL_PollEvent(&ev))
            TranslateForBox(ev);
        if (box.Done())
            break;
        int timeout = TimeoutUntil(NextTimerDue());
        if (timeout != 0 && NextSdlEvent(&ev, timeout))
            TranslateForBox(ev);
    }
    m_pBox = outer;
    DamageLogical(box.Rect());
    Present();
    return IDOK;
}
