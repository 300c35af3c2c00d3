#include "engine/wave_out_driver.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "tests/engine/fake_wave_out_device.h"

namespace {

using namespace std::chrono_literals;

struct TDriverFixture : ::testing::Test {
  std::shared_ptr<TFakeWaveOutDevice> device = std::make_shared<TFakeWaveOutDevice>();
  TWorkWaveOut driver{device};
};

int ThreadCount() {
  int count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/task"))
    ++count;
  return count;
}

bool WaitFor(const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(1ms);
  }
  return true;
}

TEST_F(TDriverFixture, ResultCodesOfClosedAndOpenDrivers) {
  EXPECT_EQ(driver.Close(), kWaveInvalidHandle);
  EXPECT_EQ(driver.Reset(), kWaveInvalidHandle);
  EXPECT_EQ(driver.QueueBuffer(nullptr), kWaveInvalidHandle);
  EXPECT_EQ(driver.GetFreeBuffer(), nullptr);
  EXPECT_EQ(driver.GetPosition(), 0u);

  EXPECT_EQ(driver.Open(-1, 0, false), kWaveBadDeviceId);
  EXPECT_FALSE(driver.IsOpen());
  device->openResult = kWaveAllocated;
  EXPECT_EQ(driver.Open(0, 0, false), kWaveAllocated);
  EXPECT_FALSE(driver.IsOpen());
  device->openResult = kWaveNoError;

  ASSERT_EQ(driver.Open(0, 0, false), kWaveNoError);
  EXPECT_EQ(driver.Open(0, 0, false), kWaveHandleBusy);
  EXPECT_EQ(driver.Close(), kWaveNoError);
  EXPECT_EQ(driver.Close(), kWaveInvalidHandle);
}

TEST_F(TDriverFixture, BufferSizeFollowsChannelsNotTheRequestedSize) {
  struct SCase {
    bool stereo;
    int requested;
    std::uint32_t bytes;
  };
  for (const SCase& c : {SCase{false, 0, 160000}, SCase{false, 9999999, 160000},
                         SCase{true, 4, 320000}, SCase{true, 2293, 320000}}) {
    driver.SetFormat(c.stereo);
    EXPECT_EQ(driver.format().channels, c.stereo ? 2 : 1);
    EXPECT_EQ(driver.format().blockAlign, c.stereo ? 4 : 2);
    EXPECT_EQ(driver.format().averageBytesPerSecond, c.stereo ? 176400u : 88200u);
    ASSERT_EQ(driver.Open(0, c.requested, c.stereo), kWaveNoError);
    EXPECT_EQ(driver.GetFreeBuffer()->length(), c.bytes) << c.requested;
    driver.Close();
  }
}

TEST_F(TDriverFixture, QueuedBuffersReachTheDeviceInOrderAndTheDoneReportFreesThem) {
  ASSERT_EQ(driver.Open(0, 0, false), kWaveNoError);
  TWorkWaveOutBuffer* first = driver.GetFreeBuffer();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(driver.QueueBuffer(first), kWaveNoError);
  TWorkWaveOutBuffer* second = driver.GetFreeBuffer();
  ASSERT_NE(second, nullptr);
  EXPECT_NE(second, first);
  driver.QueueBuffer(second);
  driver.QueueBuffer(driver.GetFreeBuffer());
  driver.QueueBuffer(driver.GetFreeBuffer());
  EXPECT_EQ(driver.GetFreeBuffer(), nullptr);

  ASSERT_TRUE(device->WaitForWrites(4));
  EXPECT_EQ(device->control->written[0], first->header());
  EXPECT_EQ(device->control->written[1], second->header());
  device->FinishOldest();
  EXPECT_EQ(driver.GetFreeBuffer(), first);
}

TEST_F(TDriverFixture, AFailedWriteFreesTheBufferAtOnce) {
  device->control->writeResult = kWaveError;
  ASSERT_EQ(driver.Open(0, 0, false), kWaveNoError);
  TWorkWaveOutBuffer* buffer = driver.GetFreeBuffer();
  driver.QueueBuffer(buffer);
  ASSERT_TRUE(driver.WaitUntilHandedOver(5s));
  EXPECT_EQ(driver.GetFreeBuffer(), buffer);
  EXPECT_EQ(device->WrittenCount(), 0u);
}

TEST_F(TDriverFixture, ResetFreesQueuedAndPlayingBuffersAndResetsTheDevice) {
  ASSERT_EQ(driver.Open(0, 0, false), kWaveNoError);
  driver.QueueBuffer(driver.GetFreeBuffer());
  ASSERT_TRUE(device->WaitForWrites(1));
  // The output thread is held inside the second write; the last two stay in the queue.
  device->HoldWrites();
  for (int i = 0; i < 3; ++i)
    driver.QueueBuffer(driver.GetFreeBuffer());
  ASSERT_TRUE(WaitFor([&] { return device->control->writesInside == 1; }));
  EXPECT_EQ(driver.GetFreeBuffer(), nullptr);

  EXPECT_EQ(driver.Reset(), kWaveNoError);
  device->ReleaseWrites();
  ASSERT_TRUE(driver.WaitUntilHandedOver(5s));
  device->FinishOldest();  // the write that was under way when the device was reset
  EXPECT_EQ(device->control->resets, 1);
  for (int i = 0; i < TWorkWaveOut::kBufferCount; ++i) {
    TWorkWaveOutBuffer* buffer = driver.GetFreeBuffer();
    ASSERT_NE(buffer, nullptr) << i;
    buffer->header()->user = 1;  // taken, so that the next one is looked at
  }
}

TEST_F(TDriverFixture, CloseAbandonsAStuckOutputThreadWithoutFreeingWhatItUses) {
  ASSERT_EQ(driver.Open(0, 0, true), kWaveNoError);
  device->HoldWrites();
  driver.QueueBuffer(driver.GetFreeBuffer());
  ASSERT_TRUE(WaitFor([&] { return device->control->writesInside == 1; }));

  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(driver.Close(), kWaveNoError);
  const auto waited = std::chrono::steady_clock::now() - started;
  EXPECT_GE(waited, 450ms);
  EXPECT_LT(waited, 3s);
  EXPECT_FALSE(driver.IsOpen());

  // The abandoned thread finishes its write into memory it still shares, then ends.
  device->ReleaseWrites();
  EXPECT_TRUE(WaitFor([&] { return device->control->writesInside == 0; }));
  device->ForgetWritten();
  ASSERT_EQ(driver.Open(0, 0, true), kWaveNoError);
  EXPECT_EQ(driver.Close(), kWaveNoError);
}

TEST_F(TDriverFixture, OpenCloseAndResetCyclesLeaveNoThreadBehind) {
  // One cycle first: a sanitizer's runtime starts a helper thread of its own at the first
  // thread it sees, which must not count against the driver.
  ASSERT_EQ(driver.Open(0, 0, false), kWaveNoError);
  ASSERT_EQ(driver.Close(), kWaveNoError);
  const int before = ThreadCount();
  for (int cycle = 0; cycle < 20; ++cycle) {
    ASSERT_EQ(driver.Open(0, 0, cycle % 2 == 1), kWaveNoError);
    driver.QueueBuffer(driver.GetFreeBuffer());
    driver.Reset();
    driver.QueueBuffer(driver.GetFreeBuffer());
    ASSERT_EQ(driver.Close(), kWaveNoError);
  }
  EXPECT_TRUE(WaitFor([&] { return ThreadCount() == before; }));
}

TEST_F(TDriverFixture, PositionIsTheDevicePosition) {
  device->control->position = [] { return 12345u; };
  ASSERT_EQ(driver.Open(0, 0, false), kWaveNoError);
  EXPECT_EQ(driver.GetPosition(), 12345u);
  EXPECT_TRUE(driver.CanOpen(0, driver.format()));
  EXPECT_FALSE(driver.CanOpen(-1, driver.format()));
  EXPECT_EQ(driver.ErrorText(kWaveHandleBusy), WaveResultText(kWaveHandleBusy));
}

}  // namespace
