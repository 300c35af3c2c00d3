// The RIFF WAVE layout of 16-bit (and, for reading, 8-bit) PCM files: building the 44-byte
// header of a file being written, and parsing a whole file with every size checked against the
// bytes actually present.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "engine/wave_format.h"

inline constexpr std::size_t kWavHeaderBytes = 44;
// The largest data chunk the 32-bit RIFF sizes can describe.
inline constexpr std::uint64_t kWavMaxDataBytes = 0xFFFFFFFFull - 36;
// Files above this are refused rather than read into memory.
inline constexpr std::uint64_t kWavMaxReadBytes = 1ull << 30;

std::array<std::byte, kWavHeaderBytes> WavHeader(const SWaveFormat& format,
                                                 std::uint32_t dataBytes);

struct SWavContent {
  SWaveFormat format;              // bitsPerSample 8 or 16, channels 1 or 2
  std::vector<std::byte> samples;  // whole frames of the data chunk, little-endian
};

// False with a readable `error` when the bytes are not a PCM WAV file this system can read.
bool ParseWav(std::span<const std::byte> file, SWavContent& content, std::string& error);
bool ReadWavFile(const std::filesystem::path& path, SWavContent& content, std::string& error);
