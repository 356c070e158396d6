// The main window: construction, the event table and its handlers, and the
// menu commands.
#include "app/cqzlwnd.h"

#include <cstdio>
#include <cstdlib>
#include <new>

#include "platform/cmenu.h"
#include "platform/runtime.h"
#include "platform/winapp.h"
#include "settings/cini.h"
#include "settings/language.h"

namespace {

// The info box's text; the same in both languages.
constexpr const char *INFO_TEXT = "      Quarzel v1.3\n"
                                  "\n"
                                  "A wall of bricks comes down, row by row.\n"
                                  "Keep the ball in play and clear the wall!\n"
                                  "\n"
                                  "Game, pictures and sounds: the Quarzel team.";

// A menu object that cannot be allocated stops the program, naming the
// allocation and the place it was made.
[[noreturn]] void MenuAllocationFailed(int nLine) {
    std::fprintf(stderr, "Assertion failed: poMenu=new CMenu, file cqzlwnd, line %d\n", nLine);
    std::fflush(stderr);
    std::abort();
}

} // namespace

// clang-format off
BEGIN_MESSAGE_MAP(CQZLWnd, CFrameWnd)
    ON_WM_PAINT()
    ON_COMMAND(ID_GAME_NEW, OnNewGame)
    ON_COMMAND(ID_GAME_QUIT, OnQuit)
    ON_COMMAND(ID_GAME_CONTINUE, OnContinue)
    ON_COMMAND(ID_INFO, OnInfo)
    ON_COMMAND(ID_LANG_ENGLISH, OnEnglish)
    ON_COMMAND(ID_LANG_GERMAN, OnGerman)
    ON_WM_MENUSELECT()
    ON_WM_ACTIVATE()
    ON_WM_MOUSEMOVE()
    ON_WM_TIMER()
    ON_WM_DESTROY()
END_MESSAGE_MAP()
// clang-format on

// The game state comes first: while it loads its bitmaps the language has
// not been read yet, so its error boxes at start-up are German.
CQZLWnd::CQZLWnd(HICON hIcon) : m_game(), m_nWallInterval(FIRST_WALL_INTERVAL), m_hIcon(hIcon) {
    LanguageIndex = ReadLanguage(SETTINGS_FILE_NAME);
    Create(nullptr, g_szWindowTitle, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
           CRect(20, 15, 620, 465), nullptr, g_szMenuName[LanguageIndex]);
}

CQZLWnd::~CQZLWnd() = default;

BOOL CQZLWnd::PreCreateWindow(CREATESTRUCT &cs) {
    cs.lpszClass = AfxRegisterWndClass(CS_OWNDC, nullptr, nullptr, m_hIcon);
    return CFrameWnd::PreCreateWindow(cs);
}

void CQZLWnd::OnPaint() {
    CPaintDC dc(this);
    CBrush brush(RGB(255, 255, 255));
    CRect rcStatus(450, 0, 600, 450);
    dc.FillRect(&rcStatus, &brush);
    m_game.DrawStatus(&dc);
    m_game.PaintBoard(&dc);
    brush.DeleteObject();
}

void CQZLWnd::OnNewGame() {
    CDC *pDC = GetDC();
    m_game.NewGame(pDC);
    SetTimer(TIMER_BALL, BALL_INTERVAL, nullptr);
    m_nWallInterval = FIRST_WALL_INTERVAL;
    SetTimer(TIMER_WALL, static_cast<UINT>(m_nWallInterval), nullptr);
}

void CQZLWnd::OnQuit() {
    DestroyWindow();
}

void CQZLWnd::OnContinue() {
    m_game.Continue();
}

void CQZLWnd::OnInfo() {
    MessageBox(INFO_TEXT, "Info", MB_OK);
}

void CQZLWnd::OnEnglish() {
    SwitchLanguage(LANG_ENGLISH, "qzlmenu_eng", 170);
}

void CQZLWnd::OnGerman() {
    SwitchLanguage(LANG_GERMAN, "qzlmenu_ger", 194);
}

void CQZLWnd::SwitchLanguage(int nLanguage, const char *pszMenuName, int nAssertLine) {
    if (LanguageIndex == nLanguage)
        return;

    CMenu *pMenu = GetMenu();
    CINI ini(SETTINGS_FILE_NAME);
    if (pMenu != nullptr) {
        pMenu->DestroyMenu();
        SetMenu(nullptr);
        CMenu *poMenu = new (std::nothrow) CMenu;
        if (poMenu == nullptr)
            MenuAllocationFailed(nAssertLine);
        poMenu->LoadMenu(pszMenuName);
        SetMenu(poMenu);
    }
    LanguageIndex = nLanguage;
    // Removes every "Language=" entry and appends the new one.
    StoreLanguage(ini, nLanguage);
}

void CQZLWnd::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu) {
    if (m_game.IsRunning())
        m_game.Pause();
    CFrameWnd::OnMenuSelect(nItemID, nFlags, hSysMenu);
}

void CQZLWnd::OnActivate(UINT nState, CWnd *pWndOther, BOOL bMinimized) {
    if (nState != WA_INACTIVE)
        Invalidate(TRUE);
    else
        m_game.Pause();
    CFrameWnd::OnActivate(nState, pWndOther, bMinimized);
}

void CQZLWnd::OnMouseMove(UINT, CPoint point) {
    CDC *pDC = GetDC();
    m_game.MovePaddle(pDC, point.x);
}

void CQZLWnd::OnTimer(UINT_PTR nIDEvent) {
    if (!m_game.IsRunning())
        return;
    switch (nIDEvent) {
    case TIMER_WALL: {
        CDC *pDC = GetDC();
        if (m_game.AdvanceWall(pDC)) {
            if (m_nWallInterval > WALL_SHORTEN_ABOVE)
                m_nWallInterval -= WALL_SHORTENING;
            SetTimer(TIMER_WALL, static_cast<UINT>(m_nWallInterval), nullptr);
        }
        break;
    }
    case TIMER_BALL:
        // The running flag is not looked at again between the steps.
        for (int i = 0; i < STEPS_PER_TICK; ++i) {
            CDC *pDC = GetDC();
            if (!m_game.StepBall(pDC)) {
                KillTimer(TIMER_BALL);
                KillTimer(TIMER_WALL);
                return;
            }
        }
        break;
    default:
        break;
    }
}

void CQZLWnd::OnDestroy() {
    DestroyIcon(m_hIcon);
    m_hIcon = nullptr;
    PostQuitMessage(0);
}
