#include "engine/mixer_kernels.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "tests/engine/kernel_rig.h"

namespace {

struct SPanCase {
  const char* name;
  std::int32_t control, a1, a2, expected;
};

TEST(MixerKernels, CrossfadeAmplitudePicksOneSideScaledByTheControl) {
  const SPanCase cases[] = {
      {"1024 passes A1", 1024, 700, -300, 700},
      {"-1024 passes A2", -1024, 700, -300, -300},
      {"0 is silent", 0, 700, -300, 0},
      {"half of A1", 512, 701, 0, 350},
      {"shift rounds down", 1, -1, 0, -1},
      {"negating INT32_MIN wraps", INT32_MIN, 0, 1, -(1 << 21)},
  };
  for (const SPanCase& c : cases)
    EXPECT_EQ(CrossfadeAmplitude(c.control, c.a1, c.a2), c.expected) << c.name;
}

TEST(MixerKernels, CrossfadePanWeighsBothSidesWithAGainOfFour) {
  const SPanCase cases[] = {
      {"centre", 0, 100, 10, 220},
      {"full left ignores A2", 2048, 100, 9999, 400},
      {"full right ignores A1", -2048, 9999, 10, 40},
      {"three quarters left", 1024, 100, 10, 310},
      {"each share is shifted on its own", 1, -1, -1, -5},
      {"beyond full left keeps growing", 3072, 1024, 9999, 5120},
      {"beyond full right", -3072, 9999, 1024, 5120},
  };
  for (const SPanCase& c : cases)
    EXPECT_EQ(CrossfadePan(c.control, c.a1, c.a2), c.expected) << c.name;
}

TEST(MixerKernels, StereoPanSplitsTheSignal) {
  struct SCase {
    std::int32_t pan, signal, left, right;
  } const cases[] = {
      {0, 100, 200, 200},       {2048, 100, 400, 0},  {-2048, 100, 0, 400},
      {1024, -100, -300, -100}, {-4096, 100, 0, 600},
  };
  for (const SCase& c : cases) {
    TKernelRig<TWorkStereoPan, SStereoPanRecord> rig({{&c.pan, &c.signal, 1, 1}});
    rig.Run(1);
    EXPECT_EQ(rig[0].Left, c.left) << c.pan;
    EXPECT_EQ(rig[0].Right, c.right) << c.pan;
  }
}

TEST(MixerKernels, CrossfadeKernelsReadTheirThreeInputsInFieldOrder) {
  const std::int32_t control = 1024, a1 = 100, a2 = 10;
  TKernelRig<TWorkCrossfadeLautstaerke, SCrossfadeRecord> amplitude({{&control, &a1, &a2, 0}});
  TKernelRig<TWorkCrossfadeRichtung, SCrossfadeRecord> pan({{&control, &a1, &a2, 0}});
  amplitude.Run(1);
  pan.Run(1);
  EXPECT_EQ(amplitude[0].Output, 100);
  EXPECT_EQ(pan[0].Output, 310);
}

TEST(MixerKernels, AdderSumsItsSourcesWithWrapAround) {
  const std::int32_t values[] = {INT32_MAX, 1, 5};
  const std::int32_t* sources[] = {&values[0], &values[1], &values[2]};
  TKernelRig<TWorkAddierer, SAddiererRecord> rig(
      {{3, sources, 0, 0}, {1, sources + 2, 0, 0}, {0, nullptr, 7, 0}});
  rig.Run(1);
  EXPECT_EQ(rig[0].Output, INT32_MIN + 5);
  EXPECT_EQ(rig[1].Output, 5);
  EXPECT_EQ(rig[2].Output, 0);  // no source: nothing is read
}

// Sources that lie evenly spaced are summed without their pointers; every other layout must
// still read exactly its own sources. Each case sums values 1, 10, 100, ... picked out of one
// array by index, so a source read at a wrong place changes the sum.
TEST(MixerKernels, AdderSumsOnlyItsOwnSourcesWhateverTheirSpacing) {
  std::int32_t values[64];
  std::int32_t power = 1;
  for (std::int32_t& value : values) {
    value = power;
    power = power == 1000000 ? 1 : power * 10;
  }
  struct SCase {
    const char* name;
    std::vector<int> indices;
  } cases[] = {
      {"evenly spaced", {0, 10, 20, 30, 40, 50}},
      {"backwards", {50, 40, 30, 20, 10}},
      {"uneven after the first two", {0, 3, 6, 8, 12}},
      {"uneven at the last", {1, 2, 3, 4, 5, 6, 7, 9}},
      {"the same source each time", {4, 4, 4, 4, 4}},
      {"two", {2, 5}},
  };
  for (const auto& c : cases) {
    std::vector<const std::int32_t*> sources;
    std::uint32_t expected = 0;
    for (const int index : c.indices) {
      sources.push_back(&values[index]);
      expected += static_cast<std::uint32_t>(values[index]);
    }
    TKernelRig<TWorkAddierer, SAddiererRecord> rig(
        {{static_cast<std::int32_t>(sources.size()), sources.data(), 0, 0}});
    rig.Run(1);
    EXPECT_EQ(rig[0].Output, static_cast<std::int32_t>(expected)) << c.name;
  }
}

}  // namespace
