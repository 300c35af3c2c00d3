// `zelmar --play` end to end on the fixture's JACK server: the test's own JACK clients stand for
// the keyboard, the loudspeaker and the microphone plugged into the program, and the settings
// store of the test's private configuration folder chooses them as the default devices.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <numbers>
#include <optional>
#include <regex>
#include <sstream>
#include <string_view>
#include <thread>

#include "engine/speaker_kernels.h"
#include "jack_test_clients.h"
#include "modules/constants.h"
#include "modules/midi.h"
#include "modules/speakers.h"
#include "platform/options.h"
#include "platform/rtaudio_wave_in_device.h"
#include "platform/rtaudio_wave_out_device.h"
#include "platform/rtmidi_in_devices.h"
#include "program_process.h"
#include "tests/modules/patch_builder.h"
#include "tests/support/tone_frequency.h"
#include "tools/example_content.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr std::size_t kRate = 44100;
constexpr std::size_t kPeriod = 1024;  // frames per cycle of the fixture's servers
// Device frames of "WaveBuffer" lead per unit of the option.
constexpr std::size_t kLeadFramesPerUnit = 250;
constexpr std::uint8_t kA4 = 69;
// A full-scale sine keyed at velocity 100: amplitude 100 x 1024 >> 6 = 1600, and engine values
// reach the device as they are.
constexpr int kNotePeak = 1600;
constexpr auto kStartLimit = 20s;

// Frames for a recorder that records from before a program starts: `needed` after the start, which
// a busy machine may delay by up to kStartLimit.
std::size_t RecorderFrames(std::chrono::seconds needed, unsigned rate) {
  return static_cast<std::size_t>((kStartLimit + needed).count()) * rate;
}

int OutputNumber(const TJackTestClient& client) {
  return DeviceNumber(TRtAudioWaveOutDevice().DeviceNames(), "JACK: " + client.name());
}
int InputNumber(const TJackTestClient& client) {
  return DeviceNumber(TRtAudioWaveInDevice().DeviceNames(), "JACK: " + client.name());
}
int MidiNumber(const TJackTestClient& client) {
  return DeviceNumber(TRtMidiInDevices().DeviceNames(), "JACK: " + client.name() + ":out");
}

// What the program finds in the settings store: the default devices and the sound options.
struct SStoredOptions {
  int speaker = 0;
  int microphone = 0;
  int midi = 0;
  int waveBuffer = kWaveBufferDefault;
  int processorLimit = 95;  // percent
  bool lowLatency = false;
};

void Store(const SStoredOptions& stored) {
  SSoundOptions options;
  options.speakerDefaultDevice = stored.speaker;
  options.microDefaultDevice = stored.microphone;
  options.midiDefaultDevice = stored.midi;
  options.waveBuffer = stored.waveBuffer;
  options.stopProzesserOver = stored.processorLimit;
  options.lowLatency = stored.lowLatency;
  StoreOptions(options);
}

// Hands every message to the keyboard, waiting while its queue is full.
void SendAll(TJackKeyboard& keyboard, const std::vector<std::vector<std::uint8_t>>& messages) {
  for (const auto& message : messages)
    ASSERT_TRUE(WaitUntil([&] { return keyboard.Send(message); }, 2s));
}

bool Silent(const std::vector<int>& samples, std::size_t from, std::size_t to) {
  return std::all_of(samples.begin() + static_cast<std::ptrdiff_t>(from),
                     samples.begin() + static_cast<std::ptrdiff_t>(to),
                     [](int value) { return std::abs(value) <= 1; });
}

std::size_t FirstSound(const std::vector<int>& samples, std::size_t from) {
  const auto found = std::find_if(samples.begin() + static_cast<std::ptrdiff_t>(from),
                                  samples.end(), [](int value) { return std::abs(value) > 1; });
  return static_cast<std::size_t>(found - samples.begin());
}

// The lines the program itself wrote to say what went wrong.
int ProgramLines(const std::string& output) {
  const std::string text = "\n" + output;
  int lines = 0;
  for (auto at = text.find("\nzelmar: "); at != std::string::npos;
       at = text.find("\nzelmar: ", at + 1))
    ++lines;
  return lines;
}

double Milliseconds(std::size_t frames, std::size_t rate) {
  return static_cast<double>(frames) * 1000.0 / static_cast<double>(rate);
}

// The processor usages `zelmar --play` reported in `output`, in percent.
std::vector<int> Usages(const std::string& output) {
  const std::regex usageLine("processor usage (\\d+)%");
  std::vector<int> usages;
  for (auto line = std::sregex_iterator(output.begin(), output.end(), usageLine);
       line != std::sregex_iterator(); ++line)
    usages.push_back(std::stoi((*line)[1]));
  return usages;
}

std::string UsagesText(const std::vector<int>& usages) {
  std::string shown;
  for (const int usage : usages)
    shown += " " + std::to_string(usage) + "%";
  return shown;
}

class PlayCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("zelmar-play-test-" + std::to_string(::getpid()));
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  fs::path Save(TDokumentKlang& document, const std::string& name) {
    const fs::path path = folder_ / name;
    EXPECT_TRUE(document.Save(QString::fromStdString(path.string())));
    return path;
  }

  // MIDI input -> key -> poly sine -> combiner -> the speaker's input `channel`; the key plays
  // `octaves` above the note.
  static void AddVoice(TDokumentKlang& document, TModulArbeiten& midi, TModulArbeiten& speaker,
                       const std::string& channel, int octaves) {
    auto& key = Create<TMidiTaste>(document, "Key" + channel, "MidiKey");
    auto& sine = Create(document, "Sine" + channel, "PolySine");
    auto& mix = Create(document, "Mix" + channel, "PolyToMono");
    key.NoteOffset->value = 12 * octaves;
    Wire(midi, key);
    Wire(key, sine, "1", "1");
    Wire(key, sine, "2", "2");
    Wire(sine, mix);
    Wire(mix, speaker, channel);
  }

  // A keyboard playing a sine: on a mono speaker, or on a stereo one with the right channel an
  // octave above the left.
  fs::path KeyboardSound(bool stereo, int voices) {
    TDokumentKlang document;
    auto& midi = Create(document, "Midi", "MidiIn");
    auto& speaker = Create(document, "Speaker", stereo ? "SpeakerStereo" : "Speaker");
    AddVoice(document, midi, speaker, "1", 0);
    if (stereo) AddVoice(document, midi, speaker, "2", 1);
    document.SetVoiceCount(voices);
    return Save(document, "keyboard.zmr");
  }

  fs::path MicrophoneSound() {
    TDokumentKlang document;
    Wire(Create(document, "Micro", "Microphon"), Create(document, "Speaker", "Speaker"));
    return Save(document, "microphone.zmr");
  }

  std::unique_ptr<TProgramProcess> Play(const fs::path& sound, const char* seconds = "40") {
    auto program = std::make_unique<TProgramProcess>(
        std::vector<std::string>{"--play", sound.string(), "--seconds", seconds},
        folder_ / "output.txt");
    EXPECT_TRUE(program->Started());
    return program;
  }

  fs::path folder_;
};

// A note played on the keyboard, as the loudspeaker client heard it.
struct SHeardNote {
  std::vector<std::vector<int>> channels;
  std::size_t noteOn = 0;   // recorded frame at which the note-on went out
  std::size_t noteOff = 0;  // and the note-off
};

SHeardNote PlayNote(TJackKeyboard& keyboard, const TJackRecorder& recorder, int channels) {
  SHeardNote heard;
  std::this_thread::sleep_for(300ms);
  heard.noteOn = recorder.Recorded();
  SendAll(keyboard, {{0x90, kA4, 100}});
  std::this_thread::sleep_for(1s);
  heard.noteOff = recorder.Recorded();
  SendAll(keyboard, {{0x80, kA4, 0}});
  std::this_thread::sleep_for(1s);
  for (int channel = 0; channel < channels; ++channel)
    heard.channels.push_back(recorder.Samples(channel, recorder.Recorded()));
  return heard;
}

struct SNoteCase {
  const char* name;
  bool stereo;
  int waveBuffer;
  bool lowLatency = false;
  unsigned rate = kRate;  // of the server; at any other than 44100 Hz the sound is converted
};

void PrintTo(const SNoteCase& c, std::ostream* out) { *out << c.name; }

class PlayedNote : public PlayCommandTest, public ::testing::WithParamInterface<SNoteCase> {};

int Peak(const std::vector<int>& samples, std::size_t from, std::size_t to) {
  int peak = 0;
  for (std::size_t i = from; i < to; ++i)
    peak = std::max(peak, std::abs(samples[i]));
  return peak;
}

// The note sounds at its pitch and level from about the "WaveBuffer" lead after the note-on
// (within the period the note-on came in, and the next one, in the low-latency mode) until about
// the same after the note-off, with silence before and after, on every channel.
TEST_P(PlayedNote, SoundsAtItsPitchAfterTheLeadAndFallsSilentAtTheRelease) {
  const SNoteCase& c = GetParam();
  std::optional<TJackServerChoice> server;
  if (c.rate != kRate) server.emplace(JackServerAt(c.rate));
  const int channels = c.stereo ? 2 : 1;
  const TJackRecorder recorder(OwnClientName("speaker"), channels, RecorderFrames(4s, c.rate));
  TJackKeyboard keyboard(OwnClientName("keyboard"));
  ASSERT_TRUE(recorder.IsOpen() && keyboard.IsOpen());
  // The server's listing can miss a client that has just opened (seen once on a busy machine).
  ASSERT_TRUE(
      WaitUntil([&] { return OutputNumber(recorder) != -1 && MidiNumber(keyboard) != -1; }, 2s));
  // Numbered before the program opens its own streams, which the server may list among them.
  const int speaker = OutputNumber(recorder);
  const int midi = MidiNumber(keyboard);
  Store({.speaker = speaker, .midi = midi, .waveBuffer = c.waveBuffer, .lowLatency = c.lowLatency});
  const auto program = Play(KeyboardSound(c.stereo, 4));
  ASSERT_TRUE(program->WaitForOutput("playing", kStartLimit)) << program->Output();
  EXPECT_NE(program->Output().find(c.lowLatency ? "mode low latency" : "mode buffered"),
            std::string::npos)
      << program->Output();
  EXPECT_NE(program->Output().find("speaker \"Speaker\": device " + std::to_string(speaker) +
                                   ", JACK: " + recorder.name()),
            std::string::npos)
      << program->Output();
  EXPECT_NE(program->Output().find("MIDI input \"Midi\": device " + std::to_string(midi) +
                                   ", JACK: " + keyboard.name() + ":out"),
            std::string::npos)
      << program->Output();

  const SHeardNote heard = PlayNote(keyboard, recorder, channels);
  EXPECT_EQ(program->Stop(), 0) << program->Output();
  EXPECT_NE(program->Output().find("stopped"), std::string::npos) << program->Output();

  const std::size_t lead =
      c.lowLatency ? 0
                   : static_cast<std::size_t>(c.waveBuffer) * kLeadFramesPerUnit * c.rate / kRate;
  for (int channel = 0; channel < channels; ++channel) {
    SCOPED_TRACE("channel " + std::to_string(channel));
    const std::vector<int>& samples = heard.channels[static_cast<std::size_t>(channel)];
    EXPECT_TRUE(Silent(samples, 0, heard.noteOn));
    const std::size_t onset = FirstSound(samples, heard.noteOn);
    ASSERT_LT(onset + kRate / 2, heard.noteOff);
    const std::size_t latency = onset - heard.noteOn;
    // The lead, give or take the server's period, the engine's slice and the recorder's cycle;
    // in the low-latency mode the keyboard's period and the program's.
    EXPECT_GE(latency + 2 * kPeriod, lead);
    EXPECT_LE(latency, c.lowLatency ? 2 * kPeriod : lead + 4 * kPeriod);
    EXPECT_NEAR(ToneFrequency(samples, onset + kPeriod, heard.noteOff, 0, c.rate),
                440.0 * (1 + channel), 3.0);
    EXPECT_NEAR(Peak(samples, onset + kPeriod, heard.noteOff), kNotePeak, 2);
    const std::size_t released = heard.noteOff + latency + 4 * kPeriod;
    ASSERT_LT(released + kRate / 2, samples.size());
    EXPECT_TRUE(Silent(samples, released, samples.size()));
    if (channel == 0) {
      std::printf("[ measured ] %s: MIDI note-on to first sound %.1f ms\n", c.name,
                  Milliseconds(latency, c.rate));
      RecordProperty("latency_ms", std::to_string(Milliseconds(latency, c.rate)));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Speakers, PlayedNote,
    ::testing::Values(SNoteCase{"MonoAtTheDefaultWaveBuffer", false, kWaveBufferDefault},
                      SNoteCase{"MonoAtTheSmallestWaveBuffer", false, kWaveBufferMinimum},
                      SNoteCase{"StereoOnTwoChannels", true, kWaveBufferDefault},
                      SNoteCase{"MonoInTheLowLatencyMode", false, kWaveBufferDefault, true},
                      SNoteCase{"StereoInTheLowLatencyMode", true, kWaveBufferDefault, true},
                      SNoteCase{"MonoOnA48000HzServer", false, kWaveBufferDefault, false, 48000},
                      SNoteCase{"MonoInTheLowLatencyModeOnA48000HzServer", false,
                                kWaveBufferDefault, true, 48000}),
    [](const auto& info) { return std::string(info.param.name); });

struct SMicrophoneCase {
  const char* name;
  bool lowLatency;
  unsigned rate = kRate;  // of the server
  bool duplex = false;    // the speaker's callback records the microphone
};

void PrintTo(const SMicrophoneCase& c, std::ostream* out) { *out << c.name; }

class MicrophoneToSpeaker : public PlayCommandTest,
                            public ::testing::WithParamInterface<SMicrophoneCase> {};

// A tone played into the microphone comes out of the speaker at its pitch; recorded in the
// speaker's own callback, within the period it was played in or the next.
TEST_P(MicrophoneToSpeaker, TheToneComesOutAtItsPitch) {
  const SMicrophoneCase& c = GetParam();
  std::optional<TJackServerChoice> server;
  if (c.rate != kRate) server.emplace(JackServerAt(c.rate));
  constexpr double kPitch = 441;
  constexpr int kToneAmplitude = 1000;
  std::vector<std::int16_t> tone(c.rate);
  for (std::size_t i = 0; i < tone.size(); ++i)
    tone[i] = static_cast<std::int16_t>(
        std::lround(kToneAmplitude *
                    std::sin(2 * std::numbers::pi * kPitch * static_cast<double>(i) / c.rate)));
  TJackPlayer player(OwnClientName("microphone"), tone);
  const TJackRecorder recorder(OwnClientName("speaker"), 1, RecorderFrames(3s, c.rate));
  ASSERT_TRUE(player.IsOpen() && recorder.IsOpen());
  ASSERT_TRUE(
      WaitUntil([&] { return OutputNumber(recorder) != -1 && InputNumber(player) != -1; }, 2s));
  const int microphone = InputNumber(player);
  Store({.speaker = OutputNumber(recorder), .microphone = microphone, .lowLatency = c.lowLatency});
  const auto program = Play(MicrophoneSound());
  ASSERT_TRUE(program->WaitForOutput("playing", kStartLimit)) << program->Output();
  EXPECT_NE(program->Output().find("microphone \"Micro\": device " + std::to_string(microphone) +
                                   ", JACK: " + player.name()),
            std::string::npos)
      << program->Output();
  EXPECT_EQ(program->Output().find("records the microphone too") != std::string::npos, c.duplex)
      << program->Output();

  std::this_thread::sleep_for(300ms);
  const std::size_t played = recorder.Recorded();
  player.Play();
  std::this_thread::sleep_for(1500ms);
  EXPECT_EQ(program->Stop(), 0) << program->Output();

  const std::vector<int> samples = recorder.Samples(0, recorder.Recorded());
  EXPECT_TRUE(Silent(samples, 0, played));
  const std::size_t onset = FirstSound(samples, played);
  ASSERT_LT(onset + c.rate / 2 + kPeriod, samples.size());
  std::printf("[ measured ] %s: microphone to speaker %.1f ms\n", c.name,
              Milliseconds(onset - played, c.rate));
  if (c.duplex) {
    EXPECT_LE(onset - played, 2 * kPeriod);
  }
  EXPECT_NEAR(ToneFrequency(samples, onset + kPeriod, onset + kPeriod + c.rate / 2,
                            kToneAmplitude / 2, c.rate),
              kPitch, 3.0);
}

INSTANTIATE_TEST_SUITE_P(
    Microphone, MicrophoneToSpeaker,
    ::testing::Values(SMicrophoneCase{"OnItsOwnStream", false},
                      SMicrophoneCase{"DuplexInTheLowLatencyMode", true, kRate, true},
                      SMicrophoneCase{"OnItsOwnStreamInTheLowLatencyModeOnA48000HzServer", true,
                                      48000}),
    [](const auto& info) { return std::string(info.param.name); });

// A chain whose MIDI input has no device stays inactive: the program plays on, in silence.
TEST_F(PlayCommandTest, AMidiInputThatCannotOpenLeavesItsChainSilent) {
  const TJackRecorder recorder(OwnClientName("speaker"), 1, 4 * kRate);
  TJackKeyboard keyboard(OwnClientName("keyboard"));
  ASSERT_TRUE(recorder.IsOpen() && keyboard.IsOpen());
  Store({.speaker = OutputNumber(recorder), .midi = 999});
  const auto program = Play(KeyboardSound(false, 1), "2");
  ASSERT_TRUE(program->WaitForOutput("playing", kStartLimit)) << program->Output();
  SendAll(keyboard, {{0x90, kA4, 100}});
  EXPECT_EQ(program->WaitForExit(10s), 0) << program->Output();
  const std::string output = program->Output();
  EXPECT_NE(output.find("zelmar: MIDI input \"Midi\": There is no MIDI input device number 999"),
            std::string::npos)
      << output;
  EXPECT_NE(output.find("(silent: "), std::string::npos) << output;
  const std::vector<int> samples = recorder.Samples(0, recorder.Recorded());
  EXPECT_GT(samples.size(), kRate);
  EXPECT_TRUE(Silent(samples, 0, samples.size()));
}

// Without a speaker that opens there is nothing to play: the failure and its reason are said.
TEST_F(PlayCommandTest, ASpeakerThatCannotOpenIsNamedWithItsErrorAndNothingPlays) {
  const struct {
    const char* name;
    std::string server;  // empty: the fixture's 44100 Hz server
    int speaker;
    const char* reason;
  } cases[] = {
      {"no such device", "", 999, "no audio output device number 999"},
      {"server at 32000 Hz", JackServerAt(32000), 0, "runs at 32000 Hz"},
      {"missing server", "zelmar-no-such-server", 0, "no audio output device number 0"},
  };
  const fs::path sound = KeyboardSound(false, 1);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::optional<TJackServerChoice> server;
    if (!c.server.empty()) server.emplace(c.server);
    const bool expectsUnlisted = std::string_view(c.reason).starts_with("no audio output device");
    if (expectsUnlisted &&
        c.speaker < static_cast<int>(TRtAudioWaveOutDevice().DeviceNames().size()))
      continue;  // another sound system of this computer offers the device without the server
    Store({.speaker = c.speaker});
    const auto program = Play(sound);
    EXPECT_EQ(program->WaitForExit(kStartLimit), 1) << program->Output();
    const std::string output = program->Output();
    EXPECT_NE(output.find("zelmar: speaker \"Speaker\": "), std::string::npos) << output;
    EXPECT_NE(output.find(c.reason), std::string::npos) << output;
    EXPECT_NE(output.find("zelmar: no speaker could be opened"), std::string::npos) << output;
    EXPECT_EQ(output.find("playing"), std::string::npos) << output;
    // In the program's words alone: the sound libraries print nothing of their own.
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);)
      EXPECT_TRUE(line.starts_with("zelmar: ")) << output;
  }
}

TEST_F(PlayCommandTest, AnEngineThatCannotKeepUpStopsThePlayWithItsMessage) {
  const TJackRecorder recorder(OwnClientName("speaker"), 1, 8 * kRate);
  TJackKeyboard keyboard(OwnClientName("keyboard"));
  ASSERT_TRUE(recorder.IsOpen() && keyboard.IsOpen());
  // 32 voice chains at 39 voices take far more than the smallest limit the options keep (1 %, a
  // limit below it would stop every sound): every measurement counts against the engine.
  const fs::path heavy = folder_ / "heavy.zmr";
  ASSERT_TRUE(WriteChainSound(heavy, 32));
  for (const bool lowLatency : {false, true}) {
    SCOPED_TRACE(lowLatency ? "low latency" : "buffered");
    Store({.speaker = OutputNumber(recorder),
           .midi = MidiNumber(keyboard),
           .processorLimit = 1,
           .lowLatency = lowLatency});
    const auto program = Play(heavy);
    EXPECT_EQ(program->WaitForExit(kStartLimit), 3) << program->Output();
    const std::string output = program->Output();
    EXPECT_NE(output.find(lowLatency ? "mode low latency" : "mode buffered"), std::string::npos)
        << output;
    EXPECT_NE(output.find("playing"), std::string::npos) << output;
    EXPECT_NE(output.find("zelmar: Processor usage to high !"), std::string::npos) << output;
  }
}

// Two speakers on two devices cannot share one device's callback: the sound plays as before on
// both, and says once why.
TEST_F(PlayCommandTest, SpeakersOnTwoDevicesPlayBufferedAndSayWhy) {
  constexpr int kLevel = 1000;
  const TJackRecorder first(OwnClientName("first"), 1, 4 * kRate);
  const TJackRecorder second(OwnClientName("second"), 1, 4 * kRate);
  ASSERT_TRUE(first.IsOpen() && second.IsOpen());
  Store({.speaker = OutputNumber(first), .lowLatency = true});
  TDokumentKlang document;
  for (const char* key : {"Left", "Right"}) {
    auto& level = Create<TKonstantenAnalog>(document, std::string(key) + "Level", "ConstAnalog");
    level.Value->value = kLevel;
    auto& speaker = Create<TLautsprecher>(document, key, "Speaker");
    Wire(level, speaker);
    if (std::string_view(key) == "Right") {
      speaker.UseDefaultDevice->value = 0;
      speaker.Device->value = OutputNumber(second);
    }
  }
  const auto program = Play(Save(document, "two_speakers.zmr"), "2");
  EXPECT_EQ(program->WaitForExit(kStartLimit), 0) << program->Output();
  const std::string output = program->Output();
  const std::string why =
      "mode buffered: the engine runs 26 ms ahead of the speaker, because "
      "the sound's speakers are on more than one output device";
  EXPECT_NE(output.find(why), std::string::npos) << output;
  EXPECT_EQ(output.find(why), output.rfind(why)) << output;
  for (const TJackRecorder* recorder : {&first, &second}) {
    const std::vector<int> samples = recorder->Samples(0, recorder->Recorded());
    EXPECT_NEAR(Peak(samples, 0, samples.size()), kLevel, 1) << recorder->name();
  }
}

// 39 voices sounding at once; the usage the engine reports is printed for the record.
TEST_F(PlayCommandTest, ThirtyNineVoicesPlayWhileTheUsageIsReportedEverySecond) {
  const TJackRecorder recorder(OwnClientName("speaker"), 1, 8 * kRate);
  TJackKeyboard keyboard(OwnClientName("keyboard"));
  ASSERT_TRUE(recorder.IsOpen() && keyboard.IsOpen());
  Store({.speaker = OutputNumber(recorder), .midi = MidiNumber(keyboard)});
  const auto program = Play(KeyboardSound(false, TKlangEngine::kMaxVoices));
  ASSERT_TRUE(program->WaitForOutput("playing", kStartLimit)) << program->Output();
  ASSERT_NE(program->Output().find("with 39 voices"), std::string::npos) << program->Output();
  std::vector<std::vector<std::uint8_t>> chord;
  for (int voice = 0; voice < TKlangEngine::kMaxVoices; ++voice)
    chord.push_back({0x90, static_cast<std::uint8_t>(40 + voice), 20});
  const std::size_t before = program->Output().size();
  SendAll(keyboard, chord);
  std::this_thread::sleep_for(3500ms);
  EXPECT_EQ(program->Stop(SIGINT), 0) << program->Output();

  const std::string output = program->Output().substr(before);
  const std::vector<int> usages = Usages(output);
  EXPECT_GE(usages.size(), 3u) << output;
  const std::string shown = UsagesText(usages);
  std::printf("[ measured ] processor usage with 39 voices:%s\n", shown.c_str());
  RecordProperty("usage_percent", shown);
  const std::vector<int> samples = recorder.Samples(0, recorder.Recorded());
  EXPECT_LT(FirstSound(samples, 0), samples.size());
}

// The log of the fixture server the tests play on.
TJackServerLog FixtureServerLog() {
  const char* server = std::getenv("JACK_DEFAULT_SERVER");
  return TJackServerLog(fs::path(ZELMAR_JACK_STATE) /
                        (std::string(server != nullptr ? server : "default") + ".log"));
}

// The bundled poly synth with all its 39 voices held for 30 s in the low-latency mode: in no
// period did the server find the program still computing while it ran on time. Periods that a
// busy machine made late are counted and shown, not held against the program.
TEST_F(PlayCommandTest,
       ThirtyNineHeldVoicesPlayThirtySecondsInTheLowLatencyModeWithNoXrunOfTheProgram) {
  constexpr auto kHeld = 30s;
  const TJackRecorder recorder(OwnClientName("speaker"), 1, 34 * kRate);
  TJackKeyboard keyboard(OwnClientName("keyboard"));
  TJackXrunCounter server(OwnClientName("xruns"));
  ASSERT_TRUE(recorder.IsOpen() && keyboard.IsOpen() && server.IsOpen());
  Store({.speaker = OutputNumber(recorder), .midi = MidiNumber(keyboard), .lowLatency = true});
  const auto program = Play(fs::path(ZELMAR_EXAMPLES) / "poly_synth.zmr", "60");
  ASSERT_TRUE(program->WaitForOutput("playing", kStartLimit)) << program->Output();
  ASSERT_NE(program->Output().find("mode low latency"), std::string::npos) << program->Output();
  ASSERT_NE(program->Output().find("with 39 voices"), std::string::npos) << program->Output();
  std::vector<std::vector<std::uint8_t>> chord;
  for (int voice = 0; voice < TKlangEngine::kMaxVoices; ++voice)
    chord.push_back({0x90, static_cast<std::uint8_t>(40 + voice), 100});
  SendAll(keyboard, chord);
  std::this_thread::sleep_for(500ms);
  const std::size_t held = recorder.Recorded();
  const int xrunsBefore = server.Xruns();
  const TJackServerLog heldLog = FixtureServerLog();
  std::this_thread::sleep_for(kHeld);
  const int xruns = server.Xruns() - xrunsBefore;
  const std::vector<TLatePeriod> late = heldLog.LatePeriods();
  const std::vector<TLatePeriod> programs = ProgramsLatePeriods(late, server.name());
  EXPECT_EQ(programs.size(), 0U) << xruns << " xruns, late:" << Joined(late);
  const std::size_t end = recorder.Recorded();
  EXPECT_EQ(program->Stop(SIGINT), 0) << program->Output();
  EXPECT_EQ(program->Output().find("Processor usage to high"), std::string::npos)
      << program->Output();
  const std::vector<int> samples = recorder.Samples(0, end);
  ASSERT_GE(samples.size(), held + kRate * 29);
  EXPECT_LT(FirstSound(samples, samples.size() - kRate), samples.size()) << "silent at the end";
  std::printf(
      "[ measured ] %lld s of 39 voices: %d xruns counted by the server, %zu of them "
      "the program's; processor usage:%s\n",
      static_cast<long long>(kHeld.count()), xruns, programs.size(),
      UsagesText(Usages(program->Output())).c_str());

  // A client that misses its period is counted and named, so the verdict above means something.
  const int xrunsAfter = server.Xruns();
  const TJackServerLog lateLog = FixtureServerLog();
  server.Late(std::chrono::milliseconds(4 * kPeriod * 1000 / kRate));
  EXPECT_TRUE(WaitUntil(
      [&] {
        const std::vector<TLatePeriod> periods = lateLog.LatePeriods();
        return server.Xruns() > xrunsAfter &&
               std::ranges::any_of(periods, [&](const auto& clients) {
                 return NamesClient(clients, server.name());
               });
      },
      2s));
}

TEST_F(PlayCommandTest, BadUsageAndUnplayableSoundsExitWithOneLine) {
  std::ofstream(folder_ / "broken.zmr") << "CountVoices 1\nBEGIN ModuleList \n";
  TDokumentKlang silent;
  Create(silent, "Sine", "MonoSine");
  const fs::path noSpeaker = Save(silent, "silent.zmr");
  const struct {
    std::vector<std::string> arguments;
    int status;
    std::string says;
  } cases[] = {
      {{"--play"}, 2, "--play needs a value"},
      {{"--play", "a.zmr", "--seconds", "0"}, 2, "--seconds takes a length"},
      {{"--play", "a.zmr", "--voices", "3"}, 2, "unknown option --voices"},
      {{"--play", (folder_ / "missing.zmr").string()}, 1, "missing.zmr: no such sound file"},
      {{"--play", (folder_ / "broken.zmr").string()}, 1, "broken.zmr: not a readable sound file"},
      {{"--play", noSpeaker.string()}, 1, "silent.zmr: the sound has no speaker"},
      {{"--help"}, 0, "zelmar --play SOUND.zmr [--seconds S]"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.says);
    TProgramProcess program(c.arguments, folder_ / "output.txt");
    EXPECT_EQ(program.WaitForExit(kStartLimit), c.status);
    const std::string output = program.Output();
    EXPECT_NE(output.find(c.says), std::string::npos) << output;
    // The sound systems' libraries may have their say; the program's own is one line.
    if (c.status == 1) {
      EXPECT_EQ(ProgramLines(output), 1) << output;
    }
  }
}

}  // namespace
