// The message loop: start-up, input before paint before ticks, the quit
// code, a host that runs out of events, and the background pump of a modal
// box.
#include <string>
#include <vector>

#include "log_wnd.h"
#include "test_app.h"

namespace {

using Log = std::vector<std::string>;

Event Mouse(int x) {
    Event ev;
    ev.kind = EventKind::MouseMove;
    ev.x = x;
    ev.y = 300;
    return ev;
}

} // namespace

TEST_F(WindowTest, failed_start_up_ends_without_a_loop_and_reports_failure) {
    int nCalls = 0;
    g_testApp.m_init = [&] {
        ++nCalls;
        return FALSE;
    };
    Host().Inject(Mouse(5));
    EXPECT_EQ(RunApplication(Host(), SW_SHOWNORMAL), 255);
    EXPECT_EQ(nCalls, 1);
    EXPECT_TRUE(Host().HasQueuedEvents()) << "no event was taken";
}

TEST_F(WindowTest, start_up_without_a_created_window_fails_and_frees_the_object) {
    bool bDeleted = false;
    g_testApp.m_init = [&] {
        // The object exists, but its platform window was never made.
        g_testApp.m_pMainWnd = new CLogWnd(&m_log, &bDeleted);
        return TRUE;
    };
    EXPECT_EQ(RunApplication(Host(), SW_SHOWNORMAL), 255);
    EXPECT_TRUE(bDeleted);
    EXPECT_EQ(g_testApp.m_pMainWnd, nullptr);
}

TEST_F(WindowTest, loop_takes_input_then_paints_then_ticks_until_quit) {
    CLogWnd *pWnd = nullptr;
    int nTicks = 0;
    g_testApp.m_init = [&] {
        pWnd = new CLogWnd(&m_log);
        pWnd->CreateDefault();
        g_testApp.m_pMainWnd = pWnd;
        EXPECT_EQ(g_testApp.m_nCmdShow, SW_SHOWMAXIMIZED);
        pWnd->ShowWindow(g_testApp.m_nCmdShow);
        pWnd->Invalidate();
        pWnd->SetTimer(1, 100);
        pWnd->m_onTimer = [&](UINT_PTR) {
            m_log.back() += " at " + std::to_string(Host().NowMs());
            if (++nTicks == 3)
                PostQuitMessage(7);
        };
        return TRUE;
    };
    Host().Inject(Mouse(1));
    Host().Inject(Mouse(2));

    EXPECT_EQ(RunApplication(Host(), SW_SHOWMAXIMIZED), 7);
    EXPECT_EQ(m_log, (Log{"activate 1", "mouse 1,300", "mouse 2,300", "paint", "timer 1 at 100",
                          "timer 1 at 200", "timer 1 at 300"}));
    EXPECT_EQ(Host().NowMs(), 300u);
}

TEST_F(WindowTest, loop_ends_as_a_close_would_when_the_host_has_nothing_more) {
    bool bDeleted = false;
    g_testApp.m_init = [&] {
        auto *pWnd = new CLogWnd(&m_log, &bDeleted);
        pWnd->CreateDefault();
        g_testApp.m_pMainWnd = pWnd;
        return TRUE;
    };
    EXPECT_EQ(RunApplication(Host(), SW_SHOWNORMAL), 0);
    EXPECT_EQ(m_log, Log{"destroy"});
    EXPECT_TRUE(bDeleted);
}

TEST_F(WindowTest, background_pump_paints_and_ticks_but_leaves_input_queued) {
    auto *pWnd = new CLogWnd(&m_log);
    ASSERT_TRUE(pWnd->CreateDefault());
    g_testApp.m_pMainWnd = pWnd;
    pWnd->SetTimer(2, 10);
    pWnd->SetTimer(1, 25);
    pWnd->Invalidate();
    Host().Inject(Mouse(9));

    Host().SetNowMs(30);
    PumpBackgroundEvents();
    // A timer that has fallen behind ticks once, not once per missed period.
    EXPECT_EQ(m_log, (Log{"paint", "timer 2", "timer 1"}));
    EXPECT_TRUE(Host().HasQueuedEvents());
    m_log.clear();
    PumpBackgroundEvents();
    EXPECT_TRUE(m_log.empty()) << "nothing more was due at 30";
}
