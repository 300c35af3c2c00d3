// How the scope and volume-view kernels hand their results to the GUI: they publish into shared
// blocks through atomics and never call out of the engine; the GUI thread reads the blocks on its
// own timer (the sound document's poll) and tells the modules there.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

// The volume view's level reaches its panel as this window message, the level as first
// parameter and 0 as second.
inline constexpr int kMessageVolumeLevel = 6789;

// A fixed ring of level reports from the engine thread (the only writer of `written`) to the
// GUI thread (the only writer of `read`). Reports not yet taken count as pending.
class TLevelMailbox {
 public:
  // The volume view sends no report while three wait; one more place keeps the final report of
  // a stop.
  static constexpr std::uint32_t kSlots = 4;

  // Engine thread. False (and nothing sent) when every place is taken.
  bool Post(std::int32_t level) {
    const std::uint32_t written = written_.load(std::memory_order_relaxed);
    if (written - read_.load(std::memory_order_acquire) >= kSlots) return false;
    levels_[written % kSlots].store(level, std::memory_order_relaxed);
    written_.store(written + 1, std::memory_order_release);
    return true;
  }
  // GUI thread. The oldest report not taken yet; false when there is none.
  bool Take(std::int32_t& level) {
    const std::uint32_t read = read_.load(std::memory_order_relaxed);
    if (read == written_.load(std::memory_order_acquire)) return false;
    level = levels_[read % kSlots].load(std::memory_order_relaxed);
    read_.store(read + 1, std::memory_order_release);
    return true;
  }
  // Any thread: reports sent and not taken yet.
  std::uint32_t Pending() const {
    return written_.load(std::memory_order_acquire) - read_.load(std::memory_order_acquire);
  }

 private:
  std::array<std::atomic<std::int32_t>, kSlots> levels_{};
  std::atomic<std::uint32_t> written_{0};
  std::atomic<std::uint32_t> read_{0};
};
