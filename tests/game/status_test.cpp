// The status panel and the game's texts, checked by their pixels against the
// same texts drawn alone on a clean panel.
#include <gtest/gtest.h>

#include <cstring>

#include "support/game_board.h"

namespace {

const CRect PANEL(450, 0, 600, 450);

// A white panel with the given texts drawn in the panel's font and colour:
// what the panel must look like, built without CGame.
Surface ExpectedPanel(const std::vector<std::pair<int, const char *>> &texts) {
    Surface s(600, 450);
    s.Fill(PANEL, RGB(255, 255, 255));
    DCState state;
    state.pTarget = &s;
    CDC dc(&state);
    CFont font;
    font.CreateFont(22, 14, 0, 0, 400, 0, 0, 0, 0, 0, 0, 2, 0, "TmsRmn");
    dc.SelectObject(&font);
    dc.SetTextColor(RGB(64, 0, 255));
    for (const auto &[y, text] : texts) dc.TextOut(455, y, text, static_cast<int>(std::strlen(text)));
    return s;
}

int PanelDifferences(const Surface &a, const Surface &b) {
    int n = 0;
    for (int y = PANEL.top; y < PANEL.bottom; ++y)
        for (int x = PANEL.left; x < PANEL.right; ++x) n += a.GetPixel(x, y) != b.GetPixel(x, y);
    return n;
}

struct PanelCase {
    int language;
    int score, high, balls;
    std::vector<std::pair<int, const char *>> texts;
};

TEST(StatusPanel, shows_labels_and_numbers_at_their_places_in_both_languages) {
    const PanelCase cases[] = {
        {LANG_ENGLISH, 0, 120, 3,
         {{80, "Score:"}, {102, "0"}, {146, "Highscore:"}, {168, "120"}, {212, "Balls:"}, {234, "3"}}},
        {LANG_GERMAN, -40, 0, 2,
         {{80, "Spielstand:"}, {102, "-40"}, {146, "Highscore:"}, {168, "0"}, {212, "B\xE4lle:"}, {234, "2"}}},
    };
    for (const auto &c : cases) {
        GameBoard b;
        LanguageIndex = c.language;
        b.surface().Fill(PANEL, RGB(255, 255, 255));
        b.probe.Score() = c.score;
        b.probe.HighScore() = c.high;
        b.probe.Balls() = c.balls;
        b.game.DrawStatus(&b.dc);
        EXPECT_EQ(PanelDifferences(b.surface(), ExpectedPanel(c.texts)), 0) << "language " << c.language;
    }
}

TEST(StatusPanel, a_shorter_number_leaves_no_trace_of_the_longer_one) {
    GameBoard b;
    b.surface().Fill(PANEL, RGB(255, 255, 255));
    b.probe.Score() = 1000;
    b.probe.HighScore() = 1000;
    b.probe.Balls() = 3;
    b.game.DrawStatus(&b.dc);
    b.probe.Score() = 990;
    b.game.DrawStatus(&b.dc);
    Surface expected = ExpectedPanel(
        {{80, "Score:"}, {102, "990"}, {146, "Highscore:"}, {168, "1000"}, {212, "Balls:"}, {234, "3"}});
    EXPECT_EQ(PanelDifferences(b.surface(), expected), 0);
}

TEST(StatusPanel, texts_leave_the_contexts_colours_and_font_as_they_were) {
    GameBoard b;
    CFont mine;
    b.dc.SelectObject(&mine);
    b.dc.SetTextColor(RGB(1, 2, 3));
    b.dc.SetBkColor(RGB(4, 5, 6));
    b.game.DrawBigText(&b.dc, 135, 175, "Quarzel");
    b.game.DrawSmallText(&b.dc, 455, 80, "Score:");
    b.game.DrawStatus(&b.dc);
    EXPECT_EQ(b.dc.GetCurrentFont(), &mine);
    EXPECT_EQ(b.dc.GetTextColor(), RGB(1, 2, 3));
    EXPECT_EQ(b.dc.GetBkColor(), RGB(4, 5, 6));
    EXPECT_EQ(b.dc.GetBkMode(), OPAQUE);
}

TEST(StatusPanel, big_text_is_yellow_in_a_black_box_on_any_background) {
    GameBoard b;
    b.surface().Fill(CRect(0, 0, 450, 450), RGB(0, 0, 128));
    b.game.DrawBigText(&b.dc, 190, 225, "Game Over");
    int yellow = 0, black = 0, other = 0;
    for (int y = 225; y < 225 + 65; ++y)
        for (int x = 190; x < 190 + 200; ++x) {
            COLORREF c = b.surface().GetPixel(x, y);
            if (c == RGB(220, 220, 0)) ++yellow;
            else if (c == 0) ++black;
            else ++other;
        }
    EXPECT_GT(yellow, 500);
    EXPECT_GT(black, yellow);
    EXPECT_EQ(other, 0) << "the text's cells cover the first 200 pixels";
}

} // namespace
