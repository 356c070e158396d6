// The window's geometry: what part of the game surface is visible below the
// menu bar, the whole-number scale the window is shown at, and the mapping
// of window pixels back to the client area. Pure arithmetic, no SDL.
#pragma once

#include <optional>

#include "platform/types.h"

// The frame a 600 x 450 window would have: 3 pixels of border on each side
// and a caption above the menu bar. What is left is the visible client area.
constexpr int FRAME_BORDER = 3;
constexpr int CAPTION_HEIGHT = 18;
constexpr int MENU_BAR_HEIGHT = 20;
constexpr int OUTER_WIDTH = 600;
constexpr int OUTER_HEIGHT = 450;
constexpr int CLIENT_WIDTH = OUTER_WIDTH - 2 * FRAME_BORDER; // 594
constexpr int CLIENT_HEIGHT =
    OUTER_HEIGHT - CAPTION_HEIGHT - MENU_BAR_HEIGHT - 2 * FRAME_BORDER; // 406

// The host's own picture ("logical" pixels, before scaling): the menu bar
// on top, the client area below it.
constexpr int LOGICAL_WIDTH = CLIENT_WIDTH;
constexpr int LOGICAL_HEIGHT = MENU_BAR_HEIGHT + CLIENT_HEIGHT;

struct Point {
    int x = 0, y = 0;
    constexpr bool operator==(const Point &) const = default;
};

// The largest whole factor at which the outer window stays within two
// thirds of the usable display; at least 1.
int WindowScale(int usableWidth, int usableHeight);

// The largest whole factor at which the logical picture fits the display;
// at least 1.
int FullscreenScale(int displayWidth, int displayHeight);

// Where the logical picture lies in the window: its scale and the offset of
// its top-left corner (non-zero when letterboxed).
struct Placement {
    int scale = 1;
    int offsetX = 0;
    int offsetY = 0;

    // A window exactly the size of the scaled picture.
    static Placement Windowed(int scale) { return Placement{scale, 0, 0}; }
    // The picture centred on a target of the given size.
    static Placement Centred(int scale, int targetWidth, int targetHeight);

    // Window pixel to logical pixel; nothing outside the picture.
    std::optional<Point> ToLogical(int wx, int wy) const;
    // Logical rectangle to window rectangle.
    CRect ToWindow(const CRect &logical) const;
};

// Logical pixel to client coordinates; nothing over the menu bar or outside
// the visible client area.
std::optional<Point> LogicalToClient(Point logical);
