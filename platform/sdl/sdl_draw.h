// Small drawing helpers for the host's overlays in the classic desktop look:
// the system colours, raised and sunken edges, and text with a font face.
#pragma once

#include <string>

#include "platform/surface.h"
#include "platform/types.h"

class FontFace;

namespace ui {

constexpr COLORREF FACE = RGB(192, 192, 192);
constexpr COLORREF LIGHT = RGB(255, 255, 255);
constexpr COLORREF SHADOW = RGB(128, 128, 128);
constexpr COLORREF DARK = RGB(0, 0, 0);
constexpr COLORREF TEXT = RGB(0, 0, 0);
constexpr COLORREF HIGHLIGHT = RGB(0, 0, 128);
constexpr COLORREF HIGHLIGHT_TEXT = RGB(255, 255, 255);

// A two-pixel raised edge inside rc (light top-left, dark bottom-right).
void RaisedEdge(Surface &s, const CRect &rc);
// A two-pixel sunken edge inside rc.
void SunkenEdge(Surface &s, const CRect &rc);
// A one-pixel frame inside rc.
void Frame(Surface &s, const CRect &rc, COLORREF colour);
// A dotted one-pixel frame inside rc (keyboard focus).
void FocusFrame(Surface &s, const CRect &rc);

// Draws Latin-1 text with its cell's top-left corner at (x, y), without a
// background. Nothing without a font.
void Text(Surface &s, const FontFace *font, int x, int y, const std::string &text, COLORREF colour);
int TextWidth(const FontFace *font, const std::string &text);

} // namespace ui
