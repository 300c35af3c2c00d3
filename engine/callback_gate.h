// The hand-over between the thread that starts and stops (the GUI thread) and a device's callback
// thread (an audio device's, or a MIDI port's, which on JACK are the server's real-time process
// threads), made so that the callback never waits. The controlling thread opens the gate once
// everything the callback uses is in place; closing returns once every callback that found the
// gate open has left, so that the controlling thread may then change or free what they used. A
// callback that finds the gate closed does nothing. The callback's side is an atomic increment, a
// load and a decrement: it never blocks, however long a start or stop takes.
#pragma once

#include <atomic>
#include <chrono>
#include <thread>

class TCallbackGate {
 public:
  // Callback thread: held for the whole callback.
  class TPass {
   public:
    explicit TPass(TCallbackGate& gate) : gate_(gate) {
      // The callback counts itself in before it looks at the gate, and the closer looks at the
      // count after it closed the gate, all sequentially consistent: one of the two always sees
      // the other.
      gate_.inside_.fetch_add(1);
      open_ = gate_.open_.load();
    }
    ~TPass() { gate_.inside_.fetch_sub(1); }
    TPass(const TPass&) = delete;
    TPass& operator=(const TPass&) = delete;

    // Whether the callback may use what the gate guards.
    bool Open() const { return open_; }

   private:
    TCallbackGate& gate_;
    bool open_ = false;
  };

  // Controlling thread.
  void Open() { open_.store(true); }
  bool IsOpen() const { return open_.load(); }
  // Closes the gate; true once no callback is inside any more, false when one still was after
  // `limit` (the gate stays closed, but what the callback uses must stay too).
  bool Close(std::chrono::milliseconds limit) {
    open_.store(false);
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (inside_.load() != 0) {
      if (std::chrono::steady_clock::now() >= deadline) return false;
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return true;
  }
  // Closes the gate and waits as long as a callback is inside.
  void Close() {
    while (!Close(std::chrono::hours(1))) {
    }
  }

 private:
  std::atomic<bool> open_{false};
  std::atomic<int> inside_{0};  // callbacks between their pass's construction and destruction
};
