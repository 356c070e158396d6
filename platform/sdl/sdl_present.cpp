// Composition of game surface and overlays into the window's pixels, with
// nearest-neighbour scaling by a whole factor.
#include "platform/sdl/sdl_present.h"

#include <algorithm>
#include <cstring>

namespace {

inline std::uint32_t Convert(COLORREF c, PixelTarget::Order order) {
    if (order == PixelTarget::Order::Xbgr)
        return c & 0x00FFFFFF;
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

} // namespace

CRect Compositor::GameToLogical(const CRect &g) {
    CRect visible = g.Intersect(CRect(0, 0, CLIENT_WIDTH, CLIENT_HEIGHT));
    if (visible.IsEmpty())
        return CRect();
    return CRect(visible.left, visible.top + MENU_BAR_HEIGHT, visible.right,
                 visible.bottom + MENU_BAR_HEIGHT);
}

CRect Compositor::Compose(const Surface &game, const std::vector<const Overlay *> &overlays,
                          const CRect &rcIn, const Placement &pl, const PixelTarget &target) {
    CRect rc = rcIn.Intersect(CRect(0, 0, LOGICAL_WIDTH, LOGICAL_HEIGHT));
    // Keep the scaled rectangle inside the target as well.
    CRect inTarget = pl.ToWindow(rc).Intersect(CRect(0, 0, target.width, target.height));
    if (rc.IsEmpty() || inTarget.IsEmpty() || !target.pixels)
        return CRect();

    const int s = pl.scale;
    std::vector<std::uint32_t> row(static_cast<size_t>(rc.Width()));
    for (int ly = rc.top; ly < rc.bottom; ++ly) {
        // Game pixels first (the menu bar's band has none), then overlays
        // in order, so the last one covering a pixel wins.
        std::fill(row.begin(), row.end(), 0u);
        int gy = ly - MENU_BAR_HEIGHT;
        if (gy >= 0 && gy < CLIENT_HEIGHT && gy < game.Height()) {
            const COLORREF *src = game.Row(gy);
            int right = std::min({rc.right, CLIENT_WIDTH, game.Width()});
            for (int x = rc.left; x < right; ++x)
                row[x - rc.left] = Convert(src[x], target.order);
        }
        for (const Overlay *ov : overlays) {
            if (ly < ov->rc.top || ly >= ov->rc.bottom)
                continue;
            int x0 = std::max(rc.left, ov->rc.left);
            int x1 = std::min(rc.right, ov->rc.right);
            if (x0 >= x1)
                continue;
            const COLORREF *src = ov->pixels.Row(ly - ov->rc.top);
            for (int x = x0; x < x1; ++x)
                row[x - rc.left] = Convert(src[x - ov->rc.left], target.order);
        }

        // Scale: each logical pixel becomes an s x s block.
        int wy0 = pl.offsetY + ly * s;
        if (wy0 >= target.height)
            break;
        auto *first =
            reinterpret_cast<std::uint32_t *>(reinterpret_cast<std::uint8_t *>(target.pixels) +
                                              static_cast<size_t>(wy0) * target.pitch);
        int wx0 = pl.offsetX + rc.left * s;
        int wcount = rc.Width() * s;
        int clipLeft = std::max(0, -wx0);
        int clipRight = std::max(0, wx0 + wcount - target.width);
        if (s == 1) {
            for (int i = clipLeft; i < wcount - clipRight; ++i)
                first[wx0 + i] = row[i];
        } else {
            for (int i = clipLeft; i < wcount - clipRight; ++i)
                first[wx0 + i] = row[i / s];
        }
        for (int k = 1; k < s; ++k) {
            int wy = wy0 + k;
            if (wy >= target.height)
                break;
            auto *line =
                reinterpret_cast<std::uint32_t *>(reinterpret_cast<std::uint8_t *>(target.pixels) +
                                                  static_cast<size_t>(wy) * target.pitch);
            std::memcpy(line + wx0 + clipLeft, first + wx0 + clipLeft,
                        static_cast<size_t>(wcount - clipLeft - clipRight) * 4);
        }
    }
    return inTarget;
}

void Compositor::Clear(const PixelTarget &t) {
    if (!t.pixels)
        return;
    for (int y = 0; y < t.height; ++y) {
        auto *line = reinterpret_cast<std::uint8_t *>(t.pixels) + static_cast<size_t>(y) * t.pitch;
        std::memset(line, 0, static_cast<size_t>(t.width) * 4);
    }
}
