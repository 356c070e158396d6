// Drawing helpers for the host's overlays.
#include "platform/sdl/sdl_draw.h"

#include "platform/font.h"

namespace ui {

namespace {
void HLine(Surface &s, int x0, int x1, int y, COLORREF c) {
    s.Fill(CRect(x0, y, x1, y + 1), c);
}
void VLine(Surface &s, int x, int y0, int y1, COLORREF c) {
    s.Fill(CRect(x, y0, x + 1, y1), c);
}

void Edge(Surface &s, const CRect &rc, COLORREF outerTL, COLORREF innerTL, COLORREF innerBR,
          COLORREF outerBR) {
    if (rc.Width() < 4 || rc.Height() < 4)
        return;
    int l = rc.left, t = rc.top, r = rc.right - 1, b = rc.bottom - 1;
    HLine(s, l, r, t, outerTL);
    VLine(s, l, t, b, outerTL);
    HLine(s, l, r + 1, b, outerBR);
    VLine(s, r, t, b + 1, outerBR);
    HLine(s, l + 1, r - 1, t + 1, innerTL);
    VLine(s, l + 1, t + 1, b - 1, innerTL);
    HLine(s, l + 1, r, b - 1, innerBR);
    VLine(s, r - 1, t + 1, b, innerBR);
}
} // namespace

void RaisedEdge(Surface &s, const CRect &rc) {
    Edge(s, rc, FACE, LIGHT, SHADOW, DARK);
}
void SunkenEdge(Surface &s, const CRect &rc) {
    Edge(s, rc, SHADOW, DARK, FACE, LIGHT);
}

void Frame(Surface &s, const CRect &rc, COLORREF c) {
    if (rc.IsEmpty())
        return;
    HLine(s, rc.left, rc.right, rc.top, c);
    HLine(s, rc.left, rc.right, rc.bottom - 1, c);
    VLine(s, rc.left, rc.top, rc.bottom, c);
    VLine(s, rc.right - 1, rc.top, rc.bottom, c);
}

void FocusFrame(Surface &s, const CRect &rc) {
    for (int x = rc.left; x < rc.right; x += 2) {
        s.SetPixel(x, rc.top, DARK);
        s.SetPixel(x, rc.bottom - 1, DARK);
    }
    for (int y = rc.top; y < rc.bottom; y += 2) {
        s.SetPixel(rc.left, y, DARK);
        s.SetPixel(rc.right - 1, y, DARK);
    }
}

void Text(Surface &s, const FontFace *font, int x, int y, const std::string &text, COLORREF c) {
    if (!font || text.empty())
        return;
    font->Draw(s, x, y, text.data(), static_cast<int>(text.size()), c, c, false);
}

int TextWidth(const FontFace *font, const std::string &text) {
    if (!font)
        return 0;
    return font->TextExtent(text.data(), static_cast<int>(text.size()));
}

} // namespace ui
