// End-to-end tests of the real program: the game runs in its SDL window on a
// private X server, is driven with xdotool like a player would, and is
// checked by the pixels of its window.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "game_process.h"
#include "platform/cmenu.h"
#include "platform/font.h"
#include "platform/sdl/sdl_layout.h"
#include "platform/sdl/sdl_menu.h"
#include "xsession.h"

namespace {

constexpr std::uint32_t BLACK = 0x000000;
constexpr std::uint32_t WHITE = 0xFFFFFF;
constexpr std::uint32_t BAR_GREY = 0xC0C0C0;
constexpr std::uint32_t PADDLE_CYAN = 0x00FFFF;
constexpr int FIELD_LEFT = 32;   // right edge of the left wall, client x
constexpr int FIELD_RIGHT = 418; // left edge of the right wall
constexpr int PADDLE_ROW = 380 + 8;

// The menu bar as the host lays it out and draws it, for coordinates and
// for the expected picture.
struct MenuModel {
    CMenu menu;
    std::unique_ptr<MenuTracker> tracker;

    explicit MenuModel(const char *resource) {
        menu.LoadMenu(resource);
        tracker = std::make_unique<MenuTracker>(
            FontFace::Create("Liberation Sans", 16, 0, 400, false), [](const Event &) {});
        tracker->SetMenu(&menu.GetBar());
    }
    Point BarItem(int i) const {
        CRect r = tracker->BarItemRects().at(i);
        return Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    // Centre of item `index` of the popup of bar item `bar` (sub-popup
    // items: level 1 after hovering the parent).
    CRect PopupItemRect(int bar, int level, int index, int parent = -1) {
        tracker->Cancel();
        tracker->OnMouseDown(BarItem(bar));
        if (level == 1) {
            CRect p = tracker->ItemRect(0, parent);
            tracker->OnMouseMove(Point{(p.left + p.right) / 2, (p.top + p.bottom) / 2});
        }
        CRect r = tracker->ItemRect(level, index);
        tracker->Cancel();
        return r;
    }
    Point PopupItem(int bar, int level, int index, int parent = -1) {
        CRect r = PopupItemRect(bar, level, index, parent);
        return Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    // A point in the item's left margin, where no text is drawn.
    Point ItemMargin(int bar, int level, int index, int parent = -1) {
        CRect r = PopupItemRect(bar, level, index, parent);
        return Point{r.left + 5, (r.top + r.bottom) / 2};
    }
    // The bar's picture when closed, 0xRRGGBB.
    Image Bar() {
        const Overlay *bar = tracker->Overlays().front();
        Image img;
        img.width = bar->rc.Width();
        img.height = bar->rc.Height();
        for (int y = 0; y < img.height; ++y)
            for (int x = 0; x < img.width; ++x) {
                COLORREF c = bar->pixels.GetPixel(x, y);
                img.pixels.push_back(static_cast<std::uint32_t>(GetRValue(c)) << 16 |
                                     GetGValue(c) << 8 | GetBValue(c));
            }
        return img;
    }
};

// Brick rows seen in the play field's top part, the one cut by the top edge
// included: runs of non-black pixels at least 3 high in two neighbouring
// columns (a brick's dark shadow pixels alternate, so one of the two is
// always lit); rows are one black line apart.
int CountBrickRows(const Image &field, int x) {
    int rows = 0, run = 0;
    for (int y = 0; y < 200; ++y) {
        bool lit = field.At(x, y) != BLACK || field.At(x + 1, y) != BLACK;
        if (lit) {
            ++run;
        } else {
            if (run >= 3)
                ++rows;
            run = 0;
        }
    }
    return rows;
}

// Left edge of the paddle on its row, -1 when it is not shown.
int PaddleLeft(GameProcess &g) {
    Image row = g.Client(0, PADDLE_ROW, 450, 1);
    for (int x = 0; x < row.width; ++x)
        if (row.At(x, 0) == PADDLE_CYAN)
            return x;
    return -1;
}
int PaddleRight(GameProcess &g) {
    Image row = g.Client(0, PADDLE_ROW, 450, 1);
    for (int x = row.width - 1; x >= 0; --x)
        if (row.At(x, 0) == PADDLE_CYAN)
            return x + 1;
    return -1;
}

bool HasYellow(const Image &img) {
    for (std::uint32_t p : img.pixels)
        if ((p >> 16) > 150 && ((p >> 8) & 0xFF) > 150 && (p & 0xFF) < 60)
            return true;
    return false;
}

bool HasColour(const Image &img, std::uint32_t colour) {
    for (std::uint32_t p : img.pixels)
        if (p == colour)
            return true;
    return false;
}

class WindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_x = new XSession;
        if (!s_x->Start())
            s_error = s_x->Error();
    }
    static void TearDownTestSuite() {
        delete s_x;
        s_x = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(s_error.empty()) << s_error; }

    // Starts the game and waits for its first picture.
    std::unique_ptr<GameProcess> Start(const std::map<std::string, std::string> &env = {}) {
        auto g = std::make_unique<GameProcess>(*s_x);
        EXPECT_TRUE(g->Launch(env)) << "cannot start " << QZ_QUARZEL_EXE;
        EXPECT_TRUE(g->WaitForWindow()) << "no window; stderr: " << g->Stderr();
        // Park the pointer over the status panel, away from the menus.
        g->MoveToClient(520, 300);
        return g;
    }

    // Waits up to timeoutMs for `done`, looking every 20 ms. The game runs
    // beside the test on a busy machine; fixed pauses would be guesses.
    template <class F> static bool WaitUntil(F done, int timeoutMs = 4000) {
        for (int t = 0; t < timeoutMs; t += 20) {
            if (done())
                return true;
            Pause(20);
        }
        return done();
    }

    // A drop-down item is shown when its left margin is menu grey.
    static bool ItemShown(GameProcess &g, MenuModel &m, int bar, int level, int index,
                          int parent = -1) {
        Point p = m.ItemMargin(bar, level, index, parent);
        return g.Shot().At(p.x, p.y) == BAR_GREY;
    }

    // Clicks bar item `bar` and waits for its drop-down.
    void OpenMenu(GameProcess &g, MenuModel &m, int bar) {
        Point p = m.BarItem(bar);
        g.ClickAt(p.x, p.y);
        ASSERT_TRUE(WaitUntil([&] { return ItemShown(g, m, bar, 0, 0); })) << "menu did not open";
    }

    // Chooses Start new game from the Game menu with two clicks and waits
    // for the paddle.
    void NewGameByMenu(GameProcess &g, MenuModel &m) {
        OpenMenu(g, m, 0);
        Point item = m.PopupItem(0, 0, 0);
        g.ClickAt(item.x, item.y);
        g.MoveToClient(225, 300);
        ASSERT_TRUE(WaitUntil([&] { return PaddleLeft(g) != -1 && !ItemShown(g, m, 0, 0, 0); }))
            << "no new game";
    }

    // True when the play field changes within `ms` (returns as soon as it
    // does).
    bool FieldMoves(GameProcess &g, int ms = 2000) {
        Image before = g.Field();
        for (int t = 0; t < ms; t += 50) {
            Pause(50);
            if (!(g.Field() == before))
                return true;
        }
        return false;
    }

    // Writes the window's picture into QUARZEL_E2E_SHOTS, when set (the
    // README's screenshots are made this way).
    void KeepShot(GameProcess &g, const std::string &name) {
        Image shot = g.Shot();
        if (const char *dir = std::getenv("QUARZEL_E2E_SHOTS"))
            shot.SavePng(std::string(dir) + "/" + name);
    }

    static inline XSession *s_x = nullptr;
    static inline std::string s_error;
};

TEST_F(WindowTest, StartsWithTitleBoardBelowEnglishMenuAtItsPlace) {
    auto g = Start();
    Window w = g->Win();
    int x, y, width, height;
    ASSERT_TRUE(s_x->Geometry(w, &x, &y, &width, &height));
    EXPECT_EQ(x, 20);
    EXPECT_EQ(y, 15);
    EXPECT_EQ(width, LOGICAL_WIDTH);
    EXPECT_EQ(height, LOGICAL_HEIGHT);
    EXPECT_EQ(s_x->ClassName(w), "quarzel");
    long iconW = 0, iconH = 0;
    EXPECT_TRUE(s_x->IconSize(w, &iconW, &iconH)) << "no window icon";
    EXPECT_EQ(iconW, 32);
    EXPECT_EQ(iconH, 32);

    MenuModel english("qzlmenu_eng");
    EXPECT_EQ(g->Shot().Crop(0, 0, LOGICAL_WIDTH, MENU_BAR_HEIGHT), english.Bar())
        << "the bar should show Game, Options, Info";
    // Black board with the yellow title, white panel, no paddle yet.
    Image client = g->Client(0, 0, CLIENT_WIDTH, CLIENT_HEIGHT);
    EXPECT_EQ(client.At(100, 50), BLACK);
    EXPECT_EQ(client.At(500, 20), WHITE);
    EXPECT_TRUE(HasYellow(client.Crop(100, 150, 250, 100))) << "title missing";
    EXPECT_EQ(PaddleLeft(*g), -1);
    KeepShot(*g, "window-start.png");

    // No settings file at first: English, and an empty file is left.
    EXPECT_EQ(g->ReadFile("quarzel.ini"), "");
    EXPECT_EQ(g->Stderr(), "");
}

TEST_F(WindowTest, NewGameFromMenuShowsPaddleBallAndFiveRows) {
    auto g = Start();
    MenuModel m("qzlmenu_eng");
    NewGameByMenu(*g, m);
    Image field = g->Client(0, 0, 450, CLIENT_HEIGHT);
    // Four rows show at once; the fifth of the first block lies just above
    // the top edge and comes into view with the wall's second step.
    EXPECT_EQ(CountBrickRows(field, 100), 4);
    EXPECT_NE(PaddleLeft(*g), -1);
    EXPECT_TRUE(HasColour(field.Crop(FIELD_LEFT, 60, FIELD_RIGHT - FIELD_LEFT, 340), 0xC0C0C0))
        << "no ball in the field";
    EXPECT_TRUE(FieldMoves(*g, 2000));
    Pause(600);
    KeepShot(*g, "window-game.png");
    int rows = 0;
    for (int t = 0; t < 90 && rows < 5; ++t) {
        Pause(100);
        rows = CountBrickRows(g->Client(0, 0, 450, CLIENT_HEIGHT), 100);
    }
    EXPECT_EQ(rows, 5);
}

TEST_F(WindowTest, OpeningTheMenuPausesTheGameUntilContinue) {
    auto g = Start();
    MenuModel m("qzlmenu_eng");
    NewGameByMenu(*g, m);
    ASSERT_TRUE(FieldMoves(*g)) << "the game does not run";

    // The drop-down is drawn below the bar, grey over the black field.
    OpenMenu(*g, m, 0);
    Point hover = m.PopupItem(0, 0, 1), margin = m.ItemMargin(0, 0, 1);
    g->MoveTo(hover.x, hover.y);
    ASSERT_TRUE(WaitUntil([&] { return g->Shot().At(margin.x, margin.y) == 0x000080; }))
        << "the item under the mouse is not lit";
    KeepShot(*g, "window-menu.png");
    Image before = g->Field();
    Pause(700);
    EXPECT_EQ(g->Field(), before) << "the game went on while the menu was open";

    // Closed without a choice, the game stays paused.
    g->Key("Escape");
    g->Key("Escape");
    ASSERT_TRUE(WaitUntil([&] { return !ItemShown(*g, m, 0, 0, 0); }));
    g->MoveToClient(520, 300);
    EXPECT_FALSE(FieldMoves(*g, 700));

    // Continue resumes it.
    OpenMenu(*g, m, 0);
    Point cont = m.PopupItem(0, 0, 1);
    g->ClickAt(cont.x, cont.y);
    g->MoveToClient(520, 300);
    EXPECT_TRUE(FieldMoves(*g, 2000));
}

TEST_F(WindowTest, KeyboardOpensMenuAndChoosesItems) {
    auto g = Start();
    MenuModel m("qzlmenu_eng");
    // F10 highlights Game; Down opens it on its first item; Enter chooses.
    g->Key("F10");
    g->Key("Down");
    ASSERT_TRUE(WaitUntil([&] {
        Point p = m.ItemMargin(0, 0, 0);
        return g->Shot().At(p.x, p.y) == 0x000080;
    })) << "Down did not open the menu on its first item";
    g->Key("Return");
    EXPECT_TRUE(WaitUntil([&] { return PaddleLeft(*g) != -1; })) << "Start new game not chosen";
    EXPECT_TRUE(FieldMoves(*g, 2000));
    // Alt alone, then Escape: nothing chosen, the game paused.
    g->Key("alt");
    ASSERT_TRUE(WaitUntil([&] { return g->Shot().At(m.BarItem(0).x, 3) == 0x000080; }))
        << "Alt did not highlight the bar";
    g->Key("Escape");
    EXPECT_FALSE(FieldMoves(*g, 600));
}

TEST_F(WindowTest, PaddleFollowsTheMouseBetweenTheWalls) {
    auto g = Start();
    MenuModel m("qzlmenu_eng");
    NewGameByMenu(*g, m);
    // Moves the mouse and waits for the paddle to show `expected` (or, with
    // none given, to settle anywhere).
    auto paddleAt = [&](int cx, int expected) {
        g->MoveToClient(cx, 300);
        WaitUntil([&] { return PaddleLeft(*g) == expected; }, 2000);
        return PaddleLeft(*g);
    };
    g->MoveToClient(200, 300);
    ASSERT_TRUE(WaitUntil([&] { return PaddleLeft(*g) > 150 && PaddleLeft(*g) < 250; }));
    int at200 = PaddleLeft(*g);
    EXPECT_EQ(paddleAt(250, at200 + 50), at200 + 50);
    // The paddle's left edge stops at the left wall (x 32), its right edge at
    // the right wall (x 418, the paddle being 40 wide).
    int left = at200 + FIELD_LEFT - 200, right = at200 + (FIELD_RIGHT - 40) - 200;
    EXPECT_EQ(paddleAt(5, left), left) << "not stopped at the left wall";
    EXPECT_EQ(paddleAt(440, right), right) << "not stopped at the right wall";

    // Over the menu bar and outside the window the mouse is not seen.
    int at = paddleAt(300, at200 + 100);
    g->MoveTo(100, 5);
    g->MoveTo(700, 200);
    g->MoveTo(200, 600);
    Pause(300);
    EXPECT_EQ(PaddleLeft(*g), at);
}

TEST_F(WindowTest, FocusOnAnotherWindowPausesTheGame) {
    auto g = Start();
    MenuModel m("qzlmenu_eng");
    NewGameByMenu(*g, m);
    g->MoveToClient(520, 300);
    ASSERT_TRUE(FieldMoves(*g));
    Window other = s_x->OpenOtherWindow();
    Pause(300);
    EXPECT_FALSE(FieldMoves(*g, 700)) << "the game went on without the focus";
    // Coming back does not resume it.
    s_x->Focus(g->Win());
    Pause(300);
    EXPECT_FALSE(FieldMoves(*g, 500));
    s_x->CloseOtherWindow(other);
}

TEST_F(WindowTest, LanguageSwitchShowsGermanBarAndStoresIt) {
    auto g = Start();
    MenuModel english("qzlmenu_eng");
    OpenMenu(*g, english, 1);
    Point language = english.PopupItem(1, 0, 0);
    g->MoveTo(language.x, language.y);
    ASSERT_TRUE(WaitUntil([&] { return ItemShown(*g, english, 1, 1, 1, 0); }))
        << "the Language sub-popup did not open";
    Point deutsch = english.PopupItem(1, 1, 1, 0);
    g->ClickAt(deutsch.x, deutsch.y);
    g->MoveToClient(520, 300);

    MenuModel german("qzlmenu_ger");
    Image germanBar = german.Bar();
    EXPECT_TRUE(WaitUntil([&] {
        return g->Shot().Crop(0, 0, LOGICAL_WIDTH, MENU_BAR_HEIGHT) == germanBar;
    })) << "the bar should show Spiel, Optionen, Info";
    EXPECT_TRUE(WaitUntil([&] { return g->ReadFile("quarzel.ini") == "Language=0\n"; }))
        << g->ReadFile("quarzel.ini");
    // A repaint brings the German labels onto the panel.
    Window other = s_x->OpenOtherWindow();
    s_x->CloseOtherWindow(other);
    s_x->Focus(g->Win());
    Pause(300);
    KeepShot(*g, "window-german.png");
}

TEST_F(WindowTest, InfoBoxIsModalAndClosesWithEnter) {
    auto g = Start();
    MenuModel m("qzlmenu_eng");
    Image board = g->Client(0, 0, CLIENT_WIDTH, CLIENT_HEIGHT);
    OpenMenu(*g, m, 2);
    Point item = m.PopupItem(2, 0, 0);
    g->ClickAt(item.x, item.y);
    // The box's navy caption bar lies over the middle of the window.
    auto boxShown = [&] { return HasColour(g->Shot().Crop(100, 100, 400, 250), 0x000080); };
    ASSERT_TRUE(WaitUntil(boxShown)) << "no info box";
    g->MoveToClient(520, 300);
    Pause(100);
    KeepShot(*g, "window-info.png");
    // While it is open the menu does not open.
    Point info = m.BarItem(2);
    g->ClickAt(info.x, info.y);
    Pause(300);
    EXPECT_FALSE(ItemShown(*g, m, 2, 0, 0));
    EXPECT_TRUE(boxShown());
    g->Key("Return");
    g->MoveToClient(520, 300);
    EXPECT_TRUE(WaitUntil([&] { return g->Client(0, 0, CLIENT_WIDTH, CLIENT_HEIGHT) == board; }))
        << "the box left marks on the game's picture";
    ASSERT_TRUE(g->Running());
}

TEST_F(WindowTest, CloseBoxEndsWithExitCodeZero) {
    auto g = Start();
    s_x->RequestClose(g->Win());
    auto code = g->WaitForExit(5000);
    ASSERT_TRUE(code.has_value()) << "still running after the close box";
    EXPECT_EQ(*code, 0);
    EXPECT_EQ(g->Stderr(), "");
}

TEST_F(WindowTest, SoundsPlayThroughAudioWithoutErrors) {
    // The disk driver writes what the device plays into a file: once the ball
    // has hit something, there is sound in it.
    auto g = Start({{"SDL_AUDIODRIVER", "disk"}, {"SDL_DISKAUDIOFILE", "out.raw"}});
    MenuModel m("qzlmenu_eng");
    NewGameByMenu(*g, m);
    bool heard = false;
    for (int t = 0; t < 100 && !heard; ++t) {
        Pause(100);
        std::string raw = g->ReadFile("out.raw");
        for (char c : raw)
            if (c != 0) {
                heard = true;
                break;
            }
    }
    EXPECT_TRUE(heard) << "no sound reached the audio device";
    s_x->RequestClose(g->Win());
    EXPECT_EQ(g->WaitForExit(5000).value_or(-1), 0);
}

TEST_F(WindowTest, SoundsWithDummyDriverGiveNoErrors) {
    auto g = Start({{"SDL_AUDIODRIVER", "dummy"}});
    MenuModel m("qzlmenu_eng");
    NewGameByMenu(*g, m);
    Pause(3000);
    EXPECT_TRUE(g->Running());
    s_x->RequestClose(g->Win());
    EXPECT_EQ(g->WaitForExit(5000).value_or(-1), 0);
    EXPECT_EQ(g->Stderr(), "");
}

TEST_F(WindowTest, RunsSilentlyWithoutAnyAudio) {
    auto g = Start({{"SDL_AUDIODRIVER", "none"}});
    MenuModel m("qzlmenu_eng");
    NewGameByMenu(*g, m);
    EXPECT_TRUE(FieldMoves(*g));
    Pause(3000);
    ASSERT_TRUE(g->Running());
    s_x->RequestClose(g->Win());
    EXPECT_EQ(g->WaitForExit(5000).value_or(-1), 0);
    std::string err = g->Stderr();
    EXPECT_LE(std::count(err.begin(), err.end(), '\n'), 1) << err;
}

// Under a window manager, F11 and Alt+Enter show the game at the largest
// whole scale that fits the screen, letterboxed on black, and bring the
// window back.
TEST_F(WindowTest, FullScreenKeysScaleTheGameByWholeFactors) {
    ASSERT_TRUE(s_x->StartWindowManager()) << s_x->Error();
    auto g = Start();
    Image windowed = g->Shot();
    long frame[4];
    if (const char *dir = std::getenv("QUARZEL_E2E_SHOTS");
        dir && s_x->FrameExtents(g->Win(), frame))
        s_x->Shot(g->WindowX() - frame[0], g->WindowY() - frame[2],
                  LOGICAL_WIDTH + frame[0] + frame[1], LOGICAL_HEIGHT + frame[2] + frame[3])
            .SavePng(std::string(dir) + "/window-framed.png");
    for (const char *keys : {"F11", "alt+Return"}) {
        g->Key(keys);
        int x = 0, y = 0, w = 0, h = 0;
        for (int t = 0; t < 50 && w != 1280; ++t) {
            Pause(50);
            s_x->Geometry(g->Win(), &x, &y, &w, &h);
        }
        ASSERT_EQ(w, 1280) << keys;
        ASSERT_EQ(h, 1024) << keys;
        Pause(300);
        // 1280 x 1024 holds the picture twice over, centred.
        const int ox = (1280 - 2 * LOGICAL_WIDTH) / 2, oy = (1024 - 2 * LOGICAL_HEIGHT) / 2;
        Image screen = s_x->Shot(0, 0, 1280, 1024);
        EXPECT_EQ(screen.At(ox - 1, 500), BLACK);
        EXPECT_EQ(screen.At(600, oy - 1), BLACK);
        Image halved;
        halved.width = LOGICAL_WIDTH;
        halved.height = LOGICAL_HEIGHT;
        bool blocks = true;
        for (int j = 0; j < LOGICAL_HEIGHT; ++j)
            for (int i = 0; i < LOGICAL_WIDTH; ++i) {
                std::uint32_t p = screen.At(ox + 2 * i, oy + 2 * j);
                blocks = blocks && screen.At(ox + 2 * i + 1, oy + 2 * j + 1) == p;
                halved.pixels.push_back(p);
            }
        EXPECT_TRUE(blocks) << "not 2 x 2 blocks";
        EXPECT_EQ(halved, windowed) << "the scaled picture differs from the window's";
        // The same key brings the window back.
        g->Key(keys);
        for (int t = 0; t < 50 && w != LOGICAL_WIDTH; ++t) {
            Pause(50);
            s_x->Geometry(g->Win(), &x, &y, &w, &h);
        }
        EXPECT_EQ(w, LOGICAL_WIDTH) << keys;
        EXPECT_EQ(h, LOGICAL_HEIGHT) << keys;
        Pause(200);
    }
    EXPECT_EQ(g->Shot(), windowed);
}

// Without any display the program says so instead of running invisibly.
TEST(NoDisplay, ExitsWithClearMessage) {
    char tmpl[] = "/tmp/quarzel-e2e-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    std::string dir = tmpl;
    std::string cmd = "cd " + dir + " && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER " +
                      QZ_QUARZEL_EXE + " 2> err.txt";
    int status = std::system(cmd.c_str());
    EXPECT_NE(status, 0);
    std::string err;
    {
        FILE *f = std::fopen((dir + "/err.txt").c_str(), "r");
        ASSERT_NE(f, nullptr);
        char buf[512];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
            err.append(buf, n);
        std::fclose(f);
    }
    EXPECT_NE(err.find("graphical display"), std::string::npos) << err;
    std::filesystem::remove_all(dir);
}

} // namespace
