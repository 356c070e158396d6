// The application shell driven through theApp, its main window and the
// headless host, each test in a fresh folder (the settings file lives in the
// current directory).
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <new>
#include <string>

#include <gtest/gtest.h>

#include "app/cqzlapp.h"
#include "app/cqzlwnd.h"
#include "game/cgameprobe.h"
#include "platform/cmenu.h"
#include "platform/headless/headless_host.h"
#include "platform/runtime.h"
#include "settings/language.h"

// Allocations with std::nothrow fail while this is set, as they would with
// the memory exhausted.
static bool g_bFailNothrowNew = false;

void *operator new(std::size_t size, const std::nothrow_t &) noexcept {
    if (g_bFailNothrowNew)
        return nullptr;
    try {
        return ::operator new(size);
    } catch (...) {
        return nullptr;
    }
}

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path &path, const std::string &bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

Event Command(int id) {
    Event ev;
    ev.kind = EventKind::Command;
    ev.id = id;
    return ev;
}

class AppTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_old = fs::current_path();
        m_dir = fs::temp_directory_path() /
                ("quarzel-app-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        fs::current_path(m_dir);
        m_host = std::make_unique<HeadlessHost>(1000);
        SetHost(m_host.get());
    }
    void TearDown() override {
        if (CWnd *pWnd = theApp.m_pMainWnd)
            pWnd->DestroyWindow();
        SetHost(nullptr);
        fs::current_path(m_old);
        fs::remove_all(m_dir);
    }

    // Starts the program as launching it does.
    CQZLWnd &Start(int nCmdShow = SW_SHOWNORMAL) {
        EXPECT_TRUE(InitApplication(nCmdShow));
        auto *pWnd = dynamic_cast<CQZLWnd *>(theApp.m_pMainWnd);
        EXPECT_NE(pWnd, nullptr);
        return *pWnd;
    }

    // A command chosen from the menu: the selection first, then the command.
    void Choose(int id) {
        Event select;
        select.kind = EventKind::MenuSelect;
        DispatchToMainWindow(select);
        DispatchToMainWindow(Command(id));
    }

    std::string FirstPopup() {
        const MenuBar *pBar = m_host->Menu();
        return pBar && !pBar->items.empty() ? pBar->items[0].text : std::string("(none)");
    }

    fs::path m_old, m_dir;
    std::unique_ptr<HeadlessHost> m_host;
};

} // namespace

TEST_F(AppTest, start_up_creates_shows_and_paints_the_window_as_asked) {
    CQZLWnd &wnd = Start();
    const WindowSpec &window = m_host->Window();
    EXPECT_EQ(window.title, "QUARZEL");
    EXPECT_EQ(window.style, 0xCB0000u);
    EXPECT_EQ(CRect(window.left, window.top, window.right, window.bottom), CRect(20, 15, 620, 465));
    ASSERT_NE(window.icon, nullptr);
    EXPECT_EQ(window.icon->Width(), 32);
    EXPECT_TRUE(m_host->IsShown());
    EXPECT_EQ(m_host->ShowState(), SW_SHOWNORMAL);
    EXPECT_FALSE(wnd.IsPaintPending()) << "the first paint is done before the loop";

    // The white panel and the black play field were drawn.
    const Surface &s = m_host->WindowSurface();
    EXPECT_EQ(s.GetPixel(599, 0), RGB(255, 255, 255));
    EXPECT_EQ(s.GetPixel(100, 400), RGB(0, 0, 0));
    EXPECT_EQ(FirstPopup(), "Game") << "no settings file: English";
    EXPECT_TRUE(fs::exists("quarzel.ini"));
    EXPECT_TRUE(wnd.GetTimers().All().empty());
}

TEST_F(AppTest, start_up_takes_the_show_state_it_was_started_with) {
    for (int nCmdShow : {SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED}) {
        Start(nCmdShow);
        EXPECT_EQ(m_host->ShowState(), nCmdShow);
        theApp.m_pMainWnd->DestroyWindow();
    }
}

TEST_F(AppTest, the_stored_language_picks_the_menu) {
    struct Case {
        const char *ini;
        int language;
        const char *popup;
    };
    const Case cases[] = {
        {"Language=0\n", LANG_GERMAN, "Spiel"},
        {"Language=1\n", LANG_ENGLISH, "Game"},
        {"Language=\n", LANG_ENGLISH, "Game"},
        {"Other=1\n", LANG_ENGLISH, "Game"},
    };
    for (const Case &c : cases) {
        WriteFile("quarzel.ini", c.ini);
        Start();
        EXPECT_EQ(LanguageIndex, c.language) << c.ini;
        EXPECT_EQ(FirstPopup(), c.popup) << c.ini;
        theApp.m_pMainWnd->DestroyWindow();
    }
}

TEST_F(AppTest, language_switch_replaces_the_menu_at_once_and_stores_the_choice) {
    WriteFile("quarzel.ini", "A=1\nLanguage=1\n");
    Start();
    Choose(ID_LANG_GERMAN);
    EXPECT_EQ(LanguageIndex, LANG_GERMAN);
    EXPECT_EQ(FirstPopup(), "Spiel");
    EXPECT_EQ(ReadFile("quarzel.ini"), "A=1\nLanguage=0\n");
    Choose(ID_LANG_ENGLISH);
    EXPECT_EQ(FirstPopup(), "Game");
    EXPECT_EQ(ReadFile("quarzel.ini"), "A=1\nLanguage=1\n");
}

TEST_F(AppTest, choosing_the_active_language_does_not_even_create_the_file) {
    Start();
    fs::remove("quarzel.ini");
    Choose(ID_LANG_ENGLISH);
    EXPECT_FALSE(fs::exists("quarzel.ini"));
    EXPECT_EQ(FirstPopup(), "Game");
}

TEST_F(AppTest, info_box_is_owned_plain_and_the_same_in_both_languages) {
    Start();
    Choose(ID_INFO);
    Choose(ID_LANG_GERMAN);
    Choose(ID_INFO);
    const auto &boxes = m_host->Boxes();
    ASSERT_EQ(boxes.size(), 2u);
    for (const auto &box : boxes) {
        EXPECT_EQ(box.caption, "Info");
        EXPECT_EQ(box.style, MB_OK);
        EXPECT_TRUE(box.owned);
        EXPECT_EQ(box.text.rfind("      Quarzel v1.3\n\n", 0), 0u) << box.text;
    }
    EXPECT_EQ(boxes[0].text, boxes[1].text);
}

TEST_F(AppTest, quit_and_close_end_the_loop_with_exit_code_0) {
    Event close;
    close.kind = EventKind::Close;
    for (const Event &ev : {Command(ID_GAME_QUIT), close}) {
        m_host->Inject(ev);
        EXPECT_EQ(RunApplication(*m_host, SW_SHOWNORMAL), 0);
        EXPECT_EQ(theApp.m_pMainWnd, nullptr) << "the window deleted itself";
        EXPECT_FALSE(m_host->HasWindow());
        EXPECT_FALSE(m_host->HasQueuedEvents());
    }
}

TEST_F(AppTest, the_step_that_loses_the_last_ball_is_the_last_of_its_tick) {
    CQZLWnd &wnd = Start();
    Choose(ID_GAME_NEW);
    CGameProbe probe(wnd.GetGame());
    probe.Balls() = 1;
    // The second sub-step of the first step takes the ball to y = 451.
    probe.Ball().SetRealY(450.0);
    probe.Ball().SetRealX(112.0);

    Event tick;
    tick.kind = EventKind::Timer;
    tick.id = CQZLWnd::TIMER_BALL;
    DispatchToMainWindow(tick);

    EXPECT_EQ(probe.Started(), 0);
    EXPECT_TRUE(wnd.GetTimers().All().empty()) << "both timers are killed";
    // More steps would have moved the hidden ball on.
    EXPECT_EQ(probe.Ball().GetRealY(), 451.0);
    EXPECT_EQ(probe.Ball().GetRealX(), 113.0);
}

TEST_F(AppTest, a_failed_menu_allocation_stops_with_an_assertion_naming_its_place) {
    struct Case {
        int command;
        const char *message;
    };
    const Case cases[] = {
        {ID_LANG_GERMAN, "Assertion failed: poMenu=new CMenu, file cqzlwnd, line 194"},
        {ID_LANG_ENGLISH, "Assertion failed: poMenu=new CMenu, file cqzlwnd, line 170"},
    };
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (const Case &c : cases) {
        WriteFile("quarzel.ini", c.command == ID_LANG_GERMAN ? "Language=1\n" : "Language=0\n");
        Start();
        EXPECT_DEATH(
            {
                g_bFailNothrowNew = true;
                DispatchToMainWindow(Command(c.command));
            },
            c.message);
        theApp.m_pMainWnd->DestroyWindow();
    }
}
