#include "engine/delay_kernel.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "tests/engine/kernel_rig.h"

namespace {

TEST(DelayKernel, LengthFollowsTheControlWithinTheBuffer) {
  struct SCase {
    std::int32_t control, maxLength, expected;
  } const cases[] = {
      {2048, 4410, 4410},    {1024, 4410, 2205}, {-1024, 4410, 2205}, {4096, 4410, 4410},
      {0, 4410, 41},         {1, 4410, 2},       {0, 2, 2},           {0, 41, 41},
      {1, 1000, 41},          // 1000 >> 11 is 0
      {INT32_MIN, 4410, 41},  // the product wraps to 0
      {INT32_MAX, 4410, 3},   // the product wraps to -4410
  };
  for (const SCase& c : cases) {
    EXPECT_EQ(DelayLength(c.control, c.maxLength), c.expected) << c.control << " " << c.maxLength;
  }
}

// One delay line fed with 1, 2, 3, ... (the sample number plus one).
class DelayLine : public ::testing::Test {
 protected:
  void SetUp() override { buffer.assign(4410, 0); }

  TKernelRig<TWorkDelay, SDelayRecord> Rig() {
    const std::int32_t maxLength = static_cast<std::int32_t>(buffer.size());
    return TKernelRig<TWorkDelay, SDelayRecord>(
        {{&control, DelayLength(control, maxLength), &input, maxLength, buffer.data(), 0, 0}});
  }
  // Runs `samples` samples and returns the outputs.
  std::vector<std::int32_t> Feed(TKernelRig<TWorkDelay, SDelayRecord>& rig, int samples) {
    std::vector<std::int32_t> outputs;
    for (int i = 0; i < samples; ++i) {
      input = ++fed;
      rig.Run(1);
      outputs.push_back(rig[0].Output);
    }
    return outputs;
  }

  std::int32_t control = 2048;
  std::int32_t input = 0;
  std::int32_t fed = 0;
  std::vector<std::int32_t> buffer;
};

TEST_F(DelayLine, FullControlRepeatsTheInputMaxLengthLater) {
  auto rig = Rig();
  const auto first = Feed(rig, 4410);
  EXPECT_EQ(first.front(), 0);
  EXPECT_EQ(first.back(), 0);
  const auto second = Feed(rig, 4410);
  for (int i = 0; i < 4410; ++i)
    ASSERT_EQ(second[i], i + 1) << i;
}

TEST_F(DelayLine, ChangedControlTakesEffectAtTheNextWrap) {
  auto rig = Rig();
  Feed(rig, 100);
  control = 1024;
  Feed(rig, 4310);  // the period running when the control changed keeps its 4410 samples
  const auto next = Feed(rig, 2205 * 2);
  // The first short period still plays what the long one recorded; then the delay is 2205.
  for (int i = 0; i < 2205 * 2; ++i) {
    const std::int32_t sample = 4410 + i + 1;
    ASSERT_EQ(next[i], sample - (i < 2205 ? 4410 : 2205)) << i;
  }
}

TEST_F(DelayLine, ZeroControlDelaysByFortyOneSamples) {
  control = 0;
  auto rig = Rig();
  const auto outputs = Feed(rig, 200);
  for (int i = 41; i < 200; ++i)
    ASSERT_EQ(outputs[i], i + 1 - 41) << i;
}

}  // namespace
