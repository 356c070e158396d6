// Nearest-neighbour scaling of a square picture, and the sizes of the
// desktop icons made from the game's icon.
#pragma once

#include "platform/surface.h"

inline constexpr int ICON_SIZES[] = {32, 48, 64, 128, 256};

// Each target pixel takes the source pixel its centre falls on.
inline Surface ScaleNearest(const Surface &src, int size) {
    Surface out(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            out.SetPixel(x, y,
                         src.GetPixel((2 * x + 1) * src.Width() / (2 * size),
                                      (2 * y + 1) * src.Height() / (2 * size)));
    return out;
}
