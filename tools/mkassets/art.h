// Reading the hand-drawn art: the palette file (colour values and the
// character that stands for each) and the one-character-per-pixel pictures.
// Errors throw std::runtime_error naming the file and line.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "indexed_image.h"

struct PaletteEntry {
    char symbol = 0;
    std::uint8_t red = 0, green = 0, blue = 0;
};

using Palette = std::array<PaletteEntry, 16>;

// Lines "char index red green blue name..."; '#' starts a comment line.
// All 16 indices must be given once.
Palette ReadPalette(const std::string &path);

// Rows of equal length, top row first; '#' lines are comments. The picture
// must be exactly width x height.
IndexedImage ReadArt(const std::string &path, const Palette &palette, int width, int height);
