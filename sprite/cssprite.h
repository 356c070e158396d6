// CSSprite: a sprite with a double-precision position and velocity that moves
// in sub-steps of less than a pixel and turns its velocity by collision flags.
#pragma once

#include "sprite/csprite.h"

class CSSprite : public CSprite {
public:
    CSSprite();
    explicit CSSprite(const char *pszName);
    ~CSSprite() override;

    int GetY() override;
    int GetX() override;
    void SetX(int x) override;
    void SetY(int y) override;

    double GetRealX() const { return m_dX; }
    double GetRealY() const { return m_dY; }
    void SetRealX(double x) { m_dX = x; }
    void SetRealY(double y) { m_dY = y; }
    double GetDX() const { return m_dDX; }
    double GetDY() const { return m_dDY; }
    void SetDX(double dx) { m_dDX = dx; }
    void SetDY(double dy) { m_dDY = dy; }
    int GetSteps() const { return m_nSteps; }

    // 1 + the larger whole-pixel speed, so each sub-step moves under a pixel.
    int CalcSteps();
    int SubStep();
    // Sets the velocity's signs from the flags; returns the flags.
    int Bounce(int nFlags);

private:
    int m_nSteps = 1;
    double m_dX;
    double m_dY;
    double m_dDX;
    double m_dDY;
};
