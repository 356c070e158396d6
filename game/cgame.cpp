// CGame: construction, the game's flags and scores, the ball's start, the
// paddle, the end of a game, the board's painting and the start of a game.
#include "game/cgame.h"

#include "platform/runtime.h"
#include "settings/language.h"

namespace {
constexpr int PADDLE_START_X = 225;
constexpr int PADDLE_Y = 380;
constexpr int FIELD_SIZE = 450;
constexpr double BALL_START_X = 112.0;
constexpr double BALL_START_Y = 225.0;
constexpr int TITLE_X = 135, TITLE_Y = 175;
constexpr int GAME_OVER_X = 190, GAME_OVER_Y = 225;
constexpr int FIRST_ROW_Y = -21;
constexpr int START_ADVANCES = 15;
} // namespace

// The members are built in declaration order: the scores and flags (as Stop
// leaves them), then the fonts, then the sprites, so a font failure is
// reported before any bitmap is loaded.
CGame::CGame()
    : m_nScore(0), m_nHighScore(0), m_nBalls(0), m_bRunning(0), m_bStarted(0),
      m_pSmallFont(nullptr), m_pBigFont(CreateFonts()), m_nRowY(FIRST_ROW_Y), m_nRowIndex(0),
      m_Paddle("qzlbase"), m_LeftWall("qzlwall"), m_RightWall("qzlwall"), m_Ball("qzlball") {
    m_Paddle.BuildMask();
    m_Paddle.SetX(PADDLE_START_X);
    m_Paddle.SetY(PADDLE_Y);
    m_Ball.BuildMask();
    m_LeftWall.BuildMask();
    m_LeftWall.Show(nullptr);
    m_RightWall.BuildMask();
    m_RightWall.SetX(FIELD_SIZE - m_LeftWall.GetWidth());
    m_RightWall.Show(nullptr);
    SRand(static_cast<unsigned>(Time()));
}

// The sprites go first (members in reverse order), then the fonts.
CGame::~CGame() {
    delete m_pSmallFont;
    delete m_pBigFont;
}

void CGame::Start() {
    m_nScore = 0;
    m_bRunning = 1;
    m_bStarted = 1;
}

void CGame::Stop() {
    m_nBalls = 0;
    m_bRunning = 0;
    m_bStarted = 0;
}

void CGame::Pause() { m_bRunning = 0; }

void CGame::Continue() {
    if (m_bStarted) m_bRunning = 1;
}

int CGame::AddPoints(int nPoints) {
    m_nScore += nPoints;
    if (m_nScore > m_nHighScore) m_nHighScore = m_nScore;
    return m_nScore;
}

void CGame::ResetBall(CDC *pDC) {
    m_Ball.SetDX(1.0);
    m_Ball.SetDY(1.0);
    m_Ball.SetRealX(BALL_START_X);
    m_Ball.SetRealY(BALL_START_Y);
    m_Ball.Show(pDC);
}

void CGame::GameOver(CDC *pDC) {
    m_Paddle.Hide(pDC);
    m_Ball.Hide(pDC);
    m_Bonus.Hide(pDC);
    DrawBigText(pDC, GAME_OVER_X, GAME_OVER_Y, g_szGameOverLabel[LanguageIndex]);
    sndPlaySound("dead.wav", SND_ASYNC | SND_NODEFAULT);
    Stop();
}

void CGame::MovePaddle(CDC *pDC, int x) {
    int right = m_RightWall.GetX() - m_Paddle.GetWidth();
    if (x >= right) x = right;
    // The left bound is applied last and wins should the bounds ever cross.
    int left = m_LeftWall.GetX() + m_LeftWall.GetWidth();
    if (x <= left) x = left;
    m_Paddle.SetX(x);
    m_Paddle.Draw(pDC, 0);
}

void CGame::PaintBoard(CDC *pDC) {
    CBrush black(RGB(0, 0, 0));
    CRect field(0, 0, FIELD_SIZE, FIELD_SIZE);
    if (pDC) pDC->FillRect(&field, &black);
    // The fill removed every old image, so each sprite is drawn without erasing.
    m_LeftWall.Draw(pDC, SPR_NOERASE);
    m_RightWall.Draw(pDC, SPR_NOERASE);
    m_Paddle.Draw(pDC, SPR_NOERASE);
    m_Ball.Draw(pDC, SPR_NOERASE);
    m_Bonus.Draw(pDC, SPR_NOERASE);
    for (CBrick &row : m_Rows) row.DrawAll(pDC, SPR_NOERASE);
    if (!IsStarted()) DrawBigText(pDC, TITLE_X, TITLE_Y, g_szBoardTitle);
}

void CGame::NewGame(CDC *pDC) {
    Start();
    m_nBalls = 3;
    PaintBoard(pDC);
    m_Paddle.Show(pDC);
    m_nRowIndex = 0;
    m_nRowY = FIRST_ROW_Y;
    // Erase the previous game's bricks, which the paint has just drawn again,
    // so they neither collide nor cost points when their slots are re-laid.
    for (CBrick &row : m_Rows) row.HideAll(pDC);
    for (int i = 0; i < START_ADVANCES; ++i) AdvanceWall(pDC);
    ResetBall(pDC);
}
