// The microphones' sound card input on a JACK dummy server at 44100 Hz, through the wave-input
// driver: recorded at the server's rate and halved to 22050 Hz.
#include "platform/rtaudio_wave_in_device.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "engine/wave_in_driver.h"
#include "jack_test_clients.h"

namespace {

using namespace std::chrono_literals;

const std::vector<EDeviceApi> kJackOnly{EDeviceApi::Jack};

// A value per 22050 Hz sample that is never silence and changes by 8 from one to the next.
constexpr std::size_t kPatternCycle = 1000;
int Pattern(std::size_t sample) { return 1000 + static_cast<int>(sample % kPatternCycle) * 8; }

TEST(RtAudioWaveIn, RecordsAJackClientHalvedTo22050Hz) {
  // Every pattern value twice at 44100 Hz: the mean of each pair is the value itself. Longer
  // than the recording, so that the pattern never runs out.
  std::vector<std::int16_t> played;
  for (std::size_t sample = 0; sample < 2 * 22050; ++sample)
    played.insert(played.end(), 2, static_cast<std::int16_t>(Pattern(sample)));
  TJackPlayer player(OwnClientName("player"), played);
  ASSERT_TRUE(player.IsOpen());
  const auto device = std::make_shared<TRtAudioWaveInDevice>(kJackOnly);
  const std::vector<std::string> names = device->DeviceNames();
  const auto listed = std::ranges::find(names, "JACK: " + player.name());
  ASSERT_NE(listed, names.end());

  const int threadsBefore = SettledThreadCount();
  std::vector<int> recorded;
  {
    TWorkWaveIn driver(device);
    ASSERT_EQ(driver.Open(static_cast<int>(listed - names.begin()), 1024), kWaveNoError)
        << driver.ErrorText(kWaveError);
    ASSERT_EQ(driver.Start(), kWaveNoError);
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
    ASSERT_TRUE(enough) << recorded.size() << " samples";
    EXPECT_EQ(driver.Close(), kWaveNoError);
  }
  EXPECT_TRUE(WaitUntil([&] { return ThreadCount() == threadsBefore; }, 2s));

  EXPECT_TRUE(HoldsPatternInPeriods(recorded, 512, Pattern, kPatternCycle));
}

TEST(RtAudioWaveIn, AServerAtAnotherRateIsRefusedWithAClearReason) {
  const TJackServerChoice server(JackServer48000());
  TWorkWaveIn driver(std::make_shared<TRtAudioWaveInDevice>(kJackOnly));
  EXPECT_FALSE(driver.CanOpen(0, driver.format()));
  EXPECT_EQ(driver.Open(0, 1024), kWaveBadFormat);
  EXPECT_FALSE(driver.IsOpen());
  const std::string text = driver.ErrorText(kWaveBadFormat);
  EXPECT_NE(text.find("runs at 48000 Hz, but the program needs it at 22050 or 44100 Hz"),
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
