// The menu bar the SDL host draws and operates above the client area: the
// bar with the current menu's popups, their drop-downs and one level of
// sub-popup, opened by mouse or keyboard in the manner of a classic desktop
// menu. It reports every opening, every move over an item and every closing
// as a menu-selection event, and a chosen item as a command event.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/host.h"
#include "platform/sdl/sdl_layout.h"
#include "platform/sdl/sdl_present.h"

struct MenuBar;
struct MenuItem;
class FontFace;

enum class MenuKey { Alt, F10, Left, Right, Up, Down, Enter, Escape };

class MenuTracker {
public:
    // Width in pixels of a Latin-1 text.
    using Measure = std::function<int(const std::string &)>;
    using Sink = std::function<void(const Event &)>;

    // `font` draws the texts (may be null: nothing is written); `measure`
    // lays them out (defaults to the font's advances).
    MenuTracker(std::shared_ptr<const FontFace> font, Sink sink, Measure measure = nullptr);

    // The menu shown in the bar; null leaves the bar empty. An open menu is
    // closed first.
    void SetMenu(const MenuBar *menu);
    const MenuBar *Menu() const { return m_pMenu; }

    // Input in logical coordinates. Each returns true when the menu took it
    // (the window then does not see it).
    bool OnMouseMove(Point p);
    bool OnMouseDown(Point p);
    bool OnMouseUp(Point p);
    bool OnKey(MenuKey key);
    // Closes an open menu without choosing (focus lost, a modal box).
    void Cancel();

    bool IsActive() const { return m_mode != Mode::Closed; }
    // Index of the highlighted bar popup, -1 when none.
    int BarSelection() const { return m_nBarSel; }
    // Open drop-down levels (0 none, 1 a popup, 2 with its sub-popup) and the
    // highlighted item of each (-1 none).
    int OpenLevels() const { return static_cast<int>(m_levels.size()); }
    int Selection(int level) const { return m_levels.at(level).sel; }

    // Layout, for drawing and for tests.
    const std::vector<CRect> &BarItemRects() const { return m_barRects; }
    CRect PopupRect(int level) const { return m_levels.at(level).rc; }
    CRect ItemRect(int level, int index) const { return m_levels.at(level).itemRects.at(index); }

    // The overlays to compose, bottom first: the bar, then open drop-downs.
    std::vector<const Overlay *> Overlays();
    // Logical rectangles whose picture changed since the last call.
    std::vector<CRect> TakeDamage();

    static constexpr int ITEM_HEIGHT = 20;
    static constexpr int SEPARATOR_HEIGHT = 9;
    static constexpr int POPUP_BORDER = 3;

private:
    enum class Mode { Closed, Bar, Open };
    struct Level {
        const std::vector<MenuItem> *items = nullptr;
        CRect rc;
        std::vector<CRect> itemRects; // logical
        int sel = -1;
        Overlay overlay;
        bool drawn = false;
    };

    void LayoutBar();
    Level MakeLevel(const std::vector<MenuItem> &items, int x, int y, int alignRight) const;
    void OpenPopup(int barIndex, bool selectFirst);
    void OpenSubPopup(bool selectFirst);
    void CloseSubPopup();
    void Enter(int barIndex);
    void Close();
    void Choose(int id);
    void Notify();
    void SetBarSel(int index);
    void SetItemSel(int level, int index);
    int HitBar(Point p) const;
    int HitItem(int level, Point p) const;
    int StepItem(int level, int from, int dir) const;
    void Invalidate();
    void DrawBar();
    void DrawLevel(Level &level);
    int TextWidth(const std::string &s) const;

    std::shared_ptr<const FontFace> m_font;
    Sink m_sink;
    Measure m_measure;
    const MenuBar *m_pMenu = nullptr;
    std::vector<CRect> m_barRects;
    Mode m_mode = Mode::Closed;
    int m_nBarSel = -1;
    std::vector<Level> m_levels;
    bool m_bPressedOnBar = false;

    Overlay m_bar;
    bool m_bBarDrawn = false;
    std::vector<CRect> m_shown; // rectangles on screen at the last TakeDamage
    bool m_bChanged = true;
};
