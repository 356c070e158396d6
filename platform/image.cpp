// BMP and ICO decoding for embedded resources. Bounds are checked on every
// read, so a damaged resource gives no image rather than a wild read.
#include "platform/image.h"

#include <vector>

namespace {

struct Reader {
    const std::uint8_t *data;
    std::size_t size;
    bool Has(std::size_t off, std::size_t n) const { return off <= size && n <= size - off; }
    std::uint32_t U16(std::size_t off) const { return data[off] | (data[off + 1] << 8); }
    std::uint32_t U32(std::size_t off) const {
        return data[off] | (data[off + 1] << 8) | (data[off + 2] << 16) |
               (static_cast<std::uint32_t>(data[off + 3]) << 24);
    }
};

// Decodes a DIB (BITMAPINFOHEADER, palette, pixels) starting at `info`.
// `pixels` is the offset of the pixel array; `rows` overrides the height
// (icons store twice the height for the AND mask).
std::optional<Surface> DecodeDib(const Reader &r, std::size_t info, std::size_t pixels,
                                 int rows, std::vector<std::uint8_t> *transparent) {
    if (!r.Has(info, 40)) return std::nullopt;
    std::uint32_t headerSize = r.U32(info);
    int width = static_cast<std::int32_t>(r.U32(info + 4));
    int height = static_cast<std::int32_t>(r.U32(info + 8));
    int bpp = static_cast<int>(r.U16(info + 14));
    std::uint32_t compression = r.U32(info + 16);
    std::uint32_t colours = r.U32(info + 32);
    if (compression != 0 || width <= 0 || width > 4096) return std::nullopt;
    bool topDown = height < 0;
    if (rows <= 0) rows = topDown ? -height : height;
    if (rows <= 0 || rows > 4096) return std::nullopt;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) return std::nullopt;

    std::vector<COLORREF> palette;
    if (bpp <= 8) {
        std::size_t n = colours ? colours : (1u << bpp);
        if (n > 256) return std::nullopt;
        std::size_t pal = info + headerSize;
        if (!r.Has(pal, n * 4)) return std::nullopt;
        for (std::size_t i = 0; i < n; ++i)
            palette.push_back(RGB(r.data[pal + i * 4 + 2], r.data[pal + i * 4 + 1],
                                  r.data[pal + i * 4]));
        if (pixels == 0) pixels = pal + n * 4;
    } else if (pixels == 0) {
        pixels = info + headerSize;
    }

    std::size_t stride = ((static_cast<std::size_t>(width) * bpp + 31) / 32) * 4;
    if (!r.Has(pixels, stride * rows)) return std::nullopt;

    Surface out(width, rows);
    for (int y = 0; y < rows; ++y) {
        const std::uint8_t *row = r.data + pixels + stride * (topDown ? y : rows - 1 - y);
        for (int x = 0; x < width; ++x) {
            COLORREF c = 0;
            if (bpp == 24 || bpp == 32) {
                const std::uint8_t *p = row + x * (bpp / 8);
                c = RGB(p[2], p[1], p[0]);
            } else {
                unsigned index = 0;
                if (bpp == 8) index = row[x];
                else if (bpp == 4) index = (row[x / 2] >> ((x % 2) ? 0 : 4)) & 0x0F;
                else index = (row[x / 8] >> (7 - x % 8)) & 1;
                if (index >= palette.size()) return std::nullopt;
                c = palette[index];
            }
            out.SetPixel(x, y, c);
        }
    }

    if (transparent) {
        transparent->assign(static_cast<std::size_t>(width) * rows, 0);
        std::size_t maskStride = ((static_cast<std::size_t>(width) + 31) / 32) * 4;
        std::size_t mask = pixels + stride * rows;
        if (r.Has(mask, maskStride * rows)) {
            for (int y = 0; y < rows; ++y) {
                const std::uint8_t *row = r.data + mask + maskStride * (rows - 1 - y);
                for (int x = 0; x < width; ++x)
                    (*transparent)[static_cast<std::size_t>(y) * width + x] =
                        (row[x / 8] >> (7 - x % 8)) & 1;
            }
        }
    }
    return out;
}

} // namespace

std::optional<Surface> DecodeBmp(const std::uint8_t *data, std::size_t size) {
    Reader r{data, size};
    if (!r.Has(0, 14) || data[0] != 'B' || data[1] != 'M') return std::nullopt;
    return DecodeDib(r, 14, r.U32(10), 0, nullptr);
}

std::optional<Surface> DecodeIco(const std::uint8_t *data, std::size_t size,
                                 std::vector<std::uint8_t> *transparent) {
    Reader r{data, size};
    if (!r.Has(0, 6 + 16) || r.U16(0) != 0 || r.U16(2) != 1 || r.U16(4) < 1) return std::nullopt;
    std::uint32_t offset = r.U32(6 + 12);
    if (!r.Has(offset, 40)) return std::nullopt;
    int height = static_cast<std::int32_t>(r.U32(offset + 8)) / 2;
    return DecodeDib(r, offset, 0, height, transparent);
}
