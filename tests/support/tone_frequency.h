// The pitch of a plain tone in a recording, from its zero crossings.
#pragma once

#include <cstddef>
#include <vector>

// Upward zero crossings per second over samples [from, to) of a recording at 44100 Hz. With a
// `margin`, a crossing counts only from below -margin to margin and above, so that a single
// stray sample near 0 adds none.
template <class Sample>
double ToneFrequency(const std::vector<Sample>& samples, std::size_t from, std::size_t to,
                     int margin = 0) {
  int crossings = 0;
  bool below = false;
  for (std::size_t i = from; i < to; ++i) {
    if (samples[i] < -margin) {
      below = true;
    } else if (below && samples[i] >= margin) {
      below = false;
      ++crossings;
    }
  }
  return crossings * 44100.0 / static_cast<double>(to - from);
}
