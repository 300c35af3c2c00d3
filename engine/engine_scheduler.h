// The engine thread's loop: slices of 10 ms of samples (221 and 220 in turn, 22050 a second),
// paced against an absolute schedule so that lateness never accumulates, and an overload guard
// that stops the sound when the computer cannot keep up for about a second.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "engine/active_works.h"
#include "engine/engine_clock.h"
#include "engine/overload_guard.h"

class TEngineScheduler {
 public:
  static constexpr int kSamplesPerSlice = 220;
  static constexpr std::int64_t kSliceMs = 10;
  // Slices credited per measurement; the slice after them measures.
  static constexpr int kSlicesPerWindow = 15;
  static constexpr float kWindowMs = kSlicesPerWindow * kSliceMs;
  static constexpr std::int64_t kOverloadPauseMs = 500;

  TEngineScheduler(TActiveWorks works, SEngineClock clock, std::shared_ptr<SEngineMeter> meter);

  // The whole engine thread: Begin, then slices until stopped.
  void Run();
  // Zeroes the usage, prepares the work objects and starts the schedule now.
  void Begin();
  // Computes one slice of samples, sleeps until its deadline and measures when due.
  void RunSlice();

  bool IsRunning() const { return running_.load(std::memory_order_relaxed); }
  // Any thread: the loop ends after the current slice.
  void RequestStop() { running_.store(false, std::memory_order_relaxed); }
  const TActiveWorks& Works() const { return works_; }

 private:
  void ProcessSamples(int count);
  void KeepSchedule();
  void Measure();
  void JudgeUsage(int usage);

  const TActiveWorks works_;
  const SEngineClock clock_;
  TOverloadGuard guard_;
  std::atomic<bool> running_{true};

  std::int64_t startMs_ = 0;
  std::int64_t slicesRun_ = 0;
  bool extraSampleDue_ = true;  // the first slice of every pair has 221 samples
  int countdown_ = kSlicesPerWindow;
  float idleSum_ = 0;
  // Idle time of the last slice in ms; while late it keeps falling by each slice's lateness.
  std::int64_t creditedIdle_ = 0;
};
