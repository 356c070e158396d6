// Window timers on the host's clock: replace-and-restart, time order with
// ties by id, killed timers, timers set inside a tick, paint before a tick.
#include <string>
#include <vector>

#include "log_wnd.h"
#include "test_app.h"

namespace {

class TimerTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        m_pWnd = new CLogWnd(&m_log);
        ASSERT_TRUE(m_pWnd->CreateDefault());
        g_testApp.m_pMainWnd = m_pWnd;
        // Each tick is logged with the clock as the handler sees it.
        m_pWnd->m_onTimer = [this](UINT_PTR) {
            m_log.back() += " at " + std::to_string(Host().NowMs());
        };
    }

    // Delivers every tick due up to `ms`, each at its own due time.
    void AdvanceTo(std::uint64_t ms) {
        while (auto due = NextTimerDue()) {
            if (*due > ms)
                break;
            Host().SetNowMs(*due);
            DispatchDueTimer(*due);
        }
        Host().SetNowMs(ms);
    }

    CLogWnd *m_pWnd = nullptr;
};

using Log = std::vector<std::string>;

} // namespace

TEST_F(TimerTest, setting_a_running_timer_replaces_it_and_restarts_its_period) {
    m_pWnd->SetTimer(1, 100);
    AdvanceTo(50);
    m_pWnd->SetTimer(1, 100);
    AdvanceTo(149);
    EXPECT_TRUE(m_log.empty()) << "the tick due at 100 belonged to the replaced timer";
    AdvanceTo(150);
    m_pWnd->SetTimer(1, 30); // a new period, from now
    AdvanceTo(200);
    EXPECT_EQ(m_log, (Log{"timer 1 at 150", "timer 1 at 180"}));
    EXPECT_EQ(m_pWnd->GetTimers().Period(1), 30u);
}

TEST_F(TimerTest, ticks_come_in_time_order_and_equal_times_by_ascending_id) {
    m_pWnd->SetTimer(3, 60);
    m_pWnd->SetTimer(2, 20);
    m_pWnd->SetTimer(1, 30);
    AdvanceTo(60);
    EXPECT_EQ(m_log, (Log{"timer 2 at 20", "timer 1 at 30", "timer 2 at 40", "timer 1 at 60",
                          "timer 2 at 60", "timer 3 at 60"}));
}

TEST_F(TimerTest, a_killed_timer_gives_no_ticks_until_it_is_set_again) {
    m_pWnd->SetTimer(1, 10);
    AdvanceTo(25);
    EXPECT_TRUE(m_pWnd->KillTimer(1));
    EXPECT_FALSE(m_pWnd->KillTimer(1)) << "it is no longer set";
    AdvanceTo(100);
    EXPECT_EQ(m_log, (Log{"timer 1 at 10", "timer 1 at 20"}));
    m_pWnd->SetTimer(1, 10);
    AdvanceTo(115);
    EXPECT_EQ(m_log.back(), "timer 1 at 110");
}

TEST_F(TimerTest, a_timer_killed_by_an_earlier_tick_loses_its_pending_tick) {
    m_pWnd->SetTimer(1, 10);
    m_pWnd->SetTimer(2, 10);
    m_pWnd->m_onTimer = [this](UINT_PTR id) {
        m_log.back() += " at " + std::to_string(Host().NowMs());
        if (id == 1)
            m_pWnd->KillTimer(2);
    };
    AdvanceTo(30);
    EXPECT_EQ(m_log, (Log{"timer 1 at 10", "timer 1 at 20", "timer 1 at 30"}));
}

TEST_F(TimerTest, a_timer_set_inside_a_tick_counts_from_that_ticks_due_time) {
    m_pWnd->SetTimer(1, 10);
    m_pWnd->m_onTimer = [this](UINT_PTR id) {
        m_log.back() += " at " + std::to_string(Host().NowMs());
        if (id == 1)
            m_pWnd->SetTimer(1, 7);
    };
    AdvanceTo(30);
    EXPECT_EQ(m_log, (Log{"timer 1 at 10", "timer 1 at 17", "timer 1 at 24"}));
}

TEST_F(TimerTest, a_pending_paint_is_carried_out_before_each_tick) {
    m_pWnd->SetTimer(1, 10);
    m_pWnd->Invalidate();
    AdvanceTo(20);
    EXPECT_EQ(m_log, (Log{"paint", "timer 1 at 10", "timer 1 at 20"}));
}

TEST_F(TimerTest, destroying_the_window_ends_its_timers) {
    m_pWnd->SetTimer(1, 10);
    m_pWnd->DestroyWindow();
    EXPECT_EQ(NextTimerDue(), std::nullopt);
    EXPECT_FALSE(DispatchDueTimer(100));
}
