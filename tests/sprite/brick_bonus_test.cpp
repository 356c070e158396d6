// Sprite groups, brick rows and the bonus item.
#include <gtest/gtest.h>

#include "support/board.h"
#include "sprite/cmsprite.h"
#include "sprite/cspecial.h"

namespace {

TEST(BrickRow, fifteen_bricks_one_pixel_apart_share_one_bitmap_and_mask) {
    Board b;
    CMSprite row;
    row.Create("qzlbrick6", 15, 1, 40, 7, 1, 0, nullptr);
    row.ShareMask();
    ASSERT_EQ(row.GetCount(), 15);
    EXPECT_EQ(row.CountVisible(), 0);
    for (int k = 0; k < 15; ++k) {
        EXPECT_EQ(row.m_pSprites[k].GetX(), 40 + 25 * k);
        EXPECT_EQ(row.m_pSprites[k].GetY(), 7);
        EXPECT_EQ(row.m_pSprites[k].GetBitmap(), row.m_pSprites[0].GetBitmap());
        EXPECT_EQ(row.m_pSprites[k].GetMask(), row.m_pSprites[0].GetMask());
    }
    EXPECT_EQ(row.m_pSprites[14].GetX(), 390);
    EXPECT_NE(row.m_pSprites[0].GetMask(), nullptr);
}

TEST(BrickRow, grid_of_rows_and_columns_places_row_major) {
    Board b;
    CMSprite grid;
    grid.Create("qzlbrick1", 3, 2, 10, 20, 2, 5, nullptr);
    ASSERT_EQ(grid.GetCount(), 6);
    EXPECT_EQ(grid.m_pSprites[4].GetX(), 10 + 1 * 26);
    EXPECT_EQ(grid.m_pSprites[4].GetY(), 20 + 1 * 18);
}

TEST(BrickRow, create_with_context_shows_all_and_recreate_erases_the_old_ones) {
    Board b;
    CMSprite row;
    row.Create("qzlbrick2", 15, 1, 37, 100, 1, 0, &b.dc);
    EXPECT_EQ(row.CountVisible(), 15);
    EXPECT_EQ(b.surface().GetPixel(38, 101), RGB(0, 0, 255));
    row.Create("qzlbrick5", 15, 1, 37, 200, 1, 0, &b.dc);
    EXPECT_EQ(b.surface().GetPixel(38, 101), 0u) << "old row erased";
    EXPECT_EQ(b.surface().GetPixel(38, 201), RGB(0, 255, 0));
    // DeleteAll leaves the images on the surface.
    row.DeleteAll();
    EXPECT_EQ(row.GetCount(), 0);
    EXPECT_EQ(b.surface().GetPixel(38, 201), RGB(0, 255, 0));
}

TEST(BrickRow, draw_all_skips_hidden_bricks_and_still_draws_when_the_first_is_hidden) {
    Board b;
    CMSprite row;
    row.Create("qzlbrick2", 15, 1, 37, 100, 1, 0, &b.dc);
    row.m_pSprites[0].Hide(&b.dc);
    row.MoveAll(0, 4);
    row.DrawAll(&b.dc, 0);
    EXPECT_EQ(b.surface().GetPixel(38, 105), 0u) << "hidden first brick not drawn";
    EXPECT_EQ(b.surface().GetPixel(63, 105), RGB(0, 0, 255)) << "second brick drawn at new place";
    EXPECT_EQ(b.surface().GetPixel(63, 101), 0u) << "and erased at the old one";
    EXPECT_EQ(row.m_pSprites[0].GetY(), 104) << "hidden bricks move with the row";

    row.HideAll(&b.dc);
    for (COLORREF c : b.surface().Pixels()) ASSERT_EQ(c, 0u);
    const auto before = b.surface().Pixels();
    row.DrawAll(&b.dc, 0);
    EXPECT_EQ(b.surface().Pixels(), before);
}

TEST(BrickRow, empty_group_operations_do_nothing) {
    Board b;
    CMSprite empty;
    empty.ShareMask();
    empty.DrawAll(&b.dc, 0);
    empty.MoveAll(1, 1);
    empty.ShowAll(&b.dc);
    EXPECT_EQ(empty.GetCount(), 0);
    EXPECT_EQ(empty.CountVisible(), 0);
}

TEST(BrickRow, colour_digit_follows_the_random_draw) {
    Board b;
    struct {
        int n;
        const char *bitmap;
    } cases[] = {{0, "qzlbrick1"},    {3640, "qzlbrick1"}, {3641, "qzlbrick2"},
                 {29127, "qzlbrick8"}, {29128, "qzlbrick9"}, {32767, "qzlbrick9"}};
    for (const auto &c : cases) {
        CBrick row;
        NextRandWillBe(c.n);
        row.Create(15, 1, 37, -17, 1, 0, nullptr);
        EXPECT_EQ(row.m_pSprites[0].GetBitmap()->GetName(), c.bitmap) << c.n;
        EXPECT_NE(row.m_pSprites[14].GetMask(), nullptr);
    }
}

TEST(Bonus, kind_and_value_follow_the_random_draw) {
    Board b;
    struct {
        int n;
        const char *bitmap;
        int value;
    } cases[] = {{0, "qzlcoin", 100}, {1, "qzlruby", 250}, {2, "qzldiam", 500}, {32767, "qzlruby", 250}};
    for (const auto &c : cases) {
        CSpecial bonus;
        NextRandWillBe(c.n);
        bonus.Choose(nullptr);
        EXPECT_EQ(bonus.GetBitmap()->GetName(), c.bitmap) << c.n;
        EXPECT_EQ(bonus.GetValue(), c.value) << c.n;
        EXPECT_NE(bonus.GetMask(), nullptr);
        EXPECT_FALSE(bonus.IsVisible());
    }
}

TEST(Bonus, choose_on_a_visible_item_leaves_one_image_of_the_new_kind) {
    Board b;
    CSpecial bonus;
    bonus.SetX(62), bonus.SetY(39);
    NextRandWillBe(0);
    bonus.Choose(&b.dc);
    EXPECT_TRUE(bonus.IsVisible());
    EXPECT_EQ(bonus.GetX(), 62);
    NextRandWillBe(2);
    bonus.Choose(&b.dc);
    EXPECT_EQ(bonus.GetValue(), 500);
    bonus.Hide(&b.dc);
    for (COLORREF c : b.surface().Pixels()) ASSERT_EQ(c, 0u);
}

TEST(Bonus, never_collides_before_its_first_choice) {
    Board b;
    CSpecial bonus;
    CSprite ball("qzlball");
    ball.BuildMask();
    ball.Show(nullptr);
    EXPECT_EQ(ball.Collide(bonus), 0);
    EXPECT_TRUE(b.host.Boxes().empty());
}

} // namespace
