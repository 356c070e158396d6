// The ball step: sub-steps, the edges, walls, paddle deflection, bricks, the
// bonus and losing balls.
#include <gtest/gtest.h>

#include "support/game_board.h"

namespace {

TEST(BallStep, a_new_ball_moves_three_half_pixel_sub_steps_per_call) {
    GameBoard b;
    b.PlaceBall(112.0, 225.0, 1.0, 1.0);
    EXPECT_EQ(b.game.StepBall(&b.dc), 1);
    EXPECT_EQ(b.probe.Ball().GetSteps(), 2);
    EXPECT_EQ(b.probe.Ball().GetRealX(), 113.5);
    EXPECT_EQ(b.probe.Ball().GetRealY(), 226.5);
    for (int i = 0; i < 3; ++i) b.game.StepBall(&b.dc);
    EXPECT_EQ(b.probe.Ball().GetRealX(), 118.0) << "four calls, one timer tick: 6 pixels";
    EXPECT_EQ(b.probe.Ball().GetRealY(), 231.0);
    EXPECT_EQ(b.probe.Ball().GetLastX(), 118) << "drawn once at the end of each call";
}

struct EdgeCase {
    const char *name;
    double startY, dy;
    double endY, endDY;
    int balls;
    double endX;
};

void PrintTo(const EdgeCase &c, std::ostream *os) { *os << c.name; }

class BallEdges : public ::testing::TestWithParam<EdgeCase> {};

TEST_P(BallEdges, act_on_the_whole_pixel_position) {
    const EdgeCase &c = GetParam();
    GameBoard b;
    b.PlaceBall(200.0, c.startY, 0.0, c.dy);
    EXPECT_EQ(b.game.StepBall(&b.dc), 1);
    EXPECT_EQ(b.probe.Ball().GetRealY(), c.endY);
    EXPECT_EQ(b.probe.Ball().GetDY(), c.endDY);
    EXPECT_EQ(b.probe.Ball().GetRealX(), c.endX);
    EXPECT_EQ(b.probe.Balls(), c.balls);
}

INSTANTIATE_TEST_SUITE_P(
    TopAndBottom, BallEdges,
    ::testing::Values(
        // Sub-steps of -0.5: at -0.6 the whole-pixel y is 0, so nothing happens
        // until -1.1; then the ball is put to 0 and sent down.
        EdgeCase{"top_at_minus_0_6_waits", -0.1, -1.0, 0.5, 1.0, 3, 200.0},
        EdgeCase{"top_at_minus_1_2_acts", -0.7, -1.0, 1.0, 1.0, 3, 200.0},
        // At 450.9 the ball is still in play; at 451.4 it is lost and the new
        // ball makes the call's last sub-step from (112, 225).
        EdgeCase{"bottom_at_450_9_stays", 450.4, 1.0, 225.5, 1.0, 2, 112.5},
        // At 451.0 it is lost on the first sub-step; two more follow.
        EdgeCase{"bottom_at_451_0_lost", 450.5, 1.0, 226.0, 1.0, 2, 113.0}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(BallStep, left_wall_touch_turns_the_ball_and_puts_it_on_the_wall_edge) {
    GameBoard b;
    // dx -2 gives 3 sub-steps of -2/3: the first brings the ball's column 0
    // onto the wall's last solid column 30, touching with its left quarter.
    b.PlaceBall(30.0 + 2.0 / 3.0, 200.0, -2.0, 1.0);
    b.game.StepBall(&b.dc);
    EXPECT_EQ(b.probe.Ball().GetDX(), 2.0);
    EXPECT_EQ(b.probe.Ball().GetDY(), 1.0);
    EXPECT_NEAR(b.probe.Ball().GetRealX(), 32.0 + 3 * (2.0 / 3.0), 1e-9)
        << "put on x = 32, then three sub-steps right without touching again";
    EXPECT_TRUE(b.host.Sounds().empty());
}

TEST(BallStep, right_wall_touch_puts_the_ball_left_of_the_wall) {
    GameBoard b;
    // Ball column 17 over the right wall's column 0 (x = 418).
    b.PlaceBall(401.0 - 0.5, 200.0, 1.0, 1.0);
    b.game.StepBall(&b.dc);
    EXPECT_EQ(b.probe.Ball().GetDX(), -1.0);
    EXPECT_EQ(b.probe.Ball().GetRealX(), 400.0 - 1.0);
}

struct Deflection {
    int ballX;
    double dxBefore;
    double ballY;  // where the first sub-step puts the ball
    double dx, dy; // after the step, dy to four places
};

void PrintTo(const Deflection &c, std::ostream *os) {
    *os << "ball x " << c.ballX << ", dx " << c.dxBefore;
}

class PaddleDeflection : public ::testing::TestWithParam<Deflection> {};

TEST_P(PaddleDeflection, depends_on_where_the_ball_meets_the_paddle) {
    const Deflection &c = GetParam();
    GameBoard b;
    b.PlacePaddle(200);
    // Start half a sub-step back, so the first sub-step lands exactly.
    b.PlaceBall(c.ballX - c.dxBefore / 2.0, c.ballY - 0.5, c.dxBefore, 1.0);
    EXPECT_EQ(b.game.StepBall(&b.dc), 1);
    EXPECT_EQ(b.probe.Ball().GetDX(), c.dx);
    EXPECT_EQ(Round4(b.probe.Ball().GetDY()), c.dy);
    // Put with its bottom on the paddle's top (y = 362), then two more
    // sub-steps of the new velocity over the old count of 2.
    EXPECT_DOUBLE_EQ(b.probe.Ball().GetRealY(), 362.0 + b.probe.Ball().GetDY());
    EXPECT_EQ(b.host.Sounds(), std::vector<std::string>{"beam.wav"});
}

// The ball's bottom rows land on the paddle's top rows 2 and 3. The clamped
// cases need the ball deeper and at the paddle's ends (a ball 25 pixels off
// centre cannot touch a 40-pixel paddle), so they use 24.
INSTANTIATE_TEST_SUITE_P(
    Table, PaddleDeflection,
    ::testing::Values(Deflection{211, 0.0, 365.0, 0.0, -4.5},
                      Deflection{211, -1.0, 365.0, -1.0, -4.3284},
                      Deflection{216, 1.0, 365.0, 1.75, -3.9367},
                      Deflection{221, 1.0, 366.0, 2.5, -3.1583},
                      Deflection{187, -1.0, 383.0, -3.0, -1.5},
                      Deflection{235, 0.0, 383.0, 3.0, -1.5}));

TEST(BallStep, paddle_in_the_balls_top_quarter_only_turns_dx_on_every_sub_step) {
    GameBoard b;
    b.PlacePaddle(200);
    // The ball's rows 0-3 lie over the paddle's solid rows 10-13.
    b.PlaceBall(209.5, 390.0, 1.0, 0.0);
    b.game.StepBall(&b.dc);
    // Three sub-steps in contact: 1 -> -1 -> 1 -> -1, back and forth.
    EXPECT_EQ(b.probe.Ball().GetDX(), -1.0);
    EXPECT_EQ(b.probe.Ball().GetDY(), 0.0);
    EXPECT_EQ(b.probe.Ball().GetRealX(), 210.0);
    EXPECT_EQ(b.probe.Ball().GetRealY(), 390.0);
    EXPECT_TRUE(b.host.Sounds().empty());
}

TEST(BallStep, a_ball_off_the_middle_of_the_paddle_flies_straight_up_at_4_5) {
    GameBoard b;
    b.PlacePaddle(200);
    b.PlaceBall(211.0, 364.5, 0.0, 1.0);
    b.game.StepBall(&b.dc);
    ASSERT_EQ(b.probe.Ball().GetDY(), -4.5);
    b.game.StepBall(&b.dc);
    EXPECT_EQ(b.probe.Ball().GetSteps(), 5) << "six sub-steps of 0.9 pixel";
    EXPECT_DOUBLE_EQ(b.probe.Ball().GetRealY(), 362.0 - 4.5 - 6 * 0.9);
}

TEST(BallStep, two_bricks_in_one_sub_step_score_20_with_one_sound_and_one_bounce) {
    GameBoard b;
    CBrick &row = b.probe.Row(0);
    row.Create(15, 1, 37, 100, 1, 0, &b.dc);
    // Bricks 3 (x 112-135) and 4 (x 137-160); the ball's top row (columns
    // 6-11, x 133-138) meets both bottoms at y = 112.
    b.PlaceBall(127.0, 112.5, 0.0, -1.0);
    b.game.StepBall(&b.dc);
    EXPECT_EQ(b.game.GetScore(), 20);
    EXPECT_EQ(b.game.GetHighScore(), 20);
    EXPECT_FALSE(row.m_pSprites[3].IsVisible());
    EXPECT_FALSE(row.m_pSprites[4].IsVisible());
    EXPECT_EQ(row.CountVisible(), 13);
    EXPECT_EQ(b.host.Sounds(), std::vector<std::string>{"boing2.wav"});
    EXPECT_EQ(b.probe.Ball().GetDY(), 1.0);
    EXPECT_EQ(b.probe.Ball().GetRealY(), 113.0);
    EXPECT_EQ(b.surface().GetPixel(113, 101), 0u) << "hit brick erased";
}

TEST(BallStep, brick_and_wall_in_one_sub_step_act_wall_first) {
    GameBoard b;
    CBrick &row = b.probe.Row(0);
    row.Create(15, 1, 37, 100, 1, 0, &b.dc);
    // Moving left and up into brick 0 while touching the left wall.
    b.PlaceBall(30.0 + 0.5, 112.5, -1.0, -1.0);
    b.game.StepBall(&b.dc);
    EXPECT_EQ(b.game.GetScore(), 10);
    EXPECT_EQ(b.probe.Ball().GetDX(), 1.0);
    EXPECT_EQ(b.probe.Ball().GetDY(), 1.0);
}

TEST(BallStep, bonus_hit_scores_its_value_bounces_and_vanishes) {
    GameBoard b;
    CSpecial &bonus = b.probe.Bonus();
    bonus.SetX(112);
    bonus.SetY(100);
    NextRandWillBe(1); // ruby
    bonus.Choose(&b.dc);
    ASSERT_TRUE(bonus.IsVisible());
    // The gem's bottom point (12, 12) is at (124, 112); the ball's top row
    // (columns 6-11, x 122-127) meets it.
    b.PlaceBall(116.0, 112.5, 0.0, -1.0);
    b.game.StepBall(&b.dc);
    EXPECT_EQ(b.game.GetScore(), 250);
    EXPECT_FALSE(bonus.IsVisible());
    EXPECT_EQ(b.host.Sounds(), std::vector<std::string>{"ding.wav"});
    EXPECT_EQ(b.probe.Ball().GetDY(), 1.0);
    EXPECT_EQ(b.probe.Ball().GetRealY(), 113.0);
    for (int y = 100; y < 113; ++y)
        for (int x = 112; x < 136; ++x) ASSERT_EQ(b.surface().GetPixel(x, y), 0u) << "gem erased";
}

TEST(BallStep, losing_the_last_ball_ends_the_game_within_the_step) {
    GameBoard b;
    b.game.NewGame(&b.dc);
    b.host.Sounds().clear();
    b.probe.Balls() = 1;
    b.probe.Ball().SetRealY(450.5);
    b.probe.Ball().SetDY(1.0);
    b.probe.Ball().SetDX(0.0);
    EXPECT_EQ(b.game.StepBall(&b.dc), 0);
    EXPECT_EQ(b.probe.Balls(), 0);
    EXPECT_FALSE(b.game.IsRunning());
    EXPECT_FALSE(b.game.IsStarted());
    EXPECT_FALSE(b.probe.Ball().IsVisible());
    EXPECT_FALSE(b.probe.Paddle().IsVisible());
    EXPECT_EQ(b.host.Sounds(), std::vector<std::string>{"dead.wav"});
    EXPECT_EQ(b.probe.Ball().GetRealY(), 451.0) << "no sub-step after the end";
}

} // namespace
