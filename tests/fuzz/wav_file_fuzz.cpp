// Feeds arbitrary bytes to the WAV parser that reads recordings. Any crash or sanitizer report is
// a fault; an error message is a fine answer.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "engine/wav_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  SWavContent content;
  std::string error;
  ParseWav(std::as_bytes(std::span<const std::uint8_t>(data, size)), content, error);
  return 0;
}
