#include "platform/rate_converter.h"

#include <soxr.h>

TRateConverter::TRateConverter(unsigned channels, double fromRate, double toRate) {
  // Dither would add noise to a steady level; the engine's values are whole numbers anyway.
  soxr_io_spec_t io = soxr_io_spec(SOXR_INT16_I, SOXR_INT16_I);
  io.flags |= SOXR_NO_DITHER;
  const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_LQ, 0);
  // One thread: the library's own worker threads would run beside the audio callback.
  const soxr_runtime_spec_t runtime = soxr_runtime_spec(1);
  soxr_error_t error = nullptr;
  converter_ = soxr_create(fromRate, toRate, channels, &error, &io, &quality, &runtime);
  if (error != nullptr) converter_ = nullptr;
}

TRateConverter::~TRateConverter() {
  if (converter_ != nullptr) soxr_delete(converter_);
}

TRateConverter::SConverted TRateConverter::Convert(const std::int16_t* in, std::size_t frames,
                                                   std::int16_t* out, std::size_t room) {
  SConverted converted;
  // A null input would tell the library that the stream has ended.
  static constexpr std::int16_t kNoInput = 0;
  soxr_process(converter_, frames > 0 ? in : &kNoInput, frames, &converted.used, out, room,
               &converted.produced);
  return converted;
}
