// The host's message box: a modal overlay in the classic desktop look with a
// caption bar, an optional exclamation icon, the (Latin-1, multi-line) text
// and an OK button that Enter, Escape, Space or a click dismisses.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/sdl/sdl_layout.h"
#include "platform/sdl/sdl_present.h"

class FontFace;

class MessageBoxView {
public:
    // Laid out and centred on the logical picture. Fonts may be null (no
    // text is drawn then).
    MessageBoxView(std::shared_ptr<const FontFace> font, std::shared_ptr<const FontFace> bold,
                   const std::string &text, const std::string &caption, unsigned style);

    const Overlay &GetOverlay();
    CRect Rect() const { return m_overlay.rc; }
    CRect ButtonRect() const; // logical
    bool HasIcon() const { return m_bIcon; }
    const std::vector<std::string> &Lines() const { return m_lines; }

    enum class Key { Enter, Escape, Space };
    // Each returns true when the picture changed.
    bool OnKey(Key key);
    bool OnMouseDown(Point p);
    bool OnMouseMove(Point p);
    bool OnMouseUp(Point p);

    bool Done() const { return m_bDone; }
    void Dismiss() { m_bDone = true; }

    static constexpr int TITLE_HEIGHT = 18;
    static constexpr int BUTTON_WIDTH = 75;
    static constexpr int BUTTON_HEIGHT = 23;
    static constexpr int ICON_SIZE = 32;

private:
    void Draw();
    void DrawIcon(Surface &s, int x, int y);

    std::shared_ptr<const FontFace> m_font, m_bold;
    std::string m_caption;
    std::vector<std::string> m_lines;
    bool m_bIcon = false;
    Overlay m_overlay;
    CRect m_button; // relative to the box
    int m_nTextX = 0, m_nTextY = 0, m_nLineH = 16;
    int m_nIconX = 0, m_nIconY = 0;
    bool m_bPressed = false; // mouse held on the button
    bool m_bOver = false;    // ... and over it
    bool m_bDone = false;
    bool m_bDirty = true;
};
