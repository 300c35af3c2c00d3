#include "cli/stop_signals.h"

#include <algorithm>
#include <cerrno>

namespace {

// Sent to the waiting thread alone, so no other thread's signal mask matters.
constexpr int kWakeSignal = SIGUSR1;

}  // namespace

TStopSignals::TStopSignals() : waiter_(pthread_self()) {
  sigemptyset(&signals_);
  sigaddset(&signals_, SIGINT);
  sigaddset(&signals_, SIGTERM);
  sigaddset(&signals_, kWakeSignal);
  pthread_sigmask(SIG_BLOCK, &signals_, &previous_);
}

TStopSignals::~TStopSignals() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }

TStopSignals::EWake TStopSignals::Wait(std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    const auto left =
        std::max(std::chrono::nanoseconds(0), std::chrono::duration_cast<std::chrono::nanoseconds>(
                                                  deadline - std::chrono::steady_clock::now()));
    const timespec timeout{static_cast<time_t>(left.count() / 1'000'000'000),
                           static_cast<long>(left.count() % 1'000'000'000)};
    const int signal = sigtimedwait(&signals_, nullptr, &timeout);
    if (signal == kWakeSignal) return EWake::Woken;
    if (signal >= 0) {
      taken_ = signal;
      return EWake::Stop;
    }
    // EINTR: another signal's handler ran; wait on for the rest of the time.
    if (errno == EAGAIN) return EWake::Timeout;
  }
}

void TStopSignals::Wake() const { pthread_kill(waiter_, kWakeSignal); }
