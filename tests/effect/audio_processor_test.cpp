#include "effect/audio_processor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// Doubles every sample and records how it was driven.
class Doubler final : public AudioProcessor {
public:
    void ProcessSamples(double* buffer, int count) override {
        calls.push_back(count);
        seen.assign(buffer, buffer + static_cast<size_t>(count * Channels()));
        for (int i = 0; i < count; ++i) buffer[i] *= 2;
    }
    void UpdateCoefficients() override {}

    void Prepare(int rate, int factor) {
        SetSampleRate(rate);
        SetOversampling(factor);
        SetChannels(1);
        ResetFilters();
    }

    std::vector<int> calls;
    std::vector<double> seen;
};

std::vector<double> Ramp(size_t n) {
    std::vector<double> x(n);
    for (size_t i = 0; i < n; ++i) x[i] = 0.01 * static_cast<double>(i % 37) - 0.2;
    return x;
}

}  // namespace

// Before any set-up a block of frames samples is processed at the host rate and nothing beyond
// it is touched (the sanitizers watch the exact-size buffer); then the mix of dry and wet.
TEST(AudioProcessor, BlockBeforeSetUpAndMixAtTheHostRate) {
    Doubler p;
    const std::vector<double> x = Ramp(33);
    std::vector<double> y = x;
    p.ProcessBlock(y.data(), 33);
    for (size_t i = 0; i < x.size(); ++i) EXPECT_EQ(y[i], 2 * x[i]);

    p.Prepare(192000, 1);
    for (auto [mix, gain] : {std::pair{1.0, 2.0}, {0.0, 1.0}, {0.25, 1.25}}) {
        p.SetMix(mix);
        y = x;
        p.ProcessBlock(y.data(), 33);
        for (size_t i = 0; i < x.size(); ++i) EXPECT_NEAR(y[i], gain * x[i], mix == 0.25 ? 1e-15 : 0.0) << mix;
    }
}

// The block runs at the high rate; with mix 0 the output is the input through both resampling
// filters, which settle to unity gain at DC.
TEST(AudioProcessor, OversampledBlockRunsAtTheHighRate) {
    Doubler p;
    p.Prepare(44100, 4);
    std::vector<double> y(65, 7.0);
    p.ProcessBlock(y.data(), 64);
    ASSERT_EQ(p.calls, std::vector<int>{256});
    EXPECT_EQ(y[64], 7.0) << "wrote past the block";
    p.ProcessBlock(y.data(), 0);
    EXPECT_EQ(p.calls.size(), 1u);

    p.Prepare(48000, 4);
    p.SetMix(0.0);
    std::vector<double> dc(4000, 1.0);
    p.ProcessBlock(dc.data(), 4000);
    EXPECT_NEAR(dc.back(), 1.0, 1e-9);
    EXPECT_NE(dc[1], 1.0) << "no filtering happened";
}

TEST(AudioProcessor, RefusesBadFactorsAndRates) {
    Doubler p;
    p.SetSampleRate(96000);
    for (int bad : {0, -3}) p.SetOversampling(bad);
    for (int bad : {0, -44100}) p.SetSampleRate(bad);
    EXPECT_EQ(p.Oversampling(), 1);
    EXPECT_EQ(p.SampleRate(), 96000);
}

// Frames of two samples: pairs are held f times and the first pair of every group is kept.
TEST(AudioProcessor, InterleavedPairs) {
    Doubler p;
    p.Prepare(96000, 2);
    p.SetChannels(2);
    std::vector<double> y = {1, 2, 3, 4, 5, 6, 9, 9};
    p.ProcessBlock(y.data(), 3);
    ASSERT_EQ(p.calls, std::vector<int>{6});
    ASSERT_EQ(p.seen.size(), 12u);
    // The filters run over the first n samples only; the rest is the held input.
    const std::vector<double> tail(p.seen.begin() + 6, p.seen.end());
    EXPECT_EQ(tail, (std::vector<double>{3, 4, 5, 6, 5, 6}));
    EXPECT_EQ(y[6], 9.0);
    EXPECT_EQ(y[7], 9.0);
}
