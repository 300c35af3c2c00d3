// The pitch of a plain tone in a recording, from its zero crossings.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

// The pitch over samples [from, to) of a recording at `rate` Hz: the rate over the median time
// between upward zero crossings, each placed between its two samples. With a `margin`, a crossing
// counts only from below -margin to margin and above, so that a single stray sample near 0 adds
// none. The median ignores the odd long cycle of a dropout on a busy machine; 0 without two
// crossings.
template <class Sample>
double ToneFrequency(const std::vector<Sample>& samples, std::size_t from, std::size_t to,
                     int margin = 0, double rate = 44100) {
  std::vector<double> crossings;
  bool below = false;
  double candidate = 0;
  for (std::size_t i = std::max<std::size_t>(from, 1); i < to; ++i) {
    const double previous = samples[i - 1];
    const double current = samples[i];
    if (previous < 0 && current >= 0)
      candidate = static_cast<double>(i - 1) + previous / (previous - current);
    if (current < -margin) {
      below = true;
    } else if (below && current >= margin) {
      below = false;
      crossings.push_back(candidate);
    }
  }
  if (crossings.size() < 2) return 0;
  std::vector<double> periods(crossings.size() - 1);
  for (std::size_t i = 0; i + 1 < crossings.size(); ++i)
    periods[i] = crossings[i + 1] - crossings[i];
  std::nth_element(periods.begin(), periods.begin() + periods.size() / 2, periods.end());
  return rate / periods[periods.size() / 2];
}
