#include "tests/modules/render_rig.h"

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <string>

#include "engine/speaker_kernels.h"
#include "engine/wav_file.h"
#include "engine/wav_file_in_device.h"
#include "engine/wav_file_out_device.h"
#include "modules/speakers.h"
#include "patch/dokument_klang.h"
#include "persist/tree_message.h"

namespace {

constexpr std::uint32_t kFramesPerEngineSample = 2;

std::filesystem::path UniqueOutputPath() {
  static std::atomic<int> counter{0};
  return std::filesystem::temp_directory_path() /
         ("zelmar-render-" + std::to_string(getpid()) + "-" + std::to_string(++counter) + ".wav");
}

std::vector<TLautsprecher*> SpeakersOf(TDokumentKlang& document) {
  std::vector<TLautsprecher*> speakers;
  for (const auto& [key, child] : document.ModuleList->Children()) {
    if (auto* speaker = dynamic_cast<TLautsprecher*>(child.get())) speakers.push_back(speaker);
  }
  return speakers;
}

// Device frames the speaker kernel writes ahead of the device.
std::size_t LeadFrames(TKlangEngine& engine, const TLautsprecher& speaker) {
  if (speaker.IsStereo()) {
    return static_cast<TWorkLautsprecherStereo*>(engine.Work(speaker.GetWorkType()))->LeadBytes() /
           TWorkLautsprecherStereo::kFrameBytes;
  }
  return static_cast<TWorkLautsprecher*>(engine.Work(speaker.GetWorkType()))->LeadBytes() /
         TWorkLautsprecher::kFrameBytes;
}

}  // namespace

class TRenderRig::TMidiDevices : public TMidiInDevices {
 public:
  explicit TMidiDevices(TMidiInFileDevice& device) : device_(device) {}
  TMidiInDevice* Device(int index) override { return index == 0 ? &device_ : nullptr; }

 private:
  TMidiInFileDevice& device_;
};

std::size_t SRenderedSound::EngineSampleCount() const {
  const std::size_t frames = FrameCount();
  return frames > leadFrames ? (frames - leadFrames) / kFramesPerEngineSample : 0;
}

std::int16_t SRenderedSound::EngineSample(std::size_t index, int channel) const {
  const std::size_t frame = leadFrames + kFramesPerEngineSample * index + 1;
  return samples.at(frame * channels + static_cast<std::size_t>(channel));
}

TRenderRig::TRenderRig(std::vector<SMidiInEvent> midi, std::filesystem::path recording)
    : output_(UniqueOutputPath()),
      waveOut_(std::make_unique<TWavFileOutDevice>(output_)),
      midi_(std::make_unique<TMidiInFileDevice>(std::move(midi))),
      midiDevices_(std::make_unique<TMidiDevices>(*midi_)),
      previous_(DeviceServices()) {
  if (!recording.empty()) waveIn_ = std::make_unique<TWavFileInDevice>(std::move(recording));
  SetDeviceServices({waveOut_.get(), waveIn_.get(), midiDevices_.get()});
  document_ = std::make_unique<TDokumentKlang>();
}

TRenderRig::~TRenderRig() {
  runner_.reset();
  document_.reset();
  SetDeviceServices(previous_);
  std::error_code ignored;
  std::filesystem::remove(output_, ignored);
}

SRenderedSound TRenderRig::Render(std::int64_t samples) {
  Start();
  Run(samples);
  return Finish();
}

int TRenderRig::Start() {
  document_->ModuleList->Broadcast(kTreeAfterRead, 0, document_.get());
  document_->RevalidatePatch();
  runner_ = std::make_unique<TOfflineRunner>(document_->Engine());
  return runner_->Start();
}

void TRenderRig::Run(std::int64_t samples) {
  if (!runner_) return;
  runner_->Run(samples, [this](std::int64_t index) {
    midi_->DeliverUpTo(index);
    waveOut_->Play(kFramesPerEngineSample);
  });
}

SRenderedSound TRenderRig::Finish() {
  SRenderedSound sound;
  if (!runner_) return sound;
  const std::vector<TLautsprecher*> speakers = SpeakersOf(*document_);
  for (TLautsprecher* speaker : speakers) {
    TWorkWaveOut* driver = speaker->Driver();
    if (driver == nullptr) continue;
    driver->WaitUntilHandedOver(std::chrono::seconds(5));
    sound.leadFrames = LeadFrames(document_->Engine(), *speaker);
  }
  waveOut_->Play(static_cast<std::uint32_t>(sound.leadFrames));
  runner_->Stop();
  runner_.reset();
  for (TLautsprecher* speaker : speakers)
    speaker->CloseDevice();

  SWavContent content;
  std::string error;
  if (!ReadWavFile(output_, content, error)) return sound;
  sound.channels = content.format.channels;
  sound.samples.resize(content.samples.size() / sizeof(std::int16_t));
  std::memcpy(sound.samples.data(), content.samples.data(),
              sound.samples.size() * sizeof(std::int16_t));
  return sound;
}
