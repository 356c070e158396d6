// CWinApp, the one application object, and the message loop that runs it:
// the entry point sets a host and calls RunApplication, which runs the
// application's InitInstance and then dispatches the host's events to the
// main window until the quit request, whose code it returns.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/icon.h"
#include "platform/types.h"

class Host;
class CWnd;
struct Event;

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
    // Loads an icon resource by name (case ignored); null when there is none.
    HICON LoadIcon(const char *lpszResourceName) const;

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
// request is posted and returns its code. When the host has no more events
// at all, the main window is destroyed as by a close. A start-up that fails
// (InitApplication) returns 255, the code of a program that could not run.
int RunApplication(Host &host, int nCmdShow);

// Carries out a pending paint and the due timer ticks, without taking input.
// A host's modal loop (its message box) calls this so the window stays alive.
void PumpBackgroundEvents();

// The pieces of the loop, for the replay tool and tests, which drive the
// program step by step on the headless host's virtual clock.
//
// Sets m_nCmdShow and runs InitInstance; clears an earlier quit request.
// FALSE when InitInstance fails or leaves no created main window (an object
// without its platform window is deleted).
BOOL InitApplication(int nCmdShow);
// Dispatches one event to the main window (dropped when there is none).
void DispatchToMainWindow(const Event &ev);
// Carries out the main window's pending paint, if any.
void PaintMainWindow();
// The earliest due time of the main window's timers.
std::optional<std::uint64_t> NextTimerDue();
// Carries out a pending paint, then delivers the earliest tick of the main
// window due at or before nowMs (ties by ascending id). False when none was due.
bool DispatchDueTimer(std::uint64_t nowMs);
// True once the quit request has been posted; its code.
bool QuitRequested();
int QuitCode();
