// Bitmaps, brushes and device contexts on surfaces. (Fonts and text output
// live in font.cpp.)
#include "platform/gdi.h"

#include "platform/image.h"
#include "platform/resources.h"

BOOL CBitmap::LoadBitmap(const char *name) {
    m_surface.reset();
    m_name.clear();
    if (!name) return FALSE;
    const Resource *res = FindResource(name, ResourceType::Bitmap);
    if (!res) return FALSE;
    auto image = DecodeBmp(res->data, res->size);
    if (!image) return FALSE;
    m_surface = std::make_unique<Surface>(std::move(*image));
    m_name = name;
    return TRUE;
}

int CBitmap::GetBitmap(BITMAP *pBitmap) const {
    if (!pBitmap || !m_surface) return 0;
    pBitmap->bmType = 0;
    pBitmap->bmWidth = m_surface->Width();
    pBitmap->bmHeight = m_surface->Height();
    pBitmap->bmWidthBytes = m_surface->Width() * 4;
    pBitmap->bmPlanes = 1;
    pBitmap->bmBitsPixel = 32;
    return static_cast<int>(sizeof(BITMAP));
}

BOOL CBitmap::DeleteObject() {
    if (!m_surface) return FALSE;
    m_surface.reset();
    m_name.clear();
    return TRUE;
}

BOOL CBrush::CreateSolidBrush(COLORREF colour) {
    m_colour = colour;
    m_bCreated = true;
    return TRUE;
}

BOOL CBrush::DeleteObject() {
    bool was = m_bCreated;
    m_bCreated = false;
    return was ? TRUE : FALSE;
}

CDC::~CDC() = default;

BOOL CDC::CreateCompatibleDC(CDC *) {
    m_ownState.emplace();
    m_pState = &*m_ownState;
    return TRUE;
}

BOOL CDC::DeleteDC() {
    if (!m_ownState) return FALSE;
    m_ownState.reset();
    m_pState = nullptr;
    return TRUE;
}

CBitmap *CDC::SelectObject(CBitmap *pBitmap) {
    if (!m_pState) return nullptr;
    CBitmap *old = m_pState->pBitmap;
    m_pState->pBitmap = pBitmap;
    // A memory context draws on its bitmap; the window's context never
    // selects one.
    if (m_ownState) m_pState->pTarget = pBitmap ? pBitmap->GetSurface() : nullptr;
    return old;
}

CFont *CDC::SelectObject(CFont *pFont) {
    if (!m_pState) return nullptr;
    CFont *old = m_pState->pFont;
    m_pState->pFont = pFont;
    return old;
}

COLORREF CDC::GetPixel(int x, int y) const {
    Surface *s = GetSurface();
    return s ? s->GetPixel(x, y) : CLR_INVALID;
}

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC *pSrcDC, int xSrc, int ySrc,
                 DWORD dwRop) {
    Surface *dst = GetSurface();
    Surface *src = pSrcDC ? pSrcDC->GetSurface() : nullptr;
    if (!dst || !src) return FALSE;
    if (dwRop == SRCCOPY)
        dst->Blit(x, y, nWidth, nHeight, *src, xSrc, ySrc, Surface::Op::Copy);
    else if (dwRop == SRCINVERT)
        dst->Blit(x, y, nWidth, nHeight, *src, xSrc, ySrc, Surface::Op::Xor);
    else
        return FALSE;
    return TRUE;
}

void CDC::FillRect(const CRect *pRect, CBrush *pBrush) {
    Surface *dst = GetSurface();
    if (!dst || !pRect || !pBrush) return;
    dst->Fill(*pRect, pBrush->GetColour());
}

COLORREF CDC::SetTextColor(COLORREF colour) {
    if (!m_pState) return CLR_INVALID;
    COLORREF old = m_pState->textColour;
    m_pState->textColour = colour;
    return old;
}

COLORREF CDC::GetTextColor() const { return m_pState ? m_pState->textColour : CLR_INVALID; }

COLORREF CDC::SetBkColor(COLORREF colour) {
    if (!m_pState) return CLR_INVALID;
    COLORREF old = m_pState->bkColour;
    m_pState->bkColour = colour;
    return old;
}

COLORREF CDC::GetBkColor() const { return m_pState ? m_pState->bkColour : CLR_INVALID; }

int CDC::SetBkMode(int mode) {
    if (!m_pState) return 0;
    int old = m_pState->bkMode;
    m_pState->bkMode = mode;
    return old;
}

int CDC::GetBkMode() const { return m_pState ? m_pState->bkMode : 0; }
