// Window geometry: whole-number scales for displays of every size and the
// mapping of window pixels back to client coordinates.
#include <gtest/gtest.h>

#include "platform/sdl/sdl_layout.h"

TEST(WindowGeometry, VisibleClientAreaIsThatOfAFramedWindow) {
    EXPECT_EQ(CLIENT_WIDTH, 594);
    EXPECT_EQ(CLIENT_HEIGHT, 406);
    EXPECT_EQ(LOGICAL_HEIGHT, MENU_BAR_HEIGHT + 406);
}

TEST(WindowGeometry, WindowScaleKeepsWithinTwoThirdsOfTheDisplay) {
    struct Case {
        int w, h, scale;
    } cases[] = {
        {800, 600, 1},   {1280, 1024, 1}, {1920, 1050, 1}, {2560, 1400, 2},
        {3840, 2120, 3}, {5120, 2840, 4}, {320, 200, 1},   {2700, 2025, 3},
    };
    for (const Case &c : cases)
        EXPECT_EQ(WindowScale(c.w, c.h), c.scale) << c.w << "x" << c.h;
}

TEST(WindowGeometry, FullscreenScaleIsLargestThatFits) {
    struct Case {
        int w, h, scale;
    } cases[] = {
        {640, 480, 1}, {1280, 1024, 2}, {1920, 1080, 2}, {3840, 2160, 5}, {500, 300, 1},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FullscreenScale(c.w, c.h), c.scale) << c.w << "x" << c.h;
}

TEST(WindowGeometry, LetterboxCentresThePicture) {
    Placement p = Placement::Centred(2, 1920, 1080);
    EXPECT_EQ(p.offsetX, (1920 - 2 * LOGICAL_WIDTH) / 2);
    EXPECT_EQ(p.offsetY, (1080 - 2 * LOGICAL_HEIGHT) / 2);
    // A target smaller than the picture is never given a negative offset.
    Placement small = Placement::Centred(1, 100, 100);
    EXPECT_EQ(small.offsetX, 0);
    EXPECT_EQ(small.offsetY, 0);
}

TEST(WindowGeometry, WindowPixelsMapBackToClientCoordinates) {
    Placement p{3, 10, 20};
    struct Case {
        int wx, wy;
        bool inClient;
        int cx, cy;
    } cases[] = {
        {10, 20 + 3 * MENU_BAR_HEIGHT, true, 0, 0}, // first client pixel
        {12, 22 + 3 * MENU_BAR_HEIGHT, true, 0, 0}, // same block of 3 x 3
        {13, 20 + 3 * MENU_BAR_HEIGHT, true, 1, 0}, // next pixel
        {10 + 3 * 593 + 2, 20 + 3 * (LOGICAL_HEIGHT - 1) + 2, true, 593, 405}, // last one
        {10 + 3 * 594, 20 + 3 * 30, false, 0, 0},        // right of the picture
        {9, 20 + 3 * 30, false, 0, 0},                   // in the letterbox
        {50, 20 + 3 * MENU_BAR_HEIGHT - 1, false, 0, 0}, // on the menu bar
        {50, 20 + 3 * LOGICAL_HEIGHT, false, 0, 0},      // below the picture
    };
    for (const Case &c : cases) {
        std::optional<Point> client;
        if (auto lp = p.ToLogical(c.wx, c.wy))
            client = LogicalToClient(*lp);
        ASSERT_EQ(client.has_value(), c.inClient) << c.wx << "," << c.wy;
        if (client)
            EXPECT_EQ(*client, (Point{c.cx, c.cy})) << c.wx << "," << c.wy;
    }
}
