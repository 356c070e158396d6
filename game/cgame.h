// CGame: the whole state of a game and the owner of everything on the board:
// score, high score, balls, the running and in-progress flags, the fonts, the
// paddle, walls, ball, fifteen brick-row slots and the bonus item.
#pragma once

#include "platform/gdi.h"
#include "sprite/cmsprite.h"
#include "sprite/cspecial.h"
#include "sprite/cssprite.h"
#include "sprite/csprite.h"

class CGame {
public:
    static constexpr int ROW_SLOTS = 15;

    CGame();
    ~CGame();
    CGame(const CGame &) = delete;
    CGame &operator=(const CGame &) = delete;

    void NewGame(CDC *pDC);
    void GameOver(CDC *pDC);
    void ResetBall(CDC *pDC);
    void MovePaddle(CDC *pDC, int x);
    void PaintBoard(CDC *pDC);

    void Start();
    void Stop();
    void Pause();
    void Continue();
    int IsStarted() const { return m_bStarted; }
    int IsRunning() const { return m_bRunning; }
    int GetScore() const { return m_nScore; }
    int GetHighScore() const { return m_nHighScore; }
    int AddPoints(int nPoints);

    // 1 while the game goes on, 0 once the last ball is lost.
    int StepBall(CDC *pDC);
    // 1 when a new brick row was laid in this call.
    int AdvanceWall(CDC *pDC);

    void DrawBigText(CDC *pDC, int x, int y, const char *pszText);
    void DrawSmallText(CDC *pDC, int x, int y, const char *pszText);
    void DrawNumber(CDC *pDC, int x, int y, int n);
    void DrawScores(CDC *pDC);
    void DrawStatus(CDC *pDC);

private:
    friend class CGameProbe;

    // Allocates and creates both fonts (the small one into m_pSmallFont) and
    // returns the big one; a failed allocation ends the process.
    CFont *CreateFonts();

    int m_nScore;
    int m_nHighScore;
    int m_nBalls;
    int m_bRunning;
    int m_bStarted;
    CFont *m_pSmallFont;
    CFont *m_pBigFont;
    int m_nRowY;
    int m_nRowIndex;
    CSprite m_Paddle;
    CSprite m_LeftWall;
    CSprite m_RightWall;
    CSSprite m_Ball;
    CBrick m_Rows[ROW_SLOTS];
    CSpecial m_Bonus;
};
