// mkicons: the desktop icons of the installed game, made from the game's own
// 32 x 32 icon by nearest-neighbour scaling, so its pixel art stays sharp.
//   mkicons ICON.ico OUTDIR NAME   writes OUTDIR/<S>x<S>/apps/NAME.png
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/headless/png.h"
#include "platform/image.h"
#include "tools/mkicons/scale.h"

int main(int argc, char **argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: mkicons ICON.ico OUTDIR NAME\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    auto icon = DecodeIco(bytes.data(), bytes.size());
    if (!in.good() && !in.eof())
        icon.reset();
    if (!icon) {
        std::fprintf(stderr, "mkicons: %s is not a readable icon\n", argv[1]);
        return 1;
    }
    namespace fs = std::filesystem;
    for (int size : ICON_SIZES) {
        const fs::path dir =
            fs::path(argv[2]) / (std::to_string(size) + "x" + std::to_string(size)) / "apps";
        std::error_code ec;
        fs::create_directories(dir, ec);
        const std::string file = (dir / (std::string(argv[3]) + ".png")).string();
        std::string error;
        if (!WritePng(ScaleNearest(*icon, size), file, &error)) {
            std::fprintf(stderr, "mkicons: cannot write %s: %s\n", file.c_str(), error.c_str());
            return 1;
        }
    }
    return 0;
}
