// Broken sound files in the game's folder: the SDL host's sound player must
// stay silent (a file cut off inside its samples may play the part that is
// there) without a crash or a read past the data, and go on playing good
// files afterwards. Run on SDL's dummy audio driver, which consumes the sound
// like a real device.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/sdl/sdl_audio.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes &b, std::uint32_t v) {
    b.push_back(std::uint8_t(v));
    b.push_back(std::uint8_t(v >> 8));
}
void Put32(Bytes &b, std::uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}
void Put(Bytes &b, const char *four) {
    for (int i = 0; i < 4; ++i)
        b.push_back(std::uint8_t(four[i]));
}

struct Fmt {
    std::uint32_t fmtSize = 16;
    std::uint16_t tag = 1; // PCM
    std::uint16_t channels = 2;
    std::uint32_t rate = 22050;
    std::uint16_t bits = 16;
    std::int64_t blockAlign = -1; // -1: channels * bits / 8
    std::int64_t dataSize = -1;   // -1: the size of the data that follows
    std::uint32_t dataBytes = 4000;
};

// A RIFF WAVE file whose header fields can be set to anything.
Bytes Wav(const Fmt &f) {
    Bytes b;
    const std::uint32_t align =
        f.blockAlign >= 0 ? std::uint32_t(f.blockAlign) : f.channels * f.bits / 8u;
    const std::uint32_t dataSize = f.dataSize >= 0 ? std::uint32_t(f.dataSize) : f.dataBytes;
    Put(b, "RIFF");
    Put32(b, 4 + 8 + 16 + 8 + dataSize);
    Put(b, "WAVE");
    Put(b, "fmt ");
    Put32(b, f.fmtSize);
    Put16(b, f.tag);
    Put16(b, f.channels);
    Put32(b, f.rate);
    Put32(b, f.rate * align);
    Put16(b, align);
    Put16(b, f.bits);
    Put(b, "data");
    Put32(b, dataSize);
    for (std::uint32_t i = 0; i < f.dataBytes; ++i)
        b.push_back(std::uint8_t(i * 37));
    return b;
}

Bytes Cut(Bytes b, std::size_t n) {
    b.resize(std::min(n, b.size()));
    return b;
}

Bytes Random(std::size_t n, std::uint32_t seed) {
    Bytes b(n);
    for (auto &c : b)
        c = std::uint8_t((seed = seed * 1103515245 + 12345) >> 16);
    return b;
}

Bytes WithRandomTail(std::uint32_t seed) {
    Bytes b = Cut(Wav({}), 44);
    Bytes tail = Random(3000, seed);
    b.insert(b.end(), tail.begin(), tail.end());
    return b;
}

enum class Expect { Silent, SilentOrPlays };

struct BadSound {
    const char *name;
    Bytes bytes;
    Expect expect;
};

std::vector<BadSound> BadSounds() {
    Fmt f;
    std::vector<BadSound> v;
    v.push_back({"empty_file", {}, Expect::Silent});
    v.push_back({"riff_tag_only", Cut(Wav(f), 4), Expect::Silent});
    v.push_back({"cut_inside_the_format_chunk", Cut(Wav(f), 30), Expect::Silent});
    v.push_back({"cut_before_the_data_size", Cut(Wav(f), 40), Expect::Silent});
    // Header complete, data shorter than it says: at most what is there plays.
    v.push_back({"cut_inside_the_data", Cut(Wav(f), 44 + 1001), Expect::SilentOrPlays});
    f = Fmt{};
    f.dataSize = 0xFFFFFFFF;
    v.push_back({"data_size_of_4_gib", Wav(f), Expect::SilentOrPlays});
    f = Fmt{};
    f.dataBytes = 0;
    v.push_back({"no_data", Wav(f), Expect::Silent});
    f = Fmt{};
    f.channels = 0;
    v.push_back({"zero_channels", Wav(f), Expect::Silent});
    f = Fmt{};
    f.channels = 300;
    v.push_back({"three_hundred_channels", Wav(f), Expect::Silent});
    f = Fmt{};
    f.rate = 0;
    v.push_back({"zero_sample_rate", Wav(f), Expect::Silent});
    f = Fmt{};
    f.rate = 0xFFFFFFFF;
    v.push_back({"huge_sample_rate", Wav(f), Expect::Silent});
    f = Fmt{};
    f.bits = 0;
    v.push_back({"zero_bits_per_sample", Wav(f), Expect::Silent});
    f = Fmt{};
    f.bits = 13;
    v.push_back({"thirteen_bits_per_sample", Wav(f), Expect::Silent});
    f = Fmt{};
    f.blockAlign = 0;
    v.push_back({"zero_block_align", Wav(f), Expect::Silent});
    f = Fmt{};
    f.fmtSize = 0x7FFFFFFF;
    v.push_back({"format_chunk_of_2_gib", Wav(f), Expect::Silent});
    f = Fmt{};
    f.tag = 0x1234;
    v.push_back({"unknown_encoding", Wav(f), Expect::Silent});
    f = Fmt{};
    f.tag = 2; // MS ADPCM without its extra fields
    v.push_back({"adpcm_without_coefficients", Wav(f), Expect::Silent});
    f = Fmt{};
    f.dataBytes = 4001; // half a frame at the end
    v.push_back({"odd_data_length", Wav(f), Expect::SilentOrPlays});
    for (std::uint32_t seed : {1u, 2u, 3u})
        v.push_back({"random_bytes", Random(2000 + seed * 700, seed), Expect::Silent});
    v.push_back({"random_bytes_after_the_header", WithRandomTail(9), Expect::SilentOrPlays});
    return v;
}

class BadSoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        char tmpl[] = "/tmp/quarzel-badsound-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
        good = dir / "beam.wav";
        Fmt f;
        f.dataBytes = 8000;
        Write(good, Wav(f));
    }
    void TearDown() override { fs::remove_all(dir); }
    static void Write(const fs::path &p, const Bytes &b) {
        std::ofstream(p, std::ios::binary)
            .write(reinterpret_cast<const char *>(b.data()), std::streamsize(b.size()));
    }
    fs::path dir, good;
};

} // namespace

TEST_F(BadSoundTest, broken_wav_files_are_silent_and_do_not_stop_later_sounds) {
    SoundPlayer player;
    for (const BadSound &bad : BadSounds()) {
        SCOPED_TRACE(bad.name);
        const fs::path file = dir / "ding.wav";
        Write(file, bad.bytes);
        const bool played = player.Play(file.c_str());
        if (bad.expect == Expect::Silent) {
            EXPECT_FALSE(played);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        // The player is still fine: the good file plays.
        EXPECT_TRUE(player.Play(good.c_str()));
        fs::remove(file);
    }
}

TEST_F(BadSoundTest, sound_names_that_are_folders_or_unreadable_play_nothing) {
    fs::create_directory(dir / "dead.wav");
    fs::create_symlink(dir / "nowhere.wav", dir / "boing2.wav"); // dangling
    SoundPlayer player;
    EXPECT_FALSE(player.Play((dir / "dead.wav").c_str()));
    EXPECT_FALSE(player.Play((dir / "boing2.wav").c_str()));
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_TRUE(player.Play(good.c_str()));
}
