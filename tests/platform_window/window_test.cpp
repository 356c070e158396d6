// Event-table dispatch, painting, the own device context and destruction.
#include <string>
#include <vector>

#include "log_wnd.h"
#include "platform/runtime.h"
#include "test_app.h"

// clang-format off
BEGIN_MESSAGE_MAP(CLogWnd, CFrameWnd)
    ON_WM_PAINT()
    ON_COMMAND(1, OnOne)
    ON_COMMAND(2, OnTwo)
    ON_WM_MENUSELECT()
    ON_WM_ACTIVATE()
    ON_WM_MOUSEMOVE()
    ON_WM_TIMER()
    ON_WM_DESTROY()
END_MESSAGE_MAP()
// clang-format on

// clang-format off
BEGIN_MESSAGE_MAP(CDerivedWnd, CLogWnd)
    ON_COMMAND(3, OnThree)
    ON_COMMAND(2, OnTwoAgain)
    ON_WM_CLOSE()
END_MESSAGE_MAP()
// clang-format on

namespace {

using Log = std::vector<std::string>;

Event Make(EventKind kind, int id = 0, int x = 0, int y = 0, int state = 0) {
    Event ev;
    ev.kind = kind;
    ev.id = id;
    ev.x = x;
    ev.y = y;
    ev.state = state;
    return ev;
}

} // namespace

TEST_F(WindowTest, events_reach_the_handler_their_table_row_names) {
    Log &log = m_log;
    auto *pWnd = new CLogWnd(&log);
    ASSERT_TRUE(pWnd->CreateDefault());
    g_testApp.m_pMainWnd = pWnd;

    struct Case {
        Event ev;
        Log expected;
    };
    const Case cases[] = {
        {Make(EventKind::Command, 1), {"command 1"}},
        {Make(EventKind::Command, 2), {"command 2"}},
        {Make(EventKind::Command, 7), {}}, // no row: default handling does nothing
        {Make(EventKind::MenuSelect, 101), {"menuselect"}},
        {Make(EventKind::Activate, 0, 0, 0, 0), {"activate 0"}},
        {Make(EventKind::Activate, 0, 0, 0, 2), {"activate 2"}},
        {Make(EventKind::MouseMove, 0, 123, 300), {"mouse 123,300"}},
        {Make(EventKind::Timer, 5), {"timer 5"}},
        {Make(EventKind::Paint), {"paint"}},
    };
    for (const Case &c : cases) {
        log.clear();
        pWnd->WindowProc(c.ev);
        EXPECT_EQ(log, c.expected)
            << "event kind " << static_cast<int>(c.ev.kind) << " id " << c.ev.id;
    }
}

TEST_F(WindowTest, derived_table_is_searched_before_its_base_table) {
    Log &log = m_log;
    auto *pWnd = new CDerivedWnd(&log);
    ASSERT_TRUE(pWnd->CreateDefault());
    g_testApp.m_pMainWnd = pWnd;

    for (int id : {1, 2, 3})
        pWnd->WindowProc(Make(EventKind::Command, id));
    pWnd->WindowProc(Make(EventKind::Close));
    EXPECT_EQ(log, (Log{"command 1", "derived command 2", "command 3", "close"}));
    EXPECT_TRUE(pWnd->IsWindow()) << "a close handler replaces the default destruction";
}

TEST_F(WindowTest, close_without_a_row_destroys_the_window_which_deletes_itself) {
    Log &log = m_log;
    bool bDeleted = false;
    auto *pWnd = new CLogWnd(&log, &bDeleted);
    ASSERT_TRUE(pWnd->CreateDefault(CS_OWNDC, "qzlmenu_eng"));
    g_testApp.m_pMainWnd = pWnd;
    pWnd->SetTimer(1, 100);
    ASSERT_NE(Host().Menu(), nullptr);

    pWnd->WindowProc(Make(EventKind::Close));

    EXPECT_EQ(log, Log{"destroy"});
    EXPECT_TRUE(bDeleted);
    EXPECT_EQ(g_testApp.m_pMainWnd, nullptr);
    EXPECT_FALSE(Host().HasWindow());
    EXPECT_EQ(Host().Menu(), nullptr);
    EXPECT_FALSE(QuitRequested()) << "only the window's own destroy handler ends the loop";
}

TEST_F(WindowTest, a_handler_may_destroy_its_own_window) {
    Log &log = m_log;
    bool bDeleted = false;
    auto *pWnd = new CLogWnd(&log, &bDeleted);
    ASSERT_TRUE(pWnd->CreateDefault());
    g_testApp.m_pMainWnd = pWnd;
    pWnd->m_onTimer = [pWnd](UINT_PTR) { pWnd->DestroyWindow(); };

    pWnd->WindowProc(Make(EventKind::Timer, 1));

    EXPECT_EQ(log, (Log{"timer 1", "destroy"}));
    EXPECT_TRUE(bDeleted);
}

TEST_F(WindowTest, paint_happens_once_per_invalidation_and_only_when_updated) {
    Log &log = m_log;
    auto *pWnd = new CLogWnd(&log);
    ASSERT_TRUE(pWnd->CreateDefault());
    g_testApp.m_pMainWnd = pWnd;

    pWnd->UpdateWindow();
    EXPECT_TRUE(log.empty()) << "nothing was invalid";
    pWnd->Invalidate();
    pWnd->Invalidate();
    EXPECT_TRUE(log.empty()) << "invalidating does not paint by itself";
    pWnd->UpdateWindow();
    pWnd->UpdateWindow();
    EXPECT_EQ(log, Log{"paint"});
    EXPECT_FALSE(pWnd->IsPaintPending());
}

TEST_F(WindowTest, showing_normally_activates_the_window_hidden_does_not) {
    struct Case {
        int nCmdShow;
        Log expected;
    };
    const Case cases[] = {
        {SW_SHOWNORMAL, {"activate 1"}},
        {SW_SHOWMINIMIZED, {"activate 1"}},
        {SW_SHOWMAXIMIZED, {"activate 1"}},
        {SW_HIDE, {}},
    };
    for (const Case &c : cases) {
        Log log;
        auto *pWnd = new CLogWnd(&log);
        ASSERT_TRUE(pWnd->CreateDefault());
        EXPECT_FALSE(Host().IsShown());
        pWnd->ShowWindow(c.nCmdShow);
        EXPECT_EQ(log, c.expected) << "show state " << c.nCmdShow;
        EXPECT_EQ(Host().ShowState(), c.nCmdShow);
        pWnd->DestroyWindow();
    }
}

TEST_F(WindowTest, own_device_context_is_always_the_same_and_keeps_its_attributes) {
    Log &log = m_log;
    auto *pWnd = new CLogWnd(&log);
    ASSERT_TRUE(pWnd->CreateDefault(CS_OWNDC));
    g_testApp.m_pMainWnd = pWnd;

    CDC *pDC = pWnd->GetDC();
    pDC->SetTextColor(RGB(1, 2, 3));
    pDC->SetBkColor(RGB(4, 5, 6));
    EXPECT_EQ(pWnd->GetDC(), pDC);
    EXPECT_EQ(pWnd->GetDC()->GetTextColor(), RGB(1, 2, 3));
    EXPECT_EQ(pWnd->GetDC()->GetSurface(), &Host().WindowSurface());

    // The paint context is the same context.
    COLORREF paintText = 0, paintBk = 0;
    pWnd->m_onPaint = [&](CPaintDC &dc) {
        paintText = dc.GetTextColor();
        paintBk = dc.GetBkColor();
    };
    pWnd->Invalidate();
    pWnd->UpdateWindow();
    EXPECT_EQ(paintText, RGB(1, 2, 3));
    EXPECT_EQ(paintBk, RGB(4, 5, 6));
}

TEST_F(WindowTest, without_an_own_context_each_get_starts_from_the_defaults) {
    Log &log = m_log;
    auto *pWnd = new CLogWnd(&log);
    ASSERT_TRUE(pWnd->CreateDefault(0));
    g_testApp.m_pMainWnd = pWnd;

    pWnd->GetDC()->SetTextColor(RGB(1, 2, 3));
    CDC *pDC = pWnd->GetDC();
    EXPECT_EQ(pDC->GetTextColor(), RGB(0, 0, 0));
    EXPECT_EQ(pDC->GetBkColor(), RGB(255, 255, 255));
    EXPECT_EQ(pDC->GetSurface(), &Host().WindowSurface());
}

TEST_F(WindowTest, window_is_created_as_asked_with_its_class_icon) {
    HICON hIcon = LoadIcon("QZLIcon");
    ASSERT_NE(hIcon, nullptr);
    EXPECT_EQ(hIcon->image.Width(), 32);
    EXPECT_EQ(hIcon->image.Height(), 32);

    const char *pszClass = AfxRegisterWndClass(CS_OWNDC, nullptr, nullptr, hIcon);
    EXPECT_STREQ(AfxRegisterWndClass(CS_OWNDC, nullptr, nullptr, hIcon), pszClass)
        << "an identical class is reused";
    EXPECT_STRNE(AfxRegisterWndClass(0, nullptr, nullptr, hIcon), pszClass);

    CFrameWnd *pWnd = new CFrameWnd;
    ASSERT_TRUE(pWnd->Create(pszClass, "QUARZEL", 0xCB0000, CRect(20, 15, 620, 465)));
    const WindowSpec &window = Host().Window();
    EXPECT_EQ(window.title, "QUARZEL");
    EXPECT_EQ(window.className, pszClass);
    EXPECT_EQ(window.style, 0xCB0000u);
    EXPECT_EQ(CRect(window.left, window.top, window.right, window.bottom), CRect(20, 15, 620, 465));
    EXPECT_EQ(window.icon, &hIcon->image);
    EXPECT_EQ(Host().Menu(), nullptr) << "no menu was asked for";
    pWnd->DestroyWindow();

    EXPECT_TRUE(DestroyIcon(hIcon));
    EXPECT_EQ(LoadIcon("nosuchicon"), nullptr);
    EXPECT_FALSE(DestroyIcon(nullptr));
}

TEST_F(WindowTest, owned_message_box_names_its_owner) {
    Log &log = m_log;
    auto *pWnd = new CLogWnd(&log);
    ASSERT_TRUE(pWnd->CreateDefault());
    g_testApp.m_pMainWnd = pWnd;

    EXPECT_EQ(pWnd->MessageBox("text", "caption", MB_OK), IDOK);
    ASSERT_EQ(Host().Boxes().size(), 1u);
    EXPECT_EQ(Host().Boxes()[0].caption, "caption");
    EXPECT_EQ(Host().Boxes()[0].text, "text");
    EXPECT_EQ(Host().Boxes()[0].style, MB_OK);
    EXPECT_TRUE(Host().Boxes()[0].owned);
}
