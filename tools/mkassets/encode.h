// File encoders: 4-bit uncompressed bottom-up BMP for the bitmaps, and an
// ICO holding one 16-colour image with an all-opaque AND mask for the icon.
#pragma once

#include <cstdint>
#include <vector>

#include "art.h"
#include "indexed_image.h"

std::vector<std::uint8_t> EncodeBmp(const IndexedImage &image, const Palette &palette);
std::vector<std::uint8_t> EncodeIco(const IndexedImage &image, const Palette &palette);
