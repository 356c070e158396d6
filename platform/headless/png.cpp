// PNG reading and writing through libpng's simplified API.
#include "platform/headless/png.h"

#include <png.h>

#include <cstring>
#include <vector>

bool WritePng(const Surface &surface, const std::string &path, std::string *error) {
    png_image image;
    std::memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(surface.Width());
    image.height = static_cast<png_uint_32>(surface.Height());
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> rgb;
    rgb.reserve(static_cast<size_t>(surface.Width()) * surface.Height() * 3);
    for (COLORREF c : surface.Pixels()) {
        rgb.push_back(static_cast<png_byte>(GetRValue(c)));
        rgb.push_back(static_cast<png_byte>(GetGValue(c)));
        rgb.push_back(static_cast<png_byte>(GetBValue(c)));
    }
    if (!png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr)) {
        if (error) *error = image.message;
        return false;
    }
    return true;
}

std::optional<Surface> ReadPng(const std::string &path) {
    png_image image;
    std::memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return std::nullopt;
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) {
        png_image_free(&image);
        return std::nullopt;
    }
    Surface out(static_cast<int>(image.width), static_cast<int>(image.height));
    for (int y = 0; y < out.Height(); ++y)
        for (int x = 0; x < out.Width(); ++x) {
            const png_byte *p = &rgb[(static_cast<size_t>(y) * out.Width() + x) * 3];
            out.Row(y)[x] = RGB(p[0], p[1], p[2]);
        }
    return out;
}
