// Composition of what the window shows: the visible part of the game surface
// below the menu bar, with the host's overlays (menu bar, drop-downs, message
// box) on top, scaled by whole factors into a 32-bit target such as SDL's
// window surface. Only the given rectangles are written. No SDL here.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/sdl/sdl_layout.h"
#include "platform/surface.h"

// An opaque picture over the game, in logical coordinates. Surface holds
// exactly rc.Width() x rc.Height() pixels.
struct Overlay {
    CRect rc;
    Surface pixels;
};

// Where composed pixels go.
struct PixelTarget {
    enum class Order {
        Xrgb, // 0x00RRGGBB, the usual X11 window surface
        Xbgr, // 0x00BBGGRR, the same as COLORREF
    };
    std::uint32_t *pixels = nullptr;
    int pitch = 0; // bytes per row
    int width = 0;
    int height = 0;
    Order order = Order::Xrgb;
};

class Compositor {
public:
    // Writes the logical rectangle `rc` (clipped to the logical picture)
    // into `target` at `placement`, the top-most overlay winning at each
    // pixel. Returns the window rectangle written (empty when nothing).
    static CRect Compose(const Surface &game, const std::vector<const Overlay *> &overlays,
                         const CRect &rc, const Placement &placement, const PixelTarget &target);

    // Fills the whole target black (the letterbox around a scaled picture).
    static void Clear(const PixelTarget &target);

    // Game surface rectangle to the logical rectangle where it shows
    // (clipped to the visible client area).
    static CRect GameToLogical(const CRect &gameRect);
};
