#include "engine/wave_format.h"

SWaveFormat Pcm16Format(std::uint16_t channels, std::uint32_t samplesPerSecond) {
  SWaveFormat format;
  format.channels = channels;
  format.samplesPerSecond = samplesPerSecond;
  format.bitsPerSample = 16;
  format.blockAlign = static_cast<std::uint16_t>(channels * 2);
  format.averageBytesPerSecond = format.blockAlign * samplesPerSecond;
  return format;
}

std::string WaveResultText(int code) {
  switch (code) {
    case kWaveNoError:
      return "The operation succeeded.";
    case kWaveError:
      return "Unspecified error.";
    case kWaveBadDeviceId:
      return "The device identifier is out of range.";
    case kWaveAllocated:
      return "The device is already in use.";
    case kWaveInvalidHandle:
      return "The device is not open.";
    case kWaveNoMemory:
      return "Unable to allocate or lock memory.";
    case kWaveHandleBusy:
      return "The device is already open or busy.";
    case kWaveBadFormat:
      return "The device does not support the requested wave format.";
    default:
      return "Unknown device error " + std::to_string(code) + ".";
  }
}
