#include "modules/speakers.h"

#include <new>

#include "engine/device_services.h"
#include "engine/klang_engine.h"
#include "engine/microphone_kernel.h"
#include "engine/speaker_kernels.h"
#include "engine/work_type.h"
#include "persist/tree_message.h"
#include "platform/options.h"

namespace {

constexpr int kHelpSpeaker = 2220;
constexpr int kHelpMicrophone = 2210;
constexpr TRect kSpeakerRect{0, 0, 75, 51};
constexpr TRect kStereoSpeakerRect{0, 0, 75, 65};
constexpr TRect kMicrophoneRect{0, 0, 75, 51};

// The "WaveBuffer" option (milliseconds) as engine samples.
std::int32_t WaveBufferSamples() { return kEngineSampleRate * SoundOptions().waveBuffer / 1000; }

// The drivers share the installed service, which outlives every open device.
template <class Service>
std::shared_ptr<Service> Unowned(Service* service) {
  return std::shared_ptr<Service>(service, [](Service*) {});
}

// Makes `driver` anew for every opening: the driver of an earlier opening may still be held by
// the binding of an abandoned engine thread.
template <class Driver, class Service>
bool NewDriver(std::shared_ptr<Driver>& driver, Service* installed) {
  if (installed == nullptr) return false;
  driver = std::make_shared<Driver>(Unowned(installed));
  return true;
}

}  // namespace

TLautsprecher::TLautsprecher(bool mono)
    : TGeraetModul({kTreeWaveOutChanged, "Fault Module Wave", kHelpSpeaker, true},
                   SoundOptions().speakerDefaultDevice),
      mono_(mono) {
  Title->value = " Speaker";
  Rect->SetRect(mono ? kSpeakerRect : kStereoSpeakerRect);
  const auto left = InputList->AddPort(kPortMonoInputAnalog);
  if (!mono) {
    left->Title->value = "L";
    InputList->AddPort(kPortMonoInputAnalog)->Title->value = "R";
  }
  PlaceConnectors({0, 30});
}

std::string TLautsprecher::HintOf(const TEinAusgang& port) const {
  if (mono_ || !port.Type().isInput) return TGeraetModul::HintOf(port);
  return port.Key() == "1" ? "Input left - signal" : "Input right - signal";
}

SModulePicture TLautsprecher::PanelPicture() const {
  return {"BITMAP_LAUTSPRECHER", 33, mono_ ? 16 : 24};
}

TLautsprecher::~TLautsprecher() { CloseDevice(); }

int TLautsprecher::GetWorkType() const {
  return mono_ ? kWorkLautsprecher : kWorkLautsprecherStereo;
}

void TLautsprecher::BindWork(int, void* record, TBindContext& context) {
  auto* speaker = new (record) SLautsprecherRecord{};
  speaker->left = &kSilence;
  speaker->right = &kSilence;
  LinkInput("1", 0, &speaker->left, context);
  if (!mono_) LinkInput("2", 0, &speaker->right, context);
  speaker->driver = Driver();
  if (speaker->driver != nullptr) {
    context.Keep(driver_);
    context.Keep(driver_->Session());
  }
  // The lead ahead of the device is the "WaveBuffer" option; it applies from the next Prepare.
  const int lead = SoundOptions().waveBuffer;
  if (mono_) {
    if (auto* kernel = context.KernelOf<TWorkLautsprecher>(GetWorkType()))
      kernel->SetWaveBuffer(lead);
  } else if (auto* kernel = context.KernelOf<TWorkLautsprecherStereo>(GetWorkType())) {
    kernel->SetWaveBuffer(lead);
  }
}

bool TLautsprecher::IsDeviceOpen() const { return driver_ != nullptr && driver_->IsOpen(); }

void TLautsprecher::CloseDevice() {
  if (driver_ != nullptr) driver_->Close();
}

int TLautsprecher::DefaultDevice() const { return SoundOptions().speakerDefaultDevice; }

int TLautsprecher::OpenDriver(int device) {
  if (!NewDriver(driver_, DeviceServices().waveOut)) return kWaveBadDeviceId;
  driver_->SetFormat(!mono_);
  // The requested size (bytes) is handed on for the driver's sake; it keeps its own size.
  return driver_->Open(device, WaveBufferSamples() * 4, !mono_);
}

std::string TLautsprecher::ErrorText(int code) const {
  return driver_ != nullptr ? driver_->ErrorText(code) : WaveResultText(code);
}

std::vector<std::string> TLautsprecher::DeviceNames() const {
  const TWaveOutDevice* service = DeviceServices().waveOut;
  return service != nullptr ? service->DeviceNames() : std::vector<std::string>{};
}

bool TLautsprecher::CanOpenDevice(int device) const {
  TWaveOutDevice* service = DeviceServices().waveOut;
  return service != nullptr &&
         service->CanOpen(device, Pcm16Format(mono_ ? 1 : 2, kDeviceOutputRate));
}

TMikrophon::TMikrophon()
    : TGeraetModul({kTreeWaveInChanged, "Fault Module Wave", kHelpMicrophone, true},
                   SoundOptions().microDefaultDevice) {
  Title->value = " Micro";
  Rect->SetRect(kMicrophoneRect);
  OutputList->AddPort(kPortMonoOutputAnalog);
  PlaceConnectors({48, 30});
}

SModulePicture TMikrophon::PanelPicture() const { return {"BITMAP_MIKROPHON", 5, 16}; }

TMikrophon::~TMikrophon() { CloseDevice(); }

int TMikrophon::GetWorkType() const { return kWorkMicrophon; }

void TMikrophon::LinkOutput(int, const TLinkTarget& target, TBindContext& context, TAusgang&) {
  auto* microphone = context.RecordOf<SMicrophonRecord>(*this, 0);
  if (microphone == nullptr) return;
  BindWork(0, microphone, context);
  target.Connect(&microphone->output);
}

void TMikrophon::BindWork(int, void* record, TBindContext& context) {
  auto* microphone = new (record) SMicrophonRecord{};
  microphone->driver = IsDeviceOpen() ? driver_.get() : nullptr;
  if (microphone->driver != nullptr) {
    context.Keep(driver_);
    context.Keep(driver_->Stream());
  }
}

void TMikrophon::SoundStarted(TKlangEngine&, int) {
  if (IsDeviceOpen()) driver_->Start();
}

bool TMikrophon::IsDeviceOpen() const { return driver_ != nullptr && driver_->IsOpen(); }

void TMikrophon::CloseDevice() {
  if (driver_ != nullptr) driver_->Close();
}

int TMikrophon::DefaultDevice() const { return SoundOptions().microDefaultDevice; }

int TMikrophon::OpenDriver(int device) {
  if (!NewDriver(driver_, DeviceServices().waveIn)) return kWaveBadDeviceId;
  // One buffer per "WaveBuffer" milliseconds of 16-bit samples.
  const int result = driver_->Open(device, static_cast<std::uint32_t>(WaveBufferSamples() * 2));
  // A device whose buffers could not be had stays open in the driver; the module gives it up.
  if (result != kWaveNoError) driver_->Close();
  return result;
}

std::string TMikrophon::ErrorText(int code) const {
  return driver_ != nullptr ? driver_->ErrorText(code) : WaveResultText(code);
}

std::vector<std::string> TMikrophon::DeviceNames() const {
  const TWaveInDevice* service = DeviceServices().waveIn;
  return service != nullptr ? service->DeviceNames() : std::vector<std::string>{};
}

bool TMikrophon::CanOpenDevice(int device) const {
  TWaveInDevice* service = DeviceServices().waveIn;
  return service != nullptr && service->CanOpen(device, Pcm16Format(1, kDeviceInputRate));
}

void RegisterSpeakerModules(TModuleTypeTable& table) {
  table["Speaker"] = [] { return std::make_shared<TLautsprecher>(true); };
  table["SpeakerStereo"] = [] { return std::make_shared<TStereoLautsprecher>(); };
  table["Microphon"] = [] { return std::make_shared<TMikrophon>(); };
}
