#include "engine/engine_scheduler.h"

#include <algorithm>
#include <utility>

TEngineScheduler::TEngineScheduler(TActiveWorks works, SEngineClock clock,
                                   std::shared_ptr<SEngineMeter> meter)
    : works_(std::move(works)), clock_(std::move(clock)), meter_(std::move(meter)) {}

void TEngineScheduler::Run() {
  Begin();
  while (IsRunning())
    RunSlice();
}

void TEngineScheduler::Begin() {
  meter_->processorUsage.store(0, std::memory_order_relaxed);
  PrepareWorks(works_);
  startMs_ = clock_.nowMs();
  slicesRun_ = 0;
  extraSampleDue_ = true;
  countdown_ = kSlicesPerWindow;
  idleSum_ = 0;
  creditedIdle_ = 0;
  strikes_ = 0;
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
  if (usage < 0) {
    // A clock that jumped backwards: shown as 0 and neither a strike nor a good measurement.
    meter_->processorUsage.store(0, std::memory_order_relaxed);
    return;
  }
  meter_->processorUsage.store(usage, std::memory_order_relaxed);
  if (usage <= meter_->processorLimit.load(std::memory_order_relaxed)) {
    strikes_ = 0;
    return;
  }
  if (strikes_++ < kToleratedStrikes) return;
  // Only the first stop is reported: after a stop from the GUI nobody needs the message.
  if (running_.exchange(false, std::memory_order_relaxed)) {
    meter_->overloadUsage.store(usage, std::memory_order_relaxed);
    meter_->overloaded.store(true, std::memory_order_release);
  }
  clock_.sleepMs(kOverloadPauseMs);
}
