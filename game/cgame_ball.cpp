// CGame::StepBall: one step of the ball in sub-steps of under a pixel, with
// its collisions in a fixed order, the paddle's deflection and the scoring.
#include <cmath>

#include "game/cgame.h"
#include "platform/runtime.h"

namespace {
constexpr int BRICK_POINTS = 10;
constexpr int FIELD_BOTTOM = 450;
constexpr double OFFSET_SCALE = 2.0;
constexpr double DEFLECTION_GAIN = 3.0;
constexpr double DX_LIMIT = 3.0;
constexpr double DY_BASE = -1.5;
constexpr double RADIUS_SQUARED = 9.0;
constexpr UINT SOUND_FLAGS = SND_ASYNC | SND_NODEFAULT;

// A row's bricks stand in one grid and move together, so its first and last
// brick span a box that holds them all. A ball whose box misses that box can
// touch none of them, and a box miss is all their collision tests would find,
// so such a row is skipped whole: the result is the same, at a fraction of
// the cost of testing 225 bricks per sub-step.
bool BallNearRow(CSSprite &ball, CBrick &row) {
    if (row.GetCount() == 0) return false;
    CSprite &first = row.m_pSprites[0];
    CSprite &last = row.m_pSprites[row.GetCount() - 1];
    int bx = ball.GetX(), by = ball.GetY();
    int left = first.GetX(), top = first.GetY();
    int right = last.GetX() + last.GetWidth(), bottom = last.GetY() + last.GetHeight();
    return bx < right && left < bx + ball.GetWidth() && by < bottom && top < by + ball.GetHeight();
}
} // namespace

int CGame::StepBall(CDC *pDC) {
    // The count is taken once per call: a deflection within the call does not
    // change it, so the remaining sub-steps may move more than a pixel.
    int n = m_Ball.CalcSteps();
    for (int step = 0; step <= n; ++step) {
        m_Ball.SubStep();

        if (m_Ball.GetY() < 0) {
            m_Ball.SetRealY(0.0);
            m_Ball.Bounce(COLL_TOP);
            m_Ball.Draw(pDC, 0);
        }

        int f = m_Ball.Bounce(m_Ball.Collide(m_LeftWall));
        if (f) {
            m_Ball.SetX(m_LeftWall.GetX() + m_LeftWall.GetWidth());
            m_Ball.Draw(pDC, 0);
        }

        f = m_Ball.Bounce(m_Ball.Collide(m_RightWall));
        if (f) {
            m_Ball.SetX(m_RightWall.GetX() - m_Ball.GetWidth());
            m_Ball.Draw(pDC, 0);
        }

        f = m_Ball.Collide(m_Paddle);
        if (f) {
            if (f & COLL_TOP) {
                // The paddle touches the ball's top: the ball is level with
                // or below it, so it only turns sideways.
                m_Ball.SetDX(-m_Ball.GetDX());
            } else {
                int bc = m_Ball.GetWidth() / 2 + m_Ball.GetX();
                int pc = m_Paddle.GetWidth() / 2 + m_Paddle.GetX();
                double off = static_cast<double>(bc - pc) / static_cast<double>(m_Paddle.GetWidth()) *
                             OFFSET_SCALE;
                double ndx = m_Ball.GetDX() + DEFLECTION_GAIN * off;
                if (ndx > DX_LIMIT) ndx = DX_LIMIT;
                if (ndx < -DX_LIMIT) ndx = -DX_LIMIT;
                m_Ball.SetDX(ndx);
                m_Ball.SetDY(DY_BASE - std::sqrt(RADIUS_SQUARED - ndx * ndx));
                m_Ball.SetY(m_Paddle.GetY() - m_Ball.GetHeight());
                sndPlaySound("beam.wav", SOUND_FLAGS);
            }
            m_Ball.Draw(pDC, 0);
        }

        int acc = 0;
        for (CBrick &row : m_Rows) {
            if (!BallNearRow(m_Ball, row)) continue;
            for (int k = 0; k < row.GetCount(); ++k) {
                CSprite &brick = row.m_pSprites[k];
                f = m_Ball.Collide(brick);
                if (f) {
                    acc |= f;
                    AddPoints(BRICK_POINTS);
                    DrawStatus(pDC);
                    brick.Hide(pDC);
                }
            }
        }
        if (acc) {
            sndPlaySound("boing2.wav", SOUND_FLAGS);
            m_Ball.Bounce(acc);
            m_Ball.Draw(pDC, 0);
        }

        f = m_Ball.Bounce(m_Ball.Collide(m_Bonus));
        if (f) {
            sndPlaySound("ding.wav", SOUND_FLAGS);
            m_Ball.Draw(pDC, 0);
            AddPoints(m_Bonus.GetValue());
            DrawStatus(pDC);
            m_Bonus.Hide(pDC);
        }

        if (m_Ball.GetY() > FIELD_BOTTOM) {
            --m_nBalls;
            DrawStatus(pDC);
            if (m_nBalls == 0) {
                GameOver(pDC);
                return 0;
            }
            ResetBall(pDC);
        }
    }
    m_Ball.Draw(pDC, 0);
    return 1;
}
