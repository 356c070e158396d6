// Sprites: XOR drawing and its bookkeeping, masks, and the pixel-exact
// collision test with its quarter flags.
#include <gtest/gtest.h>

#include <random>

#include "support/board.h"
#include "settings/language.h"
#include "sprite/csprite.h"

namespace {

void FillNoise(Surface &s, unsigned seed) {
    std::mt19937 gen(seed);
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x) s.SetPixel(x, y, gen() & 0xFFFFFF);
}

TEST(Sprite, xor_draw_then_erase_restores_the_surface_under_overlapping_sprites) {
    Board b;
    FillNoise(b.surface(), 7);
    const auto before = b.surface().Pixels();

    CSprite ball("qzlball"), brick("qzlbrick3"), wall("qzlwall");
    ball.SetX(100), ball.SetY(100);
    brick.SetX(105), brick.SetY(108);
    wall.SetX(90), wall.SetY(-20);
    ball.Show(&b.dc);
    brick.Show(&b.dc);
    wall.Show(&b.dc);
    EXPECT_NE(b.surface().Pixels(), before);

    // Move one of them while the others overlap it, then take all away in
    // an order unrelated to the drawing order.
    ball.MoveBy(3, 2);
    ball.Draw(&b.dc, 0);
    brick.Hide(&b.dc);
    wall.Hide(&b.dc);
    ball.Hide(&b.dc);
    EXPECT_EQ(b.surface().Pixels(), before);
}

TEST(Sprite, show_and_hide_twice_draw_and_erase_once) {
    Board b;
    CSprite ball("qzlball");
    ball.SetX(10), ball.SetY(10);
    ball.Show(&b.dc);
    ball.Show(&b.dc);
    EXPECT_NE(b.surface().GetPixel(16, 10), 0u) << "ball must be drawn once, not drawn and undrawn";
    ball.Hide(&b.dc);
    ball.Hide(&b.dc);
    for (COLORREF c : b.surface().Pixels()) ASSERT_EQ(c, 0u);
    EXPECT_EQ(ball.GetLastX(), NOT_DRAWN);

    // Hidden, moved and shown again: one image, at the new place.
    ball.SetX(50);
    ball.Show(&b.dc);
    EXPECT_EQ(b.surface().GetPixel(16, 10), 0u);
    EXPECT_NE(b.surface().GetPixel(56, 10), 0u);
}

TEST(Sprite, null_context_show_makes_visible_without_drawing_and_next_draw_erases_nothing) {
    Board b;
    CSprite ball("qzlball");
    ball.SetX(20), ball.SetY(30);
    ball.Show(nullptr);
    EXPECT_TRUE(ball.IsVisible());
    EXPECT_EQ(ball.GetLastX(), NOT_DRAWN);
    ball.Draw(&b.dc, 0);
    EXPECT_EQ(ball.GetLastX(), 20);
    EXPECT_EQ(ball.GetLastY(), 30);
    EXPECT_NE(b.surface().GetPixel(26, 30), 0u);
}

TEST(Sprite, draw_on_hidden_sprite_does_nothing_and_keeps_last_position) {
    Board b;
    CSprite ball("qzlball");
    ball.Draw(&b.dc, 0);
    EXPECT_EQ(ball.GetLastX(), NOT_DRAWN);
    for (COLORREF c : b.surface().Pixels()) ASSERT_EQ(c, 0u);
}

TEST(Sprite, load_without_context_resets_position_and_with_one_keeps_it_and_shows) {
    Board b;
    CSprite s("qzlbrick1");
    s.SetX(40), s.SetY(50);
    s.Load("qzlbrick2", nullptr);
    EXPECT_EQ(s.GetX(), 0);
    EXPECT_EQ(s.GetY(), 0);
    EXPECT_FALSE(s.IsVisible());

    s.SetX(40), s.SetY(50);
    s.Load("qzlbrick2", &b.dc);
    EXPECT_EQ(s.GetX(), 40);
    EXPECT_TRUE(s.IsVisible());
    EXPECT_EQ(b.surface().GetPixel(45, 55), RGB(0, 0, 255)) << "brick 2's blue face";
    EXPECT_EQ(s.GetMask(), nullptr) << "Load never builds a mask";
}

TEST(Sprite, copies_share_bitmap_and_mask_hidden_and_owning_nothing) {
    Board b;
    CSprite owner("qzlbrick5");
    owner.BuildMask();
    owner.Show(&b.dc);
    {
        CSprite copy;
        copy = owner;
        EXPECT_EQ(copy.GetBitmap(), owner.GetBitmap());
        EXPECT_EQ(copy.GetMask(), owner.GetMask());
        EXPECT_FALSE(copy.IsVisible());
        copy = copy; // self-assignment keeps everything
        EXPECT_EQ(copy.GetMask(), owner.GetMask());
    } // the copy's destruction must not free what the owner holds
    EXPECT_NE(owner.GetBitmap()->GetSurface(), nullptr);
    owner = owner;
    CSprite other;
    other = owner;
    EXPECT_NE(owner.GetMask(), nullptr);
}

// Collision of a 24 x 13 brick (solid everywhere) with the ball placed around
// it. The ball's solid rows 0 and 17 are columns 6-11, so the overlap can be
// steered onto chosen rows and columns of the brick.
struct CollideCase {
    const char *name;
    int ballDX, ballDY; // ball position relative to the brick
    int expected;       // flags as the brick sees them
};

void PrintTo(const CollideCase &c, std::ostream *os) { *os << c.name; }

class BrickCollide : public ::testing::TestWithParam<CollideCase> {};

TEST_P(BrickCollide, flags_describe_the_brick_side) {
    Board b;
    const CollideCase &c = GetParam();
    CSprite brick("qzlbrick1"), ball("qzlball");
    brick.BuildMask();
    ball.BuildMask();
    brick.SetX(100), brick.SetY(100);
    ball.SetX(100 + c.ballDX), ball.SetY(100 + c.ballDY);
    brick.Show(nullptr);
    ball.Show(nullptr);
    EXPECT_EQ(brick.Collide(ball), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Quarters, BrickCollide,
    ::testing::Values(
        // Ball row 17 (columns 6-11) on brick row 0.
        CollideCase{"top_left_cols_0_to_5", -6, -17, COLL_HIT | COLL_TOP | COLL_LEFT},
        CollideCase{"top_middle_cols_6_to_11", 0, -17, COLL_HIT | COLL_TOP},
        CollideCase{"top_right_cols_18_to_23", 12, -17, COLL_HIT | COLL_TOP | COLL_RIGHT},
        CollideCase{"col_17_is_not_right_quarter", 6, -17, COLL_HIT | COLL_TOP},
        // Rows 0-2 of 13 are top, rows 10-12 bottom. The ball three columns
        // right reaches brick columns 3-20, so left and right show as well.
        CollideCase{"rows_3_to_12_not_top", 3, 3, COLL_HIT | COLL_BOTTOM | COLL_LEFT | COLL_RIGHT},
        CollideCase{"rows_2_to_12_top", 3, 2, COLL_HIT | COLL_TOP | COLL_BOTTOM | COLL_LEFT | COLL_RIGHT},
        CollideCase{"rows_0_to_9_not_bottom", 3, -8, COLL_HIT | COLL_TOP | COLL_LEFT | COLL_RIGHT},
        CollideCase{"rows_0_to_10_bottom", 3, -7, COLL_HIT | COLL_TOP | COLL_BOTTOM | COLL_LEFT | COLL_RIGHT},
        // Ball row 0 on brick row 12.
        CollideCase{"bottom_row_12", 0, 12, COLL_HIT | COLL_BOTTOM},
        // Boxes that only touch edge to edge do not overlap.
        CollideCase{"touching_below", 0, 13, 0},
        CollideCase{"touching_right", 24, 0, 0},
        CollideCase{"touching_left", -18, 0, 0},
        // Overlapping boxes, but only the ball's clear corner over the brick.
        CollideCase{"clear_corner_only", 22, -16, 0}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(Sprite, joined_flags_of_ball_on_left_wall_give_15) {
    // Ball columns 0-2 over wall columns 28-30: solid pairs in the ball's
    // top quarter (row 3), bottom quarter (row 14) and left quarter only.
    Board b;
    CSprite wall("qzlwall");
    CSprite ball("qzlball");
    wall.BuildMask();
    ball.BuildMask();
    ball.SetX(28), ball.SetY(100);
    wall.Show(nullptr);
    ball.Show(nullptr);
    EXPECT_EQ(ball.Collide(wall), COLL_HIT | COLL_TOP | COLL_BOTTOM | COLL_LEFT);
    // The wall's column 31 is clear: the ball right of it touches nothing.
    ball.SetX(31);
    EXPECT_EQ(ball.Collide(wall), 0);
}

TEST(Sprite, quarters_of_an_18_by_18_ball_are_rows_and_columns_0_to_3_and_14_to_17) {
    // A brick (solid everywhere) laid over chosen rows and columns of the
    // ball, whose own solid pixels then decide the flags.
    Board b;
    CSprite ball("qzlball"), brick("qzlbrick4");
    ball.BuildMask();
    brick.BuildMask();
    ball.Show(nullptr);
    brick.Show(nullptr);
    ball.SetX(100), ball.SetY(100);
    const int all = COLL_HIT | COLL_TOP | COLL_BOTTOM | COLL_LEFT | COLL_RIGHT;
    struct {
        int bx, by, expected;
    } cases[] = {
        {100, 104, all & ~COLL_TOP},                 // ball rows 4-16: row 4 is not top
        {100, 103, all},                             // rows 3-15: row 3 is top
        {100, 101, all & ~COLL_BOTTOM},              // rows 1-13: row 13 is not bottom
        {100, 102, all},                             // rows 2-14: row 14 is bottom
        {104, 104, COLL_HIT | COLL_BOTTOM | COLL_RIGHT}, // columns 4-17: col 4 is not left
        {103, 104, all & ~COLL_TOP},                 // columns 3-17: col 3 is left
        {90, 104, COLL_HIT | COLL_BOTTOM | COLL_LEFT},   // columns 0-13: col 13 is not right
        {91, 104, all & ~COLL_TOP},                  // columns 0-14: col 14 is right
    };
    for (const auto &c : cases) {
        brick.SetX(c.bx), brick.SetY(c.by);
        EXPECT_EQ(ball.Collide(brick), c.expected) << "brick at " << c.bx << "," << c.by;
    }
}

TEST(Sprite, hidden_sprite_never_collides) {
    Board b;
    CSprite a("qzlbrick1"), c("qzlbrick1");
    a.BuildMask();
    c.BuildMask();
    a.Show(nullptr);
    EXPECT_EQ(a.Collide(c), 0);
    EXPECT_EQ(c.Collide(a), 0);
    c.Show(nullptr);
    EXPECT_EQ(a.Collide(c), COLL_HIT | COLL_TOP | COLL_BOTTOM | COLL_LEFT | COLL_RIGHT);
}

TEST(Sprite, missing_mask_reports_message_3_on_each_call_and_answers_hit) {
    Board b;
    LanguageIndex = 1;
    CSprite a("qzlbrick1"), c("qzlbrick1");
    a.BuildMask();
    a.Show(nullptr);
    c.Show(nullptr);
    EXPECT_EQ(a.Collide(c), COLL_HIT);
    EXPECT_EQ(c.Collide(a), COLL_HIT);
    ASSERT_EQ(b.host.Boxes().size(), 2u);
    EXPECT_EQ(b.host.Boxes()[0].caption, "CSprite-error [3]");
    EXPECT_EQ(b.host.Boxes()[0].text, "No pixelmap - better quit program !");
    EXPECT_EQ(b.host.Boxes()[0].style, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_FALSE(b.host.Boxes()[0].owned);
    LanguageIndex = 0;
}

TEST(Sprite, build_mask_without_bitmap_reports_message_4_and_goes_on) {
    Board b;
    LanguageIndex = 0;
    CSprite s;
    EXPECT_EQ(s.BuildMask(), nullptr);
    ASSERT_EQ(b.host.Boxes().size(), 1u);
    EXPECT_EQ(b.host.Boxes()[0].caption, "CSprite-Fehler [4]");
    EXPECT_EQ(b.host.Boxes()[0].text, "Kein Bitmap gew\xE4hlt - Programm besser beenden !");
}

TEST(Sprite, mask_is_solid_exactly_where_the_bitmap_is_not_black) {
    Board b;
    CSprite paddle("qzlbase");
    std::int32_t *mask = paddle.BuildMask();
    const Surface *s = paddle.GetBitmap()->GetSurface();
    for (int y = 0; y < paddle.GetHeight(); ++y)
        for (int x = 0; x < paddle.GetWidth(); ++x)
            ASSERT_EQ(mask[y * paddle.GetWidth() + x], s->GetPixel(x, y) != 0 ? 1 : 0) << x << "," << y;
}

TEST(SpriteDeath, missing_bitmap_shows_message_1_naming_it_and_exits_255) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            Board b;
            b.host.OnExit([&](int) {
                for (const auto &box : b.host.Boxes())
                    fprintf(stderr, "box: %s | %s\n", box.caption.c_str(), box.text.c_str());
            });
            LanguageIndex = 0;
            CSprite s("qzlnosuch");
        },
        ::testing::ExitedWithCode(255), "box: CSprite-Fehler \\[1\\] \\| qzlnosuch");
}

} // namespace
