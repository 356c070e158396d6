// The window's geometry: scale factors and coordinate mapping.
#include "platform/sdl/sdl_layout.h"

#include <algorithm>

int WindowScale(int usableWidth, int usableHeight) {
    // s * 600 <= 2/3 * width, s * 450 <= 2/3 * height, in whole numbers.
    int byWidth = (2 * usableWidth) / (3 * OUTER_WIDTH);
    int byHeight = (2 * usableHeight) / (3 * OUTER_HEIGHT);
    return std::max(1, std::min(byWidth, byHeight));
}

int FullscreenScale(int displayWidth, int displayHeight) {
    int byWidth = displayWidth / LOGICAL_WIDTH;
    int byHeight = displayHeight / LOGICAL_HEIGHT;
    return std::max(1, std::min(byWidth, byHeight));
}

Placement Placement::Centred(int scale, int targetWidth, int targetHeight) {
    return Placement{scale, std::max(0, (targetWidth - LOGICAL_WIDTH * scale) / 2),
                     std::max(0, (targetHeight - LOGICAL_HEIGHT * scale) / 2)};
}

std::optional<Point> Placement::ToLogical(int wx, int wy) const {
    int dx = wx - offsetX;
    int dy = wy - offsetY;
    if (dx < 0 || dy < 0)
        return std::nullopt;
    Point p{dx / scale, dy / scale};
    if (p.x >= LOGICAL_WIDTH || p.y >= LOGICAL_HEIGHT)
        return std::nullopt;
    return p;
}

CRect Placement::ToWindow(const CRect &r) const {
    return CRect(offsetX + r.left * scale, offsetY + r.top * scale, offsetX + r.right * scale,
                 offsetY + r.bottom * scale);
}

std::optional<Point> LogicalToClient(Point p) {
    if (p.x < 0 || p.x >= CLIENT_WIDTH)
        return std::nullopt;
    if (p.y < MENU_BAR_HEIGHT || p.y >= MENU_BAR_HEIGHT + CLIENT_HEIGHT)
        return std::nullopt;
    return Point{p.x, p.y - MENU_BAR_HEIGHT};
}
