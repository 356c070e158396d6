// BMP and ICO writers. Both share the device-independent bitmap layout:
// a 40-byte BITMAPINFOHEADER, 16 palette entries (blue, green, red, 0) and
// rows of two pixels per byte, bottom row first, each padded to 4 bytes.
#include "encode.h"

#include "bytes.h"

namespace {

constexpr std::uint32_t INFO_HEADER_SIZE = 40;
constexpr std::uint32_t PALETTE_SIZE = 16 * 4;

std::uint32_t Stride(int width, int bits) {
    return ((static_cast<std::uint32_t>(width) * bits + 31) / 32) * 4;
}

// BITMAPINFOHEADER; `rows` is the stored height (twice the picture's for an icon).
void PutInfoHeader(std::vector<std::uint8_t> &out, int width, int rows, std::uint32_t imageSize) {
    Put32(out, INFO_HEADER_SIZE);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(rows)); // positive: bottom-up
    Put16(out, 1);                                // planes
    Put16(out, 4);                                // bits per pixel
    Put32(out, 0);                                // BI_RGB, uncompressed
    Put32(out, imageSize);
    Put32(out, 0);  // horizontal resolution, unspecified
    Put32(out, 0);  // vertical resolution, unspecified
    Put32(out, 16); // colours used
    Put32(out, 0);  // all colours important
}

void PutPalette(std::vector<std::uint8_t> &out, const Palette &palette) {
    for (const PaletteEntry &e : palette) {
        out.push_back(e.blue);
        out.push_back(e.green);
        out.push_back(e.red);
        out.push_back(0);
    }
}

void PutPixels(std::vector<std::uint8_t> &out, const IndexedImage &image) {
    std::uint32_t stride = Stride(image.width, 4);
    for (int y = image.height - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(stride, 0);
        for (int x = 0; x < image.width; ++x)
            row[x / 2] |= static_cast<std::uint8_t>((image.At(x, y) & 0x0F) << ((x % 2) ? 0 : 4));
        out.insert(out.end(), row.begin(), row.end());
    }
}

} // namespace

std::vector<std::uint8_t> EncodeBmp(const IndexedImage &image, const Palette &palette) {
    std::uint32_t imageSize = Stride(image.width, 4) * image.height;
    std::uint32_t offBits = 14 + INFO_HEADER_SIZE + PALETTE_SIZE;
    std::vector<std::uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, offBits + imageSize);
    Put32(out, 0); // reserved
    Put32(out, offBits);
    PutInfoHeader(out, image.width, image.height, imageSize);
    PutPalette(out, palette);
    PutPixels(out, image);
    return out;
}

std::vector<std::uint8_t> EncodeIco(const IndexedImage &image, const Palette &palette) {
    std::uint32_t xorSize = Stride(image.width, 4) * image.height;
    std::uint32_t andSize = Stride(image.width, 1) * image.height;
    std::uint32_t resSize = INFO_HEADER_SIZE + PALETTE_SIZE + xorSize + andSize;
    std::vector<std::uint8_t> out;
    // ICONDIR: reserved, type 1 (icon), one image.
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, 1);
    // ICONDIRENTRY.
    out.push_back(static_cast<std::uint8_t>(image.width));
    out.push_back(static_cast<std::uint8_t>(image.height));
    out.push_back(16); // colours
    out.push_back(0);  // reserved
    Put16(out, 1);     // planes
    Put16(out, 4);     // bits per pixel
    Put32(out, resSize);
    Put32(out, 6 + 16); // the image follows the directory
    PutInfoHeader(out, image.width, image.height * 2, xorSize + andSize);
    PutPalette(out, palette);
    PutPixels(out, image);
    out.insert(out.end(), andSize, 0); // AND mask: every pixel opaque
    return out;
}
