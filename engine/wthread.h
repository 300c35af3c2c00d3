// A thread with a virtual body. The engine thread and the wave-output threads derive from it.
//
// A thread that does not end when asked is abandoned rather than killed. So that it can never
// touch freed memory, a running thread owns a share of its TWThread object: create every
// TWThread with std::make_shared and keep whatever Run reads inside (or owned by) that object.
#pragma once

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

class TWThread : public std::enable_shared_from_this<TWThread> {
 public:
  // Scheduling priorities in the platform's terms: highest for output threads, time-critical for
  // the engine thread.
  static constexpr int kPriorityHighest = 2;
  static constexpr int kPriorityTimeCritical = 15;

  TWThread() = default;
  TWThread(const TWThread&) = delete;
  TWThread& operator=(const TWThread&) = delete;
  virtual ~TWThread();

  // Starts a thread running Run. False when the system cannot create it, when a thread is already
  // there, or when the object is not owned by a std::shared_ptr.
  bool Start();
  // Asks for real-time scheduling; true only when a thread exists and the system granted it. A
  // refusal is harmless: the thread keeps the default policy.
  bool SetPriority(int priority);
  // Waits until Run has returned, at most `timeout`. True when it has.
  bool WaitFor(std::chrono::milliseconds timeout);
  // Lets a thread that did not end go its own way; it keeps this object alive until it ends.
  void Abandon();

 protected:
  virtual void Run() = 0;

 private:
  void MarkEnded();

  std::thread thread_;
  std::mutex endMutex_;
  std::condition_variable endSignal_;
  bool ended_ = false;
};
