// The low-latency engine as the device's callback drives it: each period computes half its frames
// of engine samples, in work type order, straight into the callback's output; the overload guard
// measures the periods' work against their length.
#include "engine/callback_engine.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine/microphone_kernel.h"
#include "tests/engine/kernel_rig.h"

namespace {

// Counts up by one per engine sample: the speaker's input.
class TCounterWork : public TWorkBasisklassen {
 public:
  void ProcessSample() override { ++value; }
  std::int32_t value = 0;
};

using TMicrophoneRig = TKernelRig<TWorkMicrophon, SMicrophonRecord>;

// The speaker plays the counter, or with `microphone` the duplex microphone.
struct TCallbackRig {
  explicit TCallbackRig(int processorLimit = 95, TMicrophoneRig* microphone = nullptr) {
    SLautsprecherRecord record;
    record.left = microphone != nullptr ? &(*microphone)[0].output : &counter.value;
    speaker = std::make_unique<TKernelRig<TWorkLautsprecher, SLautsprecherRecord>>(
        std::vector<SLautsprecherRecord>{record});
    speaker->work().SetDirect(true);
    meter->processorLimit.store(processorLimit);
    TWorkBasisklassen* source = &counter;
    if (microphone != nullptr) {
      microphone->work().SetDirect(true);
      source = &microphone->work();
    }
    engine = std::make_unique<TCallbackEngine>(
        nullptr, nullptr, nullptr, TActiveWorks{source, &speaker->work()}, speaker->work(),
        microphone != nullptr ? &microphone->work() : nullptr, meter);
  }

  std::vector<std::int16_t> Render(std::uint32_t frames, const std::int16_t* in = nullptr) {
    std::vector<std::int16_t> out(frames, 0x5555);
    engine->Render(reinterpret_cast<std::byte*>(out.data()), in, frames);
    return out;
  }

  TCounterWork counter;
  std::unique_ptr<TKernelRig<TWorkLautsprecher, SLautsprecherRecord>> speaker;
  std::shared_ptr<SEngineMeter> meter = std::make_shared<SEngineMeter>();
  std::unique_ptr<TCallbackEngine> engine;
};

TEST(CallbackEngine, EachPeriodComputesHalfItsFramesIntoTheOutputAndAnOddOneRepeatsItsLast) {
  TCallbackRig rig;
  // The counter runs before the speaker: sample n plays n, after the midpoint with n - 1.
  EXPECT_EQ(rig.Render(8), (std::vector<std::int16_t>{0, 1, 1, 2, 2, 3, 3, 4}));
  EXPECT_EQ(rig.Render(5), (std::vector<std::int16_t>{4, 5, 5, 6, 6}));
  EXPECT_EQ(rig.Render(2), (std::vector<std::int16_t>{6, 7}));
  // A period longer than the kernel takes at once is computed in pieces, seamlessly.
  const std::vector<std::int16_t> long_period = rig.Render(3 * TDirectOutput::kMaxAimFrames);
  for (std::size_t frame = 0; frame < long_period.size(); frame += 2)
    ASSERT_EQ(long_period[frame + 1], 8 + static_cast<int>(frame / 2)) << frame;
  EXPECT_EQ(rig.counter.value, 7 + 3 * static_cast<int>(TDirectOutput::kMaxAimFrames) / 2);
}

// The duplex microphone: each pair of the period's input frames becomes one engine sample that
// the speaker plays in the same period, across the pieces of a long period too; a period
// without input records silence.
TEST(CallbackEngine, ADuplexMicrophonePlaysThePeriodsHalvedInputInTheSamePeriod) {
  TMicrophoneRig microphone({SMicrophonRecord{}});
  TCallbackRig rig(95, &microphone);
  for (const std::uint32_t frames : {8U, 2 * TDirectOutput::kMaxAimFrames + 8}) {
    SCOPED_TRACE(std::to_string(frames) + " frames");
    std::vector<std::int16_t> in(frames);
    for (std::size_t i = 0; i < in.size(); ++i)
      in[i] = static_cast<std::int16_t>(2 * i);
    const std::vector<std::int16_t> out = rig.Render(frames, in.data());
    for (std::size_t pair = 0; pair < frames / 2; ++pair)
      ASSERT_EQ(out[2 * pair + 1], 4 * pair + 1) << pair;
  }
  // The first frame is the midpoint down from the last sample.
  const std::vector<std::int16_t> silent = rig.Render(4);
  EXPECT_EQ(std::vector<std::int16_t>(silent.begin() + 1, silent.end()),
            (std::vector<std::int16_t>{0, 0, 0}));
}

TEST(CallbackEngine, TheSeventhMeasurementOverTheLimitStopsItAndTheRestIsSilence) {
  // From the smallest period a server offers to one above the kernel's piece: a measurement
  // spans as many periods as make 150 ms, however short each one is.
  for (const std::uint32_t frames : {32U, 2048U, 4096U}) {
    const std::int64_t periodNs =
        std::int64_t{frames} * 1'000'000'000 / TCallbackEngine::kDeviceRate;
    const std::int64_t perMeasurement = (TCallbackEngine::kWindowNs + periodNs - 1) / periodNs;
    const std::int64_t stopAt = (TOverloadGuard::kToleratedStrikes + 1) * perMeasurement;
    for (const int limit : {-1, 100000}) {
      SCOPED_TRACE(std::to_string(frames) + " frames, limit " + std::to_string(limit));
      TCallbackRig rig(limit);
      for (std::int64_t period = 1; period < stopAt; ++period)
        rig.Render(frames);
      EXPECT_TRUE(rig.engine->IsRunning());
      rig.Render(frames);
      EXPECT_EQ(rig.engine->IsRunning(), limit >= 0);
      EXPECT_EQ(rig.meter->overloaded.load(), limit < 0);
      const std::vector<std::int16_t> after = rig.Render(frames);
      EXPECT_EQ(after == std::vector<std::int16_t>(frames, 0), limit < 0);
    }
  }
}

TEST(CallbackEngine, AStopRequestSilencesTheFollowingPeriods) {
  TCallbackRig rig;
  rig.Render(4);
  rig.engine->RequestStop();
  EXPECT_EQ(rig.Render(4), std::vector<std::int16_t>(4, 0));
  EXPECT_EQ(rig.counter.value, 2);
  EXPECT_FALSE(rig.meter->overloaded.load());
}

}  // namespace
