#include "engine/midi_in_driver.h"

namespace {

struct SShortMessage {
  std::uint8_t status, data1, data2;
};

SShortMessage Unpack(std::uint32_t packed) {
  return {static_cast<std::uint8_t>(packed), static_cast<std::uint8_t>(packed >> 8),
          static_cast<std::uint8_t>(packed >> 16)};
}

}  // namespace

TWorkMidiIn::TWorkMidiIn()
    : sysExData_(std::make_unique<std::byte[]>(kMidiInSysExBytes)),
      header_{sysExData_.get(), kMidiInSysExBytes, 0} {}

TWorkMidiIn::~TWorkMidiIn() { Close(); }

void TWorkMidiIn::OnShortMessage(std::uint8_t, std::uint8_t, std::uint8_t) {}
void TWorkMidiIn::OnLongData(SMidiInHeader&) {}
void TWorkMidiIn::OnError(std::uint8_t, std::uint8_t, std::uint8_t) {}

int TWorkMidiIn::Open(TMidiInDevice& device) {
  if (IsOpen()) return kMidiAllocated;
  int result = device.Open(this);
  if (result != kMidiOk) return result;
  device_ = &device;
  // The buffer is handed over once; the device keeps it until Close.
  if ((result = device.Reset()) == kMidiOk && (result = device.PrepareHeader(header_)) == kMidiOk &&
      (result = device.AddBuffer(header_)) == kMidiOk && (result = device.Start()) == kMidiOk) {
    return kMidiOk;
  }
  Close();
  return result;
}

int TWorkMidiIn::Close() {
  if (!IsOpen()) return kMidiInvalidHandle;
  TMidiInDevice& device = *device_;
  device_ = nullptr;
  int result = device.Stop();
  if (result == kMidiOk) result = device.Reset();
  if (result == kMidiOk) result = device.UnprepareHeader(header_);
  if (result == kMidiOk) result = device.Close();
  return result;
}

bool TWorkMidiIn::CanOpen(TMidiInDevice& device) {
  if (device.Open(nullptr) != kMidiOk) return false;
  device.Close();
  return true;
}

void TWorkMidiIn::MidiInCallback(EMidiInMessage message, std::uint32_t packedMessage,
                                 SMidiInHeader* header) {
  switch (message) {
    case EMidiInMessage::Data: {
      const auto m = Unpack(packedMessage);
      OnShortMessage(m.status, m.data1, m.data2);
      return;
    }
    case EMidiInMessage::Error: {
      const auto m = Unpack(packedMessage);
      OnError(m.status, m.data1, m.data2);
      return;
    }
    case EMidiInMessage::LongData:
      if (header != nullptr) OnLongData(*header);
      return;
    default:
      return;  // open, close and the rest carry nothing for the owner
  }
}
