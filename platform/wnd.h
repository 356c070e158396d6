// Windows: CWnd (creation, the own device context, timers, invalidation and
// painting, destruction, and the event table through which every host event
// reaches a handler), CFrameWnd (a top-level frame that deletes itself once
// destroyed) and CPaintDC.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <string>

#include "platform/gdi.h"
#include "platform/host.h"
#include "platform/icon.h"
#include "platform/timers.h"

class CMenu;
class CWnd;

using UINT_PTR = std::uintptr_t;
using HMENU = CMenu *;

struct CPoint {
    int x = 0;
    int y = 0;
};

// Window styles that the game's window uses.
constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;

// Window class style: the window keeps one device context for its whole life.
constexpr UINT CS_OWNDC = 0x0020;

// Activation states.
constexpr UINT WA_INACTIVE = 0;
constexpr UINT WA_ACTIVE = 1;
constexpr UINT WA_CLICKACTIVE = 2;

// What a window is created with; PreCreateWindow may change it.
struct CREATESTRUCT {
    std::string lpszClass; // a registered class name (AfxRegisterWndClass)
    std::string lpszName;  // title
    DWORD style = 0;
    DWORD dwExStyle = 0;
    int x = 0, y = 0, cx = 0, cy = 0; // outer rectangle: position and size
    CWnd *pParent = nullptr;
    std::string lpszMenuName; // menu resource; empty for none
};

// Registers a window class (or finds the identical one registered before)
// and returns its name. No cursor and no background brush are supported
// beyond "none", which is all the game asks for; the icon may be null.
const char *AfxRegisterWndClass(UINT nClassStyle, const void *hCursor = nullptr,
                                const void *hbrBackground = nullptr, HICON hIcon = nullptr);

// What an event table can name: the host's events, and the destroy event
// that a window sends itself as it is destroyed.
enum class WndEvent { Paint, Command, MenuSelect, Activate, MouseMove, Timer, Close, Destroy };

// One row of an event table: the event kind, the command id (commands only)
// and the thunk that unpacks the event and calls the handler.
struct MessageEntry {
    WndEvent kind;
    int nID;
    void (*pfnHandler)(CWnd *pWnd, const Event &ev);
};

// A class's event table and the table of its base class, searched next.
struct MessageMap {
    const MessageMap *(*pfnGetBaseMap)();
    const MessageEntry *pEntries;
    std::size_t nCount;
};

// Declares a class's event table (inside the class).
#define DECLARE_MESSAGE_MAP()                                                                      \
public:                                                                                            \
    static const MessageMap *GetThisMessageMap();                                                  \
    const MessageMap *GetMessageMap() const override;

// Defines the table: BEGIN_MESSAGE_MAP(CMyWnd, CFrameWnd) ON_WM_PAINT() ...
// END_MESSAGE_MAP(). Each ON_ macro is one row; the handler it names is
// called on the window with the event's arguments.
#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const MessageMap *theClass::GetMessageMap() const {                                            \
        return GetThisMessageMap();                                                                \
    }                                                                                              \
    const MessageMap *theClass::GetThisMessageMap() {                                              \
        using ThisClass = theClass;                                                                \
        using TheBaseClass = baseClass;                                                            \
        static const MessageEntry s_entries[] = {

#define END_MESSAGE_MAP()                                                                          \
    }                                                                                              \
    ;                                                                                              \
    static const MessageMap s_map{&TheBaseClass::GetThisMessageMap, s_entries,                     \
                                  std::size(s_entries)};                                           \
    return &s_map;                                                                                 \
    }

#define QZ_THUNK(body) [](CWnd *pWnd, [[maybe_unused]] const Event &ev) { body; }
#define QZ_THIS static_cast<ThisClass *>(pWnd)

#define ON_WM_PAINT() {WndEvent::Paint, 0, QZ_THUNK(QZ_THIS->OnPaint())},
#define ON_COMMAND(id, memberFxn) {WndEvent::Command, (id), QZ_THUNK(QZ_THIS->memberFxn())},
#define ON_WM_MENUSELECT()                                                                         \
    {WndEvent::MenuSelect, 0,                                                                      \
     QZ_THUNK(QZ_THIS->OnMenuSelect(static_cast<UINT>(ev.id), 0u, nullptr))},
#define ON_WM_ACTIVATE()                                                                           \
    {WndEvent::Activate, 0,                                                                        \
     QZ_THUNK(QZ_THIS->OnActivate(static_cast<UINT>(ev.state), nullptr, FALSE))},
#define ON_WM_MOUSEMOVE()                                                                          \
    {WndEvent::MouseMove, 0, QZ_THUNK(QZ_THIS->OnMouseMove(0u, CPoint{ev.x, ev.y}))},
#define ON_WM_TIMER()                                                                              \
    {WndEvent::Timer, 0, QZ_THUNK(QZ_THIS->OnTimer(static_cast<UINT_PTR>(ev.id)))},
#define ON_WM_CLOSE() {WndEvent::Close, 0, QZ_THUNK(QZ_THIS->OnClose())},
#define ON_WM_DESTROY() {WndEvent::Destroy, 0, QZ_THUNK(QZ_THIS->OnDestroy())},

class CWnd {
public:
    CWnd();
    virtual ~CWnd();
    CWnd(const CWnd &) = delete;
    CWnd &operator=(const CWnd &) = delete;

    // Creates the platform window (hidden). The outer rectangle is given in
    // screen pixels; lpszMenuName names a menu resource or is null. The menu
    // is loaded and shown with the window; a missing one leaves it without.
    virtual BOOL CreateEx(DWORD dwExStyle, const char *lpszClassName, const char *lpszWindowName,
                          DWORD dwStyle, const CRect &rect, CWnd *pParentWnd,
                          const char *lpszMenuName);
    // Hook before creation: may change the creation parameters. FALSE stops it.
    virtual BOOL PreCreateWindow(CREATESTRUCT &cs);

    BOOL ShowWindow(int nCmdShow);
    // Carries out a pending paint at once.
    void UpdateWindow();
    // Marks the whole client area for repainting. The window's class has no
    // background brush, so the erase request draws nothing.
    void Invalidate(BOOL bErase = TRUE);
    bool IsPaintPending() const { return m_bPaintPending; }
    // Destroys the window: the destroy event, then the host window, timers
    // and menu go, then PostNcDestroy (a frame window deletes itself there,
    // so nothing may touch the object afterwards).
    virtual BOOL DestroyWindow();
    bool IsWindow() const { return m_bCreated; }

    // The window's device context. With the class style CS_OWNDC it is the
    // same context every time, keeping its colours and font; it is never
    // released. Without it, each call gives a context reset to its defaults.
    CDC *GetDC();
    int ReleaseDC(CDC *pDC);

    // Sets timer nIDEvent to tick every nElapse ms from now, replacing a
    // running one of the same id. Returns the id.
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, void *lpfnTimer = nullptr);
    BOOL KillTimer(UINT_PTR nIDEvent);
    TimerQueue &GetTimers() { return m_timers; }
    const TimerQueue &GetTimers() const { return m_timers; }

    // The menu: GetMenu's answer stays valid until the window's menu is next
    // changed. SetMenu hands the menu object to the window, which deletes it
    // when it is replaced or the window is destroyed; null removes the menu.
    CMenu *GetMenu() const { return m_pMenu; }
    BOOL SetMenu(CMenu *pMenu);
    // The host shows the menu's contents anew (after the menu changed).
    void DrawMenuBar();

    // A modal box owned by this window.
    int MessageBox(const char *lpszText, const char *lpszCaption = nullptr, UINT nType = 0);

    // Dispatches one host event through the event table; events without a
    // row get the default handling.
    void WindowProc(const Event &ev);
    void WindowProc(WndEvent kind, const Event &ev);

    static const MessageMap *GetThisMessageMap();
    virtual const MessageMap *GetMessageMap() const;

    // Default handlers, for a derived handler to pass the event on.
    virtual void OnPaint();
    virtual void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
    virtual void OnActivate(UINT nState, CWnd *pWndOther, BOOL bMinimized);
    virtual void OnMouseMove(UINT nFlags, CPoint point);
    virtual void OnTimer(UINT_PTR nIDEvent);
    virtual void OnClose();
    virtual void OnDestroy();

protected:
    // The default handling of the event being dispatched: close destroys
    // the window, a paint without handler just validates; others do nothing.
    void Default();
    virtual void DefWindowProc(WndEvent kind, const Event &ev);
    // Called last in DestroyWindow.
    virtual void PostNcDestroy();

private:
    friend class CPaintDC;
    friend class CMenu;

    DCState *GetDCState();
    // The menu object is going away by itself: the window forgets it.
    void DetachMenu();
    void FreeMenu();

    bool m_bCreated = false;
    bool m_bVisible = false;
    bool m_bPaintPending = false;
    bool m_bOwnDC = false;
    DCState m_dcState;          // the own context's state
    std::unique_ptr<CDC> m_pDC; // the own context, on m_dcState
    DCState m_tempState;        // a class without an own context
    std::unique_ptr<CDC> m_pTempDC;
    TimerQueue m_timers;
    CMenu *m_pMenu = nullptr; // owned
    WndEvent m_currentKind = WndEvent::Paint;
    const Event *m_pCurrentEvent = nullptr; // during dispatch
    std::shared_ptr<bool> m_pAlive = std::make_shared<bool>(true);
};

class CFrameWnd : public CWnd {
public:
    CFrameWnd();
    ~CFrameWnd() override;

    // Creates a top-level frame window with a title, style, outer rectangle
    // and menu resource name (null for none).
    BOOL Create(const char *lpszClassName, const char *lpszWindowName, DWORD dwStyle,
                const CRect &rect, CWnd *pParentWnd = nullptr, const char *lpszMenuName = nullptr,
                DWORD dwExStyle = 0);

protected:
    // A frame window deletes its own object once destroyed.
    void PostNcDestroy() override;
};

// The paint context: the window's own context, for one paint. Beginning the
// paint validates the window, so the paint is no longer pending.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd *pWnd);
    ~CPaintDC() override;

private:
    CWnd *m_pWnd;
};
