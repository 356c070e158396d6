// mkassets: writes every bitmap, the icon and the four sounds of the game
// from their readable sources (the art files and the rules in pictures.cpp
// and sounds.cpp). Run by hand; its output is committed under resources/.
//   mkassets [--art DIR] OUT_DIR      (e.g. mkassets resources)
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "art.h"
#include "encode.h"
#include "pictures.h"
#include "sounds.h"

namespace fs = std::filesystem;

namespace {

void Write(const fs::path &path, const std::vector<std::uint8_t> &bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        throw std::runtime_error(path.string() + ": cannot write");
    std::printf("%s (%zu bytes)\n", path.string().c_str(), bytes.size());
}

int Usage() {
    std::fprintf(stderr, "usage: mkassets [--art DIR] OUT_DIR\n"
                         "writes OUT_DIR/*.bmp, OUT_DIR/qzlicon.ico and OUT_DIR/sounds/*.wav\n");
    return 2;
}

} // namespace

int main(int argc, char **argv) {
    fs::path artDir = MKASSETS_ART_DIR;
    fs::path outDir;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--art" && i + 1 < argc)
            artDir = argv[++i];
        else if (!arg.empty() && arg[0] != '-' && outDir.empty())
            outDir = arg;
        else
            return Usage();
    }
    if (outDir.empty())
        return Usage();

    try {
        Palette palette = ReadPalette((artDir / "palette.txt").string());
        auto art = [&](const char *name, int w, int h) {
            return ReadArt((artDir / name).string(), palette, w, h);
        };

        Write(outDir / "qzlball.bmp", EncodeBmp(art("qzlball.txt", 18, 18), palette));
        Write(outDir / "qzlbase.bmp", EncodeBmp(art("qzlbase.txt", 40, 22), palette));
        Write(outDir / "qzlwall.bmp", EncodeBmp(MakeWall(), palette));
        for (int n = 1; n <= 9; ++n)
            Write(outDir / ("qzlbrick" + std::to_string(n) + ".bmp"),
                  EncodeBmp(MakeBrick(n), palette));
        Write(outDir / "qzlcoin.bmp", EncodeBmp(art("qzlcoin.txt", 24, 13), palette));
        Write(outDir / "qzlruby.bmp", EncodeBmp(MakeGem(RED, YELLOW), palette));
        Write(outDir / "qzldiam.bmp", EncodeBmp(MakeGem(WHITE, SILVER), palette));
        Write(outDir / "qzlicon.ico", EncodeIco(art("qzlicon.txt", 32, 32), palette));

        Write(outDir / "sounds" / "dead.wav", EncodeWav(MakeDead()));
        Write(outDir / "sounds" / "beam.wav", EncodeWav(MakeBeam()));
        Write(outDir / "sounds" / "boing2.wav", EncodeWav(MakeBoing()));
        Write(outDir / "sounds" / "ding.wav", EncodeWav(MakeDing()));
    } catch (const std::exception &e) {
        std::fprintf(stderr, "mkassets: %s\n", e.what());
        return 1;
    }
    return 0;
}
