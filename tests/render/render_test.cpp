#include "app/headless_renderer.h"

#include <gtest/gtest.h>

#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <sys/wait.h>
#include <unistd.h>

#include "engine/midi_file.h"
#include "engine/wav_file.h"
#include "tests/modules/patch_builder.h"
#include "tests/support/tone_frequency.h"

namespace {

namespace fs = std::filesystem;

class Render : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() / ("zelmar-render-test-" + std::to_string(::getpid()));
    fs::create_directories(folder);
  }
  void TearDown() override { fs::remove_all(folder); }

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
    auto& midi = Create(document, "Midi", "MidiIn");
    auto& key = Create(document, "Key", "MidiKey");
    auto& sine = Create(document, "Sine", "PolySine");
    auto& mix = Create(document, "Mix", "PolyToMono");
    auto& speaker = Create(document, "Speaker", "Speaker");
    Wire(midi, key);
    Wire(key, sine, "1", "1");
    Wire(key, sine, "2", "2");
    Wire(sine, mix);
    Wire(mix, speaker);
    document.SetVoiceCount(4);
    return Save(document, "keyboard.zmr");
  }

  fs::path folder;
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
      {good, folder / "missing.mid", folder / "x.wav", "missing.mid", "cannot open"},
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

}  // namespace
