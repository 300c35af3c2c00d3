#include "platform/rtmidi_in_devices.h"

#include <RtMidi.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <optional>
#include <span>

#include "engine/callback_gate.h"
#include "engine/fifo.h"
#include "platform/device_library_messages.h"
#include "platform/midi_message.h"

namespace {

// The JACK or ALSA client name of every open port; the systems number further clients.
constexpr char kClientName[] = "Zelmar";
constexpr char kPortName[] = "MIDI In";

std::optional<RtMidi::Api> ToRtMidiApi(EDeviceApi api) {
  switch (api) {
    case EDeviceApi::Jack:
      return RtMidi::UNIX_JACK;
    case EDeviceApi::Alsa:
      return RtMidi::LINUX_ALSA;
    case EDeviceApi::Pulse:
      return std::nullopt;
  }
  return std::nullopt;
}

// RtMidi reports to an installed callback instead of printing and throwing.
void IgnoreMidiFault(RtMidiError::Type, const std::string&, void*) {}

// Null when RtMidi was built without the system or it does not answer.
std::unique_ptr<RtMidiIn> NewRtMidiIn(EDeviceApi api) {
  QuietDeviceLibraries();
  const std::optional<RtMidi::Api> rtApi = ToRtMidiApi(api);
  if (!rtApi) return nullptr;
  std::vector<RtMidi::Api> compiled;
  RtMidi::getCompiledApi(compiled);
  if (std::ranges::find(compiled, *rtApi) == compiled.end()) return nullptr;
  try {
    const TQuietStandardError quiet;
    auto midi = std::make_unique<RtMidiIn>(*rtApi, kClientName);
    midi->setErrorCallback(&IgnoreMidiFault, nullptr);
    return midi;
  } catch (const RtMidiError&) {
    return nullptr;
  }
}

}  // namespace

std::vector<SMidiPortEntry> ListMidiInPorts(const std::vector<EDeviceApi>& apis) {
  std::vector<SMidiPortEntry> ports;
  for (const EDeviceApi api : apis) {
    const std::unique_ptr<RtMidiIn> midi = NewRtMidiIn(api);
    if (!midi) continue;
    const unsigned count = midi->getPortCount();
    for (unsigned index = 0; index < count; ++index) {
      const std::string port = midi->getPortName(index);
      ports.push_back({api, index, port, ListedDeviceName(api, port)});
    }
  }
  return ports;
}

// One MIDI port. The port's thread (on JACK the server's process thread) passes the gate that
// Start opens and Stop closes: it never waits for the GUI thread, and once Stop or Close has
// returned no message reaches the driver any more.
class TRtMidiInDevice : public TMidiInDevice {
 public:
  TRtMidiInDevice(SMidiPortEntry port, TDeviceErrorMemo& errors)
      : port_(std::move(port)), errors_(errors) {}
  ~TRtMidiInDevice() override { Close(); }

  // The same port of the same system, also when its number has changed.
  bool Serves(const SMidiPortEntry& port) const {
    return port.api == port_.api && port.port == port_.port &&
           (!port.port.empty() || port.apiIndex == port_.apiIndex);
  }

  int Open(TMidiInCallback* callback) override {
    if (midi_) return kMidiAllocated;
    std::unique_ptr<RtMidiIn> midi = NewRtMidiIn(port_.api);
    if (!midi) return Fail(kMidiBadDeviceId, "The MIDI system does not answer.");
    midi->setErrorCallback(&RememberFault, this);
    midi->ignoreTypes(false, false, false);  // the driver sees every message, as the port sends it
    const std::optional<unsigned> number = FindPort(*midi);
    if (!number) return Fail(kMidiBadDeviceId, "The port is no longer there.");
    midi->setCallback(&Receive, this);
    midi->openPort(*number, kPortName);
    if (!midi->isPortOpen()) return Fail(kMidiError, "It cannot be opened: " + TakeFault());
    // The gate is closed until Start: the port's thread does not look at the callback yet.
    callback_ = callback;
    midi_ = std::move(midi);
    errors_.Remember(kMidiOk, {});
    if (callback != nullptr) callback->MidiInCallback(EMidiInMessage::Open, 0, nullptr);
    return kMidiOk;
  }

  // Forgets the buffers handed over. The port's thread takes buffers only while the gate is
  // open, so a started device closes it for the moment (a message arriving then is lost).
  int Reset() override {
    if (!midi_) return kMidiInvalidHandle;
    const bool started = gate_.IsOpen();
    gate_.Close();
    buffers_.Clear();
    if (started) gate_.Open();
    return kMidiOk;
  }

  int PrepareHeader(SMidiInHeader& header) override { return CheckHeader(header); }
  int UnprepareHeader(SMidiInHeader& header) override { return CheckHeader(header); }

  // The GUI thread pushes, the port's thread pops: the queue needs no lock.
  int AddBuffer(SMidiInHeader& header) override {
    if (const int checked = CheckHeader(header); checked != kMidiOk) return checked;
    return buffers_.Push(&header) ? kMidiOk : kMidiError;
  }

  int Start() override { return SetStarted(true); }
  int Stop() override { return SetStarted(false); }

  int Close() override {
    if (!midi_) return kMidiInvalidHandle;
    SetStarted(false);
    midi_.reset();  // ends the port's thread and client
    buffers_.Clear();
    TMidiInCallback* callback = std::exchange(callback_, nullptr);
    if (callback != nullptr) callback->MidiInCallback(EMidiInMessage::Close, 0, nullptr);
    return kMidiOk;
  }

 private:
  // The port's thread: one complete message as RtMidi assembled it.
  static void Receive(double, std::vector<unsigned char>* message, void* self) {
    auto& device = *static_cast<TRtMidiInDevice*>(self);
    const TCallbackGate::TPass pass(device.gate_);
    if (!pass.Open() || device.callback_ == nullptr) return;
    const std::span<const std::uint8_t> bytes(message->data(), message->size());
    const EMidiInMessage kind = ClassifyMidiMessage(bytes);
    if (kind == EMidiInMessage::LongData) {
      device.DeliverSystemExclusive(bytes);
    } else {
      device.callback_->MidiInCallback(kind, PackShortMessage(bytes), nullptr);
    }
  }

  // Into the oldest buffer handed over, cut to its length; lost when none waits.
  void DeliverSystemExclusive(std::span<const std::uint8_t> bytes) {
    SMidiInHeader* header = nullptr;
    if (!buffers_.Pop(header)) return;
    const std::size_t count = std::min<std::size_t>(bytes.size(), header->bufferLength);
    std::memcpy(header->data, bytes.data(), count);
    header->bytesRecorded = static_cast<std::uint32_t>(count);
    callback_->MidiInCallback(EMidiInMessage::LongData, 0, header);
  }

  static void RememberFault(RtMidiError::Type, const std::string& text, void* self) {
    auto& device = *static_cast<TRtMidiInDevice*>(self);
    const std::lock_guard lock(device.faultLock_);
    device.fault_ = text;
  }

  std::string TakeFault() {
    const std::lock_guard lock(faultLock_);
    return std::exchange(fault_, {});
  }

  std::optional<unsigned> FindPort(RtMidiIn& midi) const {
    const unsigned count = midi.getPortCount();
    if (port_.port.empty()) {
      if (port_.apiIndex < count) return port_.apiIndex;
      return std::nullopt;
    }
    for (unsigned number = 0; number < count; ++number)
      if (midi.getPortName(number) == port_.port) return number;
    return std::nullopt;
  }

  int Fail(int code, const std::string& reason) {
    errors_.Remember(code, "The MIDI port \"" + port_.name + "\" cannot be used. " + reason);
    return code;
  }

  int CheckHeader(const SMidiInHeader& header) const {
    if (!midi_) return kMidiInvalidHandle;
    return header.data != nullptr && header.bufferLength > 0 ? kMidiOk : kMidiError;
  }

  int SetStarted(bool started) {
    if (!midi_) return kMidiInvalidHandle;
    if (started) {
      gate_.Open();
    } else {
      gate_.Close();
    }
    return kMidiOk;
  }

  const SMidiPortEntry port_;
  TDeviceErrorMemo& errors_;
  std::unique_ptr<RtMidiIn> midi_;

  // Set while the gate is closed; the port's thread uses it and the buffers only while it is open.
  TCallbackGate gate_;
  TMidiInCallback* callback_ = nullptr;
  TFIFO<SMidiInHeader*, 4> buffers_;  // system-exclusive buffers handed over, oldest first

  std::mutex faultLock_;
  std::string fault_;  // what RtMidi last reported
};

TRtMidiInDevices::TRtMidiInDevices(std::vector<EDeviceApi> apis) : apis_(std::move(apis)) {}

TRtMidiInDevices::~TRtMidiInDevices() = default;

TMidiInDevice* TRtMidiInDevices::Device(int index) {
  const std::vector<SMidiPortEntry> ports = ListMidiInPorts(apis_);
  if (index < 0 || static_cast<std::size_t>(index) >= ports.size()) {
    errors_.Remember(kMidiBadDeviceId, "There is no MIDI input device number " +
                                           std::to_string(index) + " (" +
                                           std::to_string(ports.size()) + " listed).");
    return nullptr;
  }
  const SMidiPortEntry& port = ports[static_cast<std::size_t>(index)];
  for (const auto& device : devices_)
    if (device->Serves(port)) return device.get();
  devices_.push_back(std::make_unique<TRtMidiInDevice>(port, errors_));
  return devices_.back().get();
}

std::string TRtMidiInDevices::ErrorText(int code) const { return errors_.Text(code); }

std::vector<std::string> TRtMidiInDevices::DeviceNames() const {
  std::vector<std::string> names;
  for (const SMidiPortEntry& port : ListMidiInPorts(apis_))
    names.push_back(port.name);
  return names;
}
