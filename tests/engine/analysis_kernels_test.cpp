#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "engine/microphone_kernel.h"
#include "engine/scope_kernel.h"
#include "engine/speaker_kernels.h"
#include "engine/volume_view_kernel.h"
#include "engine/wav_file_in_device.h"
#include "engine/wave_in_driver.h"
#include "engine/work_factory.h"
#include "tests/engine/kernel_rig.h"
#include "tests/engine/wav_test_files.h"

namespace {

TEST(ScopeKernel, CapturesExactlyCapacitySamplesAndCountsTheCaptureOnce) {
  for (std::uint32_t capacity : {0u, 1u, 5u}) {
    std::vector<std::atomic<std::int32_t>> samples(capacity + 1);
    SScopeCapture capture;
    capture.capacity = capacity;
    capture.samples = samples.data();
    std::int32_t input = 0;
    TKernelRig<TWorkSehen, SSehenRecord> rig({SSehenRecord{&input, &capture, 0, 0}});
    for (int i = 0; i < 20; ++i) {
      input = 100 + i;
      rig.Run(1);
      EXPECT_EQ(capture.completed, i >= static_cast<int>(capacity) ? 1u : 0u)
          << capacity << " " << i;
    }
    for (std::uint32_t i = 0; i < capacity; ++i)
      EXPECT_EQ(samples[i], 100 + int(i));
    EXPECT_EQ(samples[capacity], 0) << "written past the capacity";
    EXPECT_EQ(rig[0].count, capacity);
  }
}

struct TVolumeRig {
  explicit TVolumeRig(std::int32_t value) : input(value) {}
  // What the GUI's poll takes from the mailbox.
  std::vector<std::int32_t> Take() {
    std::vector<std::int32_t> levels;
    std::int32_t level = 0;
    while (mailbox.Take(level))
      levels.push_back(level);
    return levels;
  }
  std::int32_t input;
  TLevelMailbox mailbox;
  TKernelRig<TWorkLautstaerkeSehen, SLautstaerkeSehenRecord> rig{
      {SLautstaerkeSehenRecord{&input, &mailbox, 0, 0}}};
};

TEST(VolumeViewKernel, ReportsTheMeanOfEach3501SampleWindow) {
  struct SCase {
    std::int32_t input, level;
  };
  for (const SCase& c : {SCase{1700, 1700}, SCase{-2048, 2048}, SCase{3500, 3501},
                         SCase{INT_MIN, INT_MAX}, SCase{0, 0}}) {
    TVolumeRig volume(c.input);
    volume.rig.Run(3500);
    EXPECT_EQ(volume.mailbox.Pending(), 0u);
    volume.rig.Run(1);
    EXPECT_EQ(volume.mailbox.Pending(), 1u);
    EXPECT_EQ(volume.Take(), std::vector<std::int32_t>{c.level}) << c.input;
  }
}

TEST(VolumeViewKernel, AtMostThreeReportsPendAndTheSumCarriesOver) {
  TVolumeRig volume(700);
  volume.rig.Run(4 * 3501);
  EXPECT_EQ(volume.mailbox.Pending(), 3u);
  EXPECT_EQ(volume.Take(), (std::vector<std::int32_t>{700, 700, 700}));
  volume.rig.Run(3501);
  // The fourth window was not reported: its sum went into the fifth.
  EXPECT_EQ(volume.Take(), std::vector<std::int32_t>{700 * 2 * 3501 / 3500});

  // The stop's report finds a place even behind three unread ones.
  volume.rig.Run(3 * 3501);
  volume.rig.work().StopWork();
  EXPECT_EQ(volume.Take(), (std::vector<std::int32_t>{700, 700, 700, 0}));
}

// A microphone on a wave-input driver recording from a file of the samples 1, 2, 3, ...
struct TMicrophoneRig {
  TMicrophoneRig(std::uint32_t bufferBytes, int samples) {
    std::vector<std::int16_t> recording(samples);
    for (int i = 0; i < samples; ++i)
      recording[i] = static_cast<std::int16_t>(i + 1);
    const auto path = WriteTestFile("microphone.wav", Wav16(1, 22050, recording));
    driver = std::make_unique<TWorkWaveIn>(std::make_shared<TWavFileInDevice>(path));
    EXPECT_EQ(driver->Open(0, bufferBytes), kWaveNoError);
    EXPECT_EQ(driver->Start(), kWaveNoError);
    rig = std::make_unique<TKernelRig<TWorkMicrophon, SMicrophonRecord>>(
        std::vector<SMicrophonRecord>{{0, driver.get(), nullptr, 0}});
  }
  std::unique_ptr<TWorkWaveIn> driver;
  std::unique_ptr<TKernelRig<TWorkMicrophon, SMicrophonRecord>> rig;
};

// Every recorded sample comes out once, in order, without a gap at a buffer change.
TEST(MicrophoneKernel, ReadsEverySampleAcrossBufferChanges) {
  struct SCase {
    std::uint32_t bufferBytes;
    std::vector<std::int32_t> output;
  };
  const SCase cases[] = {
      {6, {1, 2, 3, 4, 5, 6, 7, 0, 0, 0}},  // silence after the end
      {2, {1, 2, 3, 4, 5, 6, 7, 0, 0, 0}},
      {7, {1, 2, 3, 4, 5, 6, 7, 0, 0, 0}},  // an odd last byte is never read
  };
  for (const SCase& c : cases) {
    TMicrophoneRig microphone(c.bufferBytes, 7);
    EXPECT_EQ(microphone.rig->Outputs(static_cast<int>(c.output.size())), c.output)
        << c.bufferBytes;
  }
}

TEST(MicrophoneKernel, BuffersCirculateForAsLongAsTheRecordingLasts) {
  // Far more samples than the twenty buffers hold: every used buffer must come back.
  TMicrophoneRig microphone(20, 1000);
  const std::vector<std::int32_t> output = microphone.rig->Outputs(1200);
  std::vector<std::int32_t> recorded;
  for (std::int32_t value : output)
    if (value != 0) recorded.push_back(value);
  ASSERT_EQ(recorded.size(), 1000u);
  for (int i = 0; i < 1000; ++i)
    EXPECT_EQ(recorded[i], i + 1);
}

TEST(WaveInDriver, ResultCodes) {
  const auto path = WriteTestFile("codes.wav", Wav16(1, 22050, {1, 2}));
  TWorkWaveIn driver(std::make_shared<TWavFileInDevice>(path));
  EXPECT_EQ(driver.Start(), kWaveInvalidHandle);
  EXPECT_EQ(driver.Close(), kWaveInvalidHandle);
  EXPECT_EQ(driver.Open(-1, 100), kWaveBadDeviceId);
  ASSERT_EQ(driver.Open(0, 100), kWaveNoError);
  EXPECT_EQ(driver.Open(0, 100), kWaveHandleBusy);
  EXPECT_EQ(driver.Start(), kWaveNoError);
  EXPECT_EQ(driver.Start(), kWaveHandleBusy);  // recording goes on from the last sound
  EXPECT_EQ(driver.Close(), kWaveNoError);
  EXPECT_TRUE(driver.CanOpen(0, driver.format()));
  EXPECT_FALSE(driver.CanOpen(0, Pcm16Format(2, 22050)));

  const auto bad = WriteTestFile("bad.wav", Wav16(1, 8000, {1, 2}));
  TWorkWaveIn refused(std::make_shared<TWavFileInDevice>(bad));
  const int opened = refused.Open(0, 100);
  EXPECT_EQ(opened, kWaveBadFormat);
  EXPECT_NE(refused.ErrorText(opened).find("8000 Hz"), std::string::npos);
  EXPECT_FALSE(refused.IsOpen());
}

TEST(WorkFactory, CreatesTheOutputInputAndAnalysisWorkObjects) {
  const std::pair<int, std::size_t> cases[] = {
      {16, sizeof(SSehenRecord)},
      {17, sizeof(SMicrophonRecord)},
      {18, sizeof(SLautsprecherRecord)},
      {19, sizeof(SLautsprecherRecord)},
      {20, sizeof(SLautstaerkeSehenRecord)},
  };
  for (const auto& [code, recordSize] : cases) {
    const auto work = CreateWorkObject(code);
    ASSERT_NE(work, nullptr) << code;
    EXPECT_EQ(work->GetRecordSize(), recordSize) << code;
    EXPECT_TRUE(work->NeedsProcessing()) << code;
  }
  EXPECT_NE(dynamic_cast<TWorkLautsprecherStereo*>(CreateWorkObject(19).get()), nullptr);
}

}  // namespace
