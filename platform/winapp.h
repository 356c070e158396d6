// CWinApp, the one application object, and the message loop that runs it:
// the entry point sets a host and calls RunApplication, which runs the
// application's InitInstance and then dispatches the host's events to the
// main window until the quit request, whose code it returns.
#pragma once

#include "platform/types.h"

class Host;
class CWnd;

// Show states, as the program may be started with.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_SHOW = 5;

class CWinApp {
public:
    // A null name gives the default name "quarzel".
    explicit CWinApp(const char *lpszAppName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp &) = delete;
    CWinApp &operator=(const CWinApp &) = delete;

    // Creates and shows the main window. FALSE ends the program at once.
    virtual BOOL InitInstance();
    // Asks for an event queue of nMsgLimit events. The hosts queue without a
    // fixed limit, so the request changes nothing; it is kept so the start-up
    // reads as it is meant.
    BOOL SetMessageQueue(int nMsgLimit);

    const char *m_pszAppName;
    CWnd *m_pMainWnd = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
};

// The application object (there is exactly one).
CWinApp *AfxGetApp();

// Asks the message loop to end with nExitCode once the current event is done.
void PostQuitMessage(int nExitCode);

// Runs the application on `host` (already installed with SetHost): sets
// m_nCmdShow, calls InitInstance (returns 0 at once without a loop when it
// fails), then loops: input events from host.PollEvent() go to the main
// window; when none is pending, a pending paint is carried out, then the due
// timer ticks one at a time (each preceded by a pending paint), then
// host.Present() and host.WaitForEvent(next timer due). Ends when the quit
// request is posted (or the host has no more events) and returns its code.
int RunApplication(Host &host, int nCmdShow);

// Carries out a pending paint and the due timer ticks, without taking input.
// A host's modal loop (its message box) calls this so the window stays alive.
void PumpBackgroundEvents();

// Replay and test support: one pass of the loop's idle work (pending paint,
// ticks due at the host's current time) after dispatching all queued input.
// Returns false once the quit request has been posted.
bool PumpMessages();
// True once the quit request has been posted; its code.
bool QuitRequested();
int QuitCode();
