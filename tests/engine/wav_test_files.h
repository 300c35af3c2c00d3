// Small WAV files built in memory for the reader and input-device tests.
#pragma once

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "engine/wav_file.h"

inline std::vector<std::byte> WavBytes(const SWaveFormat& format, const void* data,
                                       std::size_t bytes) {
  const auto header = WavHeader(format, static_cast<std::uint32_t>(bytes));
  std::vector<std::byte> file(header.begin(), header.end());
  const auto* first = static_cast<const std::byte*>(data);
  file.insert(file.end(), first, first + bytes);
  return file;
}

inline std::vector<std::byte> Wav16(std::uint16_t channels, std::uint32_t rate,
                                    const std::vector<std::int16_t>& samples) {
  return WavBytes(Pcm16Format(channels, rate), samples.data(), samples.size() * 2);
}

inline std::filesystem::path WriteTestFile(const std::string& name,
                                           const std::vector<std::byte>& bytes) {
  const auto folder = std::filesystem::temp_directory_path() / "zelmar-wav-tests";
  std::filesystem::create_directories(folder);
  const auto path = folder / name;
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  return path;
}
