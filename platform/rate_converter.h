// 16-bit interleaved frames converted from one rate to another, for the sound card streams of a
// device that runs at another rate than the engine's: a low-delay band-limited filter of
// libsoxr (its "low quality" recipe, about 0.5 ms and a few tenths of a per cent of a processor
// for stereo), chosen over libsamplerate's fastest filter, whose delay is the same at about
// seven times the cost. All memory is taken at construction, so that an audio callback converts
// without allocating.
#pragma once

#include <cstddef>
#include <cstdint>

struct soxr;

// The device rate, other than their own, at which the speakers and microphones play and record.
inline constexpr unsigned kConvertedDeviceRate = 48000;

class TRateConverter {
 public:
  TRateConverter(unsigned channels, double fromRate, double toRate);
  ~TRateConverter();
  TRateConverter(const TRateConverter&) = delete;
  TRateConverter& operator=(const TRateConverter&) = delete;

  // False when the library could not be set up (no memory).
  bool IsReady() const { return converter_ != nullptr; }

  struct SConverted {
    std::size_t used = 0;      // frames of the input taken
    std::size_t produced = 0;  // frames written to the output
  };
  // Takes input frames and writes at most `room` converted frames; what it holds back (the
  // filter's look-ahead, or output that did not fit) comes with a later call.
  SConverted Convert(const std::int16_t* in, std::size_t frames, std::int16_t* out,
                     std::size_t room);

 private:
  soxr* converter_ = nullptr;
};
