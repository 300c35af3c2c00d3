#include "engine/engine_thread.h"

#include <utility>

TEngineThread::TEngineThread(std::shared_ptr<TWorkSet> works, std::shared_ptr<TSpeicher> records,
                             std::shared_ptr<TBindArena> arena, TActiveWorks activeWorks,
                             SEngineClock clock, std::shared_ptr<SEngineMeter> meter)
    : works_(std::move(works)),
      records_(std::move(records)),
      arena_(std::move(arena)),
      scheduler_(std::move(activeWorks), std::move(clock), std::move(meter)) {}

bool TEngineThread::EndWithin(std::chrono::milliseconds timeout) {
  if (WaitFor(timeout)) return true;
  {
    std::lock_guard lock(handOver_);
    if (!loopEnded_) {
      abandoned_ = true;
      Abandon();
      return false;
    }
  }
  // The loop ended just after the deadline; the thread is only returning now.
  return WaitFor(timeout);
}

void TEngineThread::Run() {
  scheduler_.Run();
  std::lock_guard lock(handOver_);
  loopEnded_ = true;
  if (abandoned_) {
    for (TWorkBasisklassen* work : scheduler_.Works())
      work->StopWork();
  }
}
