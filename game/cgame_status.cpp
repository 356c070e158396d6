// CGame's texts: the two fonts, big yellow text on the board, small
// blue-violet text on the status panel, and the panel itself.
#include <cstdio>
#include <cstring>
#include <new>

#include "game/cgame.h"
#include "platform/runtime.h"
#include "settings/language.h"

namespace {
constexpr const char *FACE_NAME = "TmsRmn";
constexpr COLORREF BIG_TEXT_COLOUR = RGB(220, 220, 0);
constexpr COLORREF SMALL_TEXT_COLOUR = RGB(64, 0, 255);
constexpr int PANEL_X = 455;
constexpr int SCORE_LABEL_Y = 80, SCORE_Y = 102;
constexpr int HIGH_LABEL_Y = 146, HIGH_Y = 168;
constexpr int BALLS_LABEL_Y = 212, BALLS_Y = 234;
// Drawn before every number, so a shorter number leaves no trace of a longer one.
constexpr const char *BLANK = "          ";

// Font parameters beyond height and width: normal weight, no italic,
// underline or strike-out, ANSI set, default precisions, proof quality.
void CreateGameFont(CFont *pFont, int nHeight, int nWidth) {
    pFont->CreateFont(nHeight, nWidth, 0, 0, 400, 0, 0, 0, 0 /* ANSI */, 0, 0, 2 /* proof */, 0,
                      FACE_NAME);
}
} // namespace

CFont *CGame::CreateFonts() {
    m_pSmallFont = new (std::nothrow) CFont;
    CFont *pBig = new (std::nothrow) CFont;
    if (!m_pSmallFont || !pBig)
        FatalError(g_szCGameError1[LanguageIndex], g_szCGameError1[LanguageIndex + 2]);
    CreateGameFont(m_pSmallFont, 22, 14);
    CreateGameFont(pBig, 65, 0);
    return pBig;
}

void CGame::DrawBigText(CDC *pDC, int x, int y, const char *pszText) {
    if (!pDC) return;
    COLORREF oldText = pDC->SetTextColor(BIG_TEXT_COLOUR);
    COLORREF oldBk = pDC->SetBkColor(RGB(0, 0, 0));
    CFont *pOldFont = pDC->SelectObject(m_pBigFont);
    pDC->TextOut(x, y, pszText, static_cast<int>(std::strlen(pszText)));
    pDC->SetTextColor(oldText);
    pDC->SetBkColor(oldBk);
    pDC->SelectObject(pOldFont);
}

void CGame::DrawSmallText(CDC *pDC, int x, int y, const char *pszText) {
    if (!pDC) return;
    COLORREF oldText = pDC->SetTextColor(SMALL_TEXT_COLOUR);
    CFont *pOldFont = pDC->SelectObject(m_pSmallFont);
    pDC->TextOut(x, y, pszText, static_cast<int>(std::strlen(pszText)));
    pDC->SetTextColor(oldText);
    pDC->SelectObject(pOldFont);
}

void CGame::DrawNumber(CDC *pDC, int x, int y, int n) {
    char szBuffer[16];
    std::snprintf(szBuffer, sizeof(szBuffer), "%d", n);
    DrawSmallText(pDC, x, y, szBuffer);
}

void CGame::DrawScores(CDC *pDC) {
    DrawSmallText(pDC, PANEL_X, SCORE_Y, BLANK);
    DrawNumber(pDC, PANEL_X, SCORE_Y, GetScore());
    DrawSmallText(pDC, PANEL_X, HIGH_Y, BLANK);
    DrawNumber(pDC, PANEL_X, HIGH_Y, GetHighScore());
}

void CGame::DrawStatus(CDC *pDC) {
    DrawSmallText(pDC, PANEL_X, SCORE_LABEL_Y, g_szScoreLabel[LanguageIndex]);
    DrawSmallText(pDC, PANEL_X, HIGH_LABEL_Y, g_szHighscoreLabel);
    DrawSmallText(pDC, PANEL_X, BALLS_LABEL_Y, g_szBallsLabel[LanguageIndex]);
    DrawSmallText(pDC, PANEL_X, BALLS_Y, BLANK);
    DrawNumber(pDC, PANEL_X, BALLS_Y, m_nBalls);
    DrawScores(pDC);
}
