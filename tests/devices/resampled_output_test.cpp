// The speakers' conversion to a 48000 Hz device, without a device: the callback's periods of any
// size are filled from even pulls of 44100 Hz frames, the sound keeps its pitch and level, and
// the converted stream is no more than about a millisecond behind what was pulled.
#include "platform/resampled_output.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "tests/support/tone_frequency.h"

namespace {

constexpr unsigned kChannels = 2;
constexpr double kPitch = 1000;
constexpr int kAmplitude = 10000;

// The left channel a sine, the right a steady level, at 44100 Hz.
std::int16_t Source(std::uint64_t frame, unsigned channel) {
  if (channel == 1) return -1234;
  return static_cast<std::int16_t>(std::lround(
      kAmplitude * std::sin(2 * std::numbers::pi * kPitch * static_cast<double>(frame) / 44100)));
}

TEST(ResampledOutput, FillsPeriodsOfAnySizeFromEvenPullsAtThePitchAndLevelWithLittleDelay) {
  for (const std::uint32_t period : {1U, 31U, 32U, 256U, 1000U, 2048U, 4096U}) {
    SCOPED_TRACE("period " + std::to_string(period));
    TResampledOutput output(kChannels, 48000);
    ASSERT_TRUE(output.IsReady());
    std::uint64_t pulled = 0;
    bool evenPulls = true;
    const auto pull = [&](std::int16_t* source, std::uint32_t count) {
      evenPulls = evenPulls && count % 2 == 0 && count <= TResampledOutput::kMaxPullFrames;
      for (std::uint32_t i = 0; i < count; ++i)
        for (unsigned channel = 0; channel < kChannels; ++channel)
          source[i * kChannels + channel] = Source(pulled + i, channel);
      pulled += count;
    };
    std::vector<std::int16_t> device(std::size_t{period} * kChannels);
    std::vector<int> left;
    std::vector<int> right;
    double worstLeadMs = 0;
    while (left.size() < 48000) {
      output.Fill(device.data(), period, pull);
      for (std::uint32_t i = 0; i < period; ++i) {
        left.push_back(device[i * kChannels]);
        right.push_back(device[i * kChannels + 1]);
      }
      const double leadMs =
          (static_cast<double>(pulled) / 44100 - static_cast<double>(left.size()) / 48000) * 1000;
      worstLeadMs = std::max(worstLeadMs, leadMs);
    }
    EXPECT_TRUE(evenPulls);
    EXPECT_LT(worstLeadMs, 1.0);
    // Past the filter's start, the sine at its pitch and level, the level exactly.
    EXPECT_NEAR(ToneFrequency(left, 480, left.size(), kAmplitude / 4, 48000), kPitch, 0.05);
    int peak = 0;
    for (std::size_t i = 480; i < left.size(); ++i)
      peak = std::max(peak, std::abs(left[i]));
    EXPECT_NEAR(peak, kAmplitude, kAmplitude / 200.0);
    EXPECT_TRUE(std::all_of(right.begin() + 480, right.end(), [](int v) { return v == -1234; }));
  }
}

}  // namespace
