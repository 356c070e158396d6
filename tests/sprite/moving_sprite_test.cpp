// The moving sprite: truncated whole-pixel position, sub-step counts,
// sub-steps and bouncing by collision flags.
#include <gtest/gtest.h>

#include "support/board.h"
#include "sprite/cssprite.h"

namespace {

TEST(MovingSprite, whole_pixel_position_truncates_towards_zero) {
    Board b;
    CSSprite s;
    struct {
        double real;
        int whole;
    } cases[] = {{-0.5, 0}, {-1.0, -1}, {-1.2, -1}, {2.9, 2}, {450.9, 450}, {451.0, 451}};
    for (const auto &c : cases) {
        s.SetRealY(c.real);
        s.SetRealX(c.real);
        EXPECT_EQ(s.GetY(), c.whole) << c.real;
        EXPECT_EQ(s.GetX(), c.whole) << c.real;
    }
    s.SetX(5);
    EXPECT_EQ(s.GetRealX(), 5.0);
    s.SetRealX(5.75);
    EXPECT_EQ(s.GetX(), 5);
}

TEST(MovingSprite, steps_are_one_more_than_the_larger_whole_pixel_speed) {
    Board b;
    CSSprite s;
    struct {
        double dx, dy;
        int steps;
    } cases[] = {{2.9, -3.5, 4}, {0.5, 0.5, 1}, {0.0, 0.0, 1}, {-3.0, 1.0, 4},
                 {0.99, -0.99, 1}, {1.0, 1.0, 2}, {0.0, -4.5, 5}};
    for (const auto &c : cases) {
        s.SetDX(c.dx);
        s.SetDY(c.dy);
        EXPECT_EQ(s.CalcSteps(), c.steps) << c.dx << "," << c.dy;
        EXPECT_EQ(s.GetSteps(), c.steps);
    }
}

TEST(MovingSprite, sub_steps_add_the_velocity_divided_by_the_count) {
    Board b;
    CSSprite s;
    s.SetRealX(112.0);
    s.SetRealY(225.0);
    s.SetDX(1.0);
    s.SetDY(1.0);
    ASSERT_EQ(s.CalcSteps(), 2);
    for (int i = 0; i < 3; ++i) s.SubStep();
    EXPECT_EQ(s.GetRealX(), 113.5);
    EXPECT_EQ(s.GetRealY(), 226.5);
}

TEST(MovingSprite, bounce_sets_signs_and_never_magnitudes) {
    Board b;
    CSSprite s;
    struct {
        const char *name;
        double dx, dy;
        int flags;
        double ndx, ndy;
    } cases[] = {
        {"nothing", 1.5, -2.0, 0, 1.5, -2.0},
        {"hit alone", 1.5, -2.0, COLL_HIT, 1.5, -2.0},
        {"top sends down", 1.5, -2.0, COLL_HIT | COLL_TOP, 1.5, 2.0},
        {"top keeps a downward ball", 1.5, 2.0, COLL_HIT | COLL_TOP, 1.5, 2.0},
        {"bottom sends up", 1.5, 2.0, COLL_HIT | COLL_BOTTOM, 1.5, -2.0},
        {"top and bottom end up", 1.5, 2.0, COLL_HIT | COLL_TOP | COLL_BOTTOM, 1.5, -2.0},
        {"left sends right", -2.0, 1.0, COLL_HIT | COLL_LEFT, 2.0, 1.0},
        {"right sends left", 2.0, 1.0, COLL_HIT | COLL_RIGHT, -2.0, 1.0},
        {"left and right end left", 2.0, 1.0, COLL_HIT | COLL_LEFT | COLL_RIGHT, -2.0, 1.0},
    };
    for (const auto &c : cases) {
        s.SetDX(c.dx);
        s.SetDY(c.dy);
        EXPECT_EQ(s.Bounce(c.flags), c.flags) << c.name;
        EXPECT_EQ(s.GetDX(), c.ndx) << c.name;
        EXPECT_EQ(s.GetDY(), c.ndy) << c.name;
    }
}

TEST(MovingSprite, move_by_goes_through_whole_pixels_and_drops_the_fraction) {
    Board b;
    CSSprite s;
    s.SetRealX(2.7);
    s.SetRealY(-0.5);
    s.MoveBy(1, 1);
    EXPECT_EQ(s.GetRealX(), 3.0);
    EXPECT_EQ(s.GetRealY(), 1.0);
}

TEST(MovingSprite, draws_and_collides_at_its_truncated_position) {
    Board b;
    CSSprite ball("qzlball");
    ball.BuildMask();
    ball.SetRealX(10.9);
    ball.SetRealY(20.9);
    ball.Show(&b.dc);
    EXPECT_EQ(ball.GetLastX(), 10);
    EXPECT_EQ(ball.GetLastY(), 20);
    EXPECT_NE(b.surface().GetPixel(10 + 8, 20), 0u);
    EXPECT_EQ(b.surface().GetPixel(10 + 8, 20 - 1), 0u);
}

} // namespace
