// Icons: an icon resource decoded into a picture that a window class shows.
// HICON is a handle to the decoded picture; the loader owns nothing after
// handing it out, and DestroyIcon releases it.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/surface.h"
#include "platform/types.h"

struct IconImage {
    Surface image;                   // the icon's first picture
    std::vector<std::uint8_t> clear; // 1 where the picture is transparent
};

using HICON = IconImage *;

// Loads the icon resource `name` (case ignored). Null when there is none or
// it cannot be decoded.
HICON LoadIcon(const char *name);
// Releases an icon from LoadIcon; a null handle is ignored.
BOOL DestroyIcon(HICON hIcon);
