// SIGINT and SIGTERM as a request to stop, taken by the main thread when it is ready for them
// rather than in a signal handler: the object blocks them (and the wake-up signal) in the thread
// that makes it, every thread started after that inherits the block, and Wait takes them.
#pragma once

#include <pthread.h>
#include <signal.h>

#include <chrono>

class TStopSignals {
 public:
  enum class EWake { Timeout, Stop, Woken };

  // Construct on the main thread before any other thread starts.
  TStopSignals();
  // Unblocks the signals again; one that arrived unawaited then acts as usual.
  ~TStopSignals();
  TStopSignals(const TStopSignals&) = delete;
  TStopSignals& operator=(const TStopSignals&) = delete;

  // Waits up to `limit` for a stop signal or a Wake; a limit of 0 only takes one that is pending.
  EWake Wait(std::chrono::milliseconds limit);
  // The stop signal a Wait took, or 0.
  int Taken() const { return taken_; }
  // Any thread, and safe where nothing may block: ends the waiting thread's current or next Wait.
  void Wake() const;

 private:
  sigset_t signals_{};
  sigset_t previous_{};
  pthread_t waiter_;
  int taken_ = 0;
};
