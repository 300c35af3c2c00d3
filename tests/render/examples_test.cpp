// The bundled examples: each sound renders, with its MIDI file, to sound that is neither silent
// nor clipped and repeats byte for byte; each group file inserts into a sound; and the files in
// examples/ are what the generator writes today (regenerate: build/tools/make_examples examples);
// and their renders keep the hashes in golden_renders.txt, so that a change meant to leave the
// sound alone provably does. When a change of sound is intended, rewrite the hashes with
//   ZELMAR_UPDATE_GOLDEN=1 build/tests/render/examples_tests --gtest_filter='*Golden*'
#include <gtest/gtest.h>

#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include <unistd.h>

#include "cli/headless_renderer.h"
#include "patch/dokument_klang.h"
#include "patch/macro_modules.h"
#include "support/scratch_folder.h"
#include "tools/example_content.h"

namespace {

namespace fs = std::filesystem;

const fs::path kExamples = ZELMAR_EXAMPLES;
const fs::path kGoldenHashes = ZELMAR_GOLDEN_RENDERS;
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

// FNV-1a over the bytes of a file, as 16 hex digits.
std::string HashOf(const std::string& bytes) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const char byte : bytes) {
    hash ^= static_cast<unsigned char>(byte);
    hash *= 1099511628211ull;
  }
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

// "sound hash" per line.
std::map<std::string, std::string> ReadGoldenHashes() {
  std::map<std::string, std::string> hashes;
  std::ifstream in(kGoldenHashes);
  std::string sound, hash;
  while (in >> sound >> hash)
    hashes[sound] = hash;
  return hashes;
}

class Examples : public TScratchFolderTest {};

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

TEST_F(Examples, EverySoundRendersToItsGoldenHash) {
  std::map<std::string, std::string> rendered;
  for (const SExampleSound& example : ExampleSounds()) {
    SRenderRequest request;
    request.sound = kExamples / example.sound;
    request.output = folder / "golden.wav";
    if (*example.midi) {
      request.midi = kExamples / example.midi;
    } else {
      request.seconds = kFreeSeconds;
    }
    request.seed = 1;
    SRenderSummary summary;
    std::string error;
    ASSERT_TRUE(RenderSound(request, summary, error)) << error;
    for (const fs::path& file : summary.files)
      rendered[example.sound + file.filename().string().substr(6)] = HashOf(Bytes(file));
  }
  if (std::getenv("ZELMAR_UPDATE_GOLDEN") != nullptr) {
    std::ofstream out(kGoldenHashes);
    for (const auto& [sound, hash] : rendered)
      out << sound << ' ' << hash << '\n';
    GTEST_SKIP() << "rewrote " << kGoldenHashes;
  }
  EXPECT_EQ(rendered, ReadGoldenHashes());
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
