// The speakers' sound card output on a JACK dummy server, through the wave-output driver.
#include "platform/rtaudio_wave_out_device.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "engine/wave_out_driver.h"
#include "jack_test_clients.h"

namespace {

using namespace std::chrono_literals;

const std::vector<EDeviceApi> kJackOnly{EDeviceApi::Jack};

std::shared_ptr<TRtAudioWaveOutDevice> JackOutput() {
  return std::make_shared<TRtAudioWaveOutDevice>(kJackOnly);
}

// The number of the listed device called `name`; -1 when it is not listed.
int DeviceNumber(const std::vector<std::string>& names, const std::string& name) {
  const auto found = std::ranges::find(names, name);
  return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

// A sample value that is never silence: a ramp through +-16000, the right channel mirrored.
constexpr std::size_t kPatternCycle = 3000;
std::int16_t Pattern(std::size_t frame, int channel) {
  const auto value = static_cast<std::int16_t>(1000 + static_cast<int>(frame % kPatternCycle) * 5);
  return channel == 0 ? value : static_cast<std::int16_t>(-value);
}

void FillWithPattern(TWorkWaveOutBuffer& buffer, int channels) {
  auto* samples = reinterpret_cast<std::int16_t*>(buffer.data());
  const std::size_t frames = buffer.length() / (2 * static_cast<std::size_t>(channels));
  for (std::size_t frame = 0; frame < frames; ++frame)
    for (int channel = 0; channel < channels; ++channel)
      samples[frame * static_cast<std::size_t>(channels) + static_cast<std::size_t>(channel)] =
          Pattern(frame, channel);
}

TEST(RtAudioWaveOut, ListsTheServersPortsUnderJack) {
  const TJackRecorder recorder(OwnClientName("listed"), 2, 1);
  ASSERT_TRUE(recorder.IsOpen());
  const std::vector<std::string> names = JackOutput()->DeviceNames();
  ASSERT_FALSE(names.empty());
  EXPECT_EQ(names[0], "JACK: system");
  EXPECT_NE(DeviceNumber(names, "JACK: " + recorder.name()), -1);
}

TEST(RtAudioWaveOut, PlaysAQueuedBufferToItsEndThenResetsClosesAndReopensLeavingNoThread) {
  const int threadsBefore = SettledThreadCount();
  {
    TWorkWaveOut driver(JackOutput());
    ASSERT_EQ(driver.Open(0, 0, false), kWaveNoError) << driver.ErrorText(kWaveError);
    EXPECT_EQ(driver.Open(0, 0, false), kWaveHandleBusy);
    TWorkWaveOutBuffer* first = driver.GetFreeBuffer();
    ASSERT_NE(first, nullptr);
    FillWithPattern(*first, 1);
    EXPECT_EQ(driver.QueueBuffer(first), kWaveNoError);
    EXPECT_NE(driver.GetFreeBuffer(), first);

    // The done report frees the buffer once all its 80000 frames have played; nothing follows.
    ASSERT_TRUE(WaitUntil([&] { return driver.GetFreeBuffer() == first; }, 5s));
    EXPECT_EQ(driver.GetPosition(), TWorkWaveOut::kMonoBufferBytes / 2);

    // A reset returns what is queued or playing and counts from 0 again.
    EXPECT_EQ(driver.QueueBuffer(driver.GetFreeBuffer()), kWaveNoError);
    EXPECT_EQ(driver.QueueBuffer(driver.GetFreeBuffer()), kWaveNoError);
    ASSERT_TRUE(WaitUntil([&] { return driver.GetPosition() > 0; }, 2s));
    EXPECT_EQ(driver.Reset(), kWaveNoError);
    EXPECT_EQ(driver.GetFreeBuffer(), first);
    EXPECT_EQ(driver.GetPosition(), 0u);

    EXPECT_EQ(driver.Close(), kWaveNoError);
    EXPECT_EQ(driver.Close(), kWaveInvalidHandle);
    ASSERT_EQ(driver.Open(0, 0, false), kWaveNoError) << driver.ErrorText(kWaveError);
    EXPECT_EQ(driver.QueueBuffer(driver.GetFreeBuffer()), kWaveNoError);
    EXPECT_TRUE(WaitUntil([&] { return driver.GetPosition() > 0; }, 2s));
  }  // destroyed while playing: closes
  EXPECT_TRUE(WaitUntil([&] { return ThreadCount() == threadsBefore; }, 2s))
      << ThreadCount() << " threads, " << threadsBefore << " before";
}

// What the speakers write arrives unchanged at the client the device stands for.
void ExpectPlayedExactly(int channels) {
  const TJackRecorder recorder(OwnClientName("recorder"), channels, 44100);
  ASSERT_TRUE(recorder.IsOpen());
  const auto device = JackOutput();
  const int number = DeviceNumber(device->DeviceNames(), "JACK: " + recorder.name());
  ASSERT_NE(number, -1);

  TWorkWaveOut driver(device);
  driver.SetFormat(channels == 2);
  ASSERT_EQ(driver.Open(number, 0, channels == 2), kWaveNoError) << driver.ErrorText(kWaveError);
  TWorkWaveOutBuffer* buffer = driver.GetFreeBuffer();
  FillWithPattern(*buffer, channels);
  driver.QueueBuffer(buffer);
  ASSERT_TRUE(WaitUntil([&] { return recorder.Recorded() == 44100; }, 5s));
  driver.Close();

  // Silence until the buffer arrives; from there the pattern, frame by frame.
  for (int channel = 0; channel < channels; ++channel) {
    EXPECT_TRUE(HoldsPatternInPeriods(
        recorder.Samples(channel, 44100), 1024,
        [channel](std::size_t frame) { return Pattern(frame, channel); }, kPatternCycle))
        << "channel " << channel;
  }
}

TEST(RtAudioWaveOut, MonoSoundArrivesAtTheRecordingClient) { ExpectPlayedExactly(1); }

TEST(RtAudioWaveOut, StereoSoundArrivesOnTwoChannels) { ExpectPlayedExactly(2); }

TEST(RtAudioWaveOut, AServerAtARateItCannotConvertIsRefusedWithAClearReason) {
  const TJackServerChoice server(JackServerAt(32000));
  TWorkWaveOut driver(JackOutput());
  ASSERT_FALSE(driver.CanOpen(0, driver.format()));
  EXPECT_EQ(driver.Open(0, 0, false), kWaveBadFormat);
  EXPECT_FALSE(driver.IsOpen());
  const std::string text = driver.ErrorText(kWaveBadFormat);
  EXPECT_NE(text.find("\"JACK: system\" runs at 32000 Hz, but the program needs it at 44100 or "
                      "48000 Hz"),
            std::string::npos)
      << text;
}

TEST(RtAudioWaveOut, AMissingServerListsNothingAndRefusesEveryDevice) {
  const TJackServerChoice server("zelmar-no-such-server");
  const auto device = JackOutput();
  EXPECT_TRUE(device->DeviceNames().empty());
  TWorkWaveOut driver(device);
  EXPECT_FALSE(driver.CanOpen(0, driver.format()));
  EXPECT_EQ(driver.Open(0, 0, false), kWaveBadDeviceId);
  EXPECT_NE(driver.ErrorText(kWaveBadDeviceId).find("no audio output device number 0"),
            std::string::npos)
      << driver.ErrorText(kWaveBadDeviceId);
  EXPECT_EQ(driver.Open(-1, 0, false), kWaveBadDeviceId);
}

TEST(RtAudioWaveOut, RefusesFormatsOtherThan44100Hz16Bit) {
  const auto device = JackOutput();
  EXPECT_TRUE(device->CanOpen(0, Pcm16Format(2, kDeviceOutputRate)));
  EXPECT_FALSE(device->CanOpen(0, Pcm16Format(1, 22050)));
  EXPECT_FALSE(device->CanOpen(0, Pcm16Format(3, kDeviceOutputRate)));
  // The standard text serves codes that carry no reason of their own.
  EXPECT_EQ(device->ErrorText(kWaveHandleBusy), WaveResultText(kWaveHandleBusy));
}

}  // namespace
