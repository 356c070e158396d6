// Composition: the visible part of the game surface below the bar, overlays
// on top, whole-number scaling, and nothing written outside the damage.
#include <gtest/gtest.h>

#include <vector>

#include "platform/host.h"
#include "platform/sdl/sdl_present.h"

namespace {

constexpr std::uint32_t SENTINEL = 0x12345678;

struct Target {
    int width, height;
    std::vector<std::uint32_t> pixels;
    Target(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h, SENTINEL) {}
    PixelTarget View(PixelTarget::Order order = PixelTarget::Order::Xrgb) {
        return PixelTarget{pixels.data(), width * 4, width, height, order};
    }
    std::uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

} // namespace

TEST(Compositor, GamePixelsShowBelowTheBarInWindowOrder) {
    Surface game(GAME_WIDTH, GAME_HEIGHT, RGB(0, 0, 0));
    game.SetPixel(5, 7, RGB(0x11, 0x22, 0x33));
    Target t(LOGICAL_WIDTH, LOGICAL_HEIGHT);
    Compositor::Compose(game, {}, CRect(0, 0, LOGICAL_WIDTH, LOGICAL_HEIGHT),
                        Placement::Windowed(1), t.View());
    EXPECT_EQ(t.At(5, 7 + MENU_BAR_HEIGHT) & 0xFFFFFF, 0x112233u);
    Target bgr(LOGICAL_WIDTH, LOGICAL_HEIGHT);
    Compositor::Compose(game, {}, CRect(0, 0, LOGICAL_WIDTH, LOGICAL_HEIGHT),
                        Placement::Windowed(1), bgr.View(PixelTarget::Order::Xbgr));
    EXPECT_EQ(bgr.At(5, 7 + MENU_BAR_HEIGHT) & 0xFFFFFF, 0x332211u);
}

TEST(Compositor, WritesOnlyTheDamagedRectangleScaled) {
    Surface game(GAME_WIDTH, GAME_HEIGHT, RGB(255, 0, 0));
    Target t(2 * LOGICAL_WIDTH, 2 * LOGICAL_HEIGHT);
    CRect written =
        Compositor::Compose(game, {}, CRect(10, 30, 12, 31), Placement::Windowed(2), t.View());
    EXPECT_EQ(written, CRect(20, 60, 24, 62));
    for (int y = 0; y < t.height; ++y)
        for (int x = 0; x < t.width; ++x) {
            bool inside = x >= 20 && x < 24 && y >= 60 && y < 62;
            ASSERT_EQ(t.At(x, y) == SENTINEL, !inside) << x << "," << y;
            if (inside)
                EXPECT_EQ(t.At(x, y) & 0xFFFFFF, 0xFF0000u);
        }
}

TEST(Compositor, TopmostOverlayWinsAndGameRowsBeyondTheClientAreaStayHidden) {
    Surface game(GAME_WIDTH, GAME_HEIGHT, RGB(0, 0, 255));
    Overlay low{CRect(0, 0, 100, 50), Surface(100, 50, RGB(0, 255, 0))};
    Overlay high{CRect(50, 25, 150, 75), Surface(100, 50, RGB(255, 255, 255))};
    Target t(LOGICAL_WIDTH, LOGICAL_HEIGHT);
    Compositor::Compose(game, {&low, &high}, CRect(0, 0, LOGICAL_WIDTH, LOGICAL_HEIGHT),
                        Placement::Windowed(1), t.View());
    EXPECT_EQ(t.At(10, 10) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(t.At(60, 30) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(t.At(200, 100) & 0xFFFFFF, 0x0000FFu);
    // Game rectangles below row 406 or right of column 594 are not visible.
    EXPECT_TRUE(Compositor::GameToLogical(CRect(0, 406, 600, 450)).IsEmpty());
    EXPECT_EQ(Compositor::GameToLogical(CRect(590, 400, 600, 450)),
              CRect(590, 400 + MENU_BAR_HEIGHT, 594, 406 + MENU_BAR_HEIGHT));
}

TEST(Compositor, LetterboxedPictureLandsAtItsOffset) {
    Surface game(GAME_WIDTH, GAME_HEIGHT, RGB(255, 255, 255));
    Target t(LOGICAL_WIDTH + 40, LOGICAL_HEIGHT + 20);
    Placement p = Placement::Centred(1, t.width, t.height);
    Compositor::Clear(t.View());
    Compositor::Compose(game, {}, CRect(0, 0, LOGICAL_WIDTH, LOGICAL_HEIGHT), p, t.View());
    EXPECT_EQ(t.At(19, 50), 0u);
    EXPECT_EQ(t.At(20, 10 + MENU_BAR_HEIGHT) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(t.At(20 + LOGICAL_WIDTH, 50), 0u);
}
