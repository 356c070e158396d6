// The host's menu bar: layout, hit-testing, mouse and keyboard operation, and
// drawing of the bar and its drop-downs as overlays.
#include "platform/sdl/sdl_menu.h"

#include <algorithm>

#include "platform/font.h"
#include "platform/menu.h"
#include "platform/sdl/sdl_draw.h"

namespace {
constexpr int BAR_PAD = 8;     // space left and right of a bar item's text
constexpr int ITEM_LEFT = 20;  // space left of a drop-down item's text
constexpr int ITEM_RIGHT = 24; // room for the sub-popup arrow
constexpr int MIN_POPUP = 80;
} // namespace

MenuTracker::MenuTracker(std::shared_ptr<const FontFace> font, Sink sink, Measure measure)
    : m_font(std::move(font)), m_sink(std::move(sink)), m_measure(std::move(measure)) {
    m_bar.rc = CRect(0, 0, LOGICAL_WIDTH, MENU_BAR_HEIGHT);
    m_bar.pixels = Surface(LOGICAL_WIDTH, MENU_BAR_HEIGHT, ui::FACE);
}

int MenuTracker::TextWidth(const std::string &s) const {
    if (m_measure)
        return m_measure(s);
    return ui::TextWidth(m_font.get(), s);
}

void MenuTracker::SetMenu(const MenuBar *menu) {
    if (IsActive())
        Close();
    m_pMenu = menu;
    LayoutBar();
    Invalidate();
}

void MenuTracker::LayoutBar() {
    m_barRects.clear();
    if (!m_pMenu)
        return;
    int x = 0;
    for (const MenuItem &item : m_pMenu->items) {
        int w = TextWidth(item.text) + 2 * BAR_PAD;
        m_barRects.emplace_back(x, 0, x + w, MENU_BAR_HEIGHT);
        x += w;
    }
}

MenuTracker::Level MenuTracker::MakeLevel(const std::vector<MenuItem> &items, int x, int y,
                                          int alignRight) const {
    Level level;
    level.items = &items;
    int textWidth = 0;
    int height = 2 * POPUP_BORDER;
    for (const MenuItem &item : items) {
        if (!item.separator)
            textWidth = std::max(textWidth, TextWidth(item.text));
        height += item.separator ? SEPARATOR_HEIGHT : ITEM_HEIGHT;
    }
    int width = std::max(MIN_POPUP, textWidth + ITEM_LEFT + ITEM_RIGHT + 2 * POPUP_BORDER);
    // Keep the drop-down on the picture: a sub-popup that does not fit on
    // the right opens to the left of its parent instead.
    if (x + width > LOGICAL_WIDTH)
        x = alignRight >= 0 ? alignRight - width : LOGICAL_WIDTH - width;
    x = std::clamp(x, 0, std::max(0, LOGICAL_WIDTH - width));
    y = std::clamp(y, 0, std::max(0, LOGICAL_HEIGHT - height));
    level.rc = CRect(x, y, x + width, y + height);
    int iy = y + POPUP_BORDER;
    for (const MenuItem &item : items) {
        int h = item.separator ? SEPARATOR_HEIGHT : ITEM_HEIGHT;
        level.itemRects.emplace_back(x + POPUP_BORDER, iy, x + width - POPUP_BORDER, iy + h);
        iy += h;
    }
    level.overlay.rc = level.rc;
    level.overlay.pixels = Surface(width, height, ui::FACE);
    return level;
}

void MenuTracker::Notify() {
    m_sink(Event{EventKind::MenuSelect});
}

void MenuTracker::Invalidate() {
    m_bChanged = true;
}

void MenuTracker::Enter(int barIndex) {
    m_mode = Mode::Bar;
    m_nBarSel = barIndex;
    m_levels.clear();
    Invalidate();
    Notify();
}

void MenuTracker::Close() {
    if (m_mode == Mode::Closed)
        return;
    m_mode = Mode::Closed;
    m_nBarSel = -1;
    m_levels.clear();
    m_bPressedOnBar = false;
    Invalidate();
    Notify();
}

void MenuTracker::Cancel() {
    Close();
}

void MenuTracker::Choose(int id) {
    Close();
    m_sink(Event{EventKind::Command, id});
}

void MenuTracker::SetBarSel(int index) {
    if (index == m_nBarSel)
        return;
    m_nBarSel = index;
    Invalidate();
    Notify();
}

void MenuTracker::SetItemSel(int level, int index) {
    Level &lv = m_levels.at(level);
    if (lv.sel == index)
        return;
    lv.sel = index;
    lv.drawn = false;
    Invalidate();
    Notify();
}

void MenuTracker::OpenPopup(int barIndex, bool selectFirst) {
    m_levels.clear();
    m_nBarSel = barIndex;
    m_mode = Mode::Open;
    const MenuItem &bar = m_pMenu->items.at(barIndex);
    if (bar.IsPopup()) {
        m_levels.push_back(MakeLevel(bar.popup, m_barRects[barIndex].left, MENU_BAR_HEIGHT, -1));
        if (selectFirst)
            m_levels[0].sel = StepItem(0, -1, +1);
    }
    Invalidate();
    Notify();
}

void MenuTracker::OpenSubPopup(bool selectFirst) {
    if (m_levels.size() != 1)
        return;
    Level &parent = m_levels[0];
    if (parent.sel < 0)
        return;
    const MenuItem &item = (*parent.items)[parent.sel];
    if (!item.IsPopup())
        return;
    const CRect &ir = parent.itemRects[parent.sel];
    m_levels.push_back(MakeLevel(item.popup, parent.rc.right - POPUP_BORDER, ir.top - POPUP_BORDER,
                                 parent.rc.left + POPUP_BORDER));
    if (selectFirst)
        m_levels[1].sel = StepItem(1, -1, +1);
    Invalidate();
    Notify();
}

void MenuTracker::CloseSubPopup() {
    if (m_levels.size() < 2)
        return;
    m_levels.resize(1);
    Invalidate();
    Notify();
}

int MenuTracker::HitBar(Point p) const {
    for (size_t i = 0; i < m_barRects.size(); ++i) {
        const CRect &r = m_barRects[i];
        if (p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom)
            return static_cast<int>(i);
    }
    return -1;
}

int MenuTracker::HitItem(int level, Point p) const {
    const Level &lv = m_levels.at(level);
    for (size_t i = 0; i < lv.itemRects.size(); ++i) {
        const CRect &r = lv.itemRects[i];
        if (p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom)
            return static_cast<int>(i);
    }
    return -1;
}

// The next selectable item after `from` in direction dir, wrapping round;
// separators are skipped. -1 when the popup has none.
int MenuTracker::StepItem(int level, int from, int dir) const {
    const std::vector<MenuItem> &items = *m_levels.at(level).items;
    int n = static_cast<int>(items.size());
    if (n == 0)
        return -1;
    int i = from;
    for (int k = 0; k < n; ++k) {
        i = (i + dir + n) % n;
        if (i < 0)
            i += n;
        if (!items[i].separator)
            return i;
    }
    return -1;
}

bool MenuTracker::OnMouseMove(Point p) {
    if (m_mode == Mode::Closed)
        return false;
    int b = HitBar(p);
    if (b >= 0) {
        if (b != m_nBarSel) {
            if (m_mode == Mode::Open)
                OpenPopup(b, false);
            else
                SetBarSel(b);
        }
        return true;
    }
    // The deepest drop-down under the pointer decides.
    for (int level = OpenLevels() - 1; level >= 0; --level) {
        if (!m_levels[level].rc.Contains(p.x, p.y))
            continue;
        int i = HitItem(level, p);
        if (level == 0 && OpenLevels() == 2 && i != m_levels[0].sel)
            CloseSubPopup();
        if (i >= 0 && (*m_levels[level].items)[i].separator)
            i = -1;
        if (level == 0 && OpenLevels() == 2)
            return true; // parent of the open sub-popup stays lit
        SetItemSel(level, i);
        if (level == 0 && i >= 0)
            OpenSubPopup(false);
        return true;
    }
    // Off every drop-down: the deepest one loses its highlight, unless it
    // is the parent of an open sub-popup.
    if (OpenLevels() > 0)
        SetItemSel(OpenLevels() - 1, -1);
    return true;
}

bool MenuTracker::OnMouseDown(Point p) {
    int b = HitBar(p);
    if (m_mode == Mode::Closed) {
        if (b >= 0) {
            m_mode = Mode::Open;
            m_nBarSel = b;
            Notify(); // the menu opens
            OpenPopup(b, false);
            return true;
        }
        return p.y >= 0 && p.y < MENU_BAR_HEIGHT;
    }
    if (b >= 0) {
        if (m_mode == Mode::Open && b == m_nBarSel)
            Close();
        else
            OpenPopup(b, false);
        return true;
    }
    for (int level = OpenLevels() - 1; level >= 0; --level) {
        if (!m_levels[level].rc.Contains(p.x, p.y))
            continue;
        int i = HitItem(level, p);
        if (level == 0 && i >= 0 && (*m_levels[0].items)[i].IsPopup() &&
            !(OpenLevels() == 2 && m_levels[0].sel == i)) {
            CloseSubPopup();
            SetItemSel(0, i);
            OpenSubPopup(false);
        }
        return true;
    }
    // A click anywhere else closes the menu and goes no further.
    Close();
    return true;
}

bool MenuTracker::OnMouseUp(Point p) {
    if (m_mode == Mode::Closed)
        return false;
    if (m_mode != Mode::Open)
        return true;
    for (int level = OpenLevels() - 1; level >= 0; --level) {
        if (!m_levels[level].rc.Contains(p.x, p.y))
            continue;
        int i = HitItem(level, p);
        if (i < 0)
            return true;
        const MenuItem &item = (*m_levels[level].items)[i];
        if (!item.separator && !item.IsPopup())
            Choose(item.id);
        return true;
    }
    return true;
}

bool MenuTracker::OnKey(MenuKey key) {
    if (!m_pMenu || m_pMenu->items.empty())
        return false;
    int count = static_cast<int>(m_pMenu->items.size());
    if (key == MenuKey::Alt || key == MenuKey::F10) {
        if (m_mode == Mode::Closed)
            Enter(0);
        else
            Close();
        return true;
    }
    if (m_mode == Mode::Closed)
        return false;

    int deepest = OpenLevels() - 1;
    auto moveBar = [&](int dir) {
        int next = (m_nBarSel + dir + count) % count;
        if (m_mode == Mode::Open)
            OpenPopup(next, true);
        else
            SetBarSel(next);
    };
    switch (key) {
    case MenuKey::Escape:
        if (OpenLevels() == 2) {
            CloseSubPopup();
        } else if (m_mode == Mode::Open) {
            m_levels.clear();
            m_mode = Mode::Bar;
            Invalidate();
            Notify();
        } else {
            Close();
        }
        break;
    case MenuKey::Left:
        if (OpenLevels() == 2)
            CloseSubPopup();
        else
            moveBar(-1);
        break;
    case MenuKey::Right:
        if (OpenLevels() == 1 && m_levels[0].sel >= 0 &&
            (*m_levels[0].items)[m_levels[0].sel].IsPopup())
            OpenSubPopup(true);
        else
            moveBar(+1);
        break;
    case MenuKey::Down:
    case MenuKey::Up: {
        int dir = key == MenuKey::Down ? +1 : -1;
        if (m_mode == Mode::Bar) {
            OpenPopup(m_nBarSel, false);
            if (OpenLevels() > 0)
                SetItemSel(0, StepItem(0, dir > 0 ? -1 : 0, dir));
        } else if (deepest >= 0) {
            int from = m_levels[deepest].sel;
            if (from < 0)
                from = dir > 0 ? -1 : 0;
            SetItemSel(deepest, StepItem(deepest, from, dir));
        }
        break;
    }
    case MenuKey::Enter:
        if (m_mode == Mode::Bar) {
            OpenPopup(m_nBarSel, true);
        } else if (deepest >= 0 && m_levels[deepest].sel >= 0) {
            const MenuItem &item = (*m_levels[deepest].items)[m_levels[deepest].sel];
            if (item.IsPopup())
                OpenSubPopup(true);
            else if (!item.separator)
                Choose(item.id);
        }
        break;
    default:
        break;
    }
    return true;
}

void MenuTracker::DrawBar() {
    Surface &s = m_bar.pixels;
    s.Fill(s.Bounds(), ui::FACE);
    if (!m_pMenu)
        return;
    int textY = m_font ? (MENU_BAR_HEIGHT - m_font->CellHeight()) / 2 : 0;
    for (size_t i = 0; i < m_barRects.size(); ++i) {
        const CRect &r = m_barRects[i];
        bool lit = static_cast<int>(i) == m_nBarSel;
        if (lit)
            s.Fill(CRect(r.left, r.top + 1, r.right, r.bottom - 1), ui::HIGHLIGHT);
        ui::Text(s, m_font.get(), r.left + BAR_PAD, textY, m_pMenu->items[i].text,
                 lit ? ui::HIGHLIGHT_TEXT : ui::TEXT);
    }
}

void MenuTracker::DrawLevel(Level &level) {
    Surface &s = level.overlay.pixels;
    s.Fill(s.Bounds(), ui::FACE);
    ui::RaisedEdge(s, s.Bounds());
    int ox = level.rc.left, oy = level.rc.top;
    int textDY = m_font ? (ITEM_HEIGHT - m_font->CellHeight()) / 2 : 0;
    for (size_t i = 0; i < level.items->size(); ++i) {
        const MenuItem &item = (*level.items)[i];
        CRect r = level.itemRects[i];
        r = CRect(r.left - ox, r.top - oy, r.right - ox, r.bottom - oy);
        if (item.separator) {
            int y = r.top + SEPARATOR_HEIGHT / 2 - 1;
            s.Fill(CRect(r.left + 1, y, r.right - 1, y + 1), ui::SHADOW);
            s.Fill(CRect(r.left + 1, y + 1, r.right - 1, y + 2), ui::LIGHT);
            continue;
        }
        bool lit = static_cast<int>(i) == level.sel;
        COLORREF fg = lit ? ui::HIGHLIGHT_TEXT : ui::TEXT;
        if (lit)
            s.Fill(r, ui::HIGHLIGHT);
        ui::Text(s, m_font.get(), r.left + ITEM_LEFT, r.top + textDY, item.text, fg);
        if (item.IsPopup()) {
            // A small right-pointing triangle.
            int cx = r.right - 12, cy = r.top + ITEM_HEIGHT / 2;
            for (int k = 0; k < 4; ++k)
                s.Fill(CRect(cx + k, cy - 3 + k, cx + k + 1, cy + 4 - k), fg);
        }
    }
    level.drawn = true;
}

std::vector<const Overlay *> MenuTracker::Overlays() {
    if (!m_bBarDrawn || m_bChanged) {
        DrawBar();
        m_bBarDrawn = true;
    }
    std::vector<const Overlay *> out{&m_bar};
    for (Level &level : m_levels) {
        if (!level.drawn || m_bChanged)
            DrawLevel(level);
        out.push_back(&level.overlay);
    }
    return out;
}

std::vector<CRect> MenuTracker::TakeDamage() {
    if (!m_bChanged)
        return {};
    std::vector<CRect> now{m_bar.rc};
    for (const Level &level : m_levels)
        now.push_back(level.rc);
    std::vector<CRect> out = m_shown;
    out.insert(out.end(), now.begin(), now.end());
    m_shown = now;
    // Redraw the pixels before the next composition.
    Overlays();
    m_bChanged = false;
    return out;
}
