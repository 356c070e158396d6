// Menus: the resource text format, the two menu resources, and a window's
// menu bar as the host sees it.
#include <string>
#include <vector>

#include "log_wnd.h"
#include "platform/cmenu.h"
#include "test_app.h"

namespace {

// One line per item, indented by depth: "text id", "text:" for a popup,
// "-" for a separator.
void Flatten(const std::vector<MenuItem> &items, int depth, std::vector<std::string> &out) {
    for (const MenuItem &item : items) {
        std::string line(static_cast<std::size_t>(depth) * 2, ' ');
        if (item.separator)
            line += "-";
        else if (item.IsPopup())
            line += item.text + ":";
        else
            line += item.text + " " + std::to_string(item.id);
        out.push_back(line);
        if (item.IsPopup())
            Flatten(item.popup, depth + 1, out);
    }
}

std::vector<std::string> Flatten(const MenuBar &bar) {
    std::vector<std::string> out;
    Flatten(bar.items, 0, out);
    return out;
}

using Lines = std::vector<std::string>;

} // namespace

TEST(MenuResource, both_menus_hold_exactly_the_games_items_and_ids) {
    struct Case {
        const char *name;
        Lines expected;
    };
    const Case cases[] = {
        {"qzlmenu_eng",
         {"Game:", "  Start new game 101", "  Continue game... 103", "  -", "  Quit Quarzel 102",
          "Options:", "  Language:", "    English 106", "    Deutsch 107",
          "Info:", "  Info... 104"}},
        {"QZLMENU_GER",
         {"Spiel:", "  Neues Spiel starten 101", "  Im Spiel fortfahren... 103", "  -",
          "  Quarzel beenden 102", "Optionen:", "  Sprache:", "    English 106", "    Deutsch 107",
          "Info:", "  Info... 104"}},
    };
    for (const Case &c : cases) {
        CMenu menu;
        ASSERT_TRUE(menu.LoadMenu(c.name)) << c.name;
        EXPECT_EQ(Flatten(menu.GetBar()), c.expected) << c.name;
    }
    CMenu missing;
    EXPECT_FALSE(missing.LoadMenu("qzlmenu_fra"));
    EXPECT_FALSE(missing.IsLoaded());
}

TEST(MenuResource, malformed_text_is_refused_with_its_line) {
    struct Case {
        const char *text;
        std::string error;
    };
    const Case cases[] = {
        {"ITEM \"A\" 1\n", "line 1: ITEM outside a popup"},
        {"POPUP \"A\"\n  ITEM \"B\" x\nEND\n", "line 2: ITEM needs a command id 1..65535"},
        {"POPUP \"A\"\n  ITEM \"B\" 0\nEND\n", "line 2: ITEM needs a command id 1..65535"},
        {"POPUP \"A\"\n  ITEM \"B\" 70000\nEND\n", "line 2: ITEM needs a command id 1..65535"},
        {"POPUP \"A\"\n  ITEM \"B\" 5 6\nEND\n", "line 2: unexpected text after ITEM"},
        {"POPUP \"A\"\n  ITEM B 5\nEND\n", "line 2: ITEM needs a quoted, non-empty text"},
        {"POPUP \"A\n", "line 1: POPUP needs a quoted, non-empty text"},
        {"# comment\n\nPOPUP \"A\"\nEND\n", "line 3: empty POPUP"},
        {"POPUP \"A\"\n  ITEM \"B\" 5\n", "line 1: POPUP without END"},
        {"POPUP \"A\"\n  ITEM \"B\" 5\nEND\nEND\n", "line 4: END without an open POPUP"},
        {"POPUP \"A\"\n  MENUITEM \"B\" 5\nEND\n", "line 2: unknown keyword"},
        {"# nothing\n", "line 1: no POPUP in the menu"},
    };
    for (const Case &c : cases) {
        std::string error;
        EXPECT_FALSE(ParseMenu(c.text, &error).has_value()) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
}

TEST(MenuResource, latin1_texts_and_crlf_lines_are_read) {
    auto bar = ParseMenu("POPUP \"Sp\xE4ter\"\r\n\tITEM \"B\xE4lle\"   12\r\nEND\r\n");
    ASSERT_TRUE(bar.has_value());
    EXPECT_EQ(Flatten(*bar), (Lines{"Sp\xE4ter:", "  B\xE4lle 12"}));
}

TEST_F(WindowTest, window_menu_is_shown_replaced_and_removed_at_once) {
    auto *pWnd = new CLogWnd(&m_log);
    ASSERT_TRUE(pWnd->CreateDefault(CS_OWNDC, "qzlmenu_ger"));
    g_testApp.m_pMainWnd = pWnd;

    CMenu *pMenu = pWnd->GetMenu();
    ASSERT_NE(pMenu, nullptr);
    ASSERT_EQ(Host().Menu(), &pMenu->GetBar());
    EXPECT_EQ(Host().Menu()->items[0].text, "Spiel");

    // The replacement sequence of a language switch.
    pMenu->DestroyMenu();
    EXPECT_TRUE(Host().Menu()->items.empty()) << "a destroyed menu shows nothing";
    pWnd->SetMenu(nullptr);
    EXPECT_EQ(pWnd->GetMenu(), nullptr);
    EXPECT_EQ(Host().Menu(), nullptr);
    auto *poMenu = new CMenu;
    ASSERT_TRUE(poMenu->LoadMenu("qzlmenu_eng"));
    pWnd->SetMenu(poMenu);
    EXPECT_EQ(pWnd->GetMenu(), poMenu);
    ASSERT_NE(Host().Menu(), nullptr);
    EXPECT_EQ(Host().Menu()->items[0].text, "Game");

    // A window without a menu resource has none.
    pWnd->DestroyWindow();
    EXPECT_EQ(Host().Menu(), nullptr);
    auto *pPlain = new CLogWnd(&m_log);
    ASSERT_TRUE(pPlain->CreateDefault(CS_OWNDC, "nosuchmenu"));
    EXPECT_EQ(pPlain->GetMenu(), nullptr);
    pPlain->DestroyWindow();
}
