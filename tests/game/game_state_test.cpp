// The game state: construction, flags, points and high score, the paddle,
// the board's painting, a new game and the end of a game.
#include <gtest/gtest.h>

#include "support/game_board.h"

namespace {

TEST(GameState, construction_places_paddle_walls_and_ball_and_seeds_from_the_clock) {
    HeadlessHost host(1234567);
    SetHost(&host);
    {
        CGame game;
        CGameProbe p(game);
        EXPECT_EQ(p.Paddle().GetX(), 225);
        EXPECT_EQ(p.Paddle().GetY(), 380);
        EXPECT_FALSE(p.Paddle().IsVisible());
        EXPECT_TRUE(p.LeftWall().IsVisible());
        EXPECT_EQ(p.RightWall().GetX(), 450 - 32);
        EXPECT_TRUE(p.RightWall().IsVisible());
        EXPECT_EQ(p.RightWall().GetLastX(), NOT_DRAWN) << "walls are shown without drawing";
        EXPECT_FALSE(p.Ball().IsVisible());
        EXPECT_EQ(p.Balls(), 0);
        EXPECT_FALSE(game.IsRunning());
        EXPECT_FALSE(game.IsStarted());
        EXPECT_EQ(GetRandState(), 1234567u);
        for (COLORREF c : host.WindowSurface().Pixels()) ASSERT_EQ(c, 0u) << "nothing drawn";
    }
    SetHost(nullptr);
}

TEST(GameState, pause_continue_and_stop_follow_the_two_flags) {
    GameBoard b;
    b.game.Continue();
    EXPECT_FALSE(b.game.IsRunning()) << "continue while idle changes nothing";
    b.game.Start();
    EXPECT_TRUE(b.game.IsRunning());
    b.game.Pause();
    EXPECT_FALSE(b.game.IsRunning());
    EXPECT_TRUE(b.game.IsStarted());
    b.game.Continue();
    EXPECT_TRUE(b.game.IsRunning());
    b.game.Stop();
    EXPECT_FALSE(b.game.IsRunning());
    EXPECT_FALSE(b.game.IsStarted());
}

TEST(GameState, points_raise_the_high_score_only_above_it) {
    GameBoard b;
    struct {
        int points, score, high;
    } steps[] = {{10, 10, 10}, {-30, -20, 10}, {30, 10, 10}, {5, 15, 15}};
    for (const auto &s : steps) {
        EXPECT_EQ(b.game.AddPoints(s.points), s.score);
        EXPECT_EQ(b.game.GetHighScore(), s.high);
    }
    b.game.Start();
    EXPECT_EQ(b.game.GetScore(), 0);
    EXPECT_EQ(b.game.GetHighScore(), 15) << "a new start keeps the high score";
}

TEST(GameState, paddle_is_clamped_between_the_walls) {
    GameBoard b;
    struct {
        int mouse, x;
    } cases[] = {{0, 32}, {-50, 32}, {32, 32}, {200, 200}, {378, 378}, {500, 378}};
    b.probe.Paddle().Show(&b.dc);
    for (const auto &c : cases) {
        b.game.MovePaddle(&b.dc, c.mouse);
        EXPECT_EQ(b.probe.Paddle().GetX(), c.x) << c.mouse;
        EXPECT_EQ(b.probe.Paddle().GetY(), 380);
        EXPECT_EQ(b.probe.Paddle().GetLastX(), c.x) << "drawn where it stands";
    }
}

TEST(GameState, hidden_paddle_follows_the_mouse_without_drawing_and_new_game_shows_it_there) {
    GameBoard b;
    b.game.MovePaddle(&b.dc, 100);
    EXPECT_EQ(b.probe.Paddle().GetX(), 100);
    for (COLORREF c : b.surface().Pixels()) ASSERT_EQ(c, 0u);
    b.game.NewGame(&b.dc);
    EXPECT_TRUE(b.probe.Paddle().IsVisible());
    EXPECT_EQ(b.probe.Paddle().GetLastX(), 100);
    EXPECT_EQ(b.surface().GetPixel(100 + 20, 380 + 8), RGB(0, 255, 255)) << "cyan face";
}

bool HasColourIn(const Surface &s, const CRect &rc, COLORREF colour) {
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            if (s.GetPixel(x, y) == colour) return true;
    return false;
}

const COLORREF YELLOW_TEXT = RGB(220, 220, 0);
const CRect TITLE_BOX(135, 175, 449, 240);

TEST(GameState, idle_paint_shows_walls_and_title_on_black) {
    GameBoard b;
    b.surface().Fill(CRect(0, 0, 600, 450), RGB(1, 2, 3));
    b.game.PaintBoard(&b.dc);
    EXPECT_EQ(b.surface().GetPixel(0, 100), RGB(255, 255, 255)) << "left wall column 0";
    EXPECT_EQ(b.surface().GetPixel(31, 100), 0u) << "wall column 31 is black";
    EXPECT_EQ(b.surface().GetPixel(418, 10), RGB(255, 255, 255)) << "right wall at 418";
    EXPECT_EQ(b.surface().GetPixel(200, 420), 0u) << "field black";
    EXPECT_EQ(b.surface().GetPixel(450, 10), RGB(1, 2, 3)) << "panel not part of the board";
    EXPECT_TRUE(HasColourIn(b.surface(), TITLE_BOX, YELLOW_TEXT));
}

TEST(GameState, new_game_sets_up_five_rows_three_balls_and_the_ball_at_its_start) {
    GameBoard b;
    b.game.AddPoints(70);
    b.game.NewGame(&b.dc);
    EXPECT_EQ(b.game.GetScore(), 0);
    EXPECT_EQ(b.game.GetHighScore(), 70);
    EXPECT_EQ(b.probe.Balls(), 3);
    EXPECT_TRUE(b.game.IsRunning());
    EXPECT_TRUE(b.game.IsStarted());
    EXPECT_EQ(b.probe.RowY(), -70);
    EXPECT_EQ(b.probe.RowIndex(), 5);
    const int rowY[5] = {39, 25, 11, -3, -17};
    for (int slot = 0; slot < 15; ++slot) {
        CBrick &row = b.probe.Row(slot);
        if (slot < 5) {
            ASSERT_EQ(row.GetCount(), 15) << slot;
            EXPECT_EQ(row.m_pSprites[0].GetY(), rowY[slot]) << slot;
            EXPECT_EQ(row.m_pSprites[0].GetX(), 37);
            EXPECT_EQ(row.m_pSprites[14].GetX(), 387);
            EXPECT_GE(row.CountVisible(), 14);
        } else {
            EXPECT_EQ(row.GetCount(), 0) << slot;
        }
    }
    CSSprite &ball = b.probe.Ball();
    EXPECT_EQ(ball.GetRealX(), 112.0);
    EXPECT_EQ(ball.GetRealY(), 225.0);
    EXPECT_EQ(ball.GetDX(), 1.0);
    EXPECT_EQ(ball.GetDY(), 1.0);
    EXPECT_TRUE(ball.IsVisible());
    EXPECT_FALSE(HasColourIn(b.surface(), TITLE_BOX, YELLOW_TEXT)) << "no title while a game is on";

    // The next row comes on the 13th advance, into slot 5.
    for (int i = 1; i <= 12; ++i) ASSERT_EQ(b.game.AdvanceWall(&b.dc), 0) << i;
    EXPECT_EQ(b.game.AdvanceWall(&b.dc), 1);
    EXPECT_EQ(b.probe.Row(5).GetCount(), 15);
    EXPECT_EQ(b.probe.RowIndex(), 6);
}

TEST(GameState, new_game_during_a_game_clears_old_bricks_at_no_cost) {
    GameBoard b;
    b.game.NewGame(&b.dc);
    for (int i = 0; i < 200; ++i) b.game.AdvanceWall(&b.dc); // all slots laid
    for (int slot = 0; slot < 15; ++slot) ASSERT_EQ(b.probe.Row(slot).GetCount(), 15);
    b.game.NewGame(&b.dc);
    EXPECT_EQ(b.game.GetScore(), 0) << "old bricks cost nothing when their slots are re-laid";
    int visible = 0;
    for (int slot = 0; slot < 15; ++slot) visible += b.probe.Row(slot).CountVisible();
    EXPECT_GE(visible, 5 * 15 - 1) << "only the five new rows stand (one brick may be a bonus)";
    EXPECT_LE(visible, 5 * 15);
}

TEST(GameState, game_over_hides_the_movers_draws_the_text_and_plays_the_sound) {
    GameBoard b;
    b.game.NewGame(&b.dc);
    b.host.Sounds().clear();
    LanguageIndex = LANG_GERMAN;
    b.game.GameOver(&b.dc);
    EXPECT_FALSE(b.probe.Paddle().IsVisible());
    EXPECT_FALSE(b.probe.Ball().IsVisible());
    EXPECT_FALSE(b.probe.Bonus().IsVisible());
    EXPECT_FALSE(b.game.IsRunning());
    EXPECT_FALSE(b.game.IsStarted());
    EXPECT_EQ(b.probe.Balls(), 0);
    EXPECT_EQ(b.host.Sounds(), std::vector<std::string>{"dead.wav"});
    EXPECT_TRUE(HasColourIn(b.surface(), CRect(190, 225, 449, 290), YELLOW_TEXT));
    EXPECT_EQ(b.surface().GetPixel(225 + 20, 380 + 8), 0u) << "paddle erased";

    // A repaint shows the title and the remaining bricks, no paddle or ball.
    b.game.PaintBoard(&b.dc);
    EXPECT_TRUE(HasColourIn(b.surface(), TITLE_BOX, YELLOW_TEXT));
    CBrick &row = b.probe.Row(0);
    int k = row.m_pSprites[0].IsVisible() ? 0 : 1;
    EXPECT_EQ(b.surface().GetPixel(row.m_pSprites[k].GetX() + 1, row.m_pSprites[k].GetY() + 1),
              b.probe.Row(0).m_pSprites[k].GetBitmap()->GetSurface()->GetPixel(1, 1))
        << "bricks stay";
    EXPECT_EQ(b.surface().GetPixel(112 + 9, 225 + 9), 0u) << "no ball";
}

} // namespace
