// The bitmaps as the game sees them: loaded by name through CBitmap, their
// sizes, which pixels are solid (not black, so they collide) and the colours
// that the pictures are defined to have.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/gdi.h"

namespace {

constexpr COLORREF BLACK = RGB(0, 0, 0);
constexpr COLORREF DARK_RED = RGB(128, 0, 0);
constexpr COLORREF DARK_GREEN = RGB(0, 128, 0);
constexpr COLORREF OLIVE = RGB(128, 128, 0);
constexpr COLORREF NAVY = RGB(0, 0, 128);
constexpr COLORREF PURPLE = RGB(128, 0, 128);
constexpr COLORREF TEAL = RGB(0, 128, 128);
constexpr COLORREF SILVER = RGB(192, 192, 192);
constexpr COLORREF GREY = RGB(128, 128, 128);
constexpr COLORREF RED = RGB(255, 0, 0);
constexpr COLORREF GREEN = RGB(0, 255, 0);
constexpr COLORREF YELLOW = RGB(255, 255, 0);
constexpr COLORREF BLUE = RGB(0, 0, 255);
constexpr COLORREF MAGENTA = RGB(255, 0, 255);
constexpr COLORREF CYAN = RGB(0, 255, 255);
constexpr COLORREF WHITE = RGB(255, 255, 255);

// Loads a bitmap the way the sprites do: by its lower-case name.
Surface Load(const std::string &name) {
    CBitmap bitmap;
    if (!bitmap.LoadBitmap(name.c_str())) {
        ADD_FAILURE() << "bitmap \"" << name << "\" does not load";
        return Surface();
    }
    return *bitmap.GetSurface();
}

bool Solid(const Surface &s, int x, int y) {
    return s.GetPixel(x, y) != BLACK;
}

// Solid columns of a picture, given row by row as in the picture tables.
struct Span {
    int first, last;
};
struct Rows {
    int first, last;
    std::vector<Span> solid;
};

std::function<bool(int, int)> FromRows(std::vector<Rows> table) {
    return [table](int x, int y) {
        for (const Rows &r : table)
            if (y >= r.first && y <= r.last)
                for (const Span &s : r.solid)
                    if (x >= s.first && x <= s.last)
                        return true;
        return false;
    };
}

// clang-format off
const std::vector<Rows> BALL_ROWS = {
    {0, 0,   {{6, 11}}},
    {17, 17, {{6, 11}}},
    {1, 1,   {{4, 13}}},
    {16, 16, {{4, 13}}},
    {2, 2,   {{3, 14}}},
    {15, 15, {{3, 14}}},
    {3, 3,   {{2, 10}, {12, 15}}},
    {4, 5,   {{1, 10}, {14, 16}}},
    {6, 8,   {{0, 10}, {14, 17}}},
    {9, 9,   {{0, 8}, {12, 17}}},
    {10, 11, {{0, 17}}},
    {12, 13, {{1, 16}}},
    {14, 14, {{2, 15}}},
};

const std::vector<Rows> PADDLE_ROWS = {
    {2, 2,  {{14, 25}}},
    {3, 3,  {{10, 29}}},
    {4, 4,  {{8, 31}}},
    {5, 5,  {{7, 32}}},
    {6, 6,  {{6, 33}}},
    {7, 8,  {{5, 34}}},
    {9, 13, {{4, 35}}},
};
// clang-format on

const std::vector<Rows> COIN_ROWS = {
    {0, 0, {{11, 13}}},
    {1, 1, {{9, 15}}},
    {2, 2, {{8, 11}, {13, 16}}},
    {3, 3, {{7, 10}, {14, 17}}},
    {4, 4, {{7, 9}, {15, 17}}},
    {5, 5, {{6, 9}, {11, 11}, {13, 18}}},
    {6, 6, {{6, 9}, {14, 18}}},
    {7, 7, {{6, 10}, {15, 18}}},
    {8, 8, {{7, 11}, {13, 13}, {15, 17}}},
    {9, 9, {{7, 9}, {15, 17}}},
    {10, 10, {{8, 10}, {14, 16}}},
    {11, 11, {{9, 11}, {13, 15}}},
    {12, 12, {{11, 13}}},
};

bool InRhombus(int x, int y) {
    return std::abs(x - 12) + std::abs(y - 6) <= 6;
}

// The parts of a brick tile.
enum class BrickPart { Rim, Face, Shadow };

BrickPart PartOf(int x, int y) {
    if ((y == 0 && x <= 22) || (x == 0 && y >= 1 && y <= 11))
        return BrickPart::Rim;
    if (y >= 1 && y <= 10 && x >= 1 && x <= 21)
        return BrickPart::Face;
    return BrickPart::Shadow;
}

bool Brick8Clear(int x, int y) {
    return PartOf(x, y) == BrickPart::Shadow && (x + y) % 2 == 0;
}

// Which pixels must be solid: yes, no, or either (the wall's stone texture).
enum class Want { Solid, Clear, Either };

struct SolidCase {
    std::string name;
    int width, height;
    std::function<Want(int, int)> want;
};

void PrintTo(const SolidCase &c, std::ostream *os) {
    *os << c.name;
}

std::function<Want(int, int)> Exactly(std::function<bool(int, int)> solid) {
    return [solid](int x, int y) { return solid(x, y) ? Want::Solid : Want::Clear; };
}

Want WallWant(int x, int y) {
    if (x == 31)
        return Want::Clear;
    if (x <= 2 || x >= 29)
        return Want::Solid;
    return (x + y) % 2 == 1 ? Want::Solid : Want::Either;
}

std::vector<SolidCase> SolidCases() {
    std::vector<SolidCase> cases = {
        {"qzlball", 18, 18, Exactly(FromRows(BALL_ROWS))},
        {"qzlbase", 40, 22, Exactly(FromRows(PADDLE_ROWS))},
        {"qzlwall", 32, 450, WallWant},
        {"qzlcoin", 24, 13, Exactly(FromRows(COIN_ROWS))},
        {"qzlruby", 24, 13, Exactly(InRhombus)},
        {"qzldiam", 24, 13, Exactly(InRhombus)},
    };
    for (int n = 1; n <= 9; ++n) {
        auto solid =
            n == 8 ? std::function<bool(int, int)>([](int x, int y) { return !Brick8Clear(x, y); })
                   : std::function<bool(int, int)>([](int, int) { return true; });
        cases.push_back({"qzlbrick" + std::to_string(n), 24, 13, Exactly(solid)});
    }
    return cases;
}

// The picture as '#' (solid) and '.' (clear), for readable failure messages.
std::string Picture(const Surface &s) {
    std::string out;
    for (int y = 0; y < s.Height(); ++y) {
        for (int x = 0; x < s.Width(); ++x)
            out += Solid(s, x, y) ? '#' : '.';
        out += '\n';
    }
    return out;
}

class SolidArea : public testing::TestWithParam<SolidCase> {};

TEST_P(SolidArea, bitmap_has_its_size_and_exactly_its_solid_pixels) {
    const SolidCase &c = GetParam();
    Surface s = Load(c.name);
    ASSERT_EQ(s.Width(), c.width);
    ASSERT_EQ(s.Height(), c.height);
    int wrong = 0;
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) {
            Want w = c.want(x, y);
            if (w == Want::Either)
                continue;
            if (Solid(s, x, y) != (w == Want::Solid)) {
                if (++wrong <= 5)
                    ADD_FAILURE() << c.name << " pixel (" << x << ", " << y << ") should be "
                                  << (w == Want::Solid ? "solid" : "clear");
            }
        }
    EXPECT_EQ(wrong, 0) << c.name << " as loaded:\n" << Picture(s);
}

INSTANTIATE_TEST_SUITE_P(Bitmaps, SolidArea, testing::ValuesIn(SolidCases()),
                         [](const auto &info) { return info.param.name; });

TEST(Bricks, brick8_has_exactly_34_clear_pixels_and_the_others_none) {
    for (int n = 1; n <= 9; ++n) {
        Surface s = Load("qzlbrick" + std::to_string(n));
        int clear = 0;
        for (int y = 0; y < s.Height(); ++y)
            for (int x = 0; x < s.Width(); ++x)
                clear += !Solid(s, x, y);
        EXPECT_EQ(clear, n == 8 ? 34 : 0) << "qzlbrick" << n;
    }
}

struct BrickColours {
    int number;
    COLORREF rim;
    COLORREF faceEven, faceOdd;     // by x + y even / odd
    COLORREF shadowEven, shadowOdd; // by x + y even / odd
};

const BrickColours BRICK_COLOURS[] = {
    {1, YELLOW, RED, RED, DARK_RED, DARK_RED},
    {2, SILVER, BLUE, BLUE, NAVY, NAVY},
    {3, SILVER, MAGENTA, MAGENTA, PURPLE, PURPLE},
    {4, WHITE, YELLOW, YELLOW, OLIVE, OLIVE},
    {5, WHITE, GREEN, GREEN, DARK_GREEN, DARK_GREEN},
    {6, WHITE, CYAN, CYAN, TEAL, TEAL},
    {7, WHITE, YELLOW, WHITE, OLIVE, GREY},
    {8, WHITE, GREEN, WHITE, BLACK, TEAL},
    {9, WHITE, CYAN, WHITE, BLUE, CYAN},
};

TEST(Bricks, rim_face_and_shadow_have_each_bricks_colours) {
    for (const BrickColours &c : BRICK_COLOURS) {
        Surface s = Load("qzlbrick" + std::to_string(c.number));
        ASSERT_EQ(s.Width(), 24);
        int wrong = 0;
        for (int y = 0; y < 13; ++y)
            for (int x = 0; x < 24; ++x) {
                bool even = (x + y) % 2 == 0;
                COLORREF want = c.rim;
                switch (PartOf(x, y)) {
                case BrickPart::Rim:
                    want = c.rim;
                    break;
                case BrickPart::Face:
                    want = even ? c.faceEven : c.faceOdd;
                    break;
                case BrickPart::Shadow:
                    want = even ? c.shadowEven : c.shadowOdd;
                    break;
                }
                if (s.GetPixel(x, y) != want && ++wrong <= 3)
                    ADD_FAILURE() << "qzlbrick" << c.number << " (" << x << ", " << y << ") is "
                                  << std::hex << s.GetPixel(x, y) << ", not " << want;
            }
    }
}

struct GemColours {
    const char *name;
    COLORREF face, facet;
};

void PrintTo(const GemColours &g, std::ostream *os) {
    *os << g.name;
}

class Gem : public testing::TestWithParam<GemColours> {};

TEST_P(Gem, is_its_colour_with_two_facet_lines_from_the_top_point_to_the_widest_row) {
    const GemColours &g = GetParam();
    Surface s = Load(g.name);
    ASSERT_EQ(s.Width(), 24);
    ASSERT_EQ(s.Height(), 13);
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 24; ++x) {
            if (!InRhombus(x, y))
                continue;
            COLORREF c = s.GetPixel(x, y);
            EXPECT_TRUE(c == g.face || c == g.facet) << g.name << " (" << x << ", " << y << ")";
            if (y > 6) {
                EXPECT_EQ(c, g.face) << "facets only in the upper half, " << x << ", " << y;
            }
        }
    // The top point starts both lines; row by row each line moves outwards by
    // at most one pixel, and at the widest row they stand apart.
    EXPECT_EQ(s.GetPixel(12, 0), g.facet);
    int left = 12, right = 12;
    for (int y = 1; y <= 6; ++y) {
        int l = -1, r = -1;
        for (int x = 12; x >= 12 - y; --x)
            if (s.GetPixel(x, y) == g.facet) {
                l = x;
                break;
            }
        for (int x = 12; x <= 12 + y; ++x)
            if (s.GetPixel(x, y) == g.facet) {
                r = x;
                break;
            }
        ASSERT_NE(l, -1) << g.name << " left facet line breaks off at row " << y;
        ASSERT_NE(r, -1) << g.name << " right facet line breaks off at row " << y;
        EXPECT_TRUE(l == left || l == left - 1) << g.name << " row " << y;
        EXPECT_TRUE(r == right || r == right + 1) << g.name << " row " << y;
        left = l;
        right = r;
    }
    EXPECT_LT(left, 12);
    EXPECT_GT(right, 12);
}

INSTANTIATE_TEST_SUITE_P(Bitmaps, Gem,
                         testing::Values(GemColours{"qzlruby", RED, YELLOW},
                                         GemColours{"qzldiam", WHITE, SILVER}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(Coin, is_yellow_wherever_it_is_solid) {
    Surface s = Load("qzlcoin");
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x)
            if (Solid(s, x, y)) {
                EXPECT_EQ(s.GetPixel(x, y), YELLOW) << x << ", " << y;
            }
}

TEST(Wall, edges_have_their_colours_and_the_texture_mixes_black_and_grey) {
    Surface s = Load("qzlwall");
    ASSERT_EQ(s.Height(), 450);
    int counts[4] = {}; // black, grey, white, silver among the texture's even pixels
    for (int y = 0; y < 450; ++y) {
        EXPECT_EQ(s.GetPixel(0, y), WHITE) << "row " << y;
        EXPECT_EQ(s.GetPixel(1, y), SILVER) << "row " << y;
        EXPECT_EQ(s.GetPixel(2, y), SILVER) << "row " << y;
        EXPECT_EQ(s.GetPixel(29, y), y == 0 ? SILVER : GREY) << "row " << y;
        EXPECT_EQ(s.GetPixel(30, y), GREY) << "row " << y;
        for (int x = 3; x <= 28; ++x) {
            COLORREF c = s.GetPixel(x, y);
            if ((x + y) % 2 == 1) {
                EXPECT_EQ(c, WHITE) << x << ", " << y;
                continue;
            }
            const COLORREF allowed[4] = {BLACK, GREY, WHITE, SILVER};
            auto it = std::find(allowed, allowed + 4, c);
            ASSERT_NE(it, allowed + 4) << "unexpected colour at " << x << ", " << y;
            ++counts[it - allowed];
        }
    }
    int total = 450 * 26 / 2;
    EXPECT_GT(counts[0], total / 10) << "too little black in the texture";
    EXPECT_GT(counts[1], total / 2) << "too little grey in the texture";
    EXPECT_GT(counts[2] + counts[3], 0) << "no white or silver glints";
    EXPECT_LT(counts[2] + counts[3], total / 10) << "only a few white or silver pixels";
}

// The extreme solid pixels of each row and each column.
struct Outline {
    std::vector<std::pair<int, int>> pixels;
};

Outline OutlineOf(const Surface &s) {
    Outline o;
    for (int y = 0; y < s.Height(); ++y) {
        int first = -1, last = -1;
        for (int x = 0; x < s.Width(); ++x)
            if (Solid(s, x, y)) {
                if (first < 0)
                    first = x;
                last = x;
            }
        if (first >= 0) {
            o.pixels.push_back({first, y});
            o.pixels.push_back({last, y});
        }
    }
    for (int x = 0; x < s.Width(); ++x) {
        int first = -1, last = -1;
        for (int y = 0; y < s.Height(); ++y)
            if (Solid(s, x, y)) {
                if (first < 0)
                    first = y;
                last = y;
            }
        if (first >= 0) {
            o.pixels.push_back({x, first});
            o.pixels.push_back({x, last});
        }
    }
    return o;
}

TEST(Ball, grey_outline_silver_body_white_highlight_and_band_grey_ringed_spot) {
    Surface s = Load("qzlball");
    ASSERT_EQ(s.Width(), 18);
    int silver = 0, whiteUpperLeft = 0, whiteLowerRight = 0;
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 18; ++x) {
            COLORREF c = s.GetPixel(x, y);
            if (!Solid(s, x, y))
                continue;
            EXPECT_TRUE(c == GREY || c == SILVER || c == WHITE) << x << ", " << y;
            silver += c == SILVER;
            whiteUpperLeft += c == WHITE && x < 9 && y < 9;
            whiteLowerRight += c == WHITE && x >= 9 && y >= 9;
        }
    EXPECT_GT(silver, 18 * 18 / 4) << "the body is silver";
    EXPECT_GT(whiteUpperLeft, 0) << "highlight in the upper left";
    EXPECT_GT(whiteLowerRight, 0) << "band along the rim from the right to the bottom";
    for (auto [x, y] : OutlineOf(s).pixels)
        EXPECT_EQ(s.GetPixel(x, y), GREY) << "outline at " << x << ", " << y;
    // The spot: the black pixels inside the ball's rows (rows 3 to 9). Each of
    // their solid neighbours is grey.
    int spot = 0;
    for (int y = 3; y <= 9; ++y) {
        int first = 0, last = 17;
        while (!Solid(s, first, y))
            ++first;
        while (!Solid(s, last, y))
            --last;
        for (int x = first; x <= last; ++x) {
            if (Solid(s, x, y))
                continue;
            ++spot;
            EXPECT_GE(x, 9) << "the spot lies in the right half";
            const int nb[4][2] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
            for (auto [nx, ny] : nb) {
                if (Solid(s, nx, ny)) {
                    EXPECT_EQ(s.GetPixel(nx, ny), GREY)
                        << "around the spot at " << nx << ", " << ny;
                }
            }
        }
    }
    EXPECT_GT(spot, 0);
}

TEST(Paddle, cyan_face_white_top_and_left_teal_right_and_bottom_rows) {
    Surface s = Load("qzlbase");
    ASSERT_EQ(s.Width(), 40);
    for (int y = 2; y <= 13; ++y) {
        int first = -1, last = -1;
        for (int x = 0; x < 40; ++x)
            if (Solid(s, x, y)) {
                if (first < 0)
                    first = x;
                last = x;
            }
        ASSERT_GE(first, 0) << "row " << y;
        for (int x = first; x <= last; ++x) {
            COLORREF c = s.GetPixel(x, y);
            bool topEdge = !Solid(s, x, y - 1);
            if (y >= 12)
                EXPECT_EQ(c, TEAL) << "bottom rows at " << x << ", " << y;
            else if (x == last)
                EXPECT_EQ(c, TEAL) << "right edge at " << x << ", " << y;
            else if (x == first || topEdge)
                EXPECT_EQ(c, WHITE) << "top or left edge at " << x << ", " << y;
            else
                EXPECT_EQ(c, CYAN) << "face at " << x << ", " << y;
        }
    }
}

} // namespace
