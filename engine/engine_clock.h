// The millisecond clock and the sleep the engine paces itself with. Tests replace both to drive
// the slice schedule deterministically.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <thread>

struct SEngineClock {
  // Milliseconds of a monotonic clock; only differences matter.
  std::function<std::int64_t()> nowMs = [] {
    const auto sinceEpoch = std::chrono::steady_clock::now().time_since_epoch();
    return std::int64_t{std::chrono::duration_cast<std::chrono::milliseconds>(sinceEpoch).count()};
  };
  std::function<void(std::int64_t)> sleepMs = [](std::int64_t milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  };
};
