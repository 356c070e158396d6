// CGame::AdvanceWall: the wall comes down 4 pixels; new rows are laid in
// blocks of five, the oldest row is replaced at a cost, and the bonus item
// comes with new rows and vanishes at random.
#include "game/cgame.h"
#include "platform/runtime.h"

namespace {
constexpr int WALL_STEP = 4;
constexpr int LAY_THRESHOLD = -20;
constexpr int BRICKS_PER_ROW = 15;
constexpr int ROW_INSET = 5;
constexpr int PENALTY = 10;
constexpr int VANISH_CHANCE = 300;
constexpr int VANISH_MIN_Y = 20;
constexpr int SPAWN_CHANCE = 3000;
constexpr int ROWS_PER_BLOCK = 5;
constexpr int BLOCK_GAP_ROWS = 4;
} // namespace

int CGame::AdvanceWall(CDC *pDC) {
    for (CBrick &row : m_Rows) {
        row.MoveAll(0, WALL_STEP);
        row.DrawAll(pDC, 0);
    }

    // The bonus is not stopped at the bottom: it falls out of sight until the
    // ball hits it or this test takes it away.
    int r = Rand();
    if (r < VANISH_CHANCE && m_Bonus.GetY() > VANISH_MIN_Y) {
        m_Bonus.Hide(pDC);
    } else {
        m_Bonus.MoveBy(0, WALL_STEP);
        m_Bonus.Draw(pDC, 0);
    }

    m_nRowY += WALL_STEP;
    if (m_nRowY < LAY_THRESHOLD) return 0;

    if (m_nRowIndex >= ROW_SLOTS) m_nRowIndex = 0;
    CBrick &row = m_Rows[m_nRowIndex];

    // Bricks left standing in the oldest row cost points; kept as designed.
    AddPoints(-PENALTY * row.CountVisible());
    DrawStatus(pDC);

    row.Create(BRICKS_PER_ROW, 1, m_LeftWall.GetX() + m_LeftWall.GetWidth() + ROW_INSET, m_nRowY,
               1, 0, pDC);

    if (!m_Bonus.IsVisible() && Rand() < SPAWN_CHANCE) {
        int k = Rand() % BRICKS_PER_ROW;
        CSprite &brick = row.m_pSprites[k];
        brick.Hide(pDC);
        m_Bonus.SetY(m_nRowY);
        m_Bonus.SetX(brick.GetX());
        m_Bonus.Choose(pDC);
    }

    ++m_nRowIndex;
    int h = m_Rows[0].GetCount() > 0 ? m_Rows[0].m_pSprites[0].GetHeight() : 0;
    int f = (m_nRowIndex % ROWS_PER_BLOCK) ? 1 : BLOCK_GAP_ROWS;
    m_nRowY -= f * h + 1;
    return 1;
}
