// Drawing objects: bitmaps, brushes, fonts and device contexts. A device
// context draws on one surface: the window's picture (the window's own
// context) or the bitmap selected into a memory context. Colours, the font and
// the background mode stay on a context until changed.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/surface.h"
#include "platform/types.h"

class FontFace;

// Raster operations of BitBlt.
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD SRCINVERT = 0x00660046;

// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

class CGdiObject {
public:
    virtual ~CGdiObject() = default;
    virtual BOOL DeleteObject() = 0;
};

// A bitmap's description, as GetBitmap reports it.
struct BITMAP {
    int bmType = 0;
    int bmWidth = 0;
    int bmHeight = 0;
    int bmWidthBytes = 0;
    BYTE bmPlanes = 1;
    BYTE bmBitsPixel = 32;
};

class CBitmap : public CGdiObject {
public:
    // Loads the bitmap resource `name` (case ignored). FALSE when there is
    // none or it cannot be decoded; the bitmap then stays empty.
    BOOL LoadBitmap(const char *name);
    int GetBitmap(BITMAP *pBitmap) const;
    BOOL DeleteObject() override;

    bool IsLoaded() const { return m_surface != nullptr; }
    // The resource name as it was asked for; empty when nothing is loaded.
    const std::string &GetName() const { return m_name; }
    Surface *GetSurface() { return m_surface.get(); }
    const Surface *GetSurface() const { return m_surface.get(); }

private:
    std::unique_ptr<Surface> m_surface;
    std::string m_name;
};

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF colour) { CreateSolidBrush(colour); }
    BOOL CreateSolidBrush(COLORREF colour);
    BOOL DeleteObject() override;
    COLORREF GetColour() const { return m_colour; }
    bool IsCreated() const { return m_bCreated; }

private:
    COLORREF m_colour = 0;
    bool m_bCreated = false;
};

class CFont : public CGdiObject {
public:
    CFont();
    ~CFont() override;
    // Finds an installed face for `lpszFacename` and prepares it at a cell
    // height of nHeight pixels and an average character width of nWidth (0:
    // the face's own). Only height, width, weight, italic and the face name
    // change the result. FALSE when no usable face exists at all.
    BOOL CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight,
                    BYTE bItalic, BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet,
                    BYTE nOutPrecision, BYTE nClipPrecision, BYTE nQuality,
                    BYTE nPitchAndFamily, const char *lpszFacename);
    BOOL DeleteObject() override;
    const FontFace *GetFace() const { return m_face.get(); }

private:
    std::shared_ptr<const FontFace> m_face;
};

// The drawing state behind a device context. The window's own context keeps
// one for the window's whole life.
struct DCState {
    Surface *pTarget = nullptr; // where drawing goes; null draws nothing
    CBitmap *pBitmap = nullptr; // selected bitmap of a memory context
    CFont *pFont = nullptr;
    COLORREF textColour = RGB(0, 0, 0);
    COLORREF bkColour = RGB(255, 255, 255);
    int bkMode = OPAQUE;
};

class CDC {
public:
    CDC() = default;
    // A context that draws with the given state (the window's own context).
    explicit CDC(DCState *pState) : m_pState(pState) {}
    CDC(const CDC &) = delete;
    CDC &operator=(const CDC &) = delete;
    virtual ~CDC();

    // Makes this a memory context with no bitmap selected. pDC may be null
    // (compatible with the screen).
    BOOL CreateCompatibleDC(CDC *pDC);
    BOOL DeleteDC();

    // Each returns the previously selected object.
    CBitmap *SelectObject(CBitmap *pBitmap);
    CFont *SelectObject(CFont *pFont);
    CFont *GetCurrentFont() const { return m_pState ? m_pState->pFont : nullptr; }

    COLORREF GetPixel(int x, int y) const;
    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC *pSrcDC, int xSrc, int ySrc,
                DWORD dwRop);
    void FillRect(const CRect *pRect, CBrush *pBrush);

    COLORREF SetTextColor(COLORREF colour);
    COLORREF GetTextColor() const;
    COLORREF SetBkColor(COLORREF colour);
    COLORREF GetBkColor() const;
    int SetBkMode(int mode);
    int GetBkMode() const;
    // Draws nCount bytes of Latin-1 text with its top-left cell corner at
    // (x, y) in the selected font; opaque mode fills each cell with the
    // background colour first.
    BOOL TextOut(int x, int y, const char *lpszString, int nCount);

    Surface *GetSurface() const { return m_pState ? m_pState->pTarget : nullptr; }

protected:
    DCState *m_pState = nullptr;

private:
    // Memory contexts only; held in place, so a sprite drawn through a
    // context of its own costs no allocation.
    std::optional<DCState> m_ownState;
};
