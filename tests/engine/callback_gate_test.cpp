// The gate between starting and stopping and a device's callback: a callback never waits for the
// controlling thread, not even while a close is waiting for another callback to leave, and once a
// close has returned no callback uses what the gate guards.
#include "engine/callback_gate.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

using namespace std::chrono_literals;

// Polls `condition` until it holds or ten seconds passed.
template <class TCondition>
bool Eventually(TCondition condition) {
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(1ms);
  }
  return true;
}

TEST(CallbackGate, ACallbackNeverWaitsForAClosePendingOnAnother) {
  TCallbackGate gate;
  gate.Open();
  std::atomic<bool> inside{false};
  std::atomic<bool> hold{true};
  std::thread slow([&] {
    const TCallbackGate::TPass pass(gate);
    EXPECT_TRUE(pass.Open());
    inside.store(true);
    while (hold.load())
      std::this_thread::yield();
  });
  ASSERT_TRUE(Eventually([&] { return inside.load(); }));

  std::atomic<bool> closed{false};
  std::thread closer([&] {
    gate.Close();
    closed.store(true);
  });
  ASSERT_TRUE(Eventually([&] { return !gate.IsOpen(); }));
  // A message arriving now finds the gate closed and returns at once, although the close still
  // waits for the slow callback; a lock held by the closer would keep it waiting here.
  std::atomic<bool> passed{false};
  std::thread next([&] {
    const TCallbackGate::TPass pass(gate);
    EXPECT_FALSE(pass.Open());
    passed.store(true);
  });
  EXPECT_TRUE(Eventually([&] { return passed.load(); }));
  EXPECT_FALSE(closed.load()) << "the close returned while a callback was inside";

  hold.store(false);
  slow.join();
  closer.join();
  next.join();
  EXPECT_TRUE(closed.load());
}

TEST(CallbackGate, NothingGuardedIsUsedOnceACloseReturned) {
  TCallbackGate gate;
  int guarded = 0;  // written by the controlling thread only while the gate is closed
  std::atomic<bool> stop{false};
  std::thread callback([&] {
    while (!stop.load()) {
      const TCallbackGate::TPass pass(gate);
      if (pass.Open()) {
        EXPECT_EQ(guarded % 2, 1);
      }
    }
  });
  for (int round = 0; round < 2000; ++round) {
    ++guarded;  // odd: in place
    gate.Open();
    gate.Close();
    ++guarded;  // even: taken away
  }
  stop.store(true);
  callback.join();
}

}  // namespace
