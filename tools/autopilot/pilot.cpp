// The autopilot's play: every command goes both into the script and into the
// running program, in the order and with the clock handling of the replay
// tool, so that replaying the script plays the very same game.
#include "tools/autopilot/pilot.h"

#include <cmath>

#include "app/cqzlwnd.h"
#include "game/cgameprobe.h"
#include "platform/headless/headless_host.h"
#include "platform/host.h"
#include "platform/winapp.h"
#include "settings/language.h"

namespace {

// Where the ball's x lies, bouncing between the walls, after travelling
// freely from x: the inner faces of the walls put its left edge in [lo, hi].
double Fold(double x, double lo, double hi) {
    const double range = hi - lo;
    double v = std::fmod(x - lo, 2 * range);
    if (v < 0)
        v += 2 * range;
    if (v > range)
        v = 2 * range - v;
    return lo + v;
}

// The ball's y at which its lowest row reaches the paddle's first solid row.
constexpr double CONTACT_Y = 365.0;
// The ball's left edge between the walls (their inner faces at 32 and 418).
constexpr double BALL_X_MIN = 32.0;
constexpr double BALL_X_MAX = 400.0;
constexpr int BALL_HALF = 9;
constexpr int PADDLE_HALF = 20;
// How far off the paddle's centre the ball is met: spreads the angles.
constexpr int AIM_SPREAD = 14;

} // namespace

CPilot::CPilot(HeadlessHost &host, const PilotOptions &options, std::ostream &script)
    : m_host(host), m_options(options), m_script(script), m_nRand(options.nSeed * 2654435761u + 1) {
}

CQZLWnd *CPilot::Window() {
    CWinApp *pApp = AfxGetApp();
    return pApp ? dynamic_cast<CQZLWnd *>(pApp->m_pMainWnd) : nullptr;
}

std::uint32_t CPilot::Rand() {
    // xorshift32: the pilot's choices, apart from the game's own generator.
    m_nRand ^= m_nRand << 13;
    m_nRand ^= m_nRand >> 17;
    m_nRand ^= m_nRand << 5;
    return m_nRand;
}

std::uint32_t CPilot::RandRange(std::uint32_t lo, std::uint32_t hi) {
    return lo + Rand() % (hi - lo + 1);
}

void CPilot::Mouse(int x) {
    m_script << "mouse " << x << '\n';
    ++m_summary.nScriptLines;
    Event ev;
    ev.kind = EventKind::MouseMove;
    ev.x = x;
    ev.y = 300;
    DispatchToMainWindow(ev);
    m_nMouseX = x;
}

void CPilot::Menu(int id) {
    m_script << "menu " << id << '\n';
    ++m_summary.nScriptLines;
    Event ev;
    ev.kind = EventKind::MenuSelect;
    DispatchToMainWindow(ev);
    if (QuitRequested())
        return;
    ev.kind = EventKind::Command;
    ev.id = id;
    DispatchToMainWindow(ev);
}

void CPilot::Select() {
    m_script << "select\n";
    ++m_summary.nScriptLines;
    Event ev;
    ev.kind = EventKind::MenuSelect;
    DispatchToMainWindow(ev);
}

void CPilot::Activate(int state) {
    m_script << "activate " << state << '\n';
    ++m_summary.nScriptLines;
    Event ev;
    ev.kind = EventKind::Activate;
    ev.state = state;
    DispatchToMainWindow(ev);
}

void CPilot::Wait(std::uint64_t ms) {
    m_script << "wait " << ms << '\n';
    ++m_summary.nScriptLines;
    RunVirtualTime(m_host, ms);
    // The replay hands these to its trace; here nobody reads them.
    m_host.Sounds().clear();
    m_host.Boxes().clear();
}

void CPilot::State() {
    m_script << "state\n";
    ++m_summary.nScriptLines;
    PaintMainWindow();
}

void CPilot::Paint() {
    m_script << "paint\n";
    ++m_summary.nScriptLines;
    if (CQZLWnd *pWnd = Window()) {
        pWnd->Invalidate(TRUE);
        pWnd->UpdateWindow();
    }
}

void CPilot::NextTick(std::uint64_t idleMs) {
    CQZLWnd *pWnd = Window();
    if (!pWnd)
        return;
    CGame &game = pWnd->GetGame();
    const auto due = NextTimerDue();
    const std::uint64_t now = m_host.NowMs();
    bool bBallTick = false;
    if (due && game.IsRunning()) {
        const auto &timers = pWnd->GetTimers().All();
        auto ball = timers.find(CQZLWnd::TIMER_BALL);
        bBallTick = ball != timers.end() && ball->second.dueMs == *due;
    }
    const int nBallsBefore = CGameProbe(game).Balls();
    const bool bWasStarted = game.IsStarted();
    Wait(due ? *due - now : idleMs);
    if (QuitRequested())
        return;
    if (m_options.bStateEveryTick)
        State();
    if (bBallTick) {
        ++m_summary.nBallTicks;
        ++m_nGameTicks;
    }
    const int nBallsAfter = CGameProbe(game).Balls();
    if (nBallsAfter < nBallsBefore) {
        m_summary.nBallsLost += nBallsBefore - nBallsAfter;
        if (m_nGameTicks < m_nGameLength)
            m_summary.nBallsLostEarly += nBallsBefore - nBallsAfter;
    }
    if (bWasStarted && !game.IsStarted())
        ++m_summary.nGamesOver;
}

void CPilot::StartGame() {
    Menu(ID_GAME_NEW);
    State();
    ++m_summary.nGames;
    m_nGameTicks = 0;
    m_nGameLength = RandRange(static_cast<std::uint32_t>(m_options.nGameMin),
                              static_cast<std::uint32_t>(m_options.nGameMax));
    m_bDescending = false;
}

void CPilot::SteerPaddle() {
    CGameProbe probe(Window()->GetGame());
    CSSprite &ball = probe.Ball();
    const double x = ball.GetRealX(), y = ball.GetRealY();
    const double dx = ball.GetDX(), dy = ball.GetDY();
    if (dy <= 0) {
        m_bDescending = false;
        // Now and then a wander while the ball is high up: mouse moves of
        // every kind, and the paddle is back in time for the descent.
        if (y < 250 && Rand() % 64 == 0)
            Mouse(static_cast<int>(RandRange(0, 599)));
        return;
    }
    if (!m_bDescending) {
        m_bDescending = true;
        m_nAim = static_cast<int>(RandRange(0, 2 * AIM_SPREAD)) - AIM_SPREAD;
    }
    double t = (CONTACT_Y - y) / dy;
    if (t < 0)
        t = 0;
    const double landing = Fold(x + dx * t, BALL_X_MIN, BALL_X_MAX);
    int target;
    if (m_nGameTicks >= m_nGameLength) {
        // This game has lasted long enough: the paddle goes where the ball is not.
        target = landing + BALL_HALF < 225 ? 599 : 0;
    } else {
        target = static_cast<int>(landing) + BALL_HALF - PADDLE_HALF - m_nAim;
    }
    if (target < 0)
        target = 0;
    if (target > 599)
        target = 599;
    if (target != m_nMouseX)
        Mouse(target);
}

void CPilot::Interlude() {
    CQZLWnd *pWnd = Window();
    switch (RandRange(0, 9)) {
    case 0:
    case 1: // the menu opened and closed: paused until Continue
        Select();
        for (std::uint32_t n = RandRange(1, 40); n > 0 && !QuitRequested(); --n)
            NextTick();
        Menu(ID_GAME_CONTINUE);
        break;
    case 2: // another window comes to the front, then this one again
        Activate(0);
        for (std::uint32_t n = RandRange(1, 40); n > 0 && !QuitRequested(); --n)
            NextTick();
        Activate(1);
        NextTick();
        Menu(ID_GAME_CONTINUE);
        break;
    case 3:
    case 4: // the other language, then on with the game
        Menu(LanguageIndex == 1 ? ID_LANG_GERMAN : ID_LANG_ENGLISH);
        ++m_summary.nLanguageSwitches;
        NextTick();
        Menu(ID_GAME_CONTINUE);
        break;
    case 5: // the info box
        Menu(ID_INFO);
        Menu(ID_GAME_CONTINUE);
        break;
    case 6: // the same language again: nothing happens but the pause
        Menu(LanguageIndex == 1 ? ID_LANG_ENGLISH : ID_LANG_GERMAN);
        Menu(ID_GAME_CONTINUE);
        break;
    case 7:
        Paint();
        break;
    case 8: // Continue while running
        Menu(ID_GAME_CONTINUE);
        break;
    case 9: // rarely, a game is abandoned for a new one
        if (Rand() % 4 == 0 && pWnd)
            StartGame();
        break;
    }
    if (m_options.bStateEveryTick && !QuitRequested())
        State();
}

bool CPilot::Run() {
    m_script << "# Written by quarzel-autopilot: seed " << m_options.nSeed << ", "
             << m_options.nTicks << " ball ticks\n";
    m_script << "start " << m_options.nStart << '\n';
    m_summary.nScriptLines += 2;
    m_host.SetEpochSeconds(m_options.nStart);
    m_host.SetNowMs(0);
    if (!InitApplication(SW_SHOWNORMAL))
        return false;
    State();

    while (m_summary.nBallTicks < m_options.nTicks && !QuitRequested()) {
        CQZLWnd *pWnd = Window();
        if (!pWnd)
            return false;
        CGame &game = pWnd->GetGame();
        if (!game.IsStarted()) {
            // Between games: a short look at the board, now and then the
            // other language or the info box, then a new game.
            NextTick();
            if (m_options.nInterludes && Rand() % 3 == 0) {
                if (Rand() % 2) {
                    Menu(LanguageIndex == 1 ? ID_LANG_GERMAN : ID_LANG_ENGLISH);
                    ++m_summary.nLanguageSwitches;
                } else {
                    Menu(ID_INFO);
                }
                State();
            }
            if (!QuitRequested())
                StartGame();
            continue;
        }
        if (!game.IsRunning()) {
            Menu(ID_GAME_CONTINUE);
            continue;
        }
        SteerPaddle();
        if (m_options.nInterludes && Rand() % m_options.nInterludes == 0) {
            Interlude();
            continue;
        }
        NextTick();
    }
    if (QuitRequested())
        return false;
    if (m_options.bQuit)
        Menu(ID_GAME_QUIT);
    return true;
}
