// The sound player on SDL's disk driver, which writes what the device plays
// into a file: a new sound cuts off the playing one at once, files are
// converted once and kept while unchanged, missing or broken files play
// nothing, and the audio thread sleeps once the last sound is out.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
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

void Put16(std::ofstream &f, std::uint16_t v) {
    f.put(char(v & 0xFF)).put(char(v >> 8));
}
void Put32(std::ofstream &f, std::uint32_t v) {
    Put16(f, std::uint16_t(v & 0xFFFF));
    Put16(f, std::uint16_t(v >> 16));
}

// A PCM WAV file of `frames` frames, every sample `value`.
void WriteWav(const fs::path &path, int rate, int channels, int bits, int frames, int value) {
    std::ofstream f(path, std::ios::binary);
    std::uint32_t bytes = static_cast<std::uint32_t>(frames * channels * bits / 8);
    f.write("RIFF", 4);
    Put32(f, 36 + bytes);
    f.write("WAVEfmt ", 8);
    Put32(f, 16);
    Put16(f, 1);
    Put16(f, std::uint16_t(channels));
    Put32(f, std::uint32_t(rate));
    Put32(f, std::uint32_t(rate * channels * bits / 8));
    Put16(f, std::uint16_t(channels * bits / 8));
    Put16(f, std::uint16_t(bits));
    f.write("data", 4);
    Put32(f, bytes);
    for (int i = 0; i < frames * channels; ++i) {
        if (bits == 8)
            f.put(char(value));
        else
            Put16(f, std::uint16_t(std::int16_t(value)));
    }
}

void Sleep(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

class SoundPlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/quarzel-audio-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
        out = dir / "out.raw";
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", out.c_str(), 1);
    }
    void TearDown() override { fs::remove_all(dir); }

    // The left channel of what the device played, as 16-bit samples.
    std::vector<std::int16_t> Played() {
        std::ifstream f(out, std::ios::binary);
        std::vector<std::int16_t> left;
        char frame[4];
        while (f.read(frame, 4))
            left.push_back(std::int16_t(std::uint8_t(frame[0]) | (std::uint8_t(frame[1]) << 8)));
        return left;
    }

    fs::path dir, out;
};

} // namespace

TEST_F(SoundPlayerTest, NewSoundCutsOffThePlayingOneAtOnce) {
    WriteWav(dir / "long.wav", 44100, 2, 16, 44100, 1000); // one second
    // Another format: converted to the device's on loading.
    WriteWav(dir / "short.wav", 22050, 1, 8, 2205, 200); // 0.1 s, +72 in 8 bits
    {
        SoundPlayer player;
        ASSERT_TRUE(player.Play((dir / "long.wav").c_str()));
        Sleep(150);
        ASSERT_TRUE(player.Play((dir / "short.wav").c_str()));
        Sleep(400);
        player.Close();
    }
    std::vector<std::int16_t> s = Played();
    size_t i = 0;
    while (i < s.size() && s[i] == 0)
        ++i;
    size_t firstStart = i;
    while (i < s.size() && s[i] == 1000)
        ++i;
    size_t firstFrames = i - firstStart;
    EXPECT_GT(firstFrames, 0u);
    EXPECT_LT(firstFrames, 44100u / 2) << "the long sound was not cut off";
    // The second follows without a gap, at its converted value.
    ASSERT_LT(i, s.size());
    EXPECT_NEAR(s[i + 100], 72 * 256, 300);
    size_t secondStart = i;
    while (i < s.size() && s[i] > 1000)
        ++i;
    EXPECT_NEAR(double(i - secondStart), 4410.0, 200.0);
    while (i < s.size() && s[i] == 0)
        ++i;
    EXPECT_EQ(i, s.size()) << "sound after the end of the second one";
}

TEST_F(SoundPlayerTest, FileIsConvertedOnceWhileUnchanged) {
    fs::path wav = dir / "ding.wav";
    WriteWav(wav, 44100, 2, 16, 441, 500);
    SoundPlayer player;
    ASSERT_TRUE(player.Play(wav.c_str()));
    ASSERT_TRUE(player.Play(wav.c_str()));
    EXPECT_EQ(player.Conversions(), 1);
    WriteWav(wav, 44100, 2, 16, 882, 500); // changed on disk
    ASSERT_TRUE(player.Play(wav.c_str()));
    EXPECT_EQ(player.Conversions(), 2);
    player.Play(wav.c_str());
    EXPECT_EQ(player.Conversions(), 2);
}

TEST_F(SoundPlayerTest, MissingOrBrokenFilesPlayNothing) {
    SoundPlayer player;
    EXPECT_FALSE(player.Play((dir / "none.wav").c_str()));
    EXPECT_EQ(player.GetState(), SoundPlayer::State::NotOpened) << "no device for a missing file";
    std::ofstream(dir / "bad.wav") << "not a wave file";
    EXPECT_FALSE(player.Play((dir / "bad.wav").c_str()));
    EXPECT_FALSE(player.Play(dir.c_str())); // a folder
    EXPECT_FALSE(player.IsPlaying());
}

TEST_F(SoundPlayerTest, AudioThreadSleepsAfterTheLastSound) {
    WriteWav(dir / "beam.wav", 44100, 2, 16, 2205, 700);
    SoundPlayer player;
    ASSERT_TRUE(player.Play((dir / "beam.wav").c_str()));
    bool asleep = false;
    for (int t = 0; t < 100 && !asleep; ++t) {
        Sleep(10);
        asleep = player.IsAsleep();
    }
    ASSERT_TRUE(asleep);
    // Nothing more is written while it sleeps: no periodic wake-ups.
    auto size = fs::file_size(out);
    Sleep(200);
    EXPECT_EQ(fs::file_size(out), size);
    // The next sound wakes it.
    ASSERT_TRUE(player.Play((dir / "beam.wav").c_str()));
    Sleep(100);
    EXPECT_GT(fs::file_size(out), size);
}

TEST(SoundPlayerWithoutDevice, StaysSilentWithOneLineOnStderr) {
    setenv("SDL_AUDIODRIVER", "none", 1);
    char tmpl[] = "/tmp/quarzel-audio-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    fs::path wav = fs::path(tmpl) / "dead.wav";
    WriteWav(wav, 44100, 2, 16, 441, 500);
    testing::internal::CaptureStderr();
    {
        SoundPlayer player;
        for (int i = 0; i < 5; ++i)
            EXPECT_FALSE(player.Play(wav.c_str()));
        EXPECT_EQ(player.GetState(), SoundPlayer::State::Unavailable);
    }
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    fs::remove_all(tmpl);
}

// ALSA without any device (an empty configuration): alsa-lib's own error
// lines are kept off standard error; the player says it once.
TEST(SoundPlayerWithoutDevice, FailingAlsaGivesOneLine) {
    setenv("SDL_AUDIODRIVER", "alsa", 1);
    char tmpl[] = "/tmp/quarzel-audio-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    fs::path conf = fs::path(tmpl) / "asound.conf";
    std::ofstream(conf) << "# no devices\n";
    setenv("ALSA_CONFIG_PATH", conf.c_str(), 1);
    fs::path wav = fs::path(tmpl) / "beam.wav";
    WriteWav(wav, 44100, 2, 16, 441, 500);
    testing::internal::CaptureStderr();
    {
        SoundPlayer player;
        for (int i = 0; i < 3; ++i)
            EXPECT_FALSE(player.Play(wav.c_str()));
    }
    std::string err = testing::internal::GetCapturedStderr();
    unsetenv("ALSA_CONFIG_PATH");
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    fs::remove_all(tmpl);
}

TEST(SoundPlayerWithoutDevice, DummyDriverPlaysWithoutError) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    char tmpl[] = "/tmp/quarzel-audio-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    fs::path wav = fs::path(tmpl) / "boing2.wav";
    WriteWav(wav, 44100, 2, 16, 441, 500);
    testing::internal::CaptureStderr();
    {
        SoundPlayer player;
        EXPECT_TRUE(player.Play(wav.c_str()));
        EXPECT_EQ(player.GetState(), SoundPlayer::State::Open);
        Sleep(50);
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    fs::remove_all(tmpl);
}
