// The wall advance: moving down, laying rows in blocks of five, the penalty
// for a re-laid slot, and the bonus's coming and going.
#include <gtest/gtest.h>

#include "support/game_board.h"

namespace {

TEST(WallAdvance, first_call_lays_a_row_at_minus_17_into_slot_0) {
    GameBoard b;
    b.probe.RowY() = -21;
    b.probe.RowIndex() = 0;
    EXPECT_EQ(b.game.AdvanceWall(&b.dc), 1);
    ASSERT_EQ(b.probe.Row(0).GetCount(), 15);
    EXPECT_EQ(b.probe.Row(0).m_pSprites[0].GetY(), -17);
    EXPECT_EQ(b.probe.RowY(), -31);
    EXPECT_EQ(b.probe.RowIndex(), 1);
    EXPECT_EQ(b.game.GetScore(), 0);
}

TEST(WallAdvance, between_rows_everything_still_moves_down_by_4) {
    GameBoard b;
    b.probe.Row(2).Create(15, 1, 37, 50, 1, 0, &b.dc);
    b.probe.Row(2).m_pSprites[7].Hide(&b.dc);
    CSpecial &bonus = b.probe.Bonus();
    bonus.SetX(62), bonus.SetY(10);
    NextRandWillBe(0);
    bonus.Choose(&b.dc);
    b.probe.RowY() = -25;
    NextRandWillBe(5000); // no vanishing
    EXPECT_EQ(b.game.AdvanceWall(&b.dc), 0);
    EXPECT_EQ(b.probe.RowY(), -21);
    EXPECT_EQ(b.probe.Row(2).m_pSprites[0].GetY(), 54);
    EXPECT_EQ(b.probe.Row(2).m_pSprites[7].GetY(), 54) << "hidden bricks move too";
    EXPECT_EQ(bonus.GetY(), 14);
    EXPECT_EQ(b.surface().GetPixel(38, 51), 0u) << "erased at the old place";
    EXPECT_NE(b.surface().GetPixel(38, 55), 0u) << "drawn at the new one";
}

TEST(WallAdvance, rows_follow_14_apart_in_blocks_of_five_then_53) {
    GameBoard b;
    b.probe.RowY() = -17;
    struct {
        int slot, rowYAfter;
    } steps[] = {{0, -31}, {1, -31}, {2, -31}, {3, -31}, {4, -70}};
    for (const auto &s : steps) {
        b.probe.RowIndex() = s.slot;
        b.probe.RowY() = -21;
        ASSERT_EQ(b.game.AdvanceWall(&b.dc), 1);
        EXPECT_EQ(b.probe.RowY(), s.rowYAfter) << "after slot " << s.slot;
        EXPECT_EQ(b.probe.RowIndex(), s.slot + 1);
    }
}

TEST(WallAdvance, slot_index_15_wraps_to_slot_0) {
    GameBoard b;
    b.probe.Row(0).Create(15, 1, 37, 0, 1, 0, nullptr); // h from slot 0
    b.probe.RowIndex() = 15;
    b.probe.RowY() = -21;
    EXPECT_EQ(b.game.AdvanceWall(&b.dc), 1);
    EXPECT_EQ(b.probe.RowIndex(), 1);
    EXPECT_EQ(b.probe.Row(0).m_pSprites[0].GetY(), -17);
}

TEST(WallAdvance, a_re_laid_slot_costs_10_per_brick_left_and_erases_them) {
    GameBoard b;
    CBrick &row = b.probe.Row(3);
    row.Create(15, 1, 37, 300, 1, 0, &b.dc);
    for (int k = 0; k < 9; ++k) row.m_pSprites[k].Hide(&b.dc);
    b.game.AddPoints(100);
    b.probe.RowIndex() = 3;
    b.probe.RowY() = -21;
    b.game.AdvanceWall(&b.dc);
    EXPECT_EQ(b.game.GetScore(), 40);
    EXPECT_EQ(b.game.GetHighScore(), 100);
    for (int y = 300; y < 320; ++y)
        for (int x = 37; x < 420; ++x) ASSERT_EQ(b.surface().GetPixel(x, y), 0u) << x << "," << y;
    EXPECT_EQ(row.m_pSprites[0].GetY(), -17);
}

TEST(WallAdvance, the_penalty_may_make_the_score_negative) {
    GameBoard b;
    b.probe.Row(0).Create(15, 1, 37, 200, 1, 0, &b.dc);
    b.probe.RowY() = -21;
    b.game.AdvanceWall(&b.dc);
    EXPECT_EQ(b.game.GetScore(), -150);
    EXPECT_EQ(b.game.GetHighScore(), 0);
}

TEST(WallAdvance, bonus_vanishes_at_random_only_below_y_20) {
    struct {
        int y, r;
        bool visible;
        int yAfter;
    } cases[] = {{20, 0, true, 24}, {24, 0, false, 24}, {24, 299, false, 24}, {24, 300, true, 28}};
    for (const auto &c : cases) {
        GameBoard b;
        CSpecial &bonus = b.probe.Bonus();
        bonus.SetX(112), bonus.SetY(c.y);
        NextRandWillBe(2);
        bonus.Choose(&b.dc);
        b.probe.RowY() = -100;
        NextRandWillBe(c.r);
        b.game.AdvanceWall(&b.dc);
        EXPECT_EQ(bonus.IsVisible() != 0, c.visible) << c.y << " " << c.r;
        EXPECT_EQ(bonus.GetY(), c.yAfter) << c.y << " " << c.r;
    }
}

TEST(WallAdvance, a_spawned_bonus_takes_the_place_of_one_brick) {
    GameBoard b;
    b.probe.RowY() = -21;
    // Draws in order: vanish test, row colour, spawn test, brick, kind.
    // Start from a state whose draws give a spawn; search a seed for it.
    std::uint32_t seed = 0;
    for (;; ++seed) {
        SetRandState(seed);
        Rand();
        Rand();
        if (Rand() < 3000) break;
    }
    SetRandState(seed);
    Rand();
    Rand();
    Rand();
    int k = Rand() % 15;
    int kind = Rand() % 3;
    SetRandState(seed);
    b.game.AdvanceWall(&b.dc);
    CBrick &row = b.probe.Row(0);
    EXPECT_EQ(row.CountVisible(), 14);
    EXPECT_EQ(row.GetCount(), 15);
    EXPECT_FALSE(row.m_pSprites[k].IsVisible());
    CSpecial &bonus = b.probe.Bonus();
    EXPECT_TRUE(bonus.IsVisible());
    EXPECT_EQ(bonus.GetX(), row.m_pSprites[k].GetX());
    EXPECT_EQ(bonus.GetY(), -17);
    const int values[3] = {100, 250, 500};
    EXPECT_EQ(bonus.GetValue(), values[kind]);

    // While the bonus is visible a laid row draws only the vanish test and
    // its colour.
    std::uint32_t before = GetRandState();
    b.probe.RowY() = -21;
    b.game.AdvanceWall(&b.dc);
    std::uint32_t after = GetRandState();
    SetRandState(before);
    Rand();
    Rand();
    EXPECT_EQ(after, GetRandState());
    EXPECT_TRUE(bonus.IsVisible());
}

} // namespace
