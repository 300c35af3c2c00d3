// A lock for data that more than one non-engine thread touches (the wave-output queue, the MIDI
// listener list). The engine thread never takes it.
#pragma once

#include <mutex>

class TCriticalSection {
 public:
  void Enter() { mutex_.lock(); }
  void Leave() { mutex_.unlock(); }

  // Makes the class usable with std::lock_guard / std::unique_lock.
  void lock() { Enter(); }
  void unlock() { Leave(); }

 private:
  std::mutex mutex_;
};
