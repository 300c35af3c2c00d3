#include "plugin/plugin_devices.h"

#include "engine/wave_format.h"

namespace {

// Plays nothing: in the plugin the speaker kernels write into the plugin's buffers (their direct
// mode), so buffers reach a stream only before the first Aim, and are free again at once.
class TPluginWaveOutStream : public TWaveOutStream {
 public:
  explicit TPluginWaveOutStream(TWaveOutDoneReport& report) : report_(report) {}

  int Write(SWaveHeader& header) override {
    report_.BufferDone(header);
    return kWaveNoError;
  }
  int Reset() override { return kWaveNoError; }
  std::uint32_t GetPosition() const override { return 0; }
  int Close() override { return kWaveNoError; }

 private:
  TWaveOutDoneReport& report_;
};

}  // namespace

int TPluginWaveOut::Open(int device, const SWaveFormat& format, TWaveOutDoneReport& report,
                         std::unique_ptr<TWaveOutStream>& stream) {
  if (!CanOpen(device, format)) return kWaveBadDeviceId;
  stream = std::make_unique<TPluginWaveOutStream>(report);
  return kWaveNoError;
}

bool TPluginWaveOut::CanOpen(int device, const SWaveFormat&) { return device >= 0; }

std::string TPluginWaveOut::ErrorText(int code) const { return WaveResultText(code); }

int TPluginMidiPort::Open(TMidiInCallback* callback) {
  if (open_) return kMidiAllocated;
  // A null callback only asks whether the port opens.
  if (callback == nullptr) return kMidiOk;
  callback_ = callback;
  open_ = true;
  return kMidiOk;
}

int TPluginMidiPort::Start() {
  started_ = open_;
  return IfOpen();
}

int TPluginMidiPort::Stop() {
  started_ = false;
  return IfOpen();
}

int TPluginMidiPort::Close() {
  if (!open_) return kMidiInvalidHandle;
  open_ = started_ = false;
  callback_ = nullptr;
  return kMidiOk;
}

void TPluginMidiPort::Deliver(std::uint32_t packedMessage) const {
  if (started_) callback_->MidiInCallback(EMidiInMessage::Data, packedMessage, nullptr);
}

TMidiInDevice* TPluginMidiIn::Device(int index) {
  if (index < 0) return nullptr;
  for (const auto& [number, port] : ports_)
    if (number == index) return port.get();
  ports_.emplace_back(index, std::make_unique<TPluginMidiPort>());
  return ports_.back().second.get();
}

void TPluginMidiIn::Deliver(std::uint32_t packedMessage) const {
  for (const auto& entry : ports_)
    entry.second->Deliver(packedMessage);
}
