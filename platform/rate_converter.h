// Interleaved frames converted from one rate to another, for the sound card streams of a device
// that runs at another rate than the engine's (16-bit samples) and for the plugin's output at the
// host's rate (float samples): a low-delay band-limited filter of libsoxr (its "low quality"
// recipe, about 0.5 ms and a few tenths of a per cent of a processor for stereo), chosen over
// libsamplerate's fastest filter, whose delay is the same at about seven times the cost. Equal
// rates copy the frames as they are. All memory is taken at construction, so that an audio
// callback converts without allocating.
#pragma once

#include <cstddef>
#include <cstdint>

struct soxr;

// The device rate, other than their own, at which the speakers and microphones play and record.
inline constexpr unsigned kConvertedDeviceRate = 48000;

// Sample is std::int16_t or float.
template <class Sample>
class TRateConverterOf {
 public:
  TRateConverterOf(unsigned channels, double fromRate, double toRate);
  ~TRateConverterOf();
  TRateConverterOf(const TRateConverterOf&) = delete;
  TRateConverterOf& operator=(const TRateConverterOf&) = delete;

  // False when the library could not be set up (no memory).
  bool IsReady() const { return converter_ != nullptr || copies_; }

  struct SConverted {
    std::size_t used = 0;      // frames of the input taken
    std::size_t produced = 0;  // frames written to the output
  };
  // Takes input frames and writes at most `room` converted frames; what it holds back (the
  // filter's look-ahead, or output that did not fit) comes with a later call.
  SConverted Convert(const Sample* in, std::size_t frames, Sample* out, std::size_t room);

 private:
  const unsigned channels_;
  const bool copies_;
  soxr* converter_ = nullptr;
};

using TRateConverter = TRateConverterOf<std::int16_t>;

extern template class TRateConverterOf<std::int16_t>;
extern template class TRateConverterOf<float>;
