#include "engine/speaker_kernels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <filesystem>

#include "engine/wav_file.h"
#include "engine/wav_file_out_device.h"
#include "engine/wave_out_driver.h"
#include "tests/engine/fake_wave_out_device.h"
#include "tests/engine/kernel_rig.h"

namespace {

using namespace std::chrono_literals;

std::int16_t SampleAt(const SLautsprecherRecord& record, std::uint32_t byte) {
  std::int16_t sample;
  std::memcpy(&sample, record.current->data() + byte, sizeof sample);
  return sample;
}

// One speaker record on a driver over the test's device, with its input(s).
template <class Work>
struct TSpeakerRig {
  explicit TSpeakerRig(std::shared_ptr<TWaveOutDevice> device, int waveBuffer = kWaveBufferDefault)
      : driver(std::move(device)) {
    driver.SetFormat(kStereo);
    EXPECT_EQ(driver.Open(0, 0, kStereo), kWaveNoError);
    SLautsprecherRecord record;
    record.left = &left;
    record.right = &right;
    // The rig prepares the record once without a driver; the real Prepare follows.
    rig = std::make_unique<TKernelRig<Work, SLautsprecherRecord>>(
        std::vector<SLautsprecherRecord>{record});
    this->record().driver = &driver;
    rig->work().SetWaveBuffer(waveBuffer);
    rig->work().Prepare();
  }
  SLautsprecherRecord& record() { return (*rig)[0]; }
  void Sample() { rig->work().ProcessSample(); }

  static constexpr bool kStereo = std::is_same_v<Work, TWorkLautsprecherStereo>;
  std::int32_t left = 0;
  std::int32_t right = 0;
  TWorkWaveOut driver;
  std::unique_ptr<TKernelRig<Work, SLautsprecherRecord>> rig;
};

TEST(SpeakerKernel, WritesTheMidpointThenTheSampleAsLow16Bits) {
  struct SCase {
    std::int32_t previous, input, midpoint, sample;
  };
  const SCase cases[] = {
      {0, 1000, 500, 1000},
      {1000, 0, 500, 0},
      {0, -1, -1, -1},
      {-1, 0, -1, 0},
      {0, -3, -2, -3},
      {0, 40000, 20000, -25536},
      {70000, 70002, 4465, 4466},
      {INT_MIN, INT_MAX, -1, -1},
  };
  for (const SCase& c : cases) {
    TSpeakerRig<TWorkLautsprecher> speaker(std::make_shared<TFakeWaveOutDevice>());
    speaker.record().previousLeft = c.previous;
    speaker.left = c.input;
    speaker.Sample();
    const std::uint32_t lead = speaker.rig->work().LeadBytes();
    EXPECT_EQ(SampleAt(speaker.record(), lead), c.midpoint) << c.previous << " " << c.input;
    EXPECT_EQ(SampleAt(speaker.record(), lead + 2), c.sample);
    EXPECT_EQ(speaker.record().previousLeft, c.input);
    EXPECT_EQ(speaker.record().framesWritten, 2u);
  }
}

TEST(SpeakerKernel, StereoWritesTheMidpointFrameThenTheSampleFrame) {
  TSpeakerRig<TWorkLautsprecherStereo> speaker(std::make_shared<TFakeWaveOutDevice>());
  speaker.record().previousLeft = 100;
  speaker.record().previousRight = -100;
  speaker.left = 300;
  speaker.right = -400;
  speaker.Sample();
  const std::uint32_t lead = speaker.rig->work().LeadBytes();
  EXPECT_EQ(SampleAt(speaker.record(), lead), 200);
  EXPECT_EQ(SampleAt(speaker.record(), lead + 2), -250);
  EXPECT_EQ(SampleAt(speaker.record(), lead + 4), 300);
  EXPECT_EQ(SampleAt(speaker.record(), lead + 6), -400);
  EXPECT_EQ(speaker.record().writePosition, lead + 8);
}

TEST(SpeakerKernel, LeadIsWaveBufferTimes500BytesPerChannel) {
  struct SCase {
    bool stereo;
    int waveBuffer;
    std::uint32_t leadBytes;
  };
  for (const SCase& c : {SCase{false, 30, 15000}, SCase{true, 30, 30000}, SCase{false, 26, 13000},
                         SCase{false, 5, 5000}, SCase{true, 500, 100000}}) {
    auto device = std::make_shared<TFakeWaveOutDevice>();
    // The first buffer is handed over at once, before anything is written.
    if (c.stereo) {
      TSpeakerRig<TWorkLautsprecherStereo> speaker(device, c.waveBuffer);
      EXPECT_EQ(speaker.record().writePosition, c.leadBytes) << c.waveBuffer;
      EXPECT_TRUE(device->WaitForWrites(1));
    } else {
      TSpeakerRig<TWorkLautsprecher> speaker(device, c.waveBuffer);
      EXPECT_EQ(speaker.record().writePosition, c.leadBytes) << c.waveBuffer;
      EXPECT_TRUE(device->WaitForWrites(1));
    }
  }
}

TEST(SpeakerKernel, DriftMeasuredAtTheNextBufferSetsTheCorrectionCount) {
  struct SCase {
    std::int32_t drift, correction;
  };
  for (const SCase& c : {SCase{300, 100}, SCase{231, 31}, SCase{230, 0}, SCase{0, 0},
                         SCase{-230, 0}, SCase{-231, -31}, SCase{-300, -100}}) {
    auto device = std::make_shared<TFakeWaveOutDevice>();
    TSpeakerRig<TWorkLautsprecher> speaker(device);
    device->control->position = [&] {
      return speaker.record().framesWritten - static_cast<std::uint32_t>(c.drift);
    };
    int samples = 0;
    while (speaker.record().next == nullptr) {
      speaker.Sample();
      ++samples;
    }
    EXPECT_EQ(speaker.record().writePosition, speaker.rig->work().LeadBytes() + 4u * samples);
    EXPECT_GT(speaker.record().writePosition, 100000u);
    EXPECT_EQ(speaker.record().correctionCount, c.correction) << c.drift;
  }
}

TEST(SpeakerKernel, OneCorrectionStepEvery2002SamplesMovesTwoFrames) {
  struct SCase {
    std::int32_t count, frameChange, countAfter;
  };
  for (const SCase& c : {SCase{5, -2, 4}, SCase{-5, +2, -4}, SCase{0, 0, 0}}) {
    TSpeakerRig<TWorkLautsprecher> speaker(std::make_shared<TFakeWaveOutDevice>());
    speaker.record().correctionCount = c.count;
    speaker.left = 7;
    for (int block = 1; block <= 3; ++block) {
      for (int i = 0; i < 2002; ++i)
        speaker.Sample();
      EXPECT_EQ(static_cast<std::int32_t>(speaker.record().framesWritten),
                block * (2 * 2002 + c.frameChange));
      EXPECT_EQ(speaker.record().writePosition,
                speaker.rig->work().LeadBytes() + 2 * speaker.record().framesWritten);
    }
    EXPECT_EQ(speaker.record().correctionCount, c.count - 3 * (c.count - c.countAfter));
  }
}

TEST(SpeakerKernel, AnInsertedCorrectionRepeatsTheCurrentFrame) {
  TSpeakerRig<TWorkLautsprecherStereo> speaker(std::make_shared<TFakeWaveOutDevice>());
  speaker.record().correctionCount = -1;
  speaker.record().correctionSpacing = 2001;
  speaker.left = 8;
  speaker.right = -6;
  speaker.Sample();
  const std::uint32_t lead = speaker.rig->work().LeadBytes();
  const std::int16_t expected[] = {4, -3, 8, -6, 8, -6, 8, -6};
  for (int i = 0; i < 8; ++i)
    EXPECT_EQ(SampleAt(speaker.record(), lead + 2 * i), expected[i]);
  EXPECT_EQ(speaker.record().framesWritten, 4u);
  EXPECT_EQ(speaker.record().correctionCount, 0);
}

TEST(SpeakerKernel, TheSampleAtABufferChangeIsSkipped) {
  TSpeakerRig<TWorkLautsprecher> speaker(std::make_shared<TFakeWaveOutDevice>());
  TWorkWaveOutBuffer* first = speaker.record().current;
  std::int32_t value = 0;
  while (speaker.record().current == first) {
    speaker.left = ++value;
    speaker.Sample();
  }
  // `value` was not written; the new buffer starts from the sample before it.
  const auto low16 = [](std::int32_t v) { return static_cast<std::int16_t>(v); };
  EXPECT_EQ(SampleAt({.current = first}, TWorkWaveOut::kMonoBufferBytes - 2), low16(value - 1));
  EXPECT_EQ(speaker.record().writePosition, 0u);
  speaker.left = value + 1;
  speaker.Sample();
  EXPECT_EQ(SampleAt(speaker.record(), 0), low16(value));  // midpoint of value - 1 and + 1
  EXPECT_EQ(SampleAt(speaker.record(), 2), low16(value + 1));
}

TEST(SpeakerKernel, WithoutAFreeBufferTheKernelWaitsAndThenGoesOn) {
  auto device = std::make_shared<TFakeWaveOutDevice>();
  TSpeakerRig<TWorkLautsprecher> speaker(device);
  speaker.left = 1;
  // The device never finishes a buffer: after four the kernel has nowhere to write.
  for (int i = 0; i < 4 * 40001; ++i)
    speaker.Sample();
  ASSERT_TRUE(device->WaitForWrites(4));
  const std::uint32_t frames = speaker.record().framesWritten;
  for (int i = 0; i < 100; ++i)
    speaker.Sample();
  EXPECT_EQ(speaker.record().framesWritten, frames);

  device->FinishOldest();
  for (int i = 0; i < 3; ++i)
    speaker.Sample();  // takes it, changes to it, writes
  EXPECT_EQ(speaker.record().framesWritten, frames + 2);
}

// What a 44100 Hz device plays from a speaker that starts at the lead and skips the sample at
// each buffer change, for `clockFrames` frames.
std::vector<std::int16_t> ExpectedPlayback(int channels, std::uint32_t lead,
                                           std::uint32_t bufferBytes,
                                           const std::vector<std::vector<std::int32_t>>& input,
                                           std::size_t clockFrames) {
  std::vector<std::int16_t> played(lead / 2, 0);
  std::vector<std::int32_t> previous(channels, 0);
  std::uint32_t position = lead;
  for (const auto& frame : input) {
    if (position >= bufferBytes) {
      position = 0;
      continue;
    }
    for (int c = 0; c < channels; ++c)
      played.push_back(static_cast<std::int16_t>(previous[c] + ((frame[c] - previous[c]) >> 1)));
    for (int c = 0; c < channels; ++c)
      played.push_back(static_cast<std::int16_t>(frame[c]));
    previous = frame;
    position += 4 * channels;
  }
  played.resize(clockFrames * channels);
  return played;
}

template <class Work>
void RenderThroughTheFileDevice(int channels) {
  const auto folder = std::filesystem::temp_directory_path() / "zelmar-speaker-file";
  std::filesystem::create_directories(folder);
  const auto target = folder / ("speaker" + std::to_string(channels) + ".wav");
  std::filesystem::remove(target);
  auto device = std::make_shared<TWavFileOutDevice>(target);

  std::vector<std::vector<std::int32_t>> input;
  std::size_t clockFrames = 0;
  {
    TSpeakerRig<Work> speaker(device);
    const std::uint32_t lead = speaker.rig->work().LeadBytes();
    int bufferChanges = 0;
    for (std::int32_t i = 0; i < 100000; ++i) {
      input.push_back({(i * 37) % 4001 - 2000, -((i * 11) % 3001)});
      speaker.left = input.back()[0];
      speaker.right = input.back()[1];
      const TWorkWaveOutBuffer* current = speaker.record().current;
      speaker.Sample();
      bufferChanges += speaker.record().current != current;
      device->Play(2);
    }
    ASSERT_EQ(bufferChanges, 2);
    // Let the device play out what was written ahead (the lead, less the two frames of each
    // skipped sample), then stop as the engine would.
    ASSERT_TRUE(speaker.driver.WaitUntilHandedOver(5s));
    device->Play(lead / (2 * channels) - 2 * bufferChanges);
    clockFrames = 2 * input.size() + lead / (2 * channels) - 2 * bufferChanges;
    EXPECT_EQ(speaker.driver.GetPosition(), clockFrames);
    EXPECT_EQ(speaker.record().correctionCount, 0);
    speaker.rig->work().StopWork();
    EXPECT_FALSE(std::filesystem::exists(target));
    EXPECT_TRUE(std::filesystem::exists(device->TemporaryPath()));
    EXPECT_EQ(speaker.driver.Close(), kWaveNoError);
    std::vector<std::int16_t> expected =
        ExpectedPlayback(channels, lead, channels == 1 ? 160000 : 320000, input, clockFrames);

    SWavContent content;
    std::string error;
    ASSERT_TRUE(ReadWavFile(target, content, error)) << error;
    EXPECT_EQ(content.format, Pcm16Format(channels, 44100));
    ASSERT_EQ(content.samples.size(), expected.size() * 2);
    std::vector<std::int16_t> written(expected.size());
    std::memcpy(written.data(), content.samples.data(), content.samples.size());
    const auto mismatch = std::mismatch(written.begin(), written.end(), expected.begin());
    EXPECT_EQ(mismatch.first, written.end())
        << "first difference at sample " << (mismatch.first - written.begin()) << " of "
        << written.size();
  }
  EXPECT_FALSE(std::filesystem::exists(device->TemporaryPath()));
}

TEST(SpeakerKernel, MonoSpeakerThroughTheWavFileDevice) {
  RenderThroughTheFileDevice<TWorkLautsprecher>(1);
}

TEST(SpeakerKernel, StereoSpeakerThroughTheWavFileDevice) {
  RenderThroughTheFileDevice<TWorkLautsprecherStereo>(2);
}

}  // namespace
