// Parsers for art/palette.txt and the picture files beside it.
#include "art.h"

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace {

std::vector<std::string> ReadLines(const std::string &path) {
    std::ifstream in(path);
    if (!in)
        throw std::runtime_error(path + ": cannot open");
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool IsComment(const std::string &line) {
    return line.empty() || line[0] == '#';
}

std::runtime_error ErrorAt(const std::string &path, std::size_t line, const std::string &what) {
    return std::runtime_error(path + ":" + std::to_string(line + 1) + ": " + what);
}

} // namespace

Palette ReadPalette(const std::string &path) {
    Palette palette{};
    std::array<bool, 16> seen{};
    std::vector<std::string> lines = ReadLines(path);
    for (std::size_t n = 0; n < lines.size(); ++n) {
        if (IsComment(lines[n]))
            continue;
        std::istringstream fields(lines[n]);
        std::string symbol;
        int index = -1, red = -1, green = -1, blue = -1;
        if (!(fields >> symbol >> index >> red >> green >> blue) || symbol.size() != 1)
            throw ErrorAt(path, n, "expected: char index red green blue name");
        if (index < 0 || index > 15 || seen[index])
            throw ErrorAt(path, n, "index must be 0 to 15, each once");
        for (int v : {red, green, blue})
            if (v < 0 || v > 255)
                throw ErrorAt(path, n, "colour values are 0 to 255");
        for (int i = 0; i < 16; ++i)
            if (seen[i] && palette[i].symbol == symbol[0])
                throw ErrorAt(path, n, "character '" + symbol + "' is used twice");
        seen[index] = true;
        palette[index] = {symbol[0], static_cast<std::uint8_t>(red),
                          static_cast<std::uint8_t>(green), static_cast<std::uint8_t>(blue)};
    }
    for (int i = 0; i < 16; ++i)
        if (!seen[i])
            throw std::runtime_error(path + ": colour " + std::to_string(i) + " is missing");
    return palette;
}

IndexedImage ReadArt(const std::string &path, const Palette &palette, int width, int height) {
    IndexedImage image(width, height);
    std::vector<std::string> lines = ReadLines(path);
    int y = 0;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        if (IsComment(lines[n]))
            continue;
        const std::string &row = lines[n];
        if (y >= height)
            throw ErrorAt(path, n, "more than " + std::to_string(height) + " rows");
        if (static_cast<int>(row.size()) != width)
            throw ErrorAt(path, n,
                          "row is " + std::to_string(row.size()) + " pixels wide, not " +
                              std::to_string(width));
        for (int x = 0; x < width; ++x) {
            int index = -1;
            for (int i = 0; i < 16; ++i)
                if (palette[i].symbol == row[x])
                    index = i;
            if (index < 0)
                throw ErrorAt(path, n, std::string("'") + row[x] + "' is not in the palette");
            image.Set(x, y, static_cast<std::uint8_t>(index));
        }
        ++y;
    }
    if (y != height)
        throw std::runtime_error(path + ": " + std::to_string(y) + " rows, not " +
                                 std::to_string(height));
    return image;
}
