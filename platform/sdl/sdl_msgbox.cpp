// The host's modal message box: layout, drawing and its few keys and clicks.
#include "platform/sdl/sdl_msgbox.h"

#include <algorithm>

#include "platform/font.h"
#include "platform/sdl/sdl_draw.h"

namespace {
constexpr int BORDER = 3;
constexpr int MARGIN = 12;
constexpr COLORREF TITLE_BG = RGB(0, 0, 128);
constexpr COLORREF TITLE_TEXT = RGB(255, 255, 255);
constexpr COLORREF ICON_YELLOW = RGB(255, 255, 0);

// Lines of the text; tabs become spaces and carriage returns vanish.
std::vector<std::string> SplitLines(const std::string &text) {
    std::vector<std::string> lines(1);
    for (char c : text) {
        if (c == '\n')
            lines.emplace_back();
        else if (c == '\t')
            lines.back() += "    ";
        else if (c != '\r')
            lines.back() += c;
    }
    return lines;
}
} // namespace

MessageBoxView::MessageBoxView(std::shared_ptr<const FontFace> font,
                               std::shared_ptr<const FontFace> bold, const std::string &text,
                               const std::string &caption, unsigned style)
    : m_font(std::move(font)), m_bold(std::move(bold)), m_caption(caption),
      m_lines(SplitLines(text)), m_bIcon((style & 0xF0) == 0x30) {
    if (m_font)
        m_nLineH = m_font->CellHeight();
    int textW = 0;
    for (const std::string &line : m_lines)
        textW = std::max(textW, ui::TextWidth(m_font.get(), line));
    int textH = static_cast<int>(m_lines.size()) * m_nLineH;
    int captionW = ui::TextWidth(m_bold ? m_bold.get() : m_font.get(), m_caption);

    int iconW = m_bIcon ? ICON_SIZE + MARGIN : 0;
    int bodyW = std::max({iconW + textW, BUTTON_WIDTH, captionW + MARGIN});
    int bodyH = std::max(textH, m_bIcon ? ICON_SIZE : 0);
    int width = std::min(LOGICAL_WIDTH, 2 * BORDER + 2 * MARGIN + bodyW);
    int height = std::min(LOGICAL_HEIGHT, 2 * BORDER + TITLE_HEIGHT + MARGIN + bodyH + MARGIN +
                                              BUTTON_HEIGHT + MARGIN);

    int bodyTop = BORDER + TITLE_HEIGHT + MARGIN;
    m_nIconX = BORDER + MARGIN;
    m_nIconY = bodyTop + std::max(0, (bodyH - ICON_SIZE) / 2);
    m_nTextX = BORDER + MARGIN + iconW;
    m_nTextY = bodyTop + std::max(0, (bodyH - textH) / 2);
    int by = bodyTop + bodyH + MARGIN;
    m_button = CRect((width - BUTTON_WIDTH) / 2, by, (width - BUTTON_WIDTH) / 2 + BUTTON_WIDTH,
                     by + BUTTON_HEIGHT);

    int x = (LOGICAL_WIDTH - width) / 2;
    int y = (LOGICAL_HEIGHT - height) / 2;
    m_overlay.rc = CRect(x, y, x + width, y + height);
    m_overlay.pixels = Surface(width, height, ui::FACE);
}

CRect MessageBoxView::ButtonRect() const {
    return CRect(m_overlay.rc.left + m_button.left, m_overlay.rc.top + m_button.top,
                 m_overlay.rc.left + m_button.right, m_overlay.rc.top + m_button.bottom);
}

const Overlay &MessageBoxView::GetOverlay() {
    if (m_bDirty)
        Draw();
    return m_overlay;
}

bool MessageBoxView::OnKey(Key) {
    // The only button is OK: every dismissing key chooses it.
    m_bDone = true;
    return false;
}

bool MessageBoxView::OnMouseDown(Point p) {
    if (!ButtonRect().Contains(p.x, p.y))
        return false;
    m_bPressed = m_bOver = true;
    m_bDirty = true;
    return true;
}

bool MessageBoxView::OnMouseMove(Point p) {
    if (!m_bPressed)
        return false;
    bool over = ButtonRect().Contains(p.x, p.y);
    if (over == m_bOver)
        return false;
    m_bOver = over;
    m_bDirty = true;
    return true;
}

bool MessageBoxView::OnMouseUp(Point p) {
    if (!m_bPressed)
        return false;
    m_bPressed = false;
    m_bOver = false;
    m_bDirty = true;
    if (ButtonRect().Contains(p.x, p.y))
        m_bDone = true;
    return true;
}

void MessageBoxView::DrawIcon(Surface &s, int x0, int y0) {
    // A yellow warning triangle with a black rim and an exclamation mark.
    const int apexX = x0 + 15, top = y0 + 1, bottom = y0 + 30;
    for (int y = top; y <= bottom; ++y) {
        int half = (y - top) / 2;
        int l = apexX - half, r = apexX + 1 + half;
        s.Fill(CRect(l, y, r + 1, y + 1), ui::DARK);
        if (y > top + 1 && y < bottom)
            s.Fill(CRect(l + 1, y, r, y + 1), ICON_YELLOW);
    }
    s.Fill(CRect(apexX - 1, top + 9, apexX + 3, top + 20), ui::DARK);
    s.Fill(CRect(apexX - 1, top + 23, apexX + 3, top + 27), ui::DARK);
}

void MessageBoxView::Draw() {
    Surface &s = m_overlay.pixels;
    CRect all = s.Bounds();
    s.Fill(all, ui::FACE);
    ui::RaisedEdge(s, all);

    CRect title(BORDER, BORDER, all.right - BORDER, BORDER + TITLE_HEIGHT);
    s.Fill(title, TITLE_BG);
    const FontFace *captionFont = m_bold ? m_bold.get() : m_font.get();
    int cy = title.top + (captionFont ? (TITLE_HEIGHT - captionFont->CellHeight()) / 2 : 0);
    ui::Text(s, captionFont, title.left + 3, cy, m_caption, TITLE_TEXT);

    if (m_bIcon)
        DrawIcon(s, m_nIconX, m_nIconY);
    for (size_t i = 0; i < m_lines.size(); ++i)
        ui::Text(s, m_font.get(), m_nTextX, m_nTextY + static_cast<int>(i) * m_nLineH, m_lines[i],
                 ui::TEXT);

    // The OK button: a black default frame round a raised (or, while held,
    // sunken) face, with the keyboard focus frame inside.
    bool down = m_bPressed && m_bOver;
    ui::Frame(s, m_button, ui::DARK);
    CRect face(m_button.left + 1, m_button.top + 1, m_button.right - 1, m_button.bottom - 1);
    if (down) {
        ui::Frame(s, face, ui::SHADOW);
    } else {
        ui::RaisedEdge(s, face);
    }
    const char *ok = "OK";
    int tw = ui::TextWidth(m_font.get(), ok);
    int th = m_font ? m_font->CellHeight() : 0;
    int tx = m_button.left + (m_button.Width() - tw) / 2 + (down ? 1 : 0);
    int ty = m_button.top + (m_button.Height() - th) / 2 + (down ? 1 : 0);
    ui::Text(s, m_font.get(), tx, ty, ok, ui::TEXT);
    ui::FocusFrame(
        s, CRect(m_button.left + 4, m_button.top + 4, m_button.right - 4, m_button.bottom - 4));
    m_bDirty = false;
}
