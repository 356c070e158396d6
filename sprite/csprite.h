// CSprite: one bitmap drawn by XOR straight onto a device context, with a
// collision mask of 32-bit cells and the pixel-exact collision test whose
// flags tell which quarter of this sprite was touched.
#pragma once

#include <cstdint>

#include "platform/gdi.h"

// Collision flags: which side of the sprite that Collide was called on touched.
constexpr int COLL_HIT = 1;
constexpr int COLL_TOP = 2;
constexpr int COLL_BOTTOM = 4;
constexpr int COLL_LEFT = 8;
constexpr int COLL_RIGHT = 16;

// Draw flags.
constexpr int SPR_NOERASE = 1; // do not erase at the last drawn position
constexpr int SPR_NODRAW = 2;  // do not draw at the current position

// Last position of a sprite whose image is not on the surface.
constexpr int NOT_DRAWN = -1000;

class CSprite {
public:
    CSprite();
    explicit CSprite(const char *pszName);
    virtual ~CSprite();

    // Shares the source's bitmap and mask; the copy is hidden and owns nothing.
    CSprite &operator=(const CSprite &src);
    CSprite(const CSprite &) = delete;

    void Reset();
    void Free();

    virtual int GetY();
    virtual int GetX();
    virtual void SetX(int x);
    virtual void SetY(int y);

    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    CBitmap *GetBitmap() const { return m_pBitmap; }
    std::int32_t *GetMask() const { return m_pMask; }
    void SetMask(std::int32_t *pMask) { m_pMask = pMask; }
    int IsVisible() const { return m_bVisible; }
    int GetLastX() const { return m_nLastX; }
    int GetLastY() const { return m_nLastY; }

    void MoveBy(int dx, int dy);
    // Loads the named bitmap resource; a missing one ends the process.
    void Load(const char *pszName, CDC *pDC);
    void Draw(CDC *pDC, int nFlags);
    void Draw(CDC *pDC, CDC *pMemDC, int nFlags);
    void Show(CDC *pDC);
    void Hide(CDC *pDC);
    std::int32_t *BuildMask();
    int Collide(CSprite &other);

private:
    int m_nLastX;
    int m_nLastY;
    int m_nX;
    int m_nY;
    int m_nHeight;
    int m_nWidth;
    CBitmap *m_pBitmap;
    int m_bOwnMask;
    int m_bOwnBitmap;
    int m_bVisible;
    std::int32_t *m_pMask;
};
