// CSprite: loading, XOR drawing with last-position bookkeeping, masks and the
// pixel-exact collision test.
#include "sprite/csprite.h"

#include <new>

#include "platform/runtime.h"
#include "settings/language.h"

CSprite::CSprite() { Reset(); }

CSprite::CSprite(const char *pszName) {
    Reset();
    Load(pszName, nullptr);
}

CSprite::~CSprite() { Free(); }

void CSprite::Reset() {
    SetX(0);
    SetY(0);
    m_nWidth = m_nHeight = 0;
    m_nLastX = m_nLastY = NOT_DRAWN;
    m_bVisible = 0;
    m_pBitmap = nullptr;
    m_pMask = nullptr;
    m_bOwnBitmap = m_bOwnMask = 0;
}

void CSprite::Free() {
    if (m_pBitmap && m_bOwnBitmap) {
        m_pBitmap->DeleteObject();
        delete m_pBitmap;
        m_pBitmap = nullptr;
        m_bOwnBitmap = 0;
    }
    if (m_pMask && m_bOwnMask) {
        delete[] m_pMask;
        m_pMask = nullptr;
        m_bOwnMask = 0;
    }
}

CSprite &CSprite::operator=(const CSprite &src) {
    if (this == &src) return *this;
    Free();
    m_nLastX = src.m_nLastX;
    m_nLastY = src.m_nLastY;
    m_nX = src.m_nX;
    m_nY = src.m_nY;
    m_nHeight = src.m_nHeight;
    m_nWidth = src.m_nWidth;
    m_pBitmap = src.m_pBitmap;
    m_pMask = src.m_pMask;
    m_bVisible = 0;
    m_bOwnMask = 0;
    m_bOwnBitmap = 0;
    return *this;
}

int CSprite::GetY() { return m_nY; }
int CSprite::GetX() { return m_nX; }
void CSprite::SetX(int x) { m_nX = x; }
void CSprite::SetY(int y) { m_nY = y; }

void CSprite::MoveBy(int dx, int dy) {
    SetX(GetX() + dx);
    SetY(GetY() + dy);
}

void CSprite::Load(const char *pszName, CDC *pDC) {
    if (pDC) Hide(pDC);
    Free();
    if (!pDC) Reset();
    m_pBitmap = new CBitmap;
    if (m_pBitmap->LoadBitmap(pszName)) {
        m_bOwnBitmap = 1;
        BITMAP bm;
        m_pBitmap->GetBitmap(&bm);
        m_nWidth = bm.bmWidth;
        m_nHeight = bm.bmHeight;
    } else {
        FatalError(g_szCSpriteCaption1[LanguageIndex], pszName ? pszName : "");
    }
    if (pDC) Show(pDC);
}

void CSprite::Draw(CDC *pDC, CDC *pMemDC, int nFlags) {
    if (!m_bVisible || !pDC) return;
    if (!(nFlags & SPR_NOERASE))
        pDC->BitBlt(m_nLastX, m_nLastY, m_nWidth, m_nHeight, pMemDC, 0, 0, SRCINVERT);
    if (nFlags & SPR_NODRAW) {
        m_nLastX = m_nLastY = NOT_DRAWN;
        return;
    }
    m_nLastY = GetY();
    m_nLastX = GetX();
    pDC->BitBlt(m_nLastX, m_nLastY, m_nWidth, m_nHeight, pMemDC, 0, 0, SRCINVERT);
}

void CSprite::Draw(CDC *pDC, int nFlags) {
    if (!m_bVisible || !pDC) return;
    CDC memDC;
    memDC.CreateCompatibleDC(pDC);
    CBitmap *pOld = memDC.SelectObject(m_pBitmap);
    Draw(pDC, &memDC, nFlags);
    memDC.SelectObject(pOld);
    memDC.DeleteDC();
}

void CSprite::Show(CDC *pDC) {
    if (m_bVisible) return;
    m_bVisible = 1;
    Draw(pDC, SPR_NOERASE);
}

void CSprite::Hide(CDC *pDC) {
    if (!m_bVisible) return;
    Draw(pDC, SPR_NODRAW);
    m_bVisible = 0;
}

std::int32_t *CSprite::BuildMask() {
    if (!m_pBitmap) {
        MessageBox(nullptr, g_szCSpriteText4[LanguageIndex], g_szCSpriteCaption4[LanguageIndex],
                   MB_OK | MB_ICONEXCLAMATION);
        return m_pMask;
    }
    // A mask this sprite already owns is released first, so building twice
    // does not leak.
    if (m_pMask && m_bOwnMask) delete[] m_pMask;
    std::size_t cells = static_cast<std::size_t>(m_nWidth) * static_cast<std::size_t>(m_nHeight);
    std::int32_t *pCells = new (std::nothrow) std::int32_t[cells ? cells : 1];
    if (!pCells)
        FatalError(g_szCSpriteCaption2[LanguageIndex], g_szCSpriteText2[LanguageIndex]);
    m_pMask = pCells;
    m_bOwnMask = 1;
    CDC memDC;
    memDC.CreateCompatibleDC(nullptr);
    CBitmap *pOld = memDC.SelectObject(m_pBitmap);
    for (int r = 0; r < m_nHeight; ++r)
        for (int c = 0; c < m_nWidth; ++c)
            m_pMask[r * m_nWidth + c] = memDC.GetPixel(c, r) != 0 ? 1 : 0;
    memDC.SelectObject(pOld);
    memDC.DeleteDC();
    return m_pMask;
}

int CSprite::Collide(CSprite &other) {
    if (!m_bVisible || !other.m_bVisible) return 0;
    int tx = GetX(), ty = GetY(), tw = m_nWidth, th = m_nHeight;
    int ox = other.GetX(), oy = other.GetY(), ow = other.m_nWidth, oh = other.m_nHeight;
    bool overlapX = (ox >= tx && ox < tx + tw) || (tx >= ox && tx < ox + ow);
    if (!overlapX) return 0;
    bool overlapY = (oy >= ty && oy < ty + th) || (ty >= oy && ty < oy + oh);
    if (!overlapY) return 0;
    if (!m_pMask || !other.m_pMask) {
        MessageBox(nullptr, g_szCSpriteText3[LanguageIndex], g_szCSpriteCaption3[LanguageIndex],
                   MB_OK | MB_ICONEXCLAMATION);
        return COLL_HIT;
    }
    int top = th / 4, bottom = th - th / 4, left = tw / 4, right = tw - tw / 4;
    int flags = 0;
    int i0 = oy - ty > 0 ? oy - ty : 0, k0 = ty - oy > 0 ? ty - oy : 0;
    int j0 = ox - tx > 0 ? ox - tx : 0, l0 = tx - ox > 0 ? tx - ox : 0;
    for (int i = i0, k = k0; i < th && k < oh; ++i, ++k) {
        const std::int32_t *mine = m_pMask + i * tw;
        const std::int32_t *theirs = other.m_pMask + k * ow;
        for (int j = j0, l = l0; j < tw && l < ow; ++j, ++l) {
            if (mine[j] && theirs[l]) {
                flags |= COLL_HIT;
                if (i < top) flags |= COLL_TOP;
                if (i >= bottom) flags |= COLL_BOTTOM;
                if (j < left) flags |= COLL_LEFT;
                if (j >= right) flags |= COLL_RIGHT;
            }
        }
    }
    return flags;
}
