// Windows: class registration, creation, the own device context, timers,
// painting, destruction and the event-table dispatch.
#include "platform/wnd.h"

#include <deque>

#include "platform/cmenu.h"
#include "platform/runtime.h"
#include "platform/winapp.h"

namespace {

struct WndClass {
    std::string name;
    UINT style;
    const void *hCursor;
    const void *hbrBackground;
    HICON hIcon;
};

// Registered classes; a deque keeps the names' storage in place.
std::deque<WndClass> &Classes() {
    static std::deque<WndClass> classes;
    return classes;
}

const WndClass *FindClass(const std::string &name) {
    for (const WndClass &wc : Classes())
        if (wc.name == name)
            return &wc;
    return nullptr;
}

bool Activates(int nCmdShow) {
    return nCmdShow == SW_SHOWNORMAL || nCmdShow == SW_SHOWMINIMIZED ||
           nCmdShow == SW_SHOWMAXIMIZED || nCmdShow == SW_SHOW;
}

} // namespace

const char *AfxRegisterWndClass(UINT nClassStyle, const void *hCursor, const void *hbrBackground,
                                HICON hIcon) {
    for (const WndClass &wc : Classes())
        if (wc.style == nClassStyle && wc.hCursor == hCursor && wc.hbrBackground == hbrBackground &&
            wc.hIcon == hIcon)
            return wc.name.c_str();
    Classes().push_back(WndClass{"QzlWnd:" + std::to_string(Classes().size()), nClassStyle, hCursor,
                                 hbrBackground, hIcon});
    return Classes().back().name.c_str();
}

// ---------------------------------------------------------------------------
// CWnd

CWnd::CWnd()
    : m_pDC(std::make_unique<CDC>(&m_dcState)), m_pTempDC(std::make_unique<CDC>(&m_tempState)) {}

CWnd::~CWnd() {
    *m_pAlive = false;
    // A window deleted without being destroyed first (a plain CWnd on the
    // stack) takes its host window and menu with it, without events.
    if (m_bCreated && HasHost()) {
        CurrentHost().SetMenuBar(nullptr);
        CurrentHost().DestroyWindow();
    }
    m_bCreated = false;
    FreeMenu();
    if (AfxGetApp() && AfxGetApp()->m_pMainWnd == this)
        AfxGetApp()->m_pMainWnd = nullptr;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT &cs) {
    if (cs.lpszClass.empty())
        cs.lpszClass = AfxRegisterWndClass(0);
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, const char *lpszClassName, const char *lpszWindowName,
                    DWORD dwStyle, const CRect &rect, CWnd *pParentWnd, const char *lpszMenuName) {
    if (m_bCreated)
        return FALSE;
    CREATESTRUCT cs;
    cs.lpszClass = lpszClassName ? lpszClassName : "";
    cs.lpszName = lpszWindowName ? lpszWindowName : "";
    cs.style = dwStyle;
    cs.dwExStyle = dwExStyle;
    cs.x = rect.left;
    cs.y = rect.top;
    cs.cx = rect.Width();
    cs.cy = rect.Height();
    cs.pParent = pParentWnd;
    cs.lpszMenuName = lpszMenuName ? lpszMenuName : "";
    if (!PreCreateWindow(cs))
        return FALSE;

    const WndClass *wc = FindClass(cs.lpszClass);
    if (!wc)
        return FALSE;

    Host &host = CurrentHost();
    WindowSpec window;
    window.title = cs.lpszName;
    window.className = cs.lpszClass;
    window.left = cs.x;
    window.top = cs.y;
    window.right = cs.x + cs.cx;
    window.bottom = cs.y + cs.cy;
    window.style = cs.style;
    window.icon = wc->hIcon ? &wc->hIcon->image : nullptr;
    if (!host.CreateWindow(window))
        return FALSE;

    m_bCreated = true;
    m_bOwnDC = (wc->style & CS_OWNDC) != 0;
    m_dcState = DCState{};
    m_dcState.pTarget = &host.WindowSurface();
    if (!cs.lpszMenuName.empty()) {
        auto *pMenu = new CMenu;
        if (pMenu->LoadMenu(cs.lpszMenuName.c_str()))
            SetMenu(pMenu);
        else
            delete pMenu;
    }
    return TRUE;
}

BOOL CWnd::ShowWindow(int nCmdShow) {
    if (!m_bCreated)
        return FALSE;
    const bool bWasVisible = m_bVisible;
    CurrentHost().ShowWindow(nCmdShow);
    m_bVisible = nCmdShow != SW_HIDE;
    // Showing a hidden window with one of these states also activates it.
    if (!bWasVisible && Activates(nCmdShow)) {
        Event ev;
        ev.kind = EventKind::Activate;
        ev.state = WA_ACTIVE;
        WindowProc(ev);
    }
    return bWasVisible ? TRUE : FALSE;
}

void CWnd::UpdateWindow() {
    if (m_bCreated && m_bPaintPending)
        WindowProc(WndEvent::Paint, Event{});
}

void CWnd::Invalidate(BOOL) {
    if (m_bCreated)
        m_bPaintPending = true;
}

BOOL CWnd::DestroyWindow() {
    if (!m_bCreated)
        return FALSE;
    WindowProc(WndEvent::Destroy, Event{});
    // The timers and the menu end with the window.
    m_timers.KillAll();
    Host &host = CurrentHost();
    host.SetMenuBar(nullptr);
    FreeMenu();
    host.DestroyWindow();
    m_bCreated = false;
    m_bVisible = false;
    m_bPaintPending = false;
    m_dcState.pTarget = nullptr;
    if (AfxGetApp() && AfxGetApp()->m_pMainWnd == this)
        AfxGetApp()->m_pMainWnd = nullptr;
    PostNcDestroy();
    return TRUE;
}

void CWnd::PostNcDestroy() {}

DCState *CWnd::GetDCState() {
    if (m_bOwnDC)
        return &m_dcState;
    // A shared context comes fresh each time: default colours, no font.
    m_tempState = DCState{};
    m_tempState.pTarget = m_dcState.pTarget;
    return &m_tempState;
}

CDC *CWnd::GetDC() {
    return GetDCState() == &m_dcState ? m_pDC.get() : m_pTempDC.get();
}

int CWnd::ReleaseDC(CDC *pDC) {
    return pDC ? 1 : 0;
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, void *) {
    m_timers.Set(static_cast<int>(nIDEvent), nElapse, CurrentHost().NowMs());
    return nIDEvent;
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent) {
    const int id = static_cast<int>(nIDEvent);
    if (!m_timers.IsSet(id))
        return FALSE;
    m_timers.Kill(id);
    return TRUE;
}

BOOL CWnd::SetMenu(CMenu *pMenu) {
    if (pMenu == m_pMenu) {
        DrawMenuBar();
        return TRUE;
    }
    CMenu *pOld = m_pMenu;
    m_pMenu = pMenu;
    if (pMenu) {
        // A menu shown by another window moves here.
        if (pMenu->m_pWnd && pMenu->m_pWnd != this)
            pMenu->m_pWnd->DetachMenu();
        pMenu->m_pWnd = this;
    }
    if (m_bCreated)
        CurrentHost().SetMenuBar(pMenu ? &pMenu->m_bar : nullptr);
    if (pOld) {
        pOld->m_pWnd = nullptr;
        delete pOld;
    }
    return TRUE;
}

void CWnd::DrawMenuBar() {
    if (m_bCreated)
        CurrentHost().SetMenuBar(m_pMenu ? &m_pMenu->m_bar : nullptr);
}

void CWnd::DetachMenu() {
    m_pMenu = nullptr;
    if (m_bCreated && HasHost())
        CurrentHost().SetMenuBar(nullptr);
}

void CWnd::FreeMenu() {
    if (!m_pMenu)
        return;
    CMenu *pMenu = m_pMenu;
    m_pMenu = nullptr;
    pMenu->m_pWnd = nullptr;
    delete pMenu;
}

int CWnd::MessageBox(const char *lpszText, const char *lpszCaption, UINT nType) {
    return ::MessageBox(this, lpszText, lpszCaption, nType);
}

void CWnd::WindowProc(const Event &ev) {
    switch (ev.kind) {
    case EventKind::Paint:
        WindowProc(WndEvent::Paint, ev);
        break;
    case EventKind::Command:
        WindowProc(WndEvent::Command, ev);
        break;
    case EventKind::MenuSelect:
        WindowProc(WndEvent::MenuSelect, ev);
        break;
    case EventKind::Activate:
        WindowProc(WndEvent::Activate, ev);
        break;
    case EventKind::MouseMove:
        WindowProc(WndEvent::MouseMove, ev);
        break;
    case EventKind::Timer:
        WindowProc(WndEvent::Timer, ev);
        break;
    case EventKind::Close:
        WindowProc(WndEvent::Close, ev);
        break;
    }
}

void CWnd::WindowProc(WndEvent kind, const Event &ev) {
    if (!m_bCreated)
        return;
    // The handler may destroy (and so delete) this window; the shared flag
    // tells whether there is still an object to restore the state of.
    std::shared_ptr<bool> alive = m_pAlive;
    const Event *pPrevEvent = m_pCurrentEvent;
    const WndEvent prevKind = m_currentKind;
    m_pCurrentEvent = &ev;
    m_currentKind = kind;

    bool bHandled = false;
    for (const MessageMap *map = GetMessageMap(); map && !bHandled;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (std::size_t i = 0; i < map->nCount; ++i) {
            const MessageEntry &entry = map->pEntries[i];
            if (entry.kind == kind && (kind != WndEvent::Command || entry.nID == ev.id)) {
                entry.pfnHandler(this, ev);
                bHandled = true;
                break;
            }
        }
    }
    if (!bHandled && *alive)
        DefWindowProc(kind, ev);

    if (*alive) {
        m_pCurrentEvent = pPrevEvent;
        m_currentKind = prevKind;
    }
}

const MessageMap *CWnd::GetThisMessageMap() {
    static const MessageMap s_map{nullptr, nullptr, 0};
    return &s_map;
}

const MessageMap *CWnd::GetMessageMap() const {
    return GetThisMessageMap();
}

void CWnd::Default() {
    if (m_pCurrentEvent)
        DefWindowProc(m_currentKind, *m_pCurrentEvent);
}

void CWnd::DefWindowProc(WndEvent kind, const Event &) {
    switch (kind) {
    case WndEvent::Close:
        DestroyWindow();
        break;
    case WndEvent::Paint:
        // Nobody paints: the area counts as painted all the same.
        m_bPaintPending = false;
        break;
    default:
        break;
    }
}

void CWnd::OnPaint() {
    Default();
}
void CWnd::OnMenuSelect(UINT, UINT, HMENU) {
    Default();
}
void CWnd::OnActivate(UINT, CWnd *, BOOL) {
    Default();
}
void CWnd::OnMouseMove(UINT, CPoint) {
    Default();
}
void CWnd::OnTimer(UINT_PTR) {
    Default();
}
void CWnd::OnClose() {
    Default();
}
void CWnd::OnDestroy() {
    Default();
}

// ---------------------------------------------------------------------------
// CFrameWnd

CFrameWnd::CFrameWnd() = default;
CFrameWnd::~CFrameWnd() = default;

BOOL CFrameWnd::Create(const char *lpszClassName, const char *lpszWindowName, DWORD dwStyle,
                       const CRect &rect, CWnd *pParentWnd, const char *lpszMenuName,
                       DWORD dwExStyle) {
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect, pParentWnd,
                    lpszMenuName);
}

void CFrameWnd::PostNcDestroy() {
    delete this;
}

// ---------------------------------------------------------------------------
// CPaintDC

CPaintDC::CPaintDC(CWnd *pWnd) : CDC(pWnd->GetDCState()), m_pWnd(pWnd) {
    // Beginning the paint validates the window.
    m_pWnd->m_bPaintPending = false;
}

CPaintDC::~CPaintDC() = default;
