// The game's four sound effects, synthesised, and their WAV encoding
// (16-bit PCM, mono, 22050 Hz).
#pragma once

#include <cstdint>
#include <vector>

constexpr int SAMPLE_RATE = 22050;

using Samples = std::vector<double>; // -1 to 1

Samples MakeDead();  // the last ball is lost: a sad descending phrase, 0.8 s
Samples MakeBeam();  // the paddle returns the ball: a short rising zap, 0.15 s
Samples MakeBoing(); // bricks are hit: a springy bounce, 0.25 s
Samples MakeDing();  // the bonus item is hit: a small bell, 0.5 s

// Scales to a fixed peak below full scale and writes a WAV file's bytes.
std::vector<std::uint8_t> EncodeWav(const Samples &samples);
