#include "platform/rate_converter.h"

#include <soxr.h>

#include <algorithm>
#include <type_traits>

template <class Sample>
TRateConverterOf<Sample>::TRateConverterOf(unsigned channels, double fromRate, double toRate)
    : channels_(channels), copies_(fromRate == toRate) {
  if (copies_) return;
  constexpr soxr_datatype_t kType = std::is_same_v<Sample, float> ? SOXR_FLOAT32_I : SOXR_INT16_I;
  // Dither would add noise to a steady level; the engine's values are whole numbers anyway.
  soxr_io_spec_t io = soxr_io_spec(kType, kType);
  io.flags |= SOXR_NO_DITHER;
  const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_LQ, 0);
  // One thread: the library's own worker threads would run beside the audio callback.
  const soxr_runtime_spec_t runtime = soxr_runtime_spec(1);
  soxr_error_t error = nullptr;
  converter_ = soxr_create(fromRate, toRate, channels, &error, &io, &quality, &runtime);
  if (error != nullptr) converter_ = nullptr;
}

template <class Sample>
TRateConverterOf<Sample>::~TRateConverterOf() {
  if (converter_ != nullptr) soxr_delete(converter_);
}

template <class Sample>
typename TRateConverterOf<Sample>::SConverted TRateConverterOf<Sample>::Convert(const Sample* in,
                                                                                std::size_t frames,
                                                                                Sample* out,
                                                                                std::size_t room) {
  SConverted converted;
  if (copies_) {
    converted.used = converted.produced = std::min(frames, room);
    std::copy_n(in, converted.used * channels_, out);
    return converted;
  }
  // A null input would tell the library that the stream has ended.
  static constexpr Sample kNoInput = 0;
  soxr_process(converter_, frames > 0 ? in : &kNoInput, frames, &converted.used, out, room,
               &converted.produced);
  return converted;
}

template class TRateConverterOf<std::int16_t>;
template class TRateConverterOf<float>;
