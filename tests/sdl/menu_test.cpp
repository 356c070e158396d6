// The host's menu bar: layout and hit-testing, the menu-selection events of
// every opening, move and closing, and commands chosen by mouse or keyboard.
#include <gtest/gtest.h>

#include <vector>

#include "platform/menu.h"
#include "platform/sdl/sdl_menu.h"

namespace {

MenuItem Item(const char *text, int id) {
    return MenuItem{text, id, false, {}};
}
MenuItem Separator() {
    return MenuItem{"", 0, true, {}};
}
MenuItem Popup(const char *text, std::vector<MenuItem> items) {
    return MenuItem{text, 0, false, std::move(items)};
}

MenuBar EnglishBar() {
    MenuBar bar;
    bar.items = {
        Popup("Game", {Item("Start new game", 101), Item("Continue game...", 103), Separator(),
                       Item("Quit Quarzel", 102)}),
        Popup("Options", {Popup("Language", {Item("English", 106), Item("Deutsch", 107)})}),
        Popup("Info", {Item("Info...", 104)}),
    };
    return bar;
}

Point Centre(const CRect &r) {
    return Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

class MenuTest : public ::testing::Test {
protected:
    MenuTest()
        : menu(
              nullptr, [this](const Event &ev) { events.push_back(ev); },
              [](const std::string &s) { return 8 * static_cast<int>(s.size()); }) {
        menu.SetMenu(&bar);
    }
    int Selects() {
        int n = 0;
        for (const Event &e : events)
            n += e.kind == EventKind::MenuSelect;
        return n;
    }
    std::vector<int> Commands() {
        std::vector<int> ids;
        for (const Event &e : events)
            if (e.kind == EventKind::Command)
                ids.push_back(e.id);
        return ids;
    }

    MenuBar bar = EnglishBar();
    std::vector<Event> events;
    MenuTracker menu;
};

} // namespace

TEST_F(MenuTest, BarItemsLieSideBySideInTheBar) {
    const auto &r = menu.BarItemRects();
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[0].left, 0);
    EXPECT_EQ(r[0].right, r[1].left);
    EXPECT_EQ(r[1].right, r[2].left);
    EXPECT_EQ(r[0].Width(), 4 * 8 + 16);
    for (const CRect &x : r)
        EXPECT_EQ(x.Height(), MENU_BAR_HEIGHT);
}

TEST_F(MenuTest, ClickOpensPopupAndChoosingSendsCloseThenCommand) {
    EXPECT_TRUE(menu.OnMouseDown(Centre(menu.BarItemRects()[0])));
    EXPECT_TRUE(menu.OnMouseUp(Centre(menu.BarItemRects()[0])));
    ASSERT_EQ(menu.OpenLevels(), 1);
    EXPECT_EQ(menu.PopupRect(0).top, MENU_BAR_HEIGHT);
    EXPECT_GE(Selects(), 1) << "opening must send menu-selection";
    EXPECT_EQ(menu.Selection(0), -1);

    int before = Selects();
    Point second = Centre(menu.ItemRect(0, 1));
    menu.OnMouseMove(second);
    EXPECT_EQ(menu.Selection(0), 1);
    EXPECT_EQ(Selects(), before + 1);
    menu.OnMouseMove(Point{second.x + 1, second.y});
    EXPECT_EQ(Selects(), before + 1) << "no event while the same item stays lit";

    menu.OnMouseDown(second);
    menu.OnMouseUp(second);
    EXPECT_FALSE(menu.IsActive());
    ASSERT_EQ(events.back().kind, EventKind::Command);
    EXPECT_EQ(events.back().id, 103);
    EXPECT_EQ(events[events.size() - 2].kind, EventKind::MenuSelect) << "closing comes first";
}

TEST_F(MenuTest, SeparatorIsNeitherLitNorChosen) {
    menu.OnMouseDown(Centre(menu.BarItemRects()[0]));
    Point sep = Centre(menu.ItemRect(0, 2));
    menu.OnMouseMove(sep);
    EXPECT_EQ(menu.Selection(0), -1);
    menu.OnMouseUp(sep);
    EXPECT_TRUE(menu.IsActive());
    EXPECT_TRUE(Commands().empty());
}

TEST_F(MenuTest, ClickElsewhereClosesAndIsSwallowed) {
    menu.OnMouseDown(Centre(menu.BarItemRects()[0]));
    int before = Selects();
    EXPECT_TRUE(menu.OnMouseDown(Point{300, 300}));
    EXPECT_FALSE(menu.IsActive());
    EXPECT_EQ(Selects(), before + 1) << "closing must send menu-selection";
    // Closed, the client area's input is not the menu's.
    EXPECT_FALSE(menu.OnMouseMove(Point{300, 300}));
    EXPECT_FALSE(menu.OnMouseDown(Point{300, 300}));
}

TEST_F(MenuTest, SecondClickOnOpenBarItemClosesIt) {
    Point game = Centre(menu.BarItemRects()[0]);
    menu.OnMouseDown(game);
    menu.OnMouseUp(game);
    menu.OnMouseDown(game);
    EXPECT_FALSE(menu.IsActive());
}

TEST_F(MenuTest, MovingAlongTheBarSwitchesPopups) {
    menu.OnMouseDown(Centre(menu.BarItemRects()[0]));
    menu.OnMouseMove(Centre(menu.BarItemRects()[2]));
    EXPECT_EQ(menu.BarSelection(), 2);
    ASSERT_EQ(menu.OpenLevels(), 1);
    EXPECT_EQ(menu.PopupRect(0).left, menu.BarItemRects()[2].left);
}

TEST_F(MenuTest, HoveringLanguageOpensSubPopupAndItsItemIsChosen) {
    menu.OnMouseDown(Centre(menu.BarItemRects()[1]));
    menu.OnMouseMove(Centre(menu.ItemRect(0, 0)));
    ASSERT_EQ(menu.OpenLevels(), 2);
    EXPECT_GE(menu.PopupRect(1).left, menu.PopupRect(0).right - MenuTracker::POPUP_BORDER);
    Point deutsch = Centre(menu.ItemRect(1, 1));
    menu.OnMouseMove(deutsch);
    EXPECT_EQ(menu.Selection(1), 1);
    menu.OnMouseUp(deutsch);
    EXPECT_EQ(Commands(), std::vector<int>{107});
}

TEST_F(MenuTest, KeyboardWalksTheMenu) {
    struct Case {
        std::vector<MenuKey> keys;
        std::vector<int> commands;
        bool activeAfter;
    } cases[] = {
        {{MenuKey::F10, MenuKey::Down, MenuKey::Enter}, {101}, false},
        {{MenuKey::Alt, MenuKey::Enter, MenuKey::Down, MenuKey::Enter}, {103}, false},
        // Down from Continue skips the separator to Quit; Up wraps to the last.
        {{MenuKey::F10, MenuKey::Down, MenuKey::Down, MenuKey::Down, MenuKey::Enter}, {102}, false},
        {{MenuKey::F10, MenuKey::Up, MenuKey::Enter}, {102}, false},
        {{MenuKey::F10, MenuKey::Right, MenuKey::Down, MenuKey::Right, MenuKey::Down,
          MenuKey::Enter},
         {107},
         false},
        {{MenuKey::F10, MenuKey::Left, MenuKey::Enter, MenuKey::Enter}, {104}, false},
        // Escape closes one level at a time; Alt again leaves the menu.
        {{MenuKey::F10, MenuKey::Down, MenuKey::Escape}, {}, true},
        {{MenuKey::F10, MenuKey::Down, MenuKey::Escape, MenuKey::Escape}, {}, false},
        {{MenuKey::Alt, MenuKey::Alt}, {}, false},
    };
    for (const Case &c : cases) {
        events.clear();
        menu.Cancel();
        events.clear();
        for (MenuKey k : c.keys)
            menu.OnKey(k);
        EXPECT_EQ(Commands(), c.commands) << "case with " << c.keys.size() << " keys";
        EXPECT_EQ(menu.IsActive(), c.activeAfter) << "case with " << c.keys.size() << " keys";
        EXPECT_GE(Selects(), 1);
    }
}

TEST_F(MenuTest, ArrowKeysDoNothingWhileClosed) {
    EXPECT_FALSE(menu.OnKey(MenuKey::Down));
    EXPECT_FALSE(menu.OnKey(MenuKey::Enter));
    EXPECT_TRUE(events.empty());
}

TEST_F(MenuTest, ReplacingTheMenuClosesItAndRedrawsTheBar) {
    menu.OnMouseDown(Centre(menu.BarItemRects()[0]));
    menu.TakeDamage();
    MenuBar other = EnglishBar();
    other.items[0].text = "Spiel";
    menu.SetMenu(&other);
    EXPECT_FALSE(menu.IsActive());
    auto damage = menu.TakeDamage();
    bool barDamaged = false, popupDamaged = false;
    for (const CRect &r : damage) {
        barDamaged = barDamaged || r == CRect(0, 0, LOGICAL_WIDTH, MENU_BAR_HEIGHT);
        popupDamaged = popupDamaged || r.top == MENU_BAR_HEIGHT;
    }
    EXPECT_TRUE(barDamaged);
    EXPECT_TRUE(popupDamaged) << "the closed drop-down's place must be redrawn";
    EXPECT_EQ(menu.BarItemRects()[0].Width(), 5 * 8 + 16);
    EXPECT_TRUE(menu.TakeDamage().empty());
}

TEST_F(MenuTest, DropDownsStayOnThePicture) {
    MenuBar wide;
    wide.items = {Popup("A", {Item("a very long item text that is wider than the rest", 1)})};
    menu.SetMenu(&wide);
    menu.OnMouseDown(Centre(menu.BarItemRects()[0]));
    EXPECT_LE(menu.PopupRect(0).right, LOGICAL_WIDTH);
    EXPECT_GE(menu.PopupRect(0).left, 0);
}
