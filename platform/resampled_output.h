// The speakers' side of a device that runs at another rate than 44100 Hz, and the plugin's output
// at the host's rate: each device period is filled from the stream's own 44100 Hz frames, pulled
// in even numbers (whole engine samples, as the low-latency engine computes them) just as many as
// the period needs, and converted. The few converted frames a period leaves over open the next
// one; the delay added is the filter's and those frames'.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "engine/wave_format.h"
#include "platform/rate_converter.h"

// Sample is std::int16_t or float.
template <class Sample>
class TResampledOutputOf {
 public:
  // 44100 Hz frames pulled at most at once.
  static constexpr std::uint32_t kMaxPullFrames = 512;

  TResampledOutputOf(unsigned channels, unsigned deviceRate);

  bool IsReady() const { return converter_.IsReady(); }

  // Device callback: `frames` device frames into `out`. pull(source, count) writes `count`
  // frames (an even number, at most kMaxPullFrames) at 44100 Hz to `source`.
  template <class Pull>
  void Fill(Sample* out, std::uint32_t frames, Pull pull) {
    while (frames > 0) {
      if (carryBegin_ == carryEnd_) Refill(PullFrames(frames), pull);
      const std::uint32_t count = std::min<std::uint32_t>(frames, carryEnd_ - carryBegin_);
      std::copy_n(carry_.begin() + std::ptrdiff_t{carryBegin_} * channels_, count * channels_, out);
      out += std::size_t{count} * channels_;
      carryBegin_ += count;
      frames -= count;
    }
  }

 private:
  // 44100 Hz frames for `deviceFrames` frames at the device's rate, rounded up to even.
  std::uint32_t PullFrames(std::uint32_t deviceFrames) const;

  template <class Pull>
  void Refill(std::uint32_t sourceFrames, Pull pull) {
    pull(source_.data(), sourceFrames);
    const typename TRateConverterOf<Sample>::SConverted converted =
        converter_.Convert(source_.data(), sourceFrames, carry_.data(), carryFrames_);
    carryBegin_ = 0;
    carryEnd_ = static_cast<std::uint32_t>(converted.produced);
  }

  const unsigned channels_;
  const unsigned deviceRate_;
  const std::uint32_t carryFrames_;
  TRateConverterOf<Sample> converter_;
  // The device callback only.
  std::vector<Sample> source_;
  std::vector<Sample> carry_;
  std::uint32_t carryBegin_ = 0;
  std::uint32_t carryEnd_ = 0;
};

using TResampledOutput = TResampledOutputOf<std::int16_t>;

extern template class TResampledOutputOf<std::int16_t>;
extern template class TResampledOutputOf<float>;
