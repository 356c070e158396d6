// CSpecial: the bonus item, which becomes a random coin, ruby or diamond
// with its own bitmap, mask and point value each time it is chosen.
#pragma once

#include "sprite/csprite.h"

class CSpecial : public CSprite {
public:
    CSpecial();
    ~CSpecial() override;

    void Choose(CDC *pDC);
    int GetValue() const { return m_nValue; }

private:
    int m_nValue = 0;
};
