// Feeds arbitrary bytes to the Standard MIDI File reader. Any crash or sanitizer report is a
// fault; an error message is a fine answer.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "engine/midi_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  SMidiFile file;
  std::string error;
  ParseMidiFile(std::span<const std::uint8_t>(data, size), file, error);
  return 0;
}
