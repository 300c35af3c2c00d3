#include "engine/engine_scheduler.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/engine_host.h"

namespace {

class TCountingWork : public TWorkBasisklassen {
 public:
  void Prepare() override { ++prepared; }
  void ProcessSample() override { ++samples; }
  int prepared = 0;
  long samples = 0;
};

// A millisecond clock under the test's control: every reading moves it by `busy` (the time the
// slice before the reading took), every sleep by the time slept.
struct SFakeTime {
  std::int64_t now = 1000;
  std::int64_t busy = 0;
  std::vector<std::int64_t> sleeps;
};

class EngineScheduler : public ::testing::Test {
 protected:
  SEngineClock FakeClock() {
    return {[this] { return time.now += time.busy; },
            [this](std::int64_t ms) {
              time.sleeps.push_back(ms);
              time.now += ms;
            }};
  }
  // One measurement happens every 16 slices.
  void RunMeasurements(int count) {
    for (int i = 0; i < count * 16; ++i)
      scheduler.RunSlice();
  }

  SFakeTime time;
  TCountingWork work;
  // What the scheduler published for the GUI: the usage of an overload stop, if any.
  std::vector<int> OverloadReports() const {
    if (!meter->overloaded.load()) return {};
    return {meter->overloadUsage.load()};
  }

  std::shared_ptr<SEngineMeter> meter = std::make_shared<SEngineMeter>();
  TEngineScheduler scheduler{{&work}, FakeClock(), meter};
};

TEST_F(EngineScheduler, SlicesAlternate221And220SamplesForExactly22050ASecond) {
  scheduler.Begin();
  EXPECT_EQ(work.prepared, 1);
  scheduler.RunSlice();
  EXPECT_EQ(work.samples, 221);
  scheduler.RunSlice();
  EXPECT_EQ(work.samples, 441);
  for (int slice = 2; slice < 100; ++slice)
    scheduler.RunSlice();
  EXPECT_EQ(work.samples, 22050);
}

TEST_F(EngineScheduler, ALateSliceIsNotSleptAndTheScheduleStaysAbsolute) {
  scheduler.Begin();
  time.busy = 15;  // 5 ms late for the 10 ms deadline
  scheduler.RunSlice();
  time.busy = 3;
  scheduler.RunSlice();  // deadline 20, clock 18
  EXPECT_EQ(time.sleeps, std::vector<std::int64_t>{2});
}

TEST_F(EngineScheduler, SeventhConsecutiveOverloadStopsAndReports) {
  time.busy = 10;  // no idle time at all: 100 %
  scheduler.Begin();
  RunMeasurements(6);
  EXPECT_TRUE(scheduler.IsRunning());
  EXPECT_EQ(meter->processorUsage.load(), 100);
  EXPECT_TRUE(OverloadReports().empty());
  RunMeasurements(1);
  EXPECT_FALSE(scheduler.IsRunning());
  EXPECT_EQ(OverloadReports(), std::vector<int>{100});
  EXPECT_EQ(time.sleeps.back(), TEngineScheduler::kOverloadPauseMs);
}

TEST_F(EngineScheduler, AMeasurementAtTheLimitStartsTheCountAgain) {
  time.busy = 9;  // 90 %
  meter->processorLimit = 89;
  scheduler.Begin();
  RunMeasurements(6);
  meter->processorLimit = 90;  // read anew: 90 is not above it
  RunMeasurements(1);
  meter->processorLimit = 89;
  RunMeasurements(6);
  EXPECT_TRUE(scheduler.IsRunning());
  RunMeasurements(1);
  EXPECT_FALSE(scheduler.IsRunning());
  EXPECT_EQ(OverloadReports(), std::vector<int>{90});
}

TEST_F(EngineScheduler, ANegativeMeasurementShowsZeroAndKeepsTheCount) {
  scheduler.Begin();
  time.busy = 10;
  RunMeasurements(3);
  time.busy = -5;  // a clock running backwards credits 15 ms idle per slice: -50 %
  RunMeasurements(1);
  EXPECT_EQ(meter->processorUsage.load(), 0);
  time.busy = 10;
  RunMeasurements(3);
  EXPECT_TRUE(scheduler.IsRunning());
  RunMeasurements(1);
  EXPECT_FALSE(scheduler.IsRunning());
}

TEST_F(EngineScheduler, AStopFromOutsideIsNotReportedAsOverload) {
  time.busy = 10;
  scheduler.Begin();
  RunMeasurements(6);
  scheduler.RequestStop();
  RunMeasurements(1);
  EXPECT_TRUE(OverloadReports().empty());
}

}  // namespace
