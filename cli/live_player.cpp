#include "cli/live_player.h"

#include <QString>
#include <algorithm>

#include "cli/device_modules.h"
#include "engine/device_services.h"
#include "modules/catalogue.h"
#include "modules/speakers.h"
#include "platform/engine_options.h"
#include "platform/options.h"

namespace {

std::string Listed(const std::vector<std::string>& names, int device) {
  if (device < 0 || device >= static_cast<int>(names.size())) return {};
  return names[static_cast<std::size_t>(device)];
}

bool IsSpeaker(EDeviceKind kind) {
  return kind == EDeviceKind::Speaker || kind == EDeviceKind::StereoSpeaker;
}

}  // namespace

const char* DeviceKindName(EDeviceKind kind) {
  switch (kind) {
    case EDeviceKind::Speaker:
      return "speaker";
    case EDeviceKind::StereoSpeaker:
      return "stereo speaker";
    case EDeviceKind::Microphone:
      return "microphone";
    case EDeviceKind::MidiInput:
      return "MIDI input";
  }
  return "device";
}

namespace {

SApplicationContext PlayContext(TRealDeviceServices& services) {
  SApplicationContext context;
  context.moduleTypes = ModuleCatalogue();
  context.devices = {&services.waveOut, &services.waveIn, &services.midiIn};
  // Modules take the options' default devices when they are built.
  LoadOptions(context.soundOptions);
  return context;
}

}  // namespace

TLivePlayer::SPlayContext::SPlayContext() : scope(PlayContext(services)) {}

TLivePlayer::TLivePlayer() { document_.Engine().SetListener(this); }

TLivePlayer::~TLivePlayer() { document_.StopSound(); }

bool TLivePlayer::Load(const std::filesystem::path& sound, std::string& error) {
  std::error_code status;
  if (!std::filesystem::is_regular_file(sound, status)) {
    error = sound.string() + ": no such sound file";
    return false;
  }
  // Listed after opening, the program's own streams would be among the devices.
  const TRealDeviceServices& services = context_.services;
  const SDeviceNames names{services.waveOut.DeviceNames(), services.waveIn.DeviceNames(),
                           services.midiIn.DeviceNames()};
  std::string fault;
  if (!document_.Load(QString::fromStdString(sound.string()), fault)) {
    error = sound.string() + ": not a readable sound file (" + fault + ")";
    return false;
  }
  ReportDevices(names);
  return true;
}

void TLivePlayer::ReportDevices(const SDeviceNames& names) {
  devices_.clear();
  for (const SDeviceModule& found : FindDeviceModules(*document_.ModuleList)) {
    SDeviceReport report;
    const std::vector<std::string>* listed = &names.midiPorts;
    if (const auto* speaker = dynamic_cast<const TLautsprecher*>(found.module)) {
      report.kind = speaker->IsStereo() ? EDeviceKind::StereoSpeaker : EDeviceKind::Speaker;
      report.silent = !speaker->IsActive(nullptr);
      listed = &names.outputs;
    } else if (dynamic_cast<const TMikrophon*>(found.module) != nullptr) {
      report.kind = EDeviceKind::Microphone;
      listed = &names.inputs;
    } else {
      report.kind = EDeviceKind::MidiInput;
    }
    report.module = found.name;
    report.device = found.module->ChosenDevice();
    report.deviceName = Listed(*listed, report.device);
    report.open = found.module->IsDeviceOpen();
    report.error = found.module->DeviceError();
    devices_.push_back(std::move(report));
  }
}

bool TLivePlayer::HasSpeaker() const {
  return std::ranges::any_of(devices_,
                             [](const SDeviceReport& device) { return IsSpeaker(device.kind); });
}

bool TLivePlayer::AnySpeakerOpen() const {
  return std::ranges::any_of(
      devices_, [](const SDeviceReport& device) { return device.open && IsSpeaker(device.kind); });
}

bool TLivePlayer::Start(std::string& error) {
  ApplySoundOptions(document_.Engine());
  switch (document_.StartSound()) {
    case TKlangEngine::kStartNoMemory:
      error = "Can't create Memory !";
      return false;
    case TKlangEngine::kStartNoThread:
      error = "Can't start Thread !";
      return false;
    default:
      return true;
  }
}

std::string TLivePlayer::PlayMode() { return PlayModeText(document_.Engine()); }

bool TLivePlayer::Stop(std::string& error) {
  if (document_.StopSound() != TKlangEngine::kStopThreadHung) return true;
  error = "Can't stop Thread !";
  return false;
}

void TLivePlayer::EngineOverloaded(int usage) {
  overloadUsage_ = usage;
  overloaded_ = true;
}
