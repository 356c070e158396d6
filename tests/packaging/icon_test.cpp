// The desktop icons made at build time are the game's own 32 x 32 icon,
// scaled up by nearest neighbour: every pixel is the icon pixel under its
// centre, so the pixel art stays sharp at every size.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/headless/png.h"
#include "platform/image.h"

TEST(DesktopIcons, every_size_is_the_game_icon_scaled_by_nearest_neighbour) {
    std::ifstream in(QZ_GAME_ICON, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    auto icon = DecodeIco(bytes.data(), bytes.size());
    ASSERT_TRUE(icon);
    ASSERT_EQ(icon->Width(), 32);
    ASSERT_EQ(icon->Height(), 32);
    for (int size : {32, 48, 64, 128, 256}) {
        SCOPED_TRACE(size);
        const std::string name = std::to_string(size) + "x" + std::to_string(size);
        auto png = ReadPng(std::string(QZ_ICON_DIR) + "/" + name + "/apps/" + QZ_APP_ID + ".png");
        ASSERT_TRUE(png) << "missing or unreadable";
        ASSERT_EQ(png->Width(), size);
        ASSERT_EQ(png->Height(), size);
        int wrong = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const int sx = static_cast<int>(std::floor((x + 0.5) * 32.0 / size));
                const int sy = static_cast<int>(std::floor((y + 0.5) * 32.0 / size));
                wrong += png->GetPixel(x, y) != icon->GetPixel(sx, sy);
            }
        EXPECT_EQ(wrong, 0);
    }
}
