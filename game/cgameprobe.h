// CGameProbe: the one way for tests and the replay tool to read and set the
// game's private state. Game code never uses it.
#pragma once

#include "game/cgame.h"

class CGameProbe {
public:
    explicit CGameProbe(CGame &game) : m_game(game) {}

    int &Score() { return m_game.m_nScore; }
    int &HighScore() { return m_game.m_nHighScore; }
    int &Balls() { return m_game.m_nBalls; }
    int &Running() { return m_game.m_bRunning; }
    int &Started() { return m_game.m_bStarted; }
    int &RowY() { return m_game.m_nRowY; }
    int &RowIndex() { return m_game.m_nRowIndex; }
    CSprite &Paddle() { return m_game.m_Paddle; }
    CSprite &LeftWall() { return m_game.m_LeftWall; }
    CSprite &RightWall() { return m_game.m_RightWall; }
    CSSprite &Ball() { return m_game.m_Ball; }
    CBrick &Row(int slot) { return m_game.m_Rows[slot]; }
    CSpecial &Bonus() { return m_game.m_Bonus; }
    CFont *SmallFont() { return m_game.m_pSmallFont; }
    CFont *BigFont() { return m_game.m_pBigFont; }

private:
    CGame &m_game;
};
