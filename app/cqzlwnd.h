// CQZLWnd: the game's only window. It holds the game state and turns every
// event of its table (paint, the menu commands, menu selection, activation,
// mouse moves, the two timers, destruction) into calls on it.
#pragma once

#include "game/cgame.h"
#include "platform/icon.h"
#include "platform/wnd.h"

// Menu commands.
constexpr int ID_GAME_NEW = 101;
constexpr int ID_GAME_QUIT = 102;
constexpr int ID_GAME_CONTINUE = 103;
constexpr int ID_INFO = 104;
constexpr int ID_LANG_ENGLISH = 106;
constexpr int ID_LANG_GERMAN = 107;

class CQZLWnd : public CFrameWnd {
public:
    static constexpr int TIMER_WALL = 1;
    static constexpr int TIMER_BALL = 2;
    static constexpr UINT BALL_INTERVAL = 55;        // ms per ball tick
    static constexpr int FIRST_WALL_INTERVAL = 2800; // ms, after a new game
    static constexpr int WALL_SHORTENING = 60;       // ms off per new row ...
    static constexpr int WALL_SHORTEN_ABOVE = 800;   // ... while the period is above this
    static constexpr int STEPS_PER_TICK = 4;         // ball steps per ball tick, at most

    // Builds the game state, reads the language from the settings file and
    // creates the (hidden) window with that language's menu.
    explicit CQZLWnd(HICON hIcon);
    ~CQZLWnd() override;

    BOOL PreCreateWindow(CREATESTRUCT &cs) override;

    // For the replay tool and tests.
    int GetWallInterval() const { return m_nWallInterval; }
    CGame &GetGame() { return m_game; }

protected:
    virtual void OnPaint() override;
    virtual void OnNewGame();
    virtual void OnQuit();
    virtual void OnContinue();
    virtual void OnInfo();
    virtual void OnEnglish();
    virtual void OnGerman();
    virtual void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu) override;
    virtual void OnActivate(UINT nState, CWnd *pWndOther, BOOL bMinimized) override;
    virtual void OnMouseMove(UINT nFlags, CPoint point) override;
    virtual void OnTimer(UINT_PTR nIDEvent) override;
    virtual void OnDestroy() override;

    DECLARE_MESSAGE_MAP()

private:
    // The common steps of the two language commands.
    void SwitchLanguage(int nLanguage, const char *pszMenuName, int nAssertLine);

    CGame m_game;
    int m_nWallInterval;
    HICON m_hIcon;
};
