// The LV2 instrument loaded through lilv as a host loads it (tests/plugin/lv2_test_host.h).
#include <gtest/gtest.h>

#include <QString>
#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <thread>

#include "tests/plugin/lv2_test_host.h"
#include "tests/plugin/test_sounds.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/tone_frequency.h"

namespace {

constexpr std::uint8_t kNoteOn = 0x90;
constexpr std::uint8_t kNoteOff = 0x80;
constexpr std::uint8_t kA4 = 69;
// A speaker's full scale (engine value 2048) is 1/16 of the output's.
constexpr float kSpeakerFullScale = 2048.0F / 32768.0F;

struct SDeleteState {
  void operator()(LilvState* state) const { lilv_state_free(state); }
};
using TState = std::unique_ptr<LilvState, SDeleteState>;

// The first frame from `from` on whose magnitude reaches `level`; the size when there is none.
std::size_t FirstSound(const std::vector<float>& samples, std::size_t from, float level) {
  for (std::size_t i = from; i < samples.size(); ++i)
    if (std::fabs(samples[i]) >= level) return i;
  return samples.size();
}

float Peak(const std::vector<float>& samples, std::size_t from, std::size_t to) {
  float peak = 0;
  for (std::size_t i = from; i < to && i < samples.size(); ++i)
    peak = std::max(peak, std::fabs(samples[i]));
  return peak;
}

class PluginTest : public TScratchFolderTest {
 protected:
  void SetUp() override {
    TScratchFolderTest::SetUp();
    ASSERT_NE(TLv2World::Get().Plugin(), nullptr) << "the bundle is not on LV2_PATH";
    sine = WriteSound(folder, "sine.zmr", KeyboardSineSound());
    faders = WriteSound(folder, "faders.zmr", FaderSound());
  }

  // An instance playing `sound`, chosen by file as a user does, swapped in after one block.
  std::unique_ptr<TTestInstrument> Playing(const std::filesystem::path& sound, double rate) {
    auto instrument = std::make_unique<TTestInstrument>(rate);
    EXPECT_TRUE(instrument->IsOpen()) << rate;
    instrument->ChooseFile(sound.string());
    instrument->Run(64, 64);
    return instrument;
  }

  std::filesystem::path sine;
  std::filesystem::path faders;
};

TEST_F(PluginTest, ANoteSoundsAtItsFrameAndPitchAtEveryHostRate) {
  for (const double rate : {44100.0, 48000.0, 96000.0}) {
    SCOPED_TRACE(rate);
    auto instrument = Playing(sine, rate);
    const auto noteFrame = static_cast<std::size_t>(rate / 10) + 3;
    instrument->Midi(noteFrame, kNoteOn, kA4, 100);
    const SStereo played = instrument->Run(static_cast<std::size_t>(rate / 2), 500);
    EXPECT_EQ(Peak(played.left, 0, noteFrame), 0.0F);
    // Heard within the conversion's delay, below a millisecond.
    const std::size_t heard = FirstSound(played.left, 0, 0.001F);
    EXPECT_GE(heard, noteFrame);
    EXPECT_LE(heard, noteFrame + static_cast<std::size_t>(rate / 1000));
    EXPECT_NEAR(ToneFrequency(played.left, noteFrame + 100, played.left.size(), 0, rate), 440.0,
                440.0 * 0.002);
    EXPECT_EQ(played.left, played.right);  // a mono speaker plays on both channels
  }
}

TEST_F(PluginTest, RefusesRatesItDoesNotConvertTo) {
  for (const double rate : {32000.0, 384000.0}) {
    const TTestInstrument instrument(rate);
    EXPECT_FALSE(instrument.IsOpen()) << rate;
  }
}

TEST_F(PluginTest, EveryBlockSizeGivesTheSameSamples) {
  std::vector<float> first;
  for (const std::size_t block : {512, 1, 3, 63, 4096}) {
    SCOPED_TRACE(block);
    auto instrument = Playing(sine, 44100);
    for (const std::size_t frame : {100, 1001, 5002, 7777}) {
      instrument->Midi(frame, kNoteOn, static_cast<std::uint8_t>(60 + frame % 12), 90);
      instrument->Midi(frame + 2000, kNoteOff, static_cast<std::uint8_t>(60 + frame % 12), 0);
    }
    const std::vector<float> left = instrument->Run(12000, block).left;
    if (first.empty()) {
      first = left;
      EXPECT_GT(Peak(first, 0, first.size()), 0.01F);
    } else {
      const auto differ = std::mismatch(left.begin(), left.end(), first.begin(), first.end());
      EXPECT_EQ(differ.first - left.begin(), left.size());
    }
  }
}

TEST_F(PluginTest, ASecondInstanceRestoringTheStatePlaysTheSameSamples) {
  auto first = Playing(sine, 48000);
  first->SetFader(1, 0.2F);
  const TState saved(first->Save());
  ASSERT_NE(saved, nullptr);
  // Through the text a host writes into its project.
  TLv2World& world = TLv2World::Get();
  char* project = lilv_state_to_string(world.World(), world.MapFeature(), world.UnmapFeature(),
                                       saved.get(), "urn:test:project", nullptr);
  ASSERT_NE(project, nullptr);
  const TState reopened(lilv_state_new_from_string(world.World(), world.MapFeature(), project));
  ASSERT_NE(reopened, nullptr);
  // The sound file may move or go: the state holds the sound.
  std::filesystem::remove(sine);

  TTestInstrument second(48000);
  second.Restore(reopened.get());
  second.SetFader(1, 0.2F);
  for (TTestInstrument* instrument : {first.get(), &second}) {
    instrument->Midi(1000, kNoteOn, kA4, 100);
    instrument->Midi(9000, kNoteOff, kA4, 0);
  }
  const SStereo expected = first->Run(20000, 256);
  EXPECT_GT(Peak(expected.left, 0, expected.left.size()), 0.01F);
  const SStereo restored = second.Run(20000, 256);
  EXPECT_EQ(restored.left, expected.left);
  EXPECT_EQ(restored.right, expected.right);
  EXPECT_EQ(second.Log(), "");
  // The second saves what the first saved, every character of the sound kept.
  const TState resaved(second.Save());
  char* again = lilv_state_to_string(world.World(), world.MapFeature(), world.UnmapFeature(),
                                     resaved.get(), "urn:test:project", nullptr);
  EXPECT_STREQ(again, project);
  lilv_free(again);
  lilv_free(project);
}

// A state written by hand gives the sound as a string literal, plain or with a language.
TEST_F(PluginTest, AStateHoldingAStringLiteralRestores) {
  // Written by hand in UTF-8.
  std::string escaped;
  for (const char c : QString::fromLatin1(KeyboardSineSound()).toUtf8().toStdString()) {
    if (c == '"' || c == '\\') escaped += '\\';
    escaped += c == '\n' ? std::string("\\n") : std::string(1, c);
  }
  auto chosen = Playing(sine, 44100);
  chosen->Midi(10, kNoteOn, kA4, 100);
  const std::vector<float> expected = chosen->Run(4000, 512).left;
  for (const std::string tag : {"", "@en"}) {
    const std::string turtle =
        "@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n"
        "@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n"
        "@prefix state: <http://lv2plug.in/ns/ext/state#> .\n"
        "<urn:test:plain> a pset:Preset ;\n"
        "  lv2:appliesTo <urn:zelmar:instrument> ;\n"
        "  state:state [ <urn:zelmar:instrument#sound> \"" +
        escaped + "\"" + tag + " ] .\n";
    TLv2World& world = TLv2World::Get();
    const TState state(
        lilv_state_new_from_string(world.World(), world.MapFeature(), turtle.c_str()));
    ASSERT_NE(state, nullptr);
    TTestInstrument restored(44100);
    restored.Restore(state.get());
    restored.Midi(10, kNoteOn, kA4, 100);
    EXPECT_EQ(restored.Run(4000, 512).left, expected) << tag;
    EXPECT_EQ(restored.Log(), "");
  }
}

TEST_F(PluginTest, TwoInstancesInOneProcessPlayTheirOwnSounds) {
  // Each plays and reloads its sound on a thread of its own, as two tracks of a host do.
  const auto play = [](TTestInstrument& instrument, const std::filesystem::path& sound, float fader,
                       SStereo& played) {
    for (int round = 0; round < 3; ++round) {
      instrument.ChooseFile(sound.string());
      instrument.SetFader(3, fader);
      instrument.Midi(300, kNoteOn, kA4, 100);
      played = instrument.Run(8000, 128);
    }
  };
  SStereo alone[2];
  {
    TTestInstrument a(44100);
    TTestInstrument b(44100);
    play(a, sine, 0.25F, alone[0]);
    play(b, faders, 0.75F, alone[1]);
  }
  SStereo together[2];
  TTestInstrument a(44100);
  TTestInstrument b(48000);
  std::thread first([&] { play(a, sine, 0.25F, together[0]); });
  std::thread second([&] { play(b, faders, 0.75F, together[1]); });
  first.join();
  second.join();
  EXPECT_EQ(together[0].left, alone[0].left);
  // The second plays at its own rate, with "D" at three quarters on both channels.
  EXPECT_NEAR(together[1].left.back(), 0.75F * kSpeakerFullScale + 0.5F * kSpeakerFullScale, 1e-4F);
  EXPECT_NEAR(alone[1].left.back(), together[1].left.back(), 1e-4F);
}

TEST_F(PluginTest, EachFaderControlMovesItsPanelFaderInReadingOrder) {
  // Left: "B" (Fader 1) and "D" (Fader 3); right: "A" (Fader 2) and "D"; "C" (Fader 4) plays
  // nowhere; Fader 5 has no fader to move.
  struct SCase {
    std::array<float, 5> controls;
    float left;
    float right;
  };
  const SCase cases[] = {
      {{0.0F, 0.0F, 0.0F, 0.0F, 0.0F}, 0.0F, 0.0F},
      {{0.25F, 0.5F, 0.0F, 1.0F, 1.0F}, 0.25F, 0.5F},
      {{0.0F, 0.0F, 0.75F, 0.0F, 0.0F}, 0.75F, 0.75F},
      {{1.0F, 0.0F, 0.5F, 0.5F, 0.5F}, 1.5F, 0.5F},
      // Beyond the controls' range the fader stops at its limits.
      {{-1.0F, 2.0F, 0.0F, 0.0F, 0.0F}, 0.0F, 1.0F},
  };
  auto instrument = Playing(faders, 44100);
  for (const SCase& c : cases) {
    for (int n = 1; n <= 5; ++n)
      instrument->SetFader(n, c.controls[static_cast<std::size_t>(n - 1)]);
    const SStereo played = instrument->Run(64, 64);
    EXPECT_FLOAT_EQ(played.left.back(), c.left * kSpeakerFullScale) << c.controls[0];
    EXPECT_FLOAT_EQ(played.right.back(), c.right * kSpeakerFullScale) << c.controls[0];
  }
}

TEST_F(PluginTest, ASoundFileThatFailsToLoadLeavesTheOldOnePlayingAndSaysWhy) {
  struct SCase {
    std::string name;
    std::string content;  // none: the file does not exist
    bool exists;
    std::string reason;
  };
  const SCase cases[] = {
      {"missing.zmr", "", false, "cannot be opened"},
      {"garbage.zmr", "this is no sound\n", true, "not a readable sound"},
      {"cut.zmr", KeyboardSineSound().substr(0, 300), true, "not a readable sound"},
  };
  auto reference = Playing(sine, 44100);
  reference->Midi(0, kNoteOn, kA4, 100);
  const std::vector<float> expected = reference->Run(6000, 256).left;
  for (const SCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::filesystem::path path = folder / c.name;
    if (c.exists) WriteSound(folder, c.name, c.content);
    auto instrument = Playing(sine, 44100);
    instrument->Midi(0, kNoteOn, kA4, 100);
    std::vector<float> played = instrument->Run(3000, 256).left;
    instrument->ChooseFile(path.string());
    const std::vector<float> after = instrument->Run(3000, 256).left;
    played.insert(played.end(), after.begin(), after.end());
    EXPECT_EQ(played, expected);
    const std::string log = instrument->Log();
    EXPECT_NE(log.find(path.string()), std::string::npos) << log;
    EXPECT_NE(log.find(c.reason), std::string::npos) << log;
  }
}

TEST_F(PluginTest, RunAllocatesNothing) {
  auto instrument = Playing(sine, 48000);
  instrument->Run(4096, 256);
  const std::string sounds[] = {faders.string(), sine.string()};
  allocation_count::Start();
  for (int round = 0; round < 4; ++round) {
    for (std::size_t frame = 0; frame < 8000; frame += 500) {
      instrument->Midi(frame, kNoteOn, static_cast<std::uint8_t>(50 + frame / 500), 100);
      instrument->Midi(frame + 250, kNoteOff, static_cast<std::uint8_t>(50 + frame / 500), 0);
    }
    instrument->SetFader(1 + round, 0.1F * static_cast<float>(round));
    // A new sound swapped in between two blocks; only the worker loads it.
    instrument->ChooseFile(sounds[round % 2]);
    instrument->Run(8000, 100 + 300 * round);
  }
  EXPECT_EQ(allocation_count::Stop(), 0U);
  EXPECT_EQ(instrument->Log(), "");
}

}  // namespace
