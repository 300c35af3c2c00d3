// The engine thread of one playing sound. It owns shares of everything it touches (the work
// objects, the record block and the binding's arena), so that a thread abandoned because it did not
// stop in time can never reach freed memory, whatever happens to the document afterwards.
#pragma once

#include <array>
#include <chrono>
#include <memory>
#include <mutex>

#include "engine/bind_arena.h"
#include "engine/engine_scheduler.h"
#include "engine/speicher.h"
#include "engine/work_factory.h"
#include "engine/wthread.h"

using TWorkSet = std::array<std::unique_ptr<TWorkBasisklassen>, kWorkTypeCount>;

class TEngineThread : public TWThread {
 public:
  TEngineThread(std::shared_ptr<TWorkSet> works, std::shared_ptr<TSpeicher> records,
                std::shared_ptr<TBindArena> arena, TActiveWorks activeWorks, SEngineClock clock,
                std::shared_ptr<SEngineMeter> meter);

  TEngineScheduler& Scheduler() { return scheduler_; }

  // GUI thread, after RequestStop: true when the thread ended within `timeout`. Otherwise the
  // thread is abandoned; it calls StopWork itself if it ever ends, so StopWork never runs while a
  // kernel of the same work object is still computing.
  bool EndWithin(std::chrono::milliseconds timeout);

 protected:
  void Run() override;

 private:
  const std::shared_ptr<TWorkSet> works_;
  const std::shared_ptr<TSpeicher> records_;
  const std::shared_ptr<TBindArena> arena_;
  TEngineScheduler scheduler_;
  std::mutex handOver_;
  bool loopEnded_ = false;
  bool abandoned_ = false;
};
