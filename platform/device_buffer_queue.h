// The buffers an audio stream works through, in the order they were handed over. One thread adds
// them (the wave-output thread, or the engine thread for a microphone), the device's callback
// plays or fills them piece by piece, and Reset or Close take back whatever is left. The
// callback never waits: while Reset or Close hold the queue, it skips its turn.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <utility>

#include "engine/fifo.h"
#include "engine/wave_buffer.h"

class TDeviceBufferQueue {
 public:
  // More than a driver ever hands over at once (four output or twenty input buffers).
  static constexpr std::size_t kCapacity = 32;

  // Producer side. False when kCapacity buffers wait already; the buffer is then not taken.
  bool Add(SWaveHeader& header) { return pending_.Push(&header); }

  // Device callback. Moves up to `bytes` bytes between the device and the buffers in order:
  // move(header, bufferOffset, deviceOffset, count) for each piece, finished(header) for every
  // buffer worked through to its end. Returns the bytes moved; 0 while Reset or Close hold the
  // queue.
  template <class Move, class Finished>
  std::size_t Transfer(std::size_t bytes, Move move, Finished finished) {
    const std::unique_lock lock(mutex_, std::try_to_lock);
    if (!lock.owns_lock()) return 0;
    std::size_t moved = 0;
    while (moved < bytes && (current_ != nullptr || pending_.Pop(current_))) {
      const std::size_t count =
          std::min<std::size_t>(bytes - moved, current_->bufferLength - offset_);
      move(*current_, offset_, moved, count);
      moved += count;
      offset_ += static_cast<std::uint32_t>(count);
      if (offset_ == current_->bufferLength) {
        offset_ = 0;
        finished(*std::exchange(current_, nullptr));
      }
    }
    transferred_.store(transferred_.load(std::memory_order_relaxed) + moved,
                       std::memory_order_relaxed);
    return moved;
  }

  // Bytes moved since construction or the last TakeBack.
  std::uint64_t Transferred() const { return transferred_.load(std::memory_order_relaxed); }

  // Not for the device callback. Takes every buffer off the queue, the one begun first, calling
  // each(header) for it, and counts the bytes moved from 0 again.
  template <class Each>
  void TakeBack(Each each) {
    const std::lock_guard lock(mutex_);
    offset_ = 0;
    if (current_ != nullptr) each(*std::exchange(current_, nullptr));
    SWaveHeader* header = nullptr;
    while (pending_.Pop(header))
      each(*header);
    transferred_.store(0, std::memory_order_relaxed);
  }

 private:
  std::mutex mutex_;
  TFIFO<SWaveHeader*, kCapacity> pending_;
  // Below: only touched under `mutex_`.
  SWaveHeader* current_ = nullptr;
  std::uint32_t offset_ = 0;  // bytes of `current_` already moved
  std::atomic<std::uint64_t> transferred_{0};
};
