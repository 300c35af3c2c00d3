// The PCM formats the sound devices are opened with, and the result codes every device and
// driver operation returns (the numbering of the platform's multimedia services).
#pragma once

#include <cstdint>
#include <string>

struct SWaveFormat {
  std::uint16_t channels = 1;
  std::uint32_t samplesPerSecond = 44100;
  std::uint16_t bitsPerSample = 16;
  std::uint16_t blockAlign = 2;  // bytes per frame: channels x 2
  std::uint32_t averageBytesPerSecond = 88200;

  bool operator==(const SWaveFormat&) const = default;
};

// 16-bit PCM with `channels` channels at `samplesPerSecond` frames per second.
SWaveFormat Pcm16Format(std::uint16_t channels, std::uint32_t samplesPerSecond);

// Output: twice the engine rate, mono or stereo. Input: the engine rate, mono.
inline constexpr std::uint32_t kDeviceOutputRate = 44100;
inline constexpr std::uint32_t kDeviceInputRate = 22050;

inline constexpr int kWaveNoError = 0;
inline constexpr int kWaveError = 1;  // unspecified failure (a file that cannot be written)
inline constexpr int kWaveBadDeviceId = 2;
inline constexpr int kWaveAllocated = 4;  // the device is in use by another stream
inline constexpr int kWaveInvalidHandle = 5;
inline constexpr int kWaveNoMemory = 7;
inline constexpr int kWaveHandleBusy = 12;
inline constexpr int kWaveBadFormat = 32;  // the device refuses the format or the file's content

// The standard text for a result code.
std::string WaveResultText(int code);
