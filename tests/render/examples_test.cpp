// The bundled examples: each sound renders, with its MIDI file, to sound that is neither silent
// nor clipped and repeats byte for byte; each group file inserts into a sound; and the files in
// examples/ are what the generator writes today (regenerate: build/tools/make_examples examples).
#include <gtest/gtest.h>

#include <QString>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "app/headless_renderer.h"
#include "patch/dokument_klang.h"
#include "patch/macro_modules.h"
#include "tools/example_content.h"

namespace {

namespace fs = std::filesystem;

const fs::path kExamples = ZELMAR_EXAMPLES;
// Sounds without MIDI play this long.
constexpr double kFreeSeconds = 2.0;
// -40 dBFS: anything quieter counts as silent.
constexpr int kAudiblePeak = 328;
// A sum that wrapped past 16 bits would show up at or near full scale.
constexpr int kClipPeak = 32000;

std::string Bytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

class Examples : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() / ("zelmar-examples-test-" + std::to_string(::getpid()));
    fs::create_directories(folder);
  }
  void TearDown() override { fs::remove_all(folder); }

  fs::path folder;
};

TEST_F(Examples, EverySoundRendersAudibleUnclippedAndRepeatable) {
  for (const SExampleSound& example : ExampleSounds()) {
    SCOPED_TRACE(example.sound);
    SRenderRequest request;
    request.sound = kExamples / example.sound;
    request.output = folder / "a.wav";
    if (*example.midi) {
      request.midi = kExamples / example.midi;
    } else {
      request.seconds = kFreeSeconds;
    }
    request.seed = 3;
    SRenderSummary first, second;
    std::string error;
    ASSERT_TRUE(RenderSound(request, first, error)) << error;
    request.output = folder / "b.wav";
    ASSERT_TRUE(RenderSound(request, second, error)) << error;

    ASSERT_EQ(first.files.size(), 1u);
    EXPECT_GT(first.peak, kAudiblePeak);
    EXPECT_LT(first.peak, kClipPeak);
    EXPECT_GT(first.seconds, 1.0);
    EXPECT_EQ(Bytes(first.files[0]), Bytes(second.files[0]));
  }
}

TEST_F(Examples, EveryGroupFileInsertsIntoASound) {
  for (const std::string& group : ExampleGroups()) {
    SCOPED_TRACE(group);
    TDokumentKlang document;
    ASSERT_TRUE(document.ModuleList->InsertGroupFile((kExamples / group).string(), 40, 40));
    ASSERT_FALSE(document.ModuleList->Children().empty());
    // The wires inside the group come with it; a macro brings its ports and its inside.
    int wired = 0;
    for (const auto& [key, child] : document.ModuleList->Children()) {
      const auto* module = dynamic_cast<const TModulArbeiten*>(child.get());
      ASSERT_NE(module, nullptr) << key;
      for (const auto& [port, input] : module->InputList->Children())
        wired += dynamic_cast<const TEingang&>(*input).GetSource() != nullptr;
      if (const auto* macro = dynamic_cast<const TModulKomponent*>(module)) {
        EXPECT_FALSE(macro->Inside->Children().empty());
        EXPECT_GT(macro->InputList->Count() + macro->OutputList->Count(), 1);
        ++wired;
      }
    }
    EXPECT_GT(wired, 0);
  }
}

TEST_F(Examples, TheFilesAreWhatTheGeneratorWrites) {
  std::string error;
  ASSERT_TRUE(WriteExamples(folder, error)) << error;
  std::vector<std::string> files{"melody.mid", "drums.mid"};
  for (const SExampleSound& example : ExampleSounds())
    files.emplace_back(example.sound);
  files.insert(files.end(), ExampleGroups().begin(), ExampleGroups().end());
  for (const std::string& file : files) {
    EXPECT_TRUE(Bytes(folder / file) == Bytes(kExamples / file))
        << file << " is stale: run build/tools/make_examples examples";
  }
}

}  // namespace
