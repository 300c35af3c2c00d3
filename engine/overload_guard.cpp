#include "engine/overload_guard.h"

bool TOverloadGuard::OverLimit(int usage) {
  if (usage < 0) {
    meter_->processorUsage.store(0, std::memory_order_relaxed);
    return false;
  }
  meter_->processorUsage.store(usage, std::memory_order_relaxed);
  if (usage <= meter_->processorLimit.load(std::memory_order_relaxed)) {
    strikes_ = 0;
    return false;
  }
  return strikes_++ >= kToleratedStrikes;
}

void TOverloadGuard::Stop(std::atomic<bool>& running, int usage) {
  if (!running.exchange(false, std::memory_order_relaxed)) return;
  meter_->overloadUsage.store(usage, std::memory_order_relaxed);
  meter_->overloaded.store(true, std::memory_order_release);
}
