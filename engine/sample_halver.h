// 44100 Hz to 22050 Hz for the microphones: each pair of samples becomes their mean. The input
// comes in pieces of any length, so a pair may span two of them.
#pragma once

#include <cstddef>
#include <cstdint>

class TSampleHalver {
 public:
  // Forgets a half pair held from before.
  void Reset() { halfPending_ = false; }

  // Writes the means of the pairs completed by `count` samples to `out`, which holds at least
  // (count + 1) / 2, and returns how many.
  std::size_t Halve(const std::int16_t* samples, std::size_t count, std::int16_t* out) {
    std::size_t produced = 0;
    for (std::size_t i = 0; i < count; ++i) {
      if (!halfPending_) {
        half_ = samples[i];
        halfPending_ = true;
        continue;
      }
      halfPending_ = false;
      out[produced++] = static_cast<std::int16_t>((half_ + samples[i]) / 2);
    }
    return produced;
  }

 private:
  bool halfPending_ = false;
  std::int32_t half_ = 0;
};
