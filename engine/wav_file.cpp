#include "engine/wav_file.h"

#include <cstring>
#include <optional>

#include "persist/input_file.h"

namespace {

void PutU16(std::byte* at, std::uint16_t value) {
  at[0] = std::byte(value & 0xFF);
  at[1] = std::byte(value >> 8);
}

void PutU32(std::byte* at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i)
    at[i] = std::byte((value >> (8 * i)) & 0xFF);
}

std::uint16_t GetU16(const std::byte* at) {
  return static_cast<std::uint16_t>(std::to_integer<unsigned>(at[0]) |
                                    (std::to_integer<unsigned>(at[1]) << 8));
}

std::uint32_t GetU32(const std::byte* at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i)
    value = (value << 8) | std::to_integer<std::uint32_t>(at[i]);
  return value;
}

bool IsTag(const std::byte* at, const char* tag) { return std::memcmp(at, tag, 4) == 0; }

std::string TagText(const std::byte* at) {
  std::string text;
  for (int i = 0; i < 4; ++i) {
    const char c = static_cast<char>(at[i]);
    text += (c >= 32 && c < 127) ? c : '?';
  }
  return text;
}

bool ParseFormat(std::span<const std::byte> chunk, SWaveFormat& format, std::string& error) {
  if (chunk.size() < 16) {
    error = "The format chunk is too short (" + std::to_string(chunk.size()) + " bytes).";
    return false;
  }
  const std::uint16_t tag = GetU16(&chunk[0]);
  format.channels = GetU16(&chunk[2]);
  format.samplesPerSecond = GetU32(&chunk[4]);
  format.averageBytesPerSecond = GetU32(&chunk[8]);
  format.blockAlign = GetU16(&chunk[12]);
  format.bitsPerSample = GetU16(&chunk[14]);
  if (tag != 1) {
    error = "The file is not plain PCM (format tag " + std::to_string(tag) + ").";
    return false;
  }
  if (format.channels < 1 || format.channels > 2) {
    error = "Only mono and stereo files can be read (" + std::to_string(format.channels) +
            " channels).";
    return false;
  }
  if (format.bitsPerSample != 8 && format.bitsPerSample != 16) {
    error = "Only 8- and 16-bit samples can be read (" + std::to_string(format.bitsPerSample) +
            " bits).";
    return false;
  }
  if (format.blockAlign != format.channels * format.bitsPerSample / 8 ||
      format.samplesPerSecond == 0) {
    error = "The format chunk contradicts itself (block alignment or rate).";
    return false;
  }
  return true;
}

}  // namespace

std::array<std::byte, kWavHeaderBytes> WavHeader(const SWaveFormat& format,
                                                 std::uint32_t dataBytes) {
  std::array<std::byte, kWavHeaderBytes> header{};
  std::byte* at = header.data();
  std::memcpy(at, "RIFF", 4);
  PutU32(at + 4, dataBytes + 36);
  std::memcpy(at + 8, "WAVEfmt ", 8);
  PutU32(at + 16, 16);
  PutU16(at + 20, 1);
  PutU16(at + 22, format.channels);
  PutU32(at + 24, format.samplesPerSecond);
  PutU32(at + 28, format.averageBytesPerSecond);
  PutU16(at + 32, format.blockAlign);
  PutU16(at + 34, format.bitsPerSample);
  std::memcpy(at + 36, "data", 4);
  PutU32(at + 40, dataBytes);
  return header;
}

bool ParseWav(std::span<const std::byte> file, SWavContent& content, std::string& error) {
  if (file.size() < 12 || !IsTag(&file[0], "RIFF") || !IsTag(&file[8], "WAVE")) {
    error = "The file is not a WAV file (no RIFF WAVE header).";
    return false;
  }
  const std::uint64_t riffBytes = GetU32(&file[4]);
  if (riffBytes < 4 || riffBytes > file.size() - 8) {
    error = "The file is truncated or its RIFF size is wrong (" + std::to_string(riffBytes) +
            " bytes announced, " + std::to_string(file.size() - 8) + " present).";
    return false;
  }
  const std::span<const std::byte> body = file.subspan(12, riffBytes - 4);
  std::optional<SWaveFormat> format;
  std::optional<std::span<const std::byte>> data;
  std::size_t at = 0;
  while (body.size() - at >= 8) {
    const std::byte* chunkHeader = &body[at];
    const std::uint64_t chunkBytes = GetU32(chunkHeader + 4);
    if (chunkBytes > body.size() - at - 8) {
      error = "The chunk \"" + TagText(chunkHeader) + "\" announces " + std::to_string(chunkBytes) +
              " bytes but only " + std::to_string(body.size() - at - 8) + " remain.";
      return false;
    }
    const std::span<const std::byte> chunk = body.subspan(at + 8, chunkBytes);
    if (IsTag(chunkHeader, "fmt ")) {
      SWaveFormat parsed;
      if (!ParseFormat(chunk, parsed, error)) return false;
      format = parsed;
    } else if (IsTag(chunkHeader, "data")) {
      data = chunk;
    }
    // Chunks are padded to an even length; a missing pad byte at the very end is tolerated.
    at += 8 + chunkBytes;
    at += std::min<std::size_t>(chunkBytes & 1, body.size() - at);
  }
  if (!format) {
    error = "The file has no format chunk.";
    return false;
  }
  if (!data) {
    error = "The file has no data chunk.";
    return false;
  }
  content.format = *format;
  const std::size_t whole = data->size() - data->size() % format->blockAlign;
  content.samples.assign(data->begin(), data->begin() + whole);
  return true;
}

bool ReadWavFile(const std::filesystem::path& path, SWavContent& content, std::string& error) {
  std::vector<std::byte> bytes;
  std::string reason;
  if (!ReadInputFile(path, kWavMaxReadBytes, bytes, reason)) {
    error = "The file \"" + path.string() + "\" " + reason + ".";
    return false;
  }
  if (ParseWav(bytes, content, error)) return true;
  error = path.string() + ": " + error;
  return false;
}
