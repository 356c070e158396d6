// CMSprite and CBrick: grids of sprites sharing element 0's bitmap and mask.
#include "sprite/cmsprite.h"

#include <new>

#include "platform/runtime.h"
#include "settings/language.h"

CMSprite::CMSprite() : m_nCount(0), m_pSprites(nullptr) {}

CMSprite::~CMSprite() { DeleteAll(); }

void CMSprite::DeleteAll() {
    delete[] m_pSprites;
    m_pSprites = nullptr;
    m_nCount = 0;
}

int CMSprite::CountVisible() const {
    int n = 0;
    for (int k = 0; k < m_nCount; ++k)
        if (m_pSprites[k].IsVisible()) ++n;
    return n;
}

void CMSprite::MoveAll(int dx, int dy) {
    for (int k = 0; k < m_nCount; ++k) m_pSprites[k].MoveBy(dx, dy);
}

void CMSprite::Create(const char *pszName, int nCols, int nRows, int x0, int y0, int nGapX,
                      int nGapY, CDC *pDC) {
    if (pDC) HideAll(pDC);
    if (m_pSprites) DeleteAll();
    int count = nCols * nRows;
    m_pSprites = new (std::nothrow) CSprite[count > 0 ? count : 0];
    if (!m_pSprites)
        FatalError(g_szCMSpriteError1[LanguageIndex], g_szCMSpriteError1[LanguageIndex + 2]);
    m_nCount = count;
    if (m_nCount <= 0) return;
    m_pSprites[0].Load(pszName, nullptr);
    int w = m_pSprites[0].GetWidth();
    int h = m_pSprites[0].GetHeight();
    for (int i = 0; i < nRows; ++i) {
        for (int j = 0; j < nCols; ++j) {
            CSprite &s = m_pSprites[i * nCols + j];
            s = m_pSprites[0];
            s.SetX(x0 + j * (w + nGapX));
            s.SetY(y0 + i * (h + nGapY));
        }
    }
    if (pDC) ShowAll(pDC);
}

void CMSprite::DrawAll(CDC *pDC, int nFlags) {
    if (!m_pSprites || CountVisible() == 0) return;
    CDC memDC;
    memDC.CreateCompatibleDC(pDC);
    CBitmap *pOld = memDC.SelectObject(m_pSprites[0].GetBitmap());
    for (int k = 0; k < m_nCount; ++k) m_pSprites[k].Draw(pDC, &memDC, nFlags);
    memDC.SelectObject(pOld);
    memDC.DeleteDC();
}

void CMSprite::ShareMask() {
    if (!m_pSprites || m_nCount <= 0) return;
    std::int32_t *pMask = m_pSprites[0].BuildMask();
    for (int k = 1; k < m_nCount; ++k) m_pSprites[k].SetMask(pMask);
}

void CMSprite::ShowAll(CDC *pDC) {
    for (int k = 0; k < m_nCount; ++k) m_pSprites[k].Show(pDC);
}

void CMSprite::HideAll(CDC *pDC) {
    for (int k = 0; k < m_nCount; ++k) m_pSprites[k].Hide(pDC);
}

void CBrick::Create(int nCols, int nRows, int x0, int y0, int nGapX, int nGapY, CDC *pDC) {
    int n = Rand();
    char szName[] = "qzlbrick1";
    szName[sizeof(szName) - 2] = static_cast<char>('1' + n * 9 / 32768);
    CMSprite::Create(szName, nCols, nRows, x0, y0, nGapX, nGapY, pDC);
    ShareMask();
}
