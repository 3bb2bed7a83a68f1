// The two sounds of res/: their RIFF layout and their character, measured
// with a small discrete Fourier transform.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "asset_readers.h"

namespace {

assets::Wave LoadWave(const std::string& name) {
    const std::optional<assets::Wave> w = assets::ReadWave(assets::ReadFile(assets::ResPath(name)));
    if (!w) throw std::runtime_error(name + " is not a well-formed RIFF WAVE file");
    return *w;
}

struct WaveCase {
    const char* name;
    const char* file;
    std::uint32_t rate;
    std::uint32_t samples;
    std::size_t pad;
    std::size_t fileSize;
};

const WaveCase kWaves[] = {
    {"Strike", "strike.wav", 22050, 687, 1, 746},
    {"Knockout", "knockout.wav", 8000, 1942, 0, 2000},
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const WaveCase& c, std::ostream* os) { *os << c.name; }

class WaveLayout : public testing::TestWithParam<WaveCase> {};

TEST_P(WaveLayout, FmtFactAndDataChunks) {
    const WaveCase& c = GetParam();
    EXPECT_EQ(assets::ReadFile(assets::ResPath(c.file)).size(), c.fileSize);
    const assets::Wave w = LoadWave(c.file);
    EXPECT_EQ(w.chunks, (std::vector<std::string>{"fmt ", "fact", "data"}));
    EXPECT_EQ(w.fmtSize, 18u);
    EXPECT_EQ(w.formatTag, 1);  // PCM
    EXPECT_EQ(w.channels, 1);
    EXPECT_EQ(w.samplesPerSecond, c.rate);
    EXPECT_EQ(w.bytesPerSecond, c.rate);
    EXPECT_EQ(w.blockAlign, 1);
    EXPECT_EQ(w.bitsPerSample, 8);
    EXPECT_EQ(w.extraSize, 0);
    EXPECT_EQ(w.factSize, 4u);
    EXPECT_EQ(w.factSamples, c.samples);
    EXPECT_EQ(w.samples.size(), c.samples);
    EXPECT_EQ(w.padBytes, c.pad);  // an odd data chunk is padded to an even length
}

INSTANTIATE_TEST_SUITE_P(Res, WaveLayout, testing::ValuesIn(kWaves),
                         [](const testing::TestParamInfo<WaveCase>& i) { return std::string(i.param.name); });

// The power of each frequency bin 1..n/2 of the samples' offsets from silence.
std::vector<double> PowerSpectrum(const std::vector<std::uint8_t>& s) {
    const std::size_t n = s.size();
    std::vector<double> power(n / 2 + 1, 0.0);
    for (std::size_t k = 1; k <= n / 2; ++k) {
        double re = 0, im = 0;
        for (std::size_t t = 0; t < n; ++t) {
            const double angle = 2.0 * M_PI * static_cast<double>(k * t % n) / static_cast<double>(n);
            re += (s[t] - 128.0) * std::cos(angle);
            im -= (s[t] - 128.0) * std::sin(angle);
        }
        power[k] = re * re + im * im;
    }
    return power;
}

TEST(StrikeSound, SilenceThenAHighToneEndingInSilence) {
    const std::vector<std::uint8_t> s = LoadWave("strike.wav").samples;
    ASSERT_EQ(s.size(), 687u);
    for (int n = 0; n < 32; ++n) EXPECT_EQ(s[n], 128) << "sample " << n;
    EXPECT_NE(s[32], 128);  // the tone sounds from the first sample after them
    EXPECT_EQ(s.back(), 128);
    EXPECT_EQ(*std::min_element(s.begin(), s.end()), 90);
    EXPECT_EQ(*std::max_element(s.begin(), s.end()), 168);

    // The strongest frequency of the sound is about 2.1 kHz.
    const std::vector<double> power = PowerSpectrum(s);
    const std::size_t peak = static_cast<std::size_t>(std::max_element(power.begin(), power.end()) - power.begin());
    const double hz = peak * 22050.0 / s.size();
    EXPECT_GT(hz, 2000.0);
    EXPECT_LT(hz, 2200.0);
}

TEST(KnockoutSound, LoudLowNoiseWithinHalfScale) {
    const std::vector<std::uint8_t> s = LoadWave("knockout.wav").samples;
    ASSERT_EQ(s.size(), 1942u);
    const auto [low, high] = std::minmax_element(s.begin(), s.end());
    EXPECT_GE(*low, 64);
    EXPECT_LE(*high, 192);
    // Loud: its loudest sample reaches the edge of that range, and it swings
    // well to both sides of silence.
    EXPECT_TRUE(*low == 64 || *high == 192);
    EXPECT_LE(*low, 88);
    EXPECT_GE(*high, 168);
    // Sounding from the first sample to the last: no stretch of silence at
    // either end.
    EXPECT_NE(s.front(), 128);
    EXPECT_TRUE(std::any_of(s.end() - 8, s.end(), [](std::uint8_t v) { return v != 128; }));

    // Its energy lies mostly below 1 kHz, and it is noise rather than a tone:
    // no single bin carries a large share of it.
    const std::vector<double> power = PowerSpectrum(s);
    double below = 0, total = 0, strongest = 0;
    for (std::size_t k = 1; k < power.size(); ++k) {
        total += power[k];
        if (k * 8000.0 / s.size() < 1000.0) below += power[k];
        strongest = std::max(strongest, power[k]);
    }
    EXPECT_GT(below / total, 0.8);
    EXPECT_LT(strongest / total, 0.25);
}

}  // namespace
