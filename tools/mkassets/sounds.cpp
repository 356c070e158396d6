// Sound synthesis. Only additions, multiplications and divisions go into the
// samples (sine and exponential are computed here by series), so the files
// come out byte for byte the same with any C library.
#include "sounds.h"

#include <cmath>
#include <cstdlib>

#include "bytes.h"

namespace {

constexpr double PI = 3.14159265358979323846;

// sin(2 pi cycles).
double Sine(double cycles) {
    double f = cycles - std::floor(cycles);        // [0, 1)
    double a = (f < 0.5 ? f : f - 1.0) * 2.0 * PI; // [-pi, pi)
    if (a > PI / 2)
        a = PI - a;
    if (a < -PI / 2)
        a = -PI - a;
    // Taylor series to x^17; the error at pi/2 is below 1e-13.
    double term = a, sum = a, a2 = a * a;
    for (int n = 3; n <= 17; n += 2) {
        term = -term * a2 / (n * (n - 1));
        sum += term;
    }
    return sum;
}

// e^x: halve until small, sum the series, square back.
double Exp(double x) {
    int halvings = 0;
    while (x > 0.125 || x < -0.125) {
        x /= 2;
        ++halvings;
    }
    double term = 1.0, sum = 1.0;
    for (int n = 1; n <= 12; ++n) {
        term = term * x / n;
        sum += term;
    }
    while (halvings-- > 0)
        sum *= sum;
    return sum;
}

int Count(double seconds) {
    return static_cast<int>(seconds * SAMPLE_RATE + 0.5);
}

// A tone with a few harmonics; `amps[k]` is the weight of harmonic k + 1.
template <int N> double Harmonics(double phase, const double (&amps)[N]) {
    double v = 0;
    for (int k = 0; k < N; ++k)
        v += amps[k] * Sine(phase * (k + 1));
    return v;
}

// Linear fade in over `in` seconds and out over the last `out` seconds, so
// the sound starts and stops at zero without a click.
void Fade(Samples &s, double in, double out) {
    int n = static_cast<int>(s.size());
    int nIn = Count(in), nOut = Count(out);
    for (int i = 0; i < nIn && i < n; ++i)
        s[i] *= static_cast<double>(i) / nIn;
    for (int i = 0; i < nOut && i < n; ++i)
        s[n - 1 - i] *= static_cast<double>(i) / nOut;
}

void PutTag(std::vector<std::uint8_t> &out, const char *tag) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(tag[i]));
}

} // namespace

Samples MakeDead() {
    // Four falling semitones, the last held longer, sagging and wavering.
    struct Note {
        double hz, seconds;
    };
    const Note notes[] = {{392.00, 0.16}, {369.99, 0.16}, {349.23, 0.16}, {329.63, 0.32}};
    const double brass[] = {1.0, 0.5, 0.3, 0.15, 0.08};
    Samples out;
    double phase = 0;
    for (const Note &note : notes) {
        int n = Count(note.seconds);
        bool last = &note == &notes[3];
        Samples part(n);
        for (int i = 0; i < n; ++i) {
            double t = static_cast<double>(i) / SAMPLE_RATE;
            double hz = note.hz;
            double amp = 1.0;
            if (last) {
                hz *= 1.0 - 0.06 * t / note.seconds + 0.012 * Sine(5.5 * t);
                amp = Exp(-t / 0.25);
            }
            phase += hz / SAMPLE_RATE;
            part[i] = amp * Harmonics(phase, brass);
        }
        Fade(part, 0.008, last ? 0.06 : 0.02);
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

Samples MakeBeam() {
    // A sweep from 300 Hz up to 2400 Hz that speeds up as it goes.
    const double seconds = 0.15;
    const double timbre[] = {1.0, 0.45, 0.2};
    int n = Count(seconds);
    Samples out(n);
    double phase = 0;
    for (int i = 0; i < n; ++i) {
        double t = static_cast<double>(i) / SAMPLE_RATE;
        double u = t / seconds;
        double hz = 300.0 + 2100.0 * u * u;
        phase += hz / SAMPLE_RATE;
        out[i] = Exp(-t / 0.12) * Harmonics(phase, timbre);
    }
    Fade(out, 0.003, 0.015);
    return out;
}

Samples MakeBoing() {
    // A tone that drops from high onto 260 Hz and wobbles there like a
    // spring, the wobble dying away with the sound.
    const double seconds = 0.25;
    const double timbre[] = {1.0, 0.4, 0.2};
    int n = Count(seconds);
    Samples out(n);
    double phase = 0;
    for (int i = 0; i < n; ++i) {
        double t = static_cast<double>(i) / SAMPLE_RATE;
        double drop = 1.0 + 0.6 * Exp(-t / 0.03);
        double wobble = 1.0 + 0.08 * Exp(-t / 0.08) * Sine(16.0 * t);
        phase += 260.0 * drop * wobble / SAMPLE_RATE;
        out[i] = Exp(-t / 0.09) * Harmonics(phase, timbre);
    }
    Fade(out, 0.002, 0.02);
    return out;
}

Samples MakeDing() {
    // A small bell on A5: inharmonic partials, the higher ones dying sooner.
    struct Partial {
        double ratio, amp, decay;
    };
    const Partial partials[] = {
        {1.0, 1.0, 0.30}, {2.0, 0.3, 0.18}, {2.76, 0.45, 0.12}, {5.40, 0.2, 0.06}};
    const double seconds = 0.5;
    const double base = 880.0;
    int n = Count(seconds);
    Samples out(n);
    for (int i = 0; i < n; ++i) {
        double t = static_cast<double>(i) / SAMPLE_RATE;
        double v = 0;
        for (const Partial &p : partials)
            v += p.amp * Exp(-t / p.decay) * Sine(base * p.ratio * t);
        out[i] = v;
    }
    Fade(out, 0.002, 0.03);
    return out;
}

std::vector<std::uint8_t> EncodeWav(const Samples &samples) {
    // Peak at 70 % of full scale: loud enough, never clipped.
    double peak = 0;
    for (double s : samples)
        peak = std::fabs(s) > peak ? std::fabs(s) : peak;
    double scale = peak > 0 ? 0.7 * 32767.0 / peak : 0.0;

    std::uint32_t dataSize = static_cast<std::uint32_t>(samples.size() * 2);
    std::vector<std::uint8_t> out;
    PutTag(out, "RIFF");
    Put32(out, 36 + dataSize);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, 16);
    Put16(out, 1); // PCM
    Put16(out, 1); // mono
    Put32(out, SAMPLE_RATE);
    Put32(out, SAMPLE_RATE * 2); // bytes per second
    Put16(out, 2);               // bytes per sample frame
    Put16(out, 16);              // bits per sample
    PutTag(out, "data");
    Put32(out, dataSize);
    for (double s : samples) {
        long v = std::lround(s * scale);
        Put16(out, static_cast<std::uint32_t>(static_cast<std::int16_t>(v)) & 0xFFFF);
    }
    return out;
}
