#include "platform/resampled_output.h"

namespace {

// Room beyond the converted frames of the largest pull, for a rounding of the filter's own.
constexpr std::uint32_t kCarrySpareFrames = 64;

}  // namespace

template <class Sample>
TResampledOutputOf<Sample>::TResampledOutputOf(unsigned channels, unsigned deviceRate)
    : channels_(channels),
      deviceRate_(deviceRate),
      carryFrames_(static_cast<std::uint32_t>(std::uint64_t{kMaxPullFrames} * deviceRate /
                                              kDeviceOutputRate) +
                   kCarrySpareFrames),
      converter_(channels, kDeviceOutputRate, deviceRate),
      source_(std::size_t{kMaxPullFrames} * channels),
      carry_(std::size_t{carryFrames_} * channels) {}

template <class Sample>
std::uint32_t TResampledOutputOf<Sample>::PullFrames(std::uint32_t deviceFrames) const {
  const std::uint64_t needed =
      (std::uint64_t{deviceFrames} * kDeviceOutputRate + deviceRate_ - 1) / deviceRate_;
  const auto even =
      static_cast<std::uint32_t>(std::min<std::uint64_t>(needed + needed % 2, kMaxPullFrames));
  return std::max<std::uint32_t>(even, 2);
}

template class TResampledOutputOf<std::int16_t>;
template class TResampledOutputOf<float>;
