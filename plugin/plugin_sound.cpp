#include "plugin/plugin_sound.h"

#include <algorithm>
#include <atomic>

#include "engine/constant_work.h"
#include "engine/work_type.h"
#include "modules/constants.h"
#include "plugin/plugin_context.h"

namespace {

constexpr float kFullScale = 32768.0F;

template <class Kernel>
Kernel* DirectKernel(TKlangEngine& engine, int code) {
  auto* kernel = dynamic_cast<Kernel*>(engine.Work(code));
  if (kernel != nullptr) kernel->SetDirect(true);
  return kernel;
}

// The records of a bound speaker kernel; a kernel without any is forgotten, since it lays out
// none to aim at.
template <class Kernel>
std::size_t SpeakersOf(Kernel*& kernel) {
  const int records = kernel != nullptr ? kernel->GetRecordCount() : 0;
  if (records == 0) kernel = nullptr;
  return static_cast<std::size_t>(records);
}

}  // namespace

TPluginSound::TPluginSound(unsigned hostRate) : output_(2, hostRate) {}

bool TPluginSound::Load(const std::string& text, std::string& error, std::string& notes) {
  const TPluginContext context(devices_.Services());
  std::string fault;
  const bool read = document_.Restore(text, QString(), fault);
  notes = context.Messages();
  if (!read) {
    error = "not a readable sound (" + fault + ")";
    return false;
  }
  text_ = document_.SoundText();
  return Bind(error);
}

bool TPluginSound::Bind(std::string& error) {
  TKlangEngine& engine = document_.Engine();
  // From their first Prepare on, the speakers write where Render aims them.
  monoKernel_ = DirectKernel<TWorkLautsprecher>(engine, kWorkLautsprecher);
  stereoKernel_ = DirectKernel<TWorkLautsprecherStereo>(engine, kWorkLautsprecherStereo);
  if (!output_.IsReady() || runner_.Start() != TKlangEngine::kStarted) {
    error = "there is no memory for the sound";
    return false;
  }
  monoSpeakers_ = SpeakersOf(monoKernel_);
  stereoSpeakers_ = SpeakersOf(stereoKernel_);
  monoFrames_.assign(monoSpeakers_ * kMaxFrames, 0);
  stereoFrames_.assign(stereoSpeakers_ * kMaxFrames * 2, 0);
  FindFaders();
  return true;
}

void TPluginSound::FindFaders() {
  const TWorkBasisklassen* constants = document_.Engine().Work(kWorkKonstanten);
  const std::vector<TBasisKonstanten*> found = PanelFaders(document_);
  for (std::size_t i = 0; i < found.size() && i < faders_.size(); ++i) {
    // A constant on no complete chain has no record: its control changes nothing.
    auto* record = static_cast<SKonstantenRecord*>(constants->GetRecord(found[i], 0));
    if (record == nullptr) continue;
    faders_[i] = {&record->Value, found[i]->MinValue->value, found[i]->MaxValue->value};
  }
}

void TPluginSound::Play(float* left, float* right, std::uint32_t frames, TMidiSchedule& midi) {
  midi_ = &midi;
  for (std::uint32_t done = 0; done < frames;) {
    const std::uint32_t slice = std::min(frames - done, kSliceFrames);
    output_.Fill(interleaved_.data(), slice,
                 [this](float* source, std::uint32_t count) { Render(source, count); });
    for (std::uint32_t i = 0; i < slice; ++i) {
      left[done + i] = interleaved_[2 * i];
      right[done + i] = interleaved_[2 * i + 1];
    }
    done += slice;
  }
  midi_ = nullptr;
}

void TPluginSound::Render(float* out, std::uint32_t frames) {
  if (monoKernel_ != nullptr)
    monoKernel_->AimEach(reinterpret_cast<std::byte*>(monoFrames_.data()), frames,
                         kMaxFrames * TWorkLautsprecher::kFrameBytes);
  if (stereoKernel_ != nullptr)
    stereoKernel_->AimEach(reinterpret_cast<std::byte*>(stereoFrames_.data()), frames,
                           kMaxFrames * TWorkLautsprecherStereo::kFrameBytes);
  runner_.Run(frames / 2, deliverMidi_);
  Mix(out, frames);
}

void TPluginSound::DeliverMidi(std::int64_t sampleIndex) {
  midi_->DeliverUpTo(sampleIndex,
                     [this](std::uint32_t message) { devices_.midiIn.Deliver(message); });
}

void TPluginSound::Mix(float* out, std::uint32_t frames) const {
  for (std::uint32_t frame = 0; frame < frames; ++frame) {
    float left = 0;
    float right = 0;
    for (std::size_t speaker = 0; speaker < monoSpeakers_; ++speaker) {
      const float sample = monoFrames_[speaker * kMaxFrames + frame];
      left += sample;
      right += sample;
    }
    for (std::size_t speaker = 0; speaker < stereoSpeakers_; ++speaker) {
      const std::int16_t* pair = &stereoFrames_[(speaker * kMaxFrames + frame) * 2];
      left += pair[0];
      right += pair[1];
    }
    out[2 * frame] = left / kFullScale;
    out[2 * frame + 1] = right / kFullScale;
  }
}

void TPluginSound::SetFader(int index, double position) {
  if (index < 0 || index >= kFaderControls) return;
  const SFaderRecord& fader = faders_[static_cast<std::size_t>(index)];
  if (fader.value == nullptr) return;
  // One aligned store that the engine reads every sample, as a constant's change while the
  // program plays it.
  std::atomic_ref(*fader.value)
      .store(FaderValue(position, fader.lower, fader.upper), std::memory_order_relaxed);
}

std::unique_ptr<TPluginSound> LoadPluginSound(const std::string& text, unsigned hostRate,
                                              std::string& error, std::string& notes) {
  const auto lock = LockPluginModel();
  auto sound = std::make_unique<TPluginSound>(hostRate);
  if (!sound->Load(text, error, notes)) sound.reset();
  return sound;
}

void DisposePluginSound(std::unique_ptr<TPluginSound> sound) {
  const auto lock = LockPluginModel();
  sound.reset();
}
