// The resource files themselves: 4-bit uncompressed BMPs with the 16-colour
// palette, the icon's layout, lookup by name in any case, the four sounds, and
// that the asset generator reproduces every committed file byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/gdi.h"
#include "platform/image.h"
#include "platform/resources.h"

namespace fs = std::filesystem;

namespace {

const fs::path RESOURCES = QZ_RESOURCE_DIR;

std::vector<std::uint8_t> ReadFile(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        ADD_FAILURE() << "cannot read " << path;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t U16(const std::vector<std::uint8_t> &d, std::size_t off) {
    return d[off] | (d[off + 1] << 8);
}
std::uint32_t U32(const std::vector<std::uint8_t> &d, std::size_t off) {
    return U16(d, off) | (U16(d, off + 2) << 16);
}

// The 16 colours in palette order, as (red, green, blue).
const std::uint8_t VGA[16][3] = {
    {0, 0, 0},     {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128}, {128, 0, 128},
    {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0}, {255, 255, 0},
    {0, 0, 255},   {255, 0, 255},   {0, 255, 255},   {255, 255, 255},
};

// Checks a BITMAPINFOHEADER at `info`, its palette and the size of the pixel
// rows; `rows` is the stored height.
void ExpectDib(const std::vector<std::uint8_t> &d, std::size_t info, int width, int rows,
               const std::string &what) {
    ASSERT_GE(d.size(), info + 40 + 64) << what;
    EXPECT_EQ(U32(d, info), 40u) << what << ": BITMAPINFOHEADER";
    EXPECT_EQ(static_cast<std::int32_t>(U32(d, info + 4)), width) << what;
    EXPECT_EQ(static_cast<std::int32_t>(U32(d, info + 8)), rows) << what << ": bottom-up height";
    EXPECT_EQ(U16(d, info + 12), 1u) << what << ": planes";
    EXPECT_EQ(U16(d, info + 14), 4u) << what << ": bits per pixel";
    EXPECT_EQ(U32(d, info + 16), 0u) << what << ": uncompressed";
    std::uint32_t used = U32(d, info + 32);
    EXPECT_TRUE(used == 0 || used == 16) << what << ": colours used " << used;
    for (int i = 0; i < 16; ++i) {
        std::size_t p = info + 40 + i * 4;
        EXPECT_EQ(d[p + 2], VGA[i][0]) << what << ": palette entry " << i << " red";
        EXPECT_EQ(d[p + 1], VGA[i][1]) << what << ": palette entry " << i << " green";
        EXPECT_EQ(d[p + 0], VGA[i][2]) << what << ": palette entry " << i << " blue";
    }
}

struct BitmapFile {
    const char *name;
    int width, height;
};

const BitmapFile BITMAPS[] = {
    {"QZLBALL", 18, 18},   {"QZLBASE", 40, 22},   {"QZLWALL", 32, 450},  {"QZLBRICK1", 24, 13},
    {"QZLBRICK2", 24, 13}, {"QZLBRICK3", 24, 13}, {"QZLBRICK4", 24, 13}, {"QZLBRICK5", 24, 13},
    {"QZLBRICK6", 24, 13}, {"QZLBRICK7", 24, 13}, {"QZLBRICK8", 24, 13}, {"QZLBRICK9", 24, 13},
    {"QZLCOIN", 24, 13},   {"QZLRUBY", 24, 13},   {"QZLDIAM", 24, 13},
};

std::string Lower(std::string s) {
    for (char &c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

TEST(BitmapFiles, are_4_bit_uncompressed_bottom_up_with_the_16_colour_palette) {
    for (const BitmapFile &b : BITMAPS) {
        std::string file = Lower(b.name) + ".bmp";
        std::vector<std::uint8_t> d = ReadFile(RESOURCES / file);
        ASSERT_GE(d.size(), 14u) << file;
        EXPECT_EQ(d[0], 'B') << file;
        EXPECT_EQ(d[1], 'M') << file;
        EXPECT_EQ(U32(d, 2), d.size()) << file << ": size field";
        std::uint32_t stride = ((b.width * 4 + 31) / 32) * 4;
        EXPECT_EQ(U32(d, 10), 14u + 40 + 64) << file << ": pixels follow the palette";
        EXPECT_EQ(d.size(), 14u + 40 + 64 + stride * b.height) << file;
        ExpectDib(d, 14, b.width, b.height, file);
    }
}

TEST(BitmapFiles, are_embedded_under_their_names_byte_for_byte) {
    for (const BitmapFile &b : BITMAPS) {
        const Resource *res = FindResource(b.name, ResourceType::Bitmap);
        ASSERT_NE(res, nullptr) << b.name;
        std::vector<std::uint8_t> file = ReadFile(RESOURCES / (Lower(b.name) + ".bmp"));
        EXPECT_EQ(std::vector<std::uint8_t>(res->data, res->data + res->size), file) << b.name;
    }
}

TEST(Lookup, ignores_case_of_the_requested_name) {
    const Resource *upper = FindResource("QZLBALL", ResourceType::Bitmap);
    ASSERT_NE(upper, nullptr);
    EXPECT_STREQ(upper->name, "QZLBALL");
    for (const char *name : {"qzlball", "QzLbAlL"}) {
        EXPECT_EQ(FindResource(name, ResourceType::Bitmap), upper) << name;
        CBitmap bitmap;
        ASSERT_TRUE(bitmap.LoadBitmap(name)) << name;
        BITMAP info;
        bitmap.GetBitmap(&info);
        EXPECT_EQ(info.bmWidth, 18) << name;
        EXPECT_EQ(info.bmHeight, 18) << name;
    }
    EXPECT_NE(FindResource("QZLIcon", ResourceType::Icon), nullptr);
    EXPECT_EQ(FindResource("qzlbal", ResourceType::Bitmap), nullptr);
    EXPECT_EQ(FindResource("qzlball", ResourceType::Icon), nullptr) << "types stay apart";
}

TEST(Icon, is_one_32x32_16_colour_image_with_an_all_opaque_mask) {
    std::vector<std::uint8_t> d = ReadFile(RESOURCES / "qzlicon.ico");
    ASSERT_GE(d.size(), 22u);
    EXPECT_EQ(U16(d, 0), 0u);
    EXPECT_EQ(U16(d, 2), 1u) << "type icon";
    EXPECT_EQ(U16(d, 4), 1u) << "one image";
    EXPECT_EQ(d[6], 32);
    EXPECT_EQ(d[7], 32);
    EXPECT_EQ(d[8], 16) << "16 colours";
    EXPECT_EQ(U16(d, 10), 1u) << "planes";
    EXPECT_EQ(U16(d, 12), 4u) << "bits per pixel";
    std::uint32_t bytes = U32(d, 14), offset = U32(d, 18);
    EXPECT_EQ(offset, 22u);
    EXPECT_EQ(offset + bytes, d.size());
    ExpectDib(d, offset, 32, 64, "qzlicon.ico");
    std::size_t mask = offset + 40 + 64 + 16 * 32;
    ASSERT_EQ(d.size(), mask + 4 * 32);
    for (std::size_t i = mask; i < d.size(); ++i)
        EXPECT_EQ(d[i], 0) << "AND mask byte " << i;

    const Resource *res = FindResource("QZLIcon", ResourceType::Icon);
    ASSERT_NE(res, nullptr);
    EXPECT_EQ(std::vector<std::uint8_t>(res->data, res->data + res->size), d);
}

TEST(Icon, decodes_to_the_game_in_miniature_with_no_transparent_pixels) {
    const Resource *res = FindResource("QZLIcon", ResourceType::Icon);
    ASSERT_NE(res, nullptr);
    std::vector<std::uint8_t> transparent;
    auto icon = DecodeIco(res->data, res->size, &transparent);
    ASSERT_TRUE(icon.has_value());
    ASSERT_EQ(icon->Width(), 32);
    ASSERT_EQ(icon->Height(), 32);
    ASSERT_EQ(transparent.size(), 32u * 32);
    for (std::uint8_t t : transparent)
        EXPECT_EQ(t, 0);

    const COLORREF grey = RGB(128, 128, 128), silver = RGB(192, 192, 192), cyan = RGB(0, 255, 255),
                   black = RGB(0, 0, 0);
    for (int y = 0; y < 32; ++y)
        for (int x : {0, 1, 30, 31})
            EXPECT_EQ(icon->GetPixel(x, y), grey) << "border " << x << ", " << y;
    auto count = [&](int x0, int y0, int x1, int y1, auto pred) {
        int n = 0;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                n += pred(icon->GetPixel(x, y));
        return n;
    };
    auto brickColour = [&](COLORREF c) { return c != black && c != grey && c != silver; };
    EXPECT_GT(count(2, 0, 29, 7, brickColour), 100) << "rows of bricks at the top";
    EXPECT_GT(count(2, 0, 29, 11, [&](COLORREF c) { return c == black; }), 10)
        << "gaps in the wall";
    EXPECT_GT(count(10, 12, 21, 23, [&](COLORREF c) { return c == silver; }), 4)
        << "ball in the middle";
    EXPECT_GT(count(2, 28, 29, 31, [&](COLORREF c) { return c == cyan; }), 6)
        << "paddle at the bottom";
}

struct SoundFile {
    const char *name;
    double minSeconds, maxSeconds;
};

const SoundFile SOUNDS[] = {
    {"dead.wav", 0.6, 1.0},
    {"beam.wav", 0.1, 0.2},
    {"boing2.wav", 0.2, 0.35},
    {"ding.wav", 0.4, 0.7},
};

TEST(Sounds, are_short_unclipped_16_bit_mono_pcm_that_start_and_end_silent) {
    for (const SoundFile &s : SOUNDS) {
        std::vector<std::uint8_t> d = ReadFile(RESOURCES / "sounds" / s.name);
        ASSERT_GE(d.size(), 44u) << s.name;
        EXPECT_LT(d.size(), 100u * 1024) << s.name;
        EXPECT_EQ(std::string(d.begin(), d.begin() + 4), "RIFF") << s.name;
        EXPECT_EQ(U32(d, 4), d.size() - 8) << s.name;
        EXPECT_EQ(std::string(d.begin() + 8, d.begin() + 16), "WAVEfmt ") << s.name;
        EXPECT_EQ(U32(d, 16), 16u) << s.name;
        EXPECT_EQ(U16(d, 20), 1u) << s.name << ": PCM";
        EXPECT_EQ(U16(d, 22), 1u) << s.name << ": mono";
        std::uint32_t rate = U32(d, 24);
        EXPECT_TRUE(rate == 22050 || rate == 44100) << s.name << ": " << rate << " Hz";
        EXPECT_EQ(U32(d, 28), rate * 2) << s.name;
        EXPECT_EQ(U16(d, 32), 2u) << s.name;
        EXPECT_EQ(U16(d, 34), 16u) << s.name << ": 16 bits";
        EXPECT_EQ(std::string(d.begin() + 36, d.begin() + 40), "data") << s.name;
        std::uint32_t bytes = U32(d, 40);
        ASSERT_EQ(44u + bytes, d.size()) << s.name;

        std::vector<int> samples;
        for (std::size_t i = 44; i + 1 < d.size(); i += 2)
            samples.push_back(static_cast<std::int16_t>(U16(d, i)));
        double seconds = static_cast<double>(samples.size()) / rate;
        EXPECT_GE(seconds, s.minSeconds) << s.name;
        EXPECT_LE(seconds, s.maxSeconds) << s.name;
        int peak = 0;
        for (int v : samples)
            peak = std::max(peak, std::abs(v));
        EXPECT_LT(peak, 32000) << s.name << " is clipped or at full scale";
        EXPECT_GT(peak, 8000) << s.name << " is too quiet";
        // Fades: the sound starts and ends at silence, so starting it or
        // cutting it off does not click.
        EXPECT_LT(std::abs(samples.front()), 300) << s.name << " starts with a click";
        EXPECT_LT(std::abs(samples.back()), 300) << s.name << " ends with a click";
    }
}

// Every file that mkassets writes, relative to resources/.
std::vector<fs::path> Generated(const fs::path &dir) {
    std::vector<fs::path> files;
    for (const auto &e : fs::recursive_directory_iterator(dir))
        if (e.is_regular_file())
            files.push_back(fs::relative(e.path(), dir));
    std::sort(files.begin(), files.end());
    return files;
}

TEST(Generator, reproduces_every_committed_resource_byte_for_byte) {
    std::string tmpl = (fs::temp_directory_path() / "qz-mkassets-XXXXXX").string();
    ASSERT_NE(mkdtemp(tmpl.data()), nullptr) << "cannot make a temporary folder";
    fs::path out = tmpl;
    std::string command =
        std::string("\"") + MKASSETS_PATH + "\" \"" + out.string() + "\" > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    std::vector<fs::path> files = Generated(out);
    EXPECT_EQ(files.size(), 15u + 1 + 4) << "bitmaps, icon and sounds";
    for (const fs::path &rel : files) {
        std::vector<std::uint8_t> fresh = ReadFile(out / rel);
        std::vector<std::uint8_t> committed = ReadFile(RESOURCES / rel);
        EXPECT_EQ(fresh.size(), committed.size()) << rel << ": run mkassets resources and commit";
        EXPECT_TRUE(fresh == committed)
            << rel << " differs from its source: run mkassets resources and commit";
    }
    fs::remove_all(out);
}

} // namespace
