// A picture of palette indices, the form every bitmap and the icon take
// before they are encoded, and the names of the 16 palette colours.
#pragma once

#include <cstdint>
#include <vector>

// Palette indices, in the order of art/palette.txt.
enum Colour : std::uint8_t {
    BLACK,
    DARK_RED,
    DARK_GREEN,
    OLIVE,
    NAVY,
    PURPLE,
    TEAL,
    SILVER,
    GREY,
    RED,
    GREEN,
    YELLOW,
    BLUE,
    MAGENTA,
    CYAN,
    WHITE
};

struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels; // row by row, top row first

    IndexedImage() = default;
    IndexedImage(int w, int h, std::uint8_t fill = BLACK)
        : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, fill) {}

    std::uint8_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    void Set(int x, int y, std::uint8_t index) {
        pixels[static_cast<std::size_t>(y) * width + x] = index;
    }
};
