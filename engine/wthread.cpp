#include "engine/wthread.h"

#include <pthread.h>
#include <sched.h>

#include <algorithm>
#include <system_error>

namespace {

// Maps the two platform priorities onto the SCHED_FIFO range, time-critical above highest.
int FifoPriorityFor(int priority) {
  const int lowest = sched_get_priority_min(SCHED_FIFO);
  const int highest = sched_get_priority_max(SCHED_FIFO);
  const int wanted = priority >= TWThread::kPriorityTimeCritical ? highest - 1 : highest / 2;
  return std::clamp(wanted, lowest, highest);
}

}  // namespace

TWThread::~TWThread() {
  if (!thread_.joinable()) return;
  // The last share may be dropped by the thread itself as it ends; it cannot join itself.
  if (thread_.get_id() == std::this_thread::get_id()) {
    thread_.detach();
  } else {
    thread_.join();
  }
}

bool TWThread::Start() {
  std::shared_ptr<TWThread> self = weak_from_this().lock();
  if (self == nullptr || thread_.joinable()) return false;
  ended_ = false;
  try {
    thread_ = std::thread([self] {
      self->Run();
      self->MarkEnded();
    });
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

bool TWThread::SetPriority(int priority) {
  if (!thread_.joinable()) return false;
  sched_param parameters{};
  parameters.sched_priority = FifoPriorityFor(priority);
  return pthread_setschedparam(thread_.native_handle(), SCHED_FIFO, &parameters) == 0;
}

bool TWThread::WaitFor(std::chrono::milliseconds timeout) {
  if (!thread_.joinable()) return true;
  std::unique_lock lock(endMutex_);
  if (!endSignal_.wait_for(lock, timeout, [this] { return ended_; })) return false;
  lock.unlock();
  thread_.join();
  return true;
}

void TWThread::Abandon() {
  if (thread_.joinable()) thread_.detach();
}

void TWThread::MarkEnded() {
  std::lock_guard lock(endMutex_);
  ended_ = true;
  endSignal_.notify_all();
}
