#include "cli/headless_renderer.h"

#include <gtest/gtest.h>

#include <QString>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

#include "engine/midi_file.h"
#include "engine/wav_file.h"
#include "modules/constants.h"
#include "tests/devices/program_process.h"
#include "tests/modules/patch_builder.h"
#include "tests/support/folder_entries.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/tone_frequency.h"

namespace {

namespace fs = std::filesystem;

class Render : public TScratchFolderTest {
 protected:
  fs::path Save(TDokumentKlang& document, const char* name) {
    fs::path path = folder / name;
    EXPECT_TRUE(document.Save(QString::fromStdString(path.string())));
    return path;
  }
  fs::path WriteMidi(const std::vector<SMidiFileMessage>& messages, const char* name) {
    fs::path path = folder / name;
    const auto bytes = EncodeMidiFile(messages, 480, 500000);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path;
  }
  static std::vector<std::int16_t> Samples(const fs::path& wav) {
    SWavContent content;
    std::string error;
    EXPECT_TRUE(ReadWavFile(wav, content, error)) << error;
    std::vector<std::int16_t> samples(content.samples.size() / 2);
    std::memcpy(samples.data(), content.samples.data(), samples.size() * 2);
    return samples;
  }
  static std::string Bytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }

  // MIDI input -> key -> poly sine -> combiner -> speaker.
  fs::path KeyboardSine() {
    TDokumentKlang document;
    AddKeyboardSine(document);
    document.SetVoiceCount(4);
    return Save(document, "keyboard.zmr");
  }

  // MIDI input -> envelope (releasing in 200 ms) -> poly sine -> combiner -> speaker.
  fs::path EnvelopeSine() {
    TDokumentKlang document;
    auto& midi = Create(document, "Midi", "MidiIn");
    auto& envelope = Create(document, "Envelope", "ADSR");
    auto& sine = Create(document, "Sine", "PolySine");
    auto& mix = Create(document, "Mix", "PolyToMono");
    Wire(midi, envelope);
    const std::int32_t settings[] = {1, 1, 2000, 200};  // ms, ms, full, ms
    for (int i = 0; i < 4; ++i) {
      auto& setting =
          Create<TBasisKonstanten>(document, "Setting" + std::to_string(i), "ConstAnalog");
      setting.MaxValue->value = 2000;
      setting.Value->value = settings[i];
      Wire(setting, envelope, std::to_string(i + 2));
    }
    Wire(envelope, sine, "1", "1");
    Wire(envelope, sine, "2", "2");
    Wire(sine, mix);
    Wire(mix, Create(document, "Speaker", "Speaker"));
    document.SetVoiceCount(4);
    return Save(document, "envelope.zmr");
  }

  std::vector<fs::path> Entries() const { return SortedEntries(folder); }
};

TEST_F(Render, ANoteSoundsAtItsPitchAndStopsWithItsRelease) {
  const fs::path sound = KeyboardSine();
  // A4 for one second (480 ticks a quarter at 120 beats per minute), then one second of rest.
  const fs::path midi =
      WriteMidi({{0, 0x90, 69, 100}, {960, 0x80, 69, 0}, {1920, 0xB0, 7, 100}}, "a4.mid");
  SRenderSummary summary;
  std::string error;
  ASSERT_TRUE(RenderSound({sound, folder / "a4.wav", midi, {}, {}, {}, 1}, summary, error))
      << error;
  const std::vector<std::int16_t> samples = Samples(folder / "a4.wav");
  ASSERT_GE(samples.size(), 88200u);
  EXPECT_NEAR(ToneFrequency(samples, 2205, 41895), 440.0, 1.0);
  for (std::size_t i = 44100 + 441; i < 88200; ++i)
    ASSERT_EQ(samples[i], 0) << i;
  EXPECT_NEAR(summary.seconds, 2.0, 0.01);
  // The summary measures exactly what the file holds.
  int peak = 0;
  double sumOfSquares = 0;
  for (const std::int16_t sample : samples) {
    peak = std::max(peak, std::abs(int{sample}));
    sumOfSquares += static_cast<double>(sample) * sample;
  }
  EXPECT_GT(peak, 1000);
  EXPECT_EQ(summary.peak, peak);
  EXPECT_DOUBLE_EQ(summary.rms, std::sqrt(sumOfSquares / static_cast<double>(samples.size())));
}

TEST_F(Render, TheSameSeedGivesTheSameFile) {
  TDokumentKlang document;
  auto& noise = Create(document, "Noise", "MonoNoise");
  auto& amplitude = Create(document, "Level", "ConstAnalog");
  auto& speaker = Create(document, "Speaker", "Speaker");
  Wire(amplitude, noise);
  Wire(noise, speaker);
  const fs::path sound = Save(document, "noise.zmr");
  SRenderSummary summary;
  std::string error;
  for (const char* name : {"a.wav", "b.wav"}) {
    ASSERT_TRUE(RenderSound({sound, folder / name, {}, {}, 1.0, {}, 7}, summary, error)) << error;
  }
  ASSERT_TRUE(RenderSound({sound, folder / "c.wav", {}, {}, 1.0, {}, 8}, summary, error)) << error;
  EXPECT_EQ(Bytes(folder / "a.wav"), Bytes(folder / "b.wav"));
  EXPECT_NE(Bytes(folder / "a.wav"), Bytes(folder / "c.wav"));
}

TEST_F(Render, BadInputNamesTheFileOrModuleAndLeavesNoFile) {
  const fs::path good = KeyboardSine();
  const fs::path midi = WriteMidi({{0, 0x90, 60, 100}}, "ok.mid");
  std::ofstream(folder / "broken.zmr") << "CountVoices 1\nBEGIN ModuleList \n";
  std::ofstream(folder / "broken.mid") << "MThd garbage";
  TDokumentKlang silent;
  Create(silent, "Sine", "MonoSine");
  const fs::path noSpeaker = Save(silent, "silent.zmr");
  TDokumentKlang loose;
  auto& sine = Create(loose, "Sine", "MonoSine");
  auto& speaker = Create(loose, "Out", "Speaker");
  Wire(sine, speaker);
  const fs::path incomplete = Save(loose, "loose.zmr");

  const struct {
    fs::path sound, midi, output;
    const char *named, *fault;
  } cases[] = {
      {folder / "missing.zmr", {}, folder / "x.wav", "missing.zmr", "no such sound file"},
      {folder / "broken.zmr", {}, folder / "x.wav", "broken.zmr", "ends before the END"},
      {good, folder / "missing.mid", folder / "x.wav", "missing.mid", "does not exist"},
      {good, folder / "broken.mid", folder / "x.wav", "broken.mid", "header is cut short"},
      {good, midi, folder / "no" / "x.wav", "x.wav", "folder does not exist"},
      {noSpeaker, {}, folder / "x.wav", "silent.zmr", "no speaker"},
      {incomplete, {}, folder / "x.wav", "\"Out\"", "chain is incomplete"},
  };
  for (const auto& c : cases) {
    SRenderSummary summary;
    std::string error;
    EXPECT_FALSE(RenderSound({c.sound, c.output, c.midi, {}, 0.5, {}, 1}, summary, error));
    EXPECT_NE(error.find(c.named), std::string::npos) << error;
    EXPECT_NE(error.find(c.fault), std::string::npos) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(c.output)) << c.named;
  }
}

TEST_F(Render, SeveralSpeakersWriteOneFileEach) {
  TDokumentKlang document;
  auto& sine = Create(document, "Sine", "MonoSine");
  auto& level = Create(document, "Level", "ConstAnalog");
  auto& pitch = Create(document, "Pitch", "ConstFrequenz");
  Wire(level, sine, "1");
  Wire(pitch, sine, "2");
  Wire(sine, Create(document, "Left", "Speaker"));
  Wire(sine, Create(document, "Right", "Speaker"));
  const fs::path sound = Save(document, "two.zmr");
  SRenderSummary summary;
  std::string error;
  ASSERT_TRUE(RenderSound({sound, folder / "out.wav", {}, {}, 0.5, {}, 1}, summary, error))
      << error;
  EXPECT_EQ(summary.files,
            (std::vector<fs::path>{folder / "out-Left.wav", folder / "out-Right.wav"}));
  EXPECT_EQ(Bytes(summary.files[0]), Bytes(summary.files[1]));
  EXPECT_EQ(Samples(summary.files[0]).size(), 22050u);
}

TEST(RenderCommand, ExitStatusAndOneLineErrors) {
  const auto run = [](const std::string& arguments) {
    const std::string command = std::string(ZELMAR_PROGRAM) + " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    std::string output;
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe))
      output += buffer;
    const int status = pclose(pipe);
    return std::make_pair(WEXITSTATUS(status), output);
  };
  EXPECT_EQ(run("--version").first, 0);
  const std::string missing =
      "--render /nonexistent.zmr --out " + (fs::temp_directory_path() / "x.wav").string();
  EXPECT_EQ(run(missing).first, 1);
  EXPECT_NE(run(missing).second.find("/nonexistent.zmr"), std::string::npos);
  EXPECT_EQ(run("--render a.zmr --out x.wav --voices 40").first, 2);
  EXPECT_EQ(run("--render a.zmr").first, 2);
}

// Outputs that would destroy an input, or that are no file, are refused and stay as they were;
// a render that fails for any reason leaves an older output alone.
TEST_F(Render, OutputsThatMustNotBeReplacedStayAsTheyWere) {
  const fs::path sound = KeyboardSine();
  const fs::path midi = WriteMidi({{0, 0x90, 60, 100}, {480, 0x80, 60, 0}}, "c4.mid");
  std::ofstream(folder / "broken.mid") << "MThd garbage";
  TDokumentKlang loose;
  Wire(Create(loose, "Sine", "MonoSine"), Create(loose, "Out", "Speaker"));
  const fs::path incomplete = Save(loose, "loose.zmr");
  std::ofstream(folder / "older.wav") << "older";
  fs::create_symlink("keyboard.zmr", folder / "link.wav");
  fs::create_directories(folder / "folder.wav");
  const struct {
    fs::path sound, output, midi;
    const char* named;
  } cases[] = {
      {sound, sound, midi, "is the input"},
      {sound, midi, midi, "is the input"},
      {sound, folder / "link.wav", midi, "is the input"},
      {sound, folder / "folder.wav", midi, "is a folder"},
      {sound, folder / "older.wav", folder / "broken.mid", "broken.mid"},
      // Fails once the speaker has opened its file.
      {incomplete, folder / "older.wav", {}, "\"Out\""},
  };
  const std::string soundBytes = Bytes(sound);
  const std::string midiBytes = Bytes(midi);
  for (const auto& c : cases) {
    SRenderSummary summary;
    std::string error;
    EXPECT_FALSE(RenderSound({c.sound, c.output, c.midi, {}, {}, {}, 1}, summary, error));
    EXPECT_NE(error.find(c.named), std::string::npos) << error;
  }
  EXPECT_EQ(Bytes(sound), soundBytes);
  EXPECT_EQ(Bytes(midi), midiBytes);
  EXPECT_EQ(Bytes(folder / "older.wav"), "older");
  EXPECT_TRUE(fs::is_empty(folder / "folder.wav"));
  EXPECT_EQ(Entries(), (std::vector<fs::path>{"broken.mid", "c4.mid", "folder.wav", "keyboard.zmr",
                                              "link.wav", "loose.zmr", "older.wav"}));
}

// A pipe gets the WAV file as a stream, and stays a pipe.
TEST_F(Render, APipeIsWrittenAsAStream) {
  const fs::path sound = KeyboardSine();
  const fs::path pipe = folder / "pipe.wav";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  std::string received;
  std::atomic<bool> done{false};
  std::thread drain([&] {
    char buffer[65536];
    for (;;) {
      const ssize_t got = ::read(reader, buffer, sizeof buffer);
      if (got > 0) received.append(buffer, static_cast<std::size_t>(got));
      if (got == 0 && done) return;
      if (got <= 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  });
  SRenderSummary summary;
  std::string error;
  const bool rendered = RenderSound({sound, pipe, {}, {}, 0.5, {}, 1}, summary, error);
  done = true;
  drain.join();
  ::close(reader);
  ASSERT_TRUE(rendered) << error;
  EXPECT_TRUE(fs::is_fifo(pipe));
  ASSERT_EQ(received.size(), kWavHeaderBytes + 2 * 22050);
  EXPECT_EQ(received.substr(0, 4), "RIFF");
}

// Keys that would give the same file name still give every speaker a file of its own.
TEST_F(Render, SpeakersWhoseNamesClashGetFilesOfTheirOwn) {
  TDokumentKlang document;
  auto& sine = Create(document, "Sine", "MonoSine");
  Wire(Create(document, "Level", "ConstAnalog"), sine, "1");
  Wire(Create(document, "Pitch", "ConstFrequenz"), sine, "2");
  for (const char* key : {"L+R", "L_R", "l_r"})
    Wire(sine, Create(document, key, "Speaker"));
  const fs::path sound = Save(document, "clash.zmr");
  SRenderSummary summary;
  std::string error;
  ASSERT_TRUE(RenderSound({sound, folder / "out.wav", {}, {}, 0.5, {}, 1}, summary, error))
      << error;
  EXPECT_EQ(summary.files, (std::vector<fs::path>{folder / "out-L_R.wav", folder / "out-L_R-2.wav",
                                                  folder / "out-l_r-3.wav"}));
  for (const fs::path& file : summary.files)
    EXPECT_EQ(Samples(file).size(), 22050u) << file;
}

// Without --seconds a render lasts as long as the MIDI file, and after it as long as its notes
// release, held notes included; a file that ends where its chord starts still sounds it.
TEST_F(Render, HeldNotesEndTheRenderWithTheirRelease) {
  const fs::path sound = EnvelopeSine();
  const struct {
    std::uint32_t endTick;  // 960 ticks a second
    double seconds;         // the end, a second after the chord at the least, and the release
  } cases[] = {{0, 1.2}, {2880, 3.2}};
  for (const auto& c : cases) {
    const fs::path midi = WriteMidi(
        {{0, 0x90, 60, 100}, {0, 0x90, 64, 100}, {0, 0x90, 67, 100}, {c.endTick, 0xB0, 7, 100}},
        "chord.mid");
    SRenderSummary summary;
    std::string error;
    ASSERT_TRUE(RenderSound({sound, folder / "chord.wav", midi, {}, {}, {}, 1}, summary, error))
        << error;
    EXPECT_GE(summary.seconds, c.seconds) << c.endTick;
    EXPECT_LE(summary.seconds, c.seconds + 0.15) << c.endTick;
    EXPECT_GT(summary.peak, 100) << c.endTick;
  }
}

TEST_F(Render, ARenderLongerThanAWavFileIsRefusedBeforeItStarts) {
  const fs::path sound = KeyboardSine();
  // 14 hours at 960 ticks a second.
  const fs::path midi = WriteMidi({{0, 0x90, 60, 100}, {14 * 3600 * 960, 0x80, 60, 0}}, "long.mid");
  const struct {
    fs::path midi;
    std::optional<double> seconds;
  } cases[] = {{midi, {}}, {{}, 86400.0}};
  for (const auto& c : cases) {
    SRenderSummary summary;
    std::string error;
    const auto begin = std::chrono::steady_clock::now();
    EXPECT_FALSE(
        RenderSound({sound, folder / "long.wav", c.midi, {}, c.seconds, {}, 1}, summary, error));
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(5));
    EXPECT_NE(error.find("--seconds"), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(folder / "long.wav"));
  }
}

// A stop signal ends a render through its cleanup: progress has shown within seconds, the
// temporary file is gone and the older output is as it was.
TEST_F(Render, AStopSignalLeavesTheOlderOutputAndNoTemporaryFile) {
  const fs::path sound = KeyboardSine();
  std::ofstream(folder / "out.wav") << "older";
  const fs::path log =
      fs::temp_directory_path() / ("zelmar-render-log-" + std::to_string(::getpid()));
  for (const int signal : {SIGTERM, SIGINT}) {
    TProgramProcess program({"--render", sound.string(), "--out", (folder / "out.wav").string(),
                             "--seconds", "36000", "--seed", "1"},
                            log);
    ASSERT_TRUE(program.Started());
    ASSERT_TRUE(program.WaitForOutput("rendering:", std::chrono::seconds(20))) << program.Output();
    EXPECT_EQ(program.Stop(signal), 128 + signal);
    EXPECT_NE(program.Output().find("stopped"), std::string::npos) << program.Output();
    EXPECT_EQ(Bytes(folder / "out.wav"), "older");
    EXPECT_EQ(Entries(), (std::vector<fs::path>{"keyboard.zmr", "out.wav"}));
  }
  fs::remove(log);
}

}  // namespace
