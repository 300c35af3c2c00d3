// Writes the bundled examples (sounds, group files, MIDI files) into a folder, or one sound of
// the render benchmark with a given number of voice chains.
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "modules/catalogue.h"
#include "patch/application_context.h"
#include "tools/example_content.h"

namespace {

constexpr int kMaxChains = 64;

int Usage() {
  std::fprintf(stderr,
               "usage: make_examples FOLDER\n"
               "       make_examples --chains N SOUND.zmr   (N = 1..%d voice chains)\n",
               kMaxChains);
  return 2;
}

int WriteChains(const char* count, const char* path) {
  int copies = 0;
  const char* end = count + std::strlen(count);
  const auto [rest, status] = std::from_chars(count, end, copies);
  if (status != std::errc() || rest != end || copies < 1 || copies > kMaxChains) return Usage();
  if (!WriteChainSound(path, copies)) {
    std::fprintf(stderr, "make_examples: %s: cannot be written\n", path);
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  SApplicationContext catalogue;
  catalogue.moduleTypes = ModuleCatalogue();
  const TApplicationScope context(catalogue);
  if (argc == 4 && std::strcmp(argv[1], "--chains") == 0) return WriteChains(argv[2], argv[3]);
  if (argc != 2 || argv[1][0] == '-') return Usage();
  const std::filesystem::path folder = argv[1];
  std::error_code status;
  std::filesystem::create_directories(folder, status);
  std::string error;
  if (!WriteExamples(folder, error)) {
    std::fprintf(stderr, "make_examples: %s\n", error.c_str());
    return 1;
  }
  std::printf("make_examples: wrote %zu sounds, %zu groups and 2 MIDI files into %s\n",
              ExampleSounds().size(), ExampleGroups().size(), folder.string().c_str());
  return 0;
}
