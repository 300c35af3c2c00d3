// The plugin in Ardour's headless session tool on the JACK fixture: a session with the
// instrument on a MIDI track records a region from a JACK MIDI client (jack_midiseq), plays it
// back and exports it (tests/plugin/ardour_session.lua); the exported file holds the note at its
// pitch.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/wav_file.h"
#include "tests/devices/jack_test_clients.h"
#include "tests/devices/program_process.h"
#include "tests/plugin/lv2_test_host.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/tone_frequency.h"

namespace {

using namespace std::chrono_literals;

class ArdourTest : public TScratchFolderTest {};

TEST_F(ArdourTest, ExportsARegionPlayedByTheInstrumentOnAMidiTrack) {
  // A4 for a second out of every two, from the start of the loop.
  const std::string keyboard = OwnClientName("keyboard");
  TProgramProcess sequencer("/usr/bin/jack_midiseq", {keyboard, "88200", "0", "69", "44100"},
                            folder / "sequencer.log");
  ASSERT_TRUE(sequencer.Started());
  UseTheBuildsBundle();
  const std::filesystem::path exported = folder / "export";
  std::filesystem::create_directories(exported);
  setenv("ZELMAR_SESSION", (folder / "session").c_str(), 1);
  setenv("ZELMAR_KEYBOARD", (keyboard + ":out").c_str(), 1);
  setenv("ZELMAR_EXPORT", exported.c_str(), 1);
  TProgramProcess ardour("/usr/bin/ardour7-lua", {ZELMAR_ARDOUR_SESSION_SCRIPT},
                         folder / "ardour.log");
  ASSERT_EQ(ardour.WaitForExit(60s), 0) << ardour.Output();
  sequencer.Stop();
  EXPECT_NE(ardour.Output().find("plugin on the track: Zelmar"), std::string::npos);

  SWavContent wav;
  std::string error;
  ASSERT_TRUE(ReadWavFile(exported / "zelmar.wav", wav, error)) << error << ardour.Output();
  ASSERT_EQ(wav.format.bitsPerSample, 16);
  const std::size_t frames = wav.samples.size() / wav.format.blockAlign;
  std::vector<int> left(frames);
  for (std::size_t i = 0; i < frames; ++i) {
    std::int16_t sample = 0;
    std::memcpy(&sample, &wav.samples[i * wav.format.blockAlign], sizeof sample);
    left[i] = sample;
  }
  // The instance plays its default sound, the bundled saw synth.
  EXPECT_NEAR(ToneFrequency(left, 0, frames, 2000, wav.format.samplesPerSecond), 440.0, 4.0)
      << ardour.Output();
}

}  // namespace
