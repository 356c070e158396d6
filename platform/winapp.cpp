// The application object and the message loop: input first, then the
// pending paint, then timer ticks one at a time, then waiting for the host.
#include "platform/winapp.h"

#include <cstdio>
#include <cstdlib>

#include "platform/host.h"
#include "platform/wnd.h"

namespace {

CWinApp *g_pApp = nullptr;

struct QuitState {
    bool bPosted = false;
    int nCode = 0;
};
QuitState g_quit;

CWnd *MainWindow() {
    return g_pApp ? g_pApp->m_pMainWnd : nullptr;
}

} // namespace

CWinApp::CWinApp(const char *lpszAppName) : m_pszAppName(lpszAppName ? lpszAppName : "quarzel") {
    if (g_pApp) {
        std::fprintf(stderr, "quarzel: a second application object was made\n");
        std::abort();
    }
    g_pApp = this;
}

CWinApp::~CWinApp() {
    if (g_pApp == this)
        g_pApp = nullptr;
}

BOOL CWinApp::InitInstance() {
    return FALSE;
}

BOOL CWinApp::SetMessageQueue(int nMsgLimit) {
    return nMsgLimit > 0 ? TRUE : FALSE;
}

HICON CWinApp::LoadIcon(const char *lpszResourceName) const {
    return ::LoadIcon(lpszResourceName);
}

CWinApp *AfxGetApp() {
    return g_pApp;
}

void PostQuitMessage(int nExitCode) {
    g_quit.bPosted = true;
    g_quit.nCode = nExitCode;
}

bool QuitRequested() {
    return g_quit.bPosted;
}
int QuitCode() {
    return g_quit.nCode;
}

BOOL InitApplication(int nCmdShow) {
    g_quit = QuitState{};
    if (!g_pApp) {
        std::fprintf(stderr, "quarzel: no application object\n");
        return FALSE;
    }
    g_pApp->m_nCmdShow = nCmdShow;
    if (!g_pApp->InitInstance())
        return FALSE;
    // A start-up that made no window has nothing to run: it ends like one
    // that failed, rather than waiting for events that cannot come.
    CWnd *pWnd = g_pApp->m_pMainWnd;
    if (!pWnd || !pWnd->IsWindow()) {
        std::fprintf(stderr, "quarzel: the main window could not be created\n");
        g_pApp->m_pMainWnd = nullptr;
        delete pWnd;
        return FALSE;
    }
    return TRUE;
}

void DispatchToMainWindow(const Event &ev) {
    if (CWnd *pWnd = MainWindow())
        pWnd->WindowProc(ev);
}

void PaintMainWindow() {
    if (CWnd *pWnd = MainWindow())
        pWnd->UpdateWindow();
}

std::optional<std::uint64_t> NextTimerDue() {
    CWnd *pWnd = MainWindow();
    return pWnd ? pWnd->GetTimers().NextDue() : std::nullopt;
}

bool DispatchDueTimer(std::uint64_t nowMs) {
    CWnd *pWnd = MainWindow();
    if (!pWnd)
        return false;
    auto due = pWnd->GetTimers().NextDue();
    if (!due || *due > nowMs)
        return false;
    pWnd->UpdateWindow();
    // The paint may have ended the program or changed the timers.
    pWnd = MainWindow();
    if (!pWnd || g_quit.bPosted)
        return true;
    auto tick = pWnd->GetTimers().PopDue(nowMs);
    if (!tick)
        return true;
    Event ev;
    ev.kind = EventKind::Timer;
    ev.id = tick->id;
    pWnd->WindowProc(ev);
    return true;
}

void PumpBackgroundEvents() {
    if (!HasHost())
        return;
    const std::uint64_t nowMs = CurrentHost().NowMs();
    PaintMainWindow();
    // A timer that has fallen behind ticks once and moves past now, so this
    // ends after at most one tick per timer.
    while (!g_quit.bPosted && DispatchDueTimer(nowMs)) {
    }
    PaintMainWindow();
}

int RunApplication(Host &host, int nCmdShow) {
    if (!InitApplication(nCmdShow))
        return 255;

    while (!g_quit.bPosted) {
        if (auto ev = host.PollEvent()) {
            DispatchToMainWindow(*ev);
            continue;
        }
        PaintMainWindow();
        if (g_quit.bPosted)
            break;
        if (DispatchDueTimer(host.NowMs()))
            continue;
        host.Present();
        if (!host.WaitForEvent(NextTimerDue())) {
            // Nothing will ever come again: end as a close would.
            if (CWnd *pWnd = MainWindow())
                pWnd->DestroyWindow();
            if (!g_quit.bPosted)
                PostQuitMessage(0);
        }
    }
    return g_quit.nCode;
}
