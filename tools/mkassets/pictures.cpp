// Bricks, gems and the wall, drawn by the rules that describe them.
#include "pictures.h"

#include <cstdint>
#include <cstdlib>
#include <stdexcept>

namespace {

// One part of a brick; the colour may alternate between pixels whose x + y is
// even and those where it is odd.
struct Paint {
    Colour even;
    Colour odd;
    Colour At(int x, int y) const { return (x + y) % 2 == 0 ? even : odd; }
};

struct BrickColours {
    Paint rim;
    Paint face;
    Paint shadow;
};

// Bricks 1 to 9. Bricks 7 to 9 are chequered; brick 8's shadow is black on
// every other pixel, which leaves those pixels clear for collisions.
const BrickColours BRICKS[9] = {
    {{YELLOW, YELLOW}, {RED, RED}, {DARK_RED, DARK_RED}},
    {{SILVER, SILVER}, {BLUE, BLUE}, {NAVY, NAVY}},
    {{SILVER, SILVER}, {MAGENTA, MAGENTA}, {PURPLE, PURPLE}},
    {{WHITE, WHITE}, {YELLOW, YELLOW}, {OLIVE, OLIVE}},
    {{WHITE, WHITE}, {GREEN, GREEN}, {DARK_GREEN, DARK_GREEN}},
    {{WHITE, WHITE}, {CYAN, CYAN}, {TEAL, TEAL}},
    {{WHITE, WHITE}, {YELLOW, WHITE}, {OLIVE, GREY}},
    {{WHITE, WHITE}, {GREEN, WHITE}, {BLACK, TEAL}},
    {{WHITE, WHITE}, {CYAN, WHITE}, {BLUE, CYAN}},
};

// The raised-tile layout: a light rim along the top row and the left column,
// a dark shadow along the right two columns and the bottom two rows.
enum class Part { Rim, Face, Shadow };

Part BrickPart(int x, int y) {
    if (y == 0)
        return x <= 22 ? Part::Rim : Part::Shadow;
    if (y <= 11 && x == 0)
        return Part::Rim;
    if (y <= 10 && x <= 21)
        return Part::Face;
    return Part::Shadow;
}

// The game's own generator (state * 1103515245 + 12345, bits 16 to 30), with
// a fixed seed so that the wall comes out the same every time.
class Lcg {
public:
    explicit Lcg(std::uint32_t seed) : m_state(seed) {}
    int Next() {
        m_state = m_state * 1103515245u + 12345u;
        return static_cast<int>((m_state >> 16) & 0x7FFF);
    }
    // From lo to hi, both included.
    int Between(int lo, int hi) { return lo + Next() % (hi - lo + 1); }

private:
    std::uint32_t m_state;
};

constexpr std::uint32_t WALL_SEED = 1995;
constexpr int TEXTURE_LEFT = 3;
constexpr int TEXTURE_RIGHT = 28;

} // namespace

IndexedImage MakeBrick(int number) {
    if (number < 1 || number > 9)
        throw std::invalid_argument("brick number must be 1 to 9");
    const BrickColours &c = BRICKS[number - 1];
    IndexedImage image(BRICK_WIDTH, BRICK_HEIGHT);
    for (int y = 0; y < BRICK_HEIGHT; ++y)
        for (int x = 0; x < BRICK_WIDTH; ++x) {
            switch (BrickPart(x, y)) {
            case Part::Rim:
                image.Set(x, y, c.rim.At(x, y));
                break;
            case Part::Face:
                image.Set(x, y, c.face.At(x, y));
                break;
            case Part::Shadow:
                image.Set(x, y, c.shadow.At(x, y));
                break;
            }
        }
    return image;
}

IndexedImage MakeGem(Colour face, Colour facet) {
    IndexedImage image(BRICK_WIDTH, BRICK_HEIGHT);
    for (int y = 0; y < BRICK_HEIGHT; ++y)
        for (int x = 0; x < BRICK_WIDTH; ++x)
            if (std::abs(x - 12) + std::abs(y - 6) <= 6)
                image.Set(x, y, face);
    // The facet lines leave the top point (12, 0) and spread one pixel every
    // second row, reaching the widest row (6) at x = 9 and x = 15, a quarter
    // of the way in from each end.
    for (int y = 0; y <= 6; ++y) {
        image.Set(12 - y / 2, y, facet);
        image.Set(12 + y / 2, y, facet);
    }
    return image;
}

IndexedImage MakeWall() {
    IndexedImage image(WALL_WIDTH, WALL_HEIGHT);
    for (int y = 0; y < WALL_HEIGHT; ++y) {
        image.Set(0, y, WHITE); // lit outer edge
        image.Set(1, y, SILVER);
        image.Set(2, y, SILVER);
        image.Set(29, y, y == 0 ? SILVER : GREY); // shaded inner edge
        image.Set(30, y, GREY);
        // Column 31 stays black: the ball never touches it.
    }

    // Stone texture. Every pixel whose x + y is odd is white. The others show
    // courses of stones: black mortar along the bottom row of each course and
    // at the right end of each stone, the stone itself grey with a few black
    // pits and the odd white or silver glint.
    Lcg rng(WALL_SEED);
    for (int top = 0; top < WALL_HEIGHT;) {
        int courseHeight = rng.Between(8, 14);
        int bottom = top + courseHeight - 1; // the mortar row
        // Joints: the stones of a course start at a random offset, so the
        // joints of neighbouring courses do not line up.
        bool joint[WALL_WIDTH] = {};
        for (int x = TEXTURE_LEFT + rng.Between(2, 7); x <= TEXTURE_RIGHT; x += rng.Between(6, 11))
            joint[x] = true;
        for (int y = top; y <= bottom && y < WALL_HEIGHT; ++y)
            for (int x = TEXTURE_LEFT; x <= TEXTURE_RIGHT; ++x) {
                if ((x + y) % 2 != 0) {
                    image.Set(x, y, WHITE);
                    continue;
                }
                Colour c = GREY;
                int roll = rng.Next() % 100;
                if (y == bottom || joint[x] || roll < 8)
                    c = BLACK;
                else if (roll < 10)
                    c = WHITE;
                else if (roll < 12)
                    c = SILVER;
                image.Set(x, y, c);
            }
        top = bottom + 1;
    }
    return image;
}
