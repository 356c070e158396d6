// CMSprite: a grid of sprites sharing one bitmap and one mask, owned by
// element 0; CBrick: a row of bricks of one random colour.
#pragma once

#include "sprite/csprite.h"

class CMSprite {
public:
    CMSprite();
    ~CMSprite();
    CMSprite(const CMSprite &) = delete;
    CMSprite &operator=(const CMSprite &) = delete;

    void DeleteAll();
    int GetCount() const { return m_nCount; }
    int CountVisible() const;
    void MoveAll(int dx, int dy);
    void Create(const char *pszName, int nCols, int nRows, int x0, int y0, int nGapX, int nGapY,
                CDC *pDC);
    void DrawAll(CDC *pDC, int nFlags);
    void ShareMask();
    void ShowAll(CDC *pDC);
    void HideAll(CDC *pDC);

private:
    int m_nCount;

public:
    // The game reaches single sprites of the group directly.
    CSprite *m_pSprites;
};

class CBrick : public CMSprite {
public:
    // Picks one of the nine brick bitmaps at random, creates the grid and
    // gives every brick the shared mask.
    void Create(int nCols, int nRows, int x0, int y0, int nGapX, int nGapY, CDC *pDC);
};
