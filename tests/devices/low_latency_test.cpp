// The low-latency mode inside the program's own process on the fixture's JACK server: the speaker
// device's callback computes the sound, so a playing sound has no engine thread, and starting
// and stopping it leaves nothing behind. A microphone on another device records on its own.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/wav_file_in_device.h"
#include "jack_test_clients.h"
#include "modules/catalogue.h"
#include "modules/constants.h"
#include "modules/speakers.h"
#include "patch/application_context.h"
#include "platform/real_device_services.h"
#include "tests/engine/wav_test_files.h"
#include "tests/modules/patch_builder.h"

namespace {

using namespace std::chrono_literals;

constexpr int kLevel = 1000;

int OutputNumber(const TRealDeviceServices& services, const TJackTestClient& client) {
  const std::vector<std::string> names = services.waveOut.DeviceNames();
  const auto found = std::ranges::find(names, "JACK: " + client.name());
  return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

// A microphone wired to a speaker, each on its default device, the sound bound and stopped.
class TMicrophoneSound {
 public:
  TMicrophoneSound(TRealDeviceServices& services, int speakerDevice, TWaveInDevice& input,
                   int microphoneDevice)
      : context_(Context(services, speakerDevice, input, microphoneDevice)), scope_(context_) {
    microphone_ = &Create<TMikrophon>(document_, "Micro", "Microphon");
    speaker_ = &Create<TLautsprecher>(document_, "Speaker", "Speaker");
    Wire(*microphone_, *speaker_);
  }

  // Opens both devices and binds the sound: empty, or the error of the device that did not open.
  std::string Open() {
    if (!microphone_->OpenDevice(false)) return microphone_->DeviceError();
    if (!speaker_->OpenDevice(false)) return speaker_->DeviceError();
    document_.RestartSound(false);
    return {};
  }

  TKlangEngine& Engine() { return document_.Engine(); }

 private:
  static SApplicationContext Context(TRealDeviceServices& services, int speakerDevice,
                                     TWaveInDevice& input, int microphoneDevice) {
    SApplicationContext context;
    context.moduleTypes = ModuleCatalogue();
    context.devices = {&services.waveOut, &input, &services.midiIn};
    context.soundOptions.speakerDefaultDevice = speakerDevice;
    context.soundOptions.microDefaultDevice = microphoneDevice;
    return context;
  }

  const SApplicationContext context_;
  const TApplicationScope scope_;
  TDokumentKlang document_;
  TMikrophon* microphone_;
  TLautsprecher* speaker_;
};

TEST(LowLatencyMode, StartsAndStopsManyTimesWithoutAnEngineThreadAndLeavesNoThreadBehind) {
  const TJackRecorder recorder(OwnClientName("speaker"), 1, 20 * 44100);
  ASSERT_TRUE(recorder.IsOpen());
  const int threadsBefore = SettledThreadCount();
  {
    TRealDeviceServices services({EDeviceApi::Jack});
    SApplicationContext context;
    context.moduleTypes = ModuleCatalogue();
    context.devices = {&services.waveOut, &services.waveIn, &services.midiIn};
    context.soundOptions.speakerDefaultDevice = OutputNumber(services, recorder);
    const TApplicationScope scope(context);

    TDokumentKlang document;
    auto& level = Create<TKonstantenAnalog>(document, "Level", "ConstAnalog");
    level.Value->value = kLevel;
    auto& speaker = Create<TLautsprecher>(document, "Speaker", "Speaker");
    Wire(level, speaker);
    ASSERT_TRUE(speaker.OpenDevice(false)) << speaker.DeviceError();
    document.RestartSound(false);
    TKlangEngine& engine = document.Engine();
    engine.SetLowLatency(true);
    const int threadsStopped = ThreadCount();

    for (int cycle = 0; cycle < 20; ++cycle) {
      SCOPED_TRACE("cycle " + std::to_string(cycle));
      const std::size_t before = recorder.Recorded();
      ASSERT_EQ(engine.StartSound(), TKlangEngine::kStarted);
      EXPECT_TRUE(engine.IsLowLatency());
      EXPECT_TRUE(engine.IsRunning());
      EXPECT_EQ(ThreadCount(), threadsStopped);
      // The level arrives within a few periods of the start.
      ASSERT_TRUE(WaitUntil(
          [&] {
            const std::vector<int> heard = recorder.Samples(0, recorder.Recorded());
            return std::any_of(heard.begin() + static_cast<std::ptrdiff_t>(before), heard.end(),
                               [](int value) { return value == kLevel; });
          },
          2s));
      EXPECT_EQ(engine.StopSound(), TKlangEngine::kStopped);
      EXPECT_FALSE(engine.IsLowLatency());
    }
    // Stopped, the device plays silence again.
    const std::size_t stopped = recorder.Recorded();
    ASSERT_TRUE(WaitUntil([&] { return recorder.Recorded() > stopped + 4096; }, 2s));
    const std::vector<int> heard = recorder.Samples(0, recorder.Recorded());
    EXPECT_TRUE(std::all_of(heard.begin() + static_cast<std::ptrdiff_t>(stopped + 2048),
                            heard.end(), [](int value) { return value == 0; }));
  }
  EXPECT_TRUE(WaitUntil([&] { return ThreadCount() == threadsBefore; }, 2s))
      << ThreadCount() << " threads, " << threadsBefore << " before";
}

// Recorded in the speaker's callback, the microphone's own stream is suspended; once the duplex
// sound stops it records on its own again, as the next sound in the other mode hears for longer
// than what its stream had recorded before it was suspended.
TEST(LowLatencyMode, AMicrophoneOnTheSpeakersServerRunsDuplexAndRecordsOnItsOwnAfterwards) {
  TJackPlayer player(OwnClientName("microphone"),
                     std::vector<std::int16_t>(20 * 44100, static_cast<std::int16_t>(kLevel)));
  const TJackRecorder recorder(OwnClientName("speaker"), 1, 20 * 44100);
  ASSERT_TRUE(player.IsOpen() && recorder.IsOpen());
  TRealDeviceServices services({EDeviceApi::Jack});
  TMicrophoneSound sound(services, OutputNumber(services, recorder), services.waveIn,
                         DeviceNumber(services.waveIn.DeviceNames(), "JACK: " + player.name()));
  ASSERT_EQ(sound.Open(), "");
  TKlangEngine& engine = sound.Engine();
  player.Play();
  for (const bool lowLatency : {true, false, true}) {
    SCOPED_TRACE(lowLatency ? "low latency" : "buffered");
    engine.SetLowLatency(lowLatency);
    const std::size_t before = recorder.Recorded();
    ASSERT_EQ(engine.StartSound(), TKlangEngine::kStarted);
    EXPECT_EQ(engine.IsDuplex(), lowLatency);
    EXPECT_TRUE(WaitUntil(
        [&] {
          const std::vector<int> heard = recorder.Samples(0, recorder.Recorded());
          return std::count_if(heard.begin() + static_cast<std::ptrdiff_t>(before), heard.end(),
                               [](int value) { return std::abs(value - kLevel) <= 1; }) > 44100 / 2;
        },
        3s));
    EXPECT_EQ(engine.StopSound(), TKlangEngine::kStopped);
  }
}

// The speaker's device cannot record a file: the microphone reads its own buffers, now on the
// speaker's callback, and what it records is heard.
TEST(LowLatencyMode, AMicrophoneOnAnotherDeviceRecordsOnItsOwnStream) {
  const TJackRecorder recorder(OwnClientName("speaker"), 1, 20 * 44100);
  ASSERT_TRUE(recorder.IsOpen());
  TRealDeviceServices services({EDeviceApi::Jack});
  TWavFileInDevice recording(WriteTestFile(
      "level.wav",
      Wav16(1, kEngineSampleRate, std::vector<std::int16_t>(10 * kEngineSampleRate, kLevel))));
  TMicrophoneSound sound(services, OutputNumber(services, recorder), recording, 0);
  ASSERT_EQ(sound.Open(), "");
  TKlangEngine& engine = sound.Engine();
  engine.SetLowLatency(true);
  ASSERT_EQ(engine.StartSound(), TKlangEngine::kStarted);
  EXPECT_TRUE(engine.IsLowLatency());
  EXPECT_FALSE(engine.IsDuplex());
  EXPECT_TRUE(WaitUntil(
      [&] {
        const std::vector<int> heard = recorder.Samples(0, recorder.Recorded());
        return std::ranges::count(heard, kLevel) > 4096;
      },
      2s));
  EXPECT_EQ(engine.StopSound(), TKlangEngine::kStopped);
}

}  // namespace
