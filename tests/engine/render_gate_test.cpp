// The hand-over of the low-latency engine to an audio callback: once Remove has returned true, no
// callback is or will be inside the renderer, however the two threads interleave.
#include "engine/render_gate.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

using namespace std::chrono_literals;

class TFlagRenderer : public TWaveOutRenderer {
 public:
  void Render(std::byte*, const std::int16_t*, std::uint32_t) override {
    inside.store(true);
    while (hold.load())
      std::this_thread::yield();
    renders.fetch_add(1);
    inside.store(false);
  }
  std::atomic<bool> inside{false};
  std::atomic<bool> hold{false};
  std::atomic<int> renders{0};
};

TEST(RenderGate, RemoveWaitsForTheCallbackToLeaveAndGivesUpAfterItsLimit) {
  TRenderGate gate;
  TFlagRenderer renderer;
  EXPECT_FALSE(gate.Render(nullptr, nullptr, 0));
  gate.Install(renderer);
  renderer.hold.store(true);
  std::thread callback([&] { EXPECT_TRUE(gate.Render(nullptr, nullptr, 0)); });
  while (!renderer.inside.load())
    std::this_thread::yield();
  EXPECT_FALSE(gate.Remove(20ms));
  renderer.hold.store(false);
  EXPECT_TRUE(gate.Remove(2s));
  callback.join();
  EXPECT_FALSE(gate.Render(nullptr, nullptr, 0));
  EXPECT_EQ(renderer.renders.load(), 1);
}

TEST(RenderGate, NoCallbackReachesARendererAfterItsRemoval) {
  TRenderGate gate;
  std::atomic<bool> stop{false};
  std::thread callback([&] {
    while (!stop.load())
      gate.Render(nullptr, nullptr, 0);
  });
  for (int round = 0; round < 2000; ++round) {
    TFlagRenderer renderer;
    gate.Install(renderer);
    ASSERT_TRUE(gate.Remove(2s));
    const int renders = renderer.renders.load();
    std::this_thread::yield();
    ASSERT_EQ(renderer.renders.load(), renders) << round;
  }
  stop.store(true);
  callback.join();
}

}  // namespace
