#include "modules/scope.h"

#include <QSaveFile>
#include <QString>
#include <algorithm>
#include <cstring>
#include <new>

#include "engine/klang_engine.h"
#include "engine/volume_view_kernel.h"
#include "engine/wav_file.h"
#include "engine/work_type.h"
#include "engine/wrap_arith.h"
#include "patch/dokument_klang.h"

namespace {

constexpr TRect kScopeRect{0, 0, 75, 51};
constexpr TRect kVolumeViewRect{0, 0, 100, 50};
constexpr TRect kLevelMeterRect{0, 0, 43, 139};

std::uint32_t CaptureSamples(std::int32_t milliseconds) {
  const std::int32_t time =
      std::clamp(milliseconds, TAusgabeSehen::kMinTime, TAusgabeSehen::kMaxTime);
  return static_cast<std::uint32_t>(time * kEngineSampleRate / 1000);
}

}  // namespace

TFensterSehen::TFensterSehen()
    : Scale_Y(std::make_shared<TPropDouble>(1.0)),
      Optimize(std::make_shared<TPropInteger>(1)),
      GridSize(std::make_shared<TPropInteger>(3)),
      GridStyle(std::make_shared<TPropInteger>(2)),
      ColorBackground(std::make_shared<TPropInteger>(12632256)),
      ColorGrid(std::make_shared<TPropInteger>(16744576)),
      WaveColor(std::make_shared<TPropInteger>(0)),
      FullView(std::make_shared<TPropInteger>(0)) {
  Add("Scale_Y", Scale_Y);
  Add("Optimize", Optimize);
  Add("GridSize", GridSize);
  Add("GridStyle", GridStyle);
  Add("ColorBackground", ColorBackground);
  Add("ColorGrid", ColorGrid);
  Add("WaveColor", WaveColor);
  Add("FullView", FullView);
}

// The scope.

TAusgabeSehen::TAusgabeSehen()
    : Time(std::make_shared<TPropInteger>(1000)), ViewLook(std::make_shared<TFensterSehen>()) {
  Title->value = " Look";
  Rect->SetRect(kScopeRect);
  InputList->AddPort(kPortMonoInputAnalog);
  ViewLook->parent = this;
  Add("Time", Time);
  Add("ViewLook", ViewLook);
}

SModulePicture TAusgabeSehen::PanelPicture() const { return {"BITMAP_SEHEN", 33, 16}; }

int TAusgabeSehen::GetWorkType() const { return kWorkSehen; }

void TAusgabeSehen::BindWork(int, void* record, TKlangEngine& engine) {
  auto* scope = new (record) SSehenRecord{};
  scope->input = &kSilence;
  LinkInput("1", 0, &scope->input, engine);
  ResizeCapture(CaptureSamples(Time->value));
  scope->capture = &capture_;
  scope->reporter = this;
}

bool TAusgabeSehen::SetCaptureTime(std::int32_t milliseconds) {
  Time->value = std::clamp(milliseconds, kMinTime, kMaxTime);
  const TDokumentKlang* document = FindDocument();
  const bool playing = document != nullptr && document->IsStarted();
  if (!playing) ResizeCapture(CaptureSamples(Time->value));
  return samples_ != nullptr;
}

void TAusgabeSehen::ResizeCapture(std::uint32_t samples) {
  if (samples == capture_.capacity && samples_ != nullptr) return;
  auto resized = std::make_unique<std::atomic<std::int32_t>[]>(samples);
  const std::uint32_t kept = std::min(samples, capture_.capacity);
  for (std::uint32_t i = 0; i < samples; ++i) {
    resized[i].store(i < kept ? samples_[i].load(std::memory_order_relaxed) : 0,
                     std::memory_order_relaxed);
  }
  samples_ = std::move(resized);
  capture_.samples = samples_.get();
  capture_.capacity = samples;
}

std::vector<std::int32_t> TAusgabeSehen::CapturedSamples() const {
  std::vector<std::int32_t> samples(capture_.capacity);
  for (std::uint32_t i = 0; i < capture_.capacity; ++i)
    samples[i] = samples_[i].load(std::memory_order_relaxed);
  return samples;
}

void TAusgabeSehen::CaptureComplete() {
  captures_.fetch_add(1, std::memory_order_release);
  CaptureCallback.Call();
}

bool TAusgabeSehen::ExportWav(const std::filesystem::path& path, std::int32_t sampleRate) const {
  const bool doubled = sampleRate == 2 * kEngineSampleRate;
  const std::vector<std::int32_t> captured = CapturedSamples();
  const std::vector<std::byte> bytes =
      WavFileBytes(ExportSamples(captured, doubled),
                   static_cast<std::uint32_t>(doubled ? 2 * kEngineSampleRate : kEngineSampleRate));
  QSaveFile file(QString::fromStdString(path.string()));
  return file.open(QIODevice::WriteOnly) &&
         file.write(reinterpret_cast<const char*>(bytes.data()),
                    static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size()) &&
         file.commit();
}

std::vector<std::int16_t> ExportSamples(std::span<const std::int32_t> captured, bool doubleRate) {
  const auto low16 = [](std::int32_t value) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<std::uint32_t>(value)));
  };
  std::vector<std::int16_t> samples;
  samples.reserve(captured.size() * (doubleRate ? 2 : 1));
  std::int32_t previous = 0;
  for (const std::int32_t sample : captured) {
    if (doubleRate) samples.push_back(low16(WrapAdd(previous, WrapSub(sample, previous) >> 1)));
    samples.push_back(low16(sample));
    previous = sample;
  }
  return samples;
}

std::vector<std::byte> WavFileBytes(std::span<const std::int16_t> samples,
                                    std::uint32_t sampleRate) {
  const auto dataBytes = static_cast<std::uint32_t>(samples.size() * sizeof(std::int16_t));
  const auto header = WavHeader(Pcm16Format(1, sampleRate), dataBytes);
  std::vector<std::byte> file(header.begin(), header.end());
  file.resize(header.size() + dataBytes);
  // WAV samples are little-endian, as this machine's are.
  if (dataBytes > 0) std::memcpy(file.data() + header.size(), samples.data(), dataBytes);
  return file;
}

// The volume view.

TLautstaerkeSehenArbeiten::TLautstaerkeSehenArbeiten()
    : ShowInView(std::make_shared<TPropInteger>(1)),
      ViewRect(std::make_shared<TPropRect>(kLevelMeterRect.left, kLevelMeterRect.top,
                                           kLevelMeterRect.right, kLevelMeterRect.bottom)) {
  Title->value = " Volume";
  Rect->SetRect(kVolumeViewRect);
  InputList->AddPort(kPortMonoInputAnalog);
  Add("ShowInView", ShowInView);
  Add("ViewRect", ViewRect);
}

SModulePicture TLautstaerkeSehenArbeiten::PanelPicture() const {
  return {"BITMAP_PROPERTY", 65, 22};
}

int TLautstaerkeSehenArbeiten::GetWorkType() const { return kWorkLautstaerkeSehen; }

void TLautstaerkeSehenArbeiten::BindWork(int, void* record, TKlangEngine& engine) {
  auto* view = new (record) SLautstaerkeSehenRecord{};
  view->input = &kSilence;
  LinkInput("1", 0, &view->input, engine);
  view->reporter = this;
  pending_.store(0, std::memory_order_relaxed);
  view->pending = &pending_;
}

void TLautstaerkeSehenArbeiten::PostLevel(std::int32_t level) {
  // Without a panel nobody would ever show the report: it counts as shown at once, so that the
  // reports go on when a panel appears.
  if (TVolumeLevelTarget* target = target_.load()) {
    target->PostLevelMessage(level);
  } else {
    pending_.fetch_sub(1, std::memory_order_relaxed);
  }
}

SVolumeLevelDisplay TLautstaerkeSehenArbeiten::ShowLevelReport(std::int32_t level) {
  pending_.fetch_sub(1, std::memory_order_relaxed);
  const std::int32_t percent = level / kLevelPerPercent;
  return {percent, std::to_string(percent) + " %", percent >= 100};
}

void RegisterScopeModules(TModuleTypeTable& table) {
  table["OutputLook"] = [] { return std::make_shared<TAusgabeSehen>(); };
  table["VolumeWork"] = [] { return std::make_shared<TLautstaerkeSehenArbeiten>(); };
}
