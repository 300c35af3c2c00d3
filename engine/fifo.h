// A fixed ring queue between two threads: one thread pushes, one pops, neither blocks and
// nothing is allocated after construction. A push into a full queue is dropped, so a producer
// that runs ahead (a device callback, an output thread) can never overwrite unread entries.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>

template <class T, std::size_t N>
class TFIFO {
  static_assert(N > 0, "a queue holds at least one entry");

 public:
  // Producer side. Returns false when the queue is full and the entry was dropped.
  bool Push(const T& entry) {
    const std::size_t written = written_.load(std::memory_order_relaxed);
    if (written - read_.load(std::memory_order_acquire) >= N) return false;
    entries_[written % N] = entry;
    written_.store(written + 1, std::memory_order_release);
    return true;
  }

  // Consumer side. Returns false when the queue is empty and leaves `entry` untouched.
  bool Pop(T& entry) {
    const std::size_t read = read_.load(std::memory_order_relaxed);
    if (written_.load(std::memory_order_acquire) == read) return false;
    entry = entries_[read % N];
    read_.store(read + 1, std::memory_order_release);
    return true;
  }

  // Number of entries held; exact only when neither side is running concurrently.
  std::size_t Count() const {
    return written_.load(std::memory_order_acquire) - read_.load(std::memory_order_acquire);
  }

  // Empties the queue. Call only while no other thread pushes or pops.
  void Clear() {
    written_.store(0, std::memory_order_relaxed);
    read_.store(0, std::memory_order_relaxed);
  }

 private:
  std::array<T, N> entries_{};
  // Running totals of pushed and popped entries; their difference is the count held.
  std::atomic<std::size_t> written_{0};
  std::atomic<std::size_t> read_{0};
};
