#include "cli/render_devices.h"

#include <algorithm>
#include <limits>

#include "engine/wave_format.h"

TRenderWaveOut::TRenderWaveOut(const std::vector<std::filesystem::path>& targets) {
  for (const auto& target : targets)
    files_.push_back(std::make_unique<TWavFileOutDevice>(target));
}

TWavFileOutDevice* TRenderWaveOut::File(int device) const {
  if (device < 0 || device >= static_cast<int>(files_.size())) return nullptr;
  return files_[static_cast<std::size_t>(device)].get();
}

int TRenderWaveOut::Open(int device, const SWaveFormat& format, TWaveOutDoneReport& report,
                         std::unique_ptr<TWaveOutStream>& stream) {
  TWavFileOutDevice* file = File(device);
  if (file == nullptr) return kWaveBadDeviceId;
  lastDevice_ = device;
  return file->Open(0, format, report, stream);
}

bool TRenderWaveOut::CanOpen(int device, const SWaveFormat& format) {
  TWavFileOutDevice* file = File(device);
  return file != nullptr && file->CanOpen(0, format);
}

std::string TRenderWaveOut::ErrorText(int code) const {
  const TWavFileOutDevice* file = File(lastDevice_);
  return file ? file->ErrorText(code) : WaveResultText(code);
}

std::vector<std::string> TRenderWaveOut::DeviceNames() const {
  std::vector<std::string> names;
  for (const auto& file : files_)
    names.push_back(file->target().filename().string());
  return names;
}

void TRenderWaveOut::Play(std::uint32_t frames) {
  for (const auto& file : files_)
    file->Play(frames);
}

void TRenderWaveOut::Abandon() {
  for (const auto& file : files_)
    file->Abandon();
}

TMidiInDevice* TRenderMidiIn::Device(int index) {
  if (index < 0) return nullptr;
  auto& device = devices_[index];
  if (!device) device = std::make_unique<TMidiInFileDevice>(events_);
  return device.get();
}

void TRenderMidiIn::DeliverUpTo(std::int64_t sampleIndex) {
  for (const auto& [index, device] : devices_)
    device->DeliverUpTo(sampleIndex);
}

std::int64_t TRenderMidiIn::NextEventSample() const {
  std::int64_t next = std::numeric_limits<std::int64_t>::max();
  for (const auto& [index, device] : devices_)
    next = std::min(next, device->NextEventSample());
  return next;
}

TRenderDevices::TRenderDevices(const std::vector<std::filesystem::path>& outputs,
                               std::vector<SMidiInEvent> midi, std::filesystem::path recording)
    : waveOut_(outputs),
      waveIn_(std::move(recording)),
      midiIn_(std::move(midi)),
      previous_(DeviceServices()) {
  SetDeviceServices({&waveOut_, &waveIn_, &midiIn_});
}

TRenderDevices::~TRenderDevices() { SetDeviceServices(previous_); }
