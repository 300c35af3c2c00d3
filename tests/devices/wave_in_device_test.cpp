// The microphones' sound card input on JACK dummy servers, through the wave-input driver:
// recorded at the server's rate and halved (44100 Hz) or converted (48000 Hz) to 22050 Hz.
#include "platform/rtaudio_wave_in_device.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <optional>

#include "engine/wave_in_driver.h"
#include "jack_test_clients.h"
#include "tests/support/tone_frequency.h"

namespace {

using namespace std::chrono_literals;

const std::vector<EDeviceApi> kJackOnly{EDeviceApi::Jack};

// A value per 22050 Hz sample that is never silence and changes by 8 from one to the next.
constexpr std::size_t kPatternCycle = 1000;
int Pattern(std::size_t sample) { return 1000 + static_cast<int>(sample % kPatternCycle) * 8; }

// Plays `played` into the microphone on the server at `rate` Hz and records 22050 samples.
std::vector<int> RecordAJackClient(unsigned rate, const std::vector<std::int16_t>& played) {
  std::optional<TJackServerChoice> server;
  if (rate != 44100) server.emplace(JackServerAt(rate));
  TJackPlayer player(OwnClientName("player"), played);
  EXPECT_TRUE(player.IsOpen());
  const auto device = std::make_shared<TRtAudioWaveInDevice>(kJackOnly);
  const int number = DeviceNumber(device->DeviceNames(), "JACK: " + player.name());
  EXPECT_NE(number, -1);

  const int threadsBefore = SettledThreadCount();
  std::vector<int> recorded;
  {
    TWorkWaveIn driver(device);
    EXPECT_EQ(driver.Open(number, 1024), kWaveNoError) << driver.ErrorText(kWaveError);
    EXPECT_EQ(driver.Start(), kWaveNoError);
    EXPECT_EQ(driver.Start(), kWaveHandleBusy);
    player.Play();
    // The microphone kernel's round: take a filled buffer, read it, give it back.
    const bool enough = WaitUntil(
        [&] {
          SWaveHeader* header = nullptr;
          while (driver.PopFilled(header)) {
            const auto* samples = reinterpret_cast<const std::int16_t*>(header->data);
            recorded.insert(recorded.end(), samples, samples + header->bytesRecorded / 2);
            driver.AddBuffer(header);
          }
          return recorded.size() >= 22050;
        },
        5s);
    EXPECT_TRUE(enough) << recorded.size() << " samples";
    EXPECT_EQ(driver.Close(), kWaveNoError);
  }
  EXPECT_TRUE(WaitUntil([&] { return ThreadCount() == threadsBefore; }, 2s));
  return recorded;
}

TEST(RtAudioWaveIn, RecordsAJackClientHalvedTo22050Hz) {
  // Every pattern value twice at 44100 Hz: the mean of each pair is the value itself. Longer
  // than the recording, so that the pattern never runs out.
  std::vector<std::int16_t> played;
  for (std::size_t sample = 0; sample < 2 * 22050; ++sample)
    played.insert(played.end(), 2, static_cast<std::int16_t>(Pattern(sample)));
  EXPECT_TRUE(HoldsPatternInPeriods(RecordAJackClient(44100, played), 512, Pattern, kPatternCycle));
}

TEST(RtAudioWaveIn, RecordsAToneOnA48000HzServerAtItsPitchAndLevelIn22050HzSamples) {
  constexpr double kPitch = 1000;
  constexpr int kAmplitude = 8000;
  std::vector<std::int16_t> tone(2 * 48000);
  for (std::size_t i = 0; i < tone.size(); ++i)
    tone[i] = static_cast<std::int16_t>(std::lround(
        kAmplitude * std::sin(2 * std::numbers::pi * kPitch * static_cast<double>(i) / 48000)));
  const std::vector<int> recorded = RecordAJackClient(48000, tone);
  ASSERT_GE(recorded.size(), 22050u);
  const auto sound = static_cast<std::size_t>(
      std::find_if(recorded.begin(), recorded.end(), [](int value) { return value != 0; }) -
      recorded.begin());
  ASSERT_LT(sound + 11025, recorded.size());
  // 22050 Hz samples: at 48000 Hz taken for 22050 Hz ones the tone would read 459 Hz.
  EXPECT_NEAR(ToneFrequency(recorded, sound + 100, recorded.size(), kAmplitude / 4, 22050), kPitch,
              0.5);
  const int peak = std::abs(
      *std::max_element(recorded.begin() + static_cast<std::ptrdiff_t>(sound), recorded.end(),
                        [](int a, int b) { return std::abs(a) < std::abs(b); }));
  EXPECT_NEAR(peak, kAmplitude, kAmplitude / 50.0);
}

TEST(RtAudioWaveIn, AServerAtAnotherRateIsRefusedWithAClearReason) {
  const TJackServerChoice server(JackServerAt(32000));
  TWorkWaveIn driver(std::make_shared<TRtAudioWaveInDevice>(kJackOnly));
  EXPECT_FALSE(driver.CanOpen(0, driver.format()));
  EXPECT_EQ(driver.Open(0, 1024), kWaveBadFormat);
  EXPECT_FALSE(driver.IsOpen());
  const std::string text = driver.ErrorText(kWaveBadFormat);
  EXPECT_NE(text.find("runs at 32000 Hz, but the program needs it at 22050, 44100 or 48000 Hz"),
            std::string::npos)
      << text;
}

TEST(RtAudioWaveIn, AMissingServerGivesAnErrorNotACrash) {
  const TJackServerChoice server("zelmar-no-such-server");
  TWorkWaveIn driver(std::make_shared<TRtAudioWaveInDevice>(kJackOnly));
  EXPECT_EQ(driver.Open(0, 1024), kWaveBadDeviceId);
  EXPECT_EQ(driver.Start(), kWaveInvalidHandle);
  EXPECT_EQ(driver.Close(), kWaveInvalidHandle);
}

}  // namespace
