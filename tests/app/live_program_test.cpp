// The graphical program playing live on the fixture's JACK server: the test's own JACK clients
// stand for the keyboard and the loudspeaker, the settings store chooses them and
// "StartAfterLoading", and the test presses F5 and F6 on a private X server as a user would.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <QString>
#include <algorithm>
#include <filesystem>
#include <thread>

#include "jack_test_clients.h"
#include "platform/options.h"
#include "platform/rtaudio_wave_out_device.h"
#include "platform/rtmidi_in_devices.h"
#include "program_display.h"
#include "tests/devices/program_process.h"
#include "tests/modules/patch_builder.h"
#include "tests/support/tone_frequency.h"
#include "x_display.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr std::size_t kRate = 44100;
constexpr std::uint8_t kA4 = 69;
// Long enough for the lead of the default "WaveBuffer", JACK's period and a busy machine.
constexpr auto kSettle = 1s;

// A keyboard playing a sine, in the window a user left open.
fs::path KeyboardSound(const fs::path& folder) {
  TDokumentKlang document;
  AddKeyboardSine(document);
  document.ViewSound->Visible->value = 1;
  const fs::path path = folder / "keyboard.zmr";
  EXPECT_TRUE(document.Save(QString::fromStdString(path.string())));
  return path;
}

void Send(TJackKeyboard& keyboard, const std::vector<std::uint8_t>& message) {
  ASSERT_TRUE(WaitUntil([&] { return keyboard.Send(message); }, 2s));
}

// What the loudspeaker heard from `from` on.
struct SHeard {
  std::vector<int> samples;
  std::size_t from;
  double Pitch() const { return ToneFrequency(samples, from, samples.size()); }
  bool Silent() const {
    return std::all_of(samples.begin() + static_cast<std::ptrdiff_t>(from), samples.end(),
                       [](int value) { return std::abs(value) <= 1; });
  }
};

SHeard HearFor(const TJackRecorder& recorder, std::chrono::milliseconds span) {
  const std::size_t from = recorder.Recorded();
  std::this_thread::sleep_for(span);
  return {recorder.Samples(0, recorder.Recorded()), from};
}

TEST(LiveProgram, PlaysAKeyboardNoteAtItsPitchAndF6SilencesItAndF5StartsItAgain) {
  const fs::path folder = fs::temp_directory_path() / "live-program";
  fs::create_directories(folder);
  const TJackRecorder recorder(OwnClientName("speaker"), 1, 20 * kRate);
  TJackKeyboard keyboard(OwnClientName("keyboard"));
  ASSERT_TRUE(recorder.IsOpen() && keyboard.IsOpen());
  SSoundOptions options;
  options.speakerDefaultDevice =
      DeviceNumber(TRtAudioWaveOutDevice().DeviceNames(), "JACK: " + recorder.name());
  options.midiDefaultDevice =
      DeviceNumber(TRtMidiInDevices().DeviceNames(), "JACK: " + keyboard.name() + ":out");
  options.startAfterLoading = true;
  StoreOptions(options);

  TXDisplay display;
  ASSERT_TRUE(display.Started()) << "Xvfb did not start";
  const TProgramDisplay shown(display);
  TProgramProcess program({KeyboardSound(folder).string()}, folder / "output.txt");
  const unsigned long window = display.WaitForWindow("keyboard.zmr", 20s);
  ASSERT_NE(window, 0u) << program.Output();
  std::this_thread::sleep_for(kSettle);

  Send(keyboard, {0x90, kA4, 100});
  std::this_thread::sleep_for(kSettle);
  EXPECT_NEAR(HearFor(recorder, 1s).Pitch(), 440.0, 3.0) << program.Output();

  display.Type(window, XK_F6);
  std::this_thread::sleep_for(kSettle);
  EXPECT_TRUE(HearFor(recorder, 1s).Silent()) << "F6 stops the sound";
  Send(keyboard, {0x80, kA4, 0});

  display.Type(window, XK_F5);
  std::this_thread::sleep_for(kSettle);
  Send(keyboard, {0x90, kA4 + 12, 100});
  std::this_thread::sleep_for(kSettle);
  EXPECT_NEAR(HearFor(recorder, 1s).Pitch(), 880.0, 6.0) << "F5 starts it again";
  EXPECT_EQ(program.Stop(SIGKILL), 128 + SIGKILL);
  fs::remove_all(folder);
}

}  // namespace
