#include "engine/engine_scheduler.h"

#include <algorithm>
#include <utility>

TEngineScheduler::TEngineScheduler(TActiveWorks works, SEngineClock clock,
                                   std::shared_ptr<SEngineMeter> meter)
    : works_(std::move(works)), clock_(std::move(clock)), guard_(std::move(meter)) {}

void TEngineScheduler::Run() {
  Begin();
  while (IsRunning())
    RunSlice();
}

void TEngineScheduler::Begin() {
  guard_.Meter()->processorUsage.store(0, std::memory_order_relaxed);
  PrepareWorks(works_);
  startMs_ = clock_.nowMs();
  slicesRun_ = 0;
  extraSampleDue_ = true;
  countdown_ = kSlicesPerWindow;
  idleSum_ = 0;
  creditedIdle_ = 0;
  guard_.Reset();
}

void TEngineScheduler::RunSlice() {
  ProcessSamples(extraSampleDue_ ? kSamplesPerSlice + 1 : kSamplesPerSlice);
  extraSampleDue_ = !extraSampleDue_;
  KeepSchedule();
  Measure();
}

void TEngineScheduler::ProcessSamples(int count) {
  for (int i = 0; i < count; ++i)
    ProcessOneSample(works_);
}

void TEngineScheduler::KeepSchedule() {
  ++slicesRun_;
  const std::int64_t idle = startMs_ + kSliceMs * slicesRun_ - clock_.nowMs();
  if (idle >= 0) {
    creditedIdle_ = idle;
    clock_.sleepMs(idle);
  } else {
    // Late: no sleep, so the next slices run back to back until the schedule is met again.
    creditedIdle_ += idle;
  }
}

void TEngineScheduler::Measure() {
  if (countdown_ != 0) {
    --countdown_;
    idleSum_ += static_cast<float>(creditedIdle_);
    return;
  }
  // The clamp only keeps an absurd clock jump from overflowing the conversion.
  const float busyPercent = std::clamp((kWindowMs - idleSum_) * 100 / kWindowMs, -1e9f, 1e9f);
  JudgeUsage(static_cast<int>(busyPercent));
  countdown_ = kSlicesPerWindow;
  idleSum_ = 0;
}

void TEngineScheduler::JudgeUsage(int usage) {
  if (!guard_.OverLimit(usage)) return;
  guard_.Stop(running_, usage);
  clock_.sleepMs(kOverloadPauseMs);
}
