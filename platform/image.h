// Decoding of the image formats the resources are stored in: uncompressed
// BMP (1, 4, 8, 24 or 32 bits per pixel) and ICO (the first image).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/surface.h"

// Pixels as COLORREF values. Nothing on malformed or unsupported data.
std::optional<Surface> DecodeBmp(const std::uint8_t *data, std::size_t size);

// The first image of an icon file; pixels whose AND-mask bit is set come back
// in `transparent` as 1 (when given).
std::optional<Surface> DecodeIco(const std::uint8_t *data, std::size_t size,
                                 std::vector<std::uint8_t> *transparent = nullptr);
