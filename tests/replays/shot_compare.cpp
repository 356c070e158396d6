// Compares a replay's picture with its golden picture in docs/. Pixels must
// be identical everywhere except in the bands where text is drawn: there a
// different build of the typeface may shift glyph edges, so up to 4% of a
// band's pixels may differ. Exit 0 when the pictures match.
//   shot_compare GOLDEN ACTUAL
#include <cstdio>
#include <optional>
#include <string>

#include "platform/headless/png.h"
#include "platform/types.h"

namespace {

struct Band {
    const char *what;
    CRect rect;
};

// Where the fonts render: the big texts (cells 65 pixels high) reach from
// their start to the right edge at most, the panel's small texts (22 high)
// stand at x = 455 in rows 80 to 256.
const Band BANDS[] = {
    {"title", CRect(135, 175, 600, 240)},
    {"game-over text", CRect(190, 225, 600, 290)},
    {"status panel", CRect(450, 80, 600, 256)},
};
constexpr int TOLERANCE_PERCENT = 4;

int BandOf(int x, int y) {
    for (int i = 0; i < static_cast<int>(std::size(BANDS)); ++i) {
        const CRect &r = BANDS[i].rect;
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom)
            return i;
    }
    return -1;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: shot_compare GOLDEN ACTUAL\n");
        return 2;
    }
    std::optional<Surface> golden = ReadPng(argv[1]);
    std::optional<Surface> actual = ReadPng(argv[2]);
    if (!golden || !actual) {
        std::fprintf(stderr, "cannot read %s\n", golden ? argv[2] : argv[1]);
        return 1;
    }
    if (golden->Width() != actual->Width() || golden->Height() != actual->Height()) {
        std::fprintf(stderr, "%s is %dx%d, the golden picture %dx%d\n", argv[2], actual->Width(),
                     actual->Height(), golden->Width(), golden->Height());
        return 1;
    }
    int differing[std::size(BANDS)] = {};
    for (int y = 0; y < golden->Height(); ++y) {
        for (int x = 0; x < golden->Width(); ++x) {
            if (golden->GetPixel(x, y) == actual->GetPixel(x, y))
                continue;
            int band = BandOf(x, y);
            if (band < 0) {
                std::fprintf(stderr, "%s differs at (%d, %d), outside text: %06x, not %06x\n",
                             argv[2], x, y, actual->GetPixel(x, y), golden->GetPixel(x, y));
                return 1;
            }
            ++differing[band];
        }
    }
    for (std::size_t i = 0; i < std::size(BANDS); ++i) {
        const CRect &r = BANDS[i].rect;
        const int limit = r.Width() * r.Height() * TOLERANCE_PERCENT / 100;
        if (differing[i] > limit) {
            std::fprintf(stderr, "%s: %d pixels of the %s differ (at most %d may)\n", argv[2],
                         differing[i], BANDS[i].what, limit);
            return 1;
        }
    }
    return 0;
}
