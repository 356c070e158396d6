// CSSprite: sub-pixel movement and bouncing of the ball.
#include "sprite/cssprite.h"

#include <cmath>

// The base constructors run CSprite's own SetX/SetY (virtual dispatch does not
// reach a derived class under construction), so the doubles are set here.
CSSprite::CSSprite() : CSprite(), m_dX(0.0), m_dY(0.0), m_dDX(0.0), m_dDY(0.0) {}

CSSprite::CSSprite(const char *pszName)
    : CSprite(pszName), m_dX(0.0), m_dY(0.0), m_dDX(0.0), m_dDY(0.0) {}

CSSprite::~CSSprite() = default;

// Truncation towards zero: a ball at y = -0.5 stands at whole pixel 0.
int CSSprite::GetY() { return static_cast<int>(m_dY); }
int CSSprite::GetX() { return static_cast<int>(m_dX); }
void CSSprite::SetX(int x) { m_dX = static_cast<double>(x); }
void CSSprite::SetY(int y) { m_dY = static_cast<double>(y); }

int CSSprite::CalcSteps() {
    int a = static_cast<int>(std::fabs(m_dDX));
    int b = static_cast<int>(std::fabs(m_dDY));
    m_nSteps = a > b ? a + 1 : b + 1;
    return m_nSteps;
}

int CSSprite::SubStep() {
    m_dX = m_dX + m_dDX / static_cast<double>(m_nSteps);
    m_dY = m_dY + m_dDY / static_cast<double>(m_nSteps);
    return m_nSteps;
}

int CSSprite::Bounce(int nFlags) {
    if (nFlags & COLL_TOP) m_dDY = std::fabs(m_dDY);
    if (nFlags & COLL_BOTTOM) m_dDY = -std::fabs(m_dDY);
    if (nFlags & COLL_LEFT) m_dDX = std::fabs(m_dDX);
    if (nFlags & COLL_RIGHT) m_dDX = -std::fabs(m_dDX);
    return nFlags;
}
