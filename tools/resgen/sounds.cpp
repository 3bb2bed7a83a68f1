// sounds.cpp: the strike's tick and the knock-out's thud. Both are computed
// with plain arithmetic from fixed values and a fixed-seed noise source, so
// every run writes the same bytes.
#include "sounds.h"

#include <algorithm>
#include <cmath>

namespace resgen {
namespace {

constexpr double PI = 3.14159265358979323846;

// A xorshift generator: small, fast and the same on every machine.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : state_(seed) {}
    // A value in [-1, 1).
    double Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<double>(state_) / 2147483648.0 - 1.0;
    }

private:
    std::uint32_t state_;
};

std::uint8_t Sample(double offsetFromSilence) {
    return static_cast<std::uint8_t>(128 + std::lround(offsetFromSilence));
}

}  // namespace

// 32 samples of silence, a 2.1 kHz tone that holds, then fades to nothing,
// and silence to the end. Its crests reach 168 and its troughs 90.
std::vector<std::uint8_t> StrikeSamples() {
    constexpr int COUNT = 687;
    constexpr int LEAD = 32;
    constexpr int HOLD = 200;
    constexpr int FADE = 400;
    constexpr double FREQUENCY = 2100.0;
    constexpr double CREST = 40.0, TROUGH = 38.0;

    std::vector<std::uint8_t> s(COUNT, 128);
    for (int k = 0; k < HOLD + FADE; ++k) {
        const double level = k < HOLD ? 1.0 : 1.0 - static_cast<double>(k - HOLD) / FADE;
        // The phase starts one step in, so that the tone sounds from its first sample.
        const double wave = std::sin(2.0 * PI * FREQUENCY * (k + 1) / STRIKE_RATE);
        s[LEAD + k] = Sample(level * wave * (wave > 0 ? CREST : TROUGH));
    }
    return s;
}

// Low-passed noise over a low thump, decaying, scaled so that its loudest
// sample just reaches a quarter of full scale either side of silence; every
// sample lies within 64..192.
std::vector<std::uint8_t> KnockoutSamples() {
    constexpr int COUNT = 1942;
    constexpr double THUMP_FREQUENCY = 90.0;
    constexpr double SMOOTHING = 0.3;  // each of two one-pole low-pass stages
    constexpr double DECAY = 0.9992;   // per sample: about a fifth left at the end
    constexpr double PEAK = 64.0;

    Noise noise(0x4D4B5455u);
    std::vector<double> signal(COUNT);
    double stage1 = 0, stage2 = 0, level = 1.0;
    for (int n = 0; n < COUNT; ++n) {
        stage1 += SMOOTHING * (noise.Next() - stage1);
        stage2 += SMOOTHING * (stage1 - stage2);
        const double thump = std::sin(2.0 * PI * THUMP_FREQUENCY * n / KNOCKOUT_RATE);
        signal[n] = level * (2.0 * stage2 + 0.2 * thump);
        level *= DECAY;
    }
    double loudest = 0;
    for (double v : signal) loudest = std::max(loudest, std::fabs(v));

    std::vector<std::uint8_t> s(COUNT);
    for (int n = 0; n < COUNT; ++n) s[n] = Sample(std::clamp(signal[n] * PEAK / loudest, -PEAK, PEAK));
    return s;
}

}  // namespace resgen
