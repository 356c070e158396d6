// FontFace: an installed typeface, resolved through fontconfig and rendered
// by FreeType at one cell height and one average character width, with all
// 256 Latin-1 glyphs rendered once as crisp one-bit shapes. CFont holds one;
// CDC::TextOut draws with it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/surface.h"
#include "platform/types.h"

class FontFace {
public:
    // Finds the installed face that serves `faceName` (legacy names are
    // mapped first; unknown names fall back to a serif face, then to any
    // face) and prepares it at a cell height of nHeight pixels (ascent plus
    // descent; a negative value gives the em height instead, 0 means 16) and
    // an average character width of nWidth pixels (0: the face's own
    // proportions). Faces are cached, so asking twice costs little. Null when
    // no usable face is installed at all; that is reported once on standard
    // error.
    static std::shared_ptr<const FontFace> Create(const char *faceName, int nHeight, int nWidth,
                                                  int nWeight, bool bItalic);
    // The face text is drawn with when no font is selected: the serif
    // fallback at a cell height of 16. Null when no face is installed.
    static std::shared_ptr<const FontFace> Default();

    // The family and file that were resolved, e.g. "Liberation Serif" and
    // ".../LiberationSerif-Regular.ttf".
    const std::string &Family() const { return m_strFamily; }
    const std::string &File() const { return m_strFile; }

    int CellHeight() const { return m_nAscent + m_nDescent; }
    int Ascent() const { return m_nAscent; }
    int Descent() const { return m_nDescent; }
    // The weighted average advance of 'a'..'z' and the space, by English
    // letter frequency, in pixels (rounded).
    int AverageCharWidth() const { return m_nAvgWidth; }
    // Horizontal stretch applied to reach the requested average width (1
    // when the face keeps its own proportions).
    double HorizontalScale() const { return m_dScaleX; }

    int CharAdvance(unsigned char c) const { return m_glyphs[c].advance; }
    // Sum of the advances of the n bytes of s.
    int TextExtent(const char *s, int n) const;

    // Draws n Latin-1 bytes with the top-left corner of the first cell at
    // (x, y), baseline at y + Ascent(). Opaque fills every character cell
    // (advance x cell height) with bk first. Glyph pixels are fg; nothing is
    // drawn above or below the cell. Clipped to the surface. Returns the
    // text's extent.
    int Draw(Surface &surface, int x, int y, const char *s, int n, COLORREF fg, COLORREF bk,
             bool opaque) const;

    // One row run of a glyph's pixels, relative to the pen position on the
    // baseline: pixels x0..x1-1 in row dy (negative above the baseline).
    struct Span {
        std::int16_t dy, x0, x1;
    };

private:
    struct Glyph {
        int advance = 0;
        std::uint32_t firstSpan = 0, spanCount = 0;
    };

    FontFace() = default;
    friend class FontRegistry;

    std::string m_strFamily;
    std::string m_strFile;
    int m_nAscent = 0;
    int m_nDescent = 0;
    int m_nAvgWidth = 0;
    double m_dScaleX = 1.0;
    Glyph m_glyphs[256];
    std::vector<Span> m_spans;
};
