#include "modules/scope.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "engine/klang_engine.h"
#include "engine/volume_view_kernel.h"
#include "engine/wav_file.h"
#include "engine/work_type.h"
#include "engine/wrap_arith.h"
#include "modules/panel_items.h"
#include "patch/dokument_klang.h"
#include "patch/module_dialogs.h"
#include "persist/output_file.h"
#include "persist/tree_message.h"

namespace {

constexpr TRect kScopeRect{0, 0, 75, 51};
constexpr TRect kVolumeViewRect{0, 0, 100, 50};
constexpr TRect kLevelMeterRect{0, 0, 43, 139};
constexpr char kLevelMeterType[] = "VolumeView";

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

bool TFensterSehen::ShowWindow(TAusgabeSehen& scope) {
  if (Visible->value != 1) {
    CloseWindow();
  } else if (!Form) {
    OpenModuleDialog(kWindowDialog, scope);
  }
  return Form != nullptr;
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

TAusgabeSehen::SBuffer::SBuffer(std::uint32_t samples)
    : samples(std::make_unique<std::atomic<std::int32_t>[]>(samples)) {
  capture.capacity = samples;
  capture.samples = this->samples.get();
}

void TAusgabeSehen::BindWork(int, void* record, TBindContext& context) {
  auto* scope = new (record) SSehenRecord{};
  scope->input = &kSilence;
  LinkInput("1", 0, &scope->input, context);
  // A fresh buffer: the engine thread of an earlier binding may still write into the old one.
  ResizeCapture(CaptureSamples(Time->value));
  scope->capture = &buffer_->capture;
  context.Keep(buffer_);
}

void TAusgabeSehen::ShowProperties() {
  SelectOnly();
  ViewLook->Visible->value = 1;
  ViewLook->ShowWindow(*this);
}

void TAusgabeSehen::CreatePanel(TModuleCanvasInterface* owner, int mode) {
  TModulBild::CreatePanel(owner, mode);
  if (owner == nullptr) {
    ViewLook->CloseWindow();
  } else if (mode != kPanelSample) {
    ViewLook->ShowWindow(*this);
  }
}

void TAusgabeSehen::PropertyChanged(const TPropTyp* property) {
  TModulBild::PropertyChanged(property);
  if (property == nullptr || property == ViewLook.get() || property == Title.get())
    ViewLook->ApplyProperties();
}

bool TAusgabeSehen::Notify(int code, int arg, void* data) {
  if (code == kTreeEngineNews) DeliverCaptures();
  return TModulBild::Notify(code, arg, data);
}

bool TAusgabeSehen::SetCaptureTime(std::int32_t milliseconds) {
  Time->value = std::clamp(milliseconds, kMinTime, kMaxTime);
  const TDokumentKlang* document = FindDocument(*this);
  const bool playing = document != nullptr && document->IsStarted();
  if (!playing) ResizeCapture(CaptureSamples(Time->value));
  return buffer_->samples != nullptr;
}

void TAusgabeSehen::ResizeCapture(std::uint32_t samples) {
  // Captures the old buffer completed are counted before it goes.
  DeliverCaptures();
  auto resized = std::make_shared<SBuffer>(samples);
  const std::uint32_t kept = std::min(samples, buffer_->capture.capacity);
  for (std::uint32_t i = 0; i < kept; ++i) {
    resized->samples[i].store(buffer_->samples[i].load(std::memory_order_relaxed),
                              std::memory_order_relaxed);
  }
  buffer_ = std::move(resized);
  completedSeen_ = 0;
}

std::vector<std::int32_t> TAusgabeSehen::CapturedSamples() const {
  std::vector<std::int32_t> samples(buffer_->capture.capacity);
  for (std::uint32_t i = 0; i < buffer_->capture.capacity; ++i)
    samples[i] = buffer_->samples[i].load(std::memory_order_relaxed);
  return samples;
}

int TAusgabeSehen::CaptureCount() const {
  const std::uint32_t completed = buffer_->capture.completed.load(std::memory_order_acquire);
  return delivered_ + static_cast<int>(completed - completedSeen_);
}

std::uint64_t TAusgabeSehen::CaptureProgress() const {
  const std::uint32_t written = buffer_->capture.written.load(std::memory_order_relaxed);
  return (std::uint64_t{static_cast<std::uint32_t>(CaptureCount())} << 32) | written;
}

void TAusgabeSehen::DeliverCaptures() {
  const std::uint32_t completed = buffer_->capture.completed.load(std::memory_order_acquire);
  while (completedSeen_ != completed) {
    ++completedSeen_;
    ++delivered_;
    CaptureCallback.Call();
  }
}

bool TAusgabeSehen::ExportWav(const std::filesystem::path& path, std::int32_t sampleRate) const {
  const bool doubled = sampleRate == 2 * kEngineSampleRate;
  const std::vector<std::int32_t> captured = CapturedSamples();
  const std::vector<std::byte> bytes =
      WavFileBytes(ExportSamples(captured, doubled),
                   static_cast<std::uint32_t>(doubled ? 2 * kEngineSampleRate : kEngineSampleRate));
  std::string error;
  return WriteOutputFile(path, bytes, error);
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

void TLautstaerkeSehenArbeiten::BindWork(int, void* record, TBindContext& context) {
  auto* view = new (record) SLautstaerkeSehenRecord{};
  view->input = &kSilence;
  LinkInput("1", 0, &view->input, context);
  // A fresh mailbox: the engine thread of an earlier binding may still post into the old one.
  DeliverLevels();
  mailbox_ = std::make_shared<TLevelMailbox>();
  view->mailbox = mailbox_.get();
  context.Keep(mailbox_);
}

bool TLautstaerkeSehenArbeiten::Notify(int code, int arg, void* data) {
  if (code == kTreeEngineNews) DeliverLevels();
  return TModulBild::Notify(code, arg, data);
}

void TLautstaerkeSehenArbeiten::ShowProperties() {
  if (OpenModuleDialog(kDialog, *this) && editableView_) ShowOnPanel(ShowInView->value == 1);
}

void TLautstaerkeSehenArbeiten::CreatePanel(TModuleCanvasInterface* owner, int mode) {
  TModulBild::CreatePanel(owner, mode);
  FollowEditableView(owner, mode, editableView_, [this](bool show) { ShowOnPanel(show); });
}

void TLautstaerkeSehenArbeiten::ShowOnPanel(bool show) {
  if (!show) {
    RemovePanelItem(*this, kLevelMeterType);
  } else if (ShowInView->value == 1) {
    AttachPanelItem(*this, kLevelMeterType, ViewRect);
  }
}

TModulLautstaerkeSehen* TLautstaerkeSehenArbeiten::LevelMeter() const {
  return dynamic_cast<TModulLautstaerkeSehen*>(FindPanelItem(*this, kLevelMeterType));
}

void TLautstaerkeSehenArbeiten::DeliverLevels() {
  std::int32_t level = 0;
  while (mailbox_->Take(level)) {
    if (IsShown()) ShowLevelMessage(level);
  }
}

void TLautstaerkeSehenArbeiten::ShowLevelMessage(std::int32_t level) {
  const SVolumeLevelDisplay shown = ShowLevelReport(level);
  levelText_ = shown.text;
  levelRed_ = shown.red;
  TModulLautstaerkeSehen* meter = ShowInView->value == 1 ? LevelMeter() : nullptr;
  if (meter != nullptr) meter->ShowLevel(Title->value, shown.percent);
  PropertyChanged(nullptr);
}

SVolumeLevelDisplay TLautstaerkeSehenArbeiten::ShowLevelReport(std::int32_t level) {
  const std::int32_t percent = level / kLevelPerPercent;
  return {percent, std::to_string(percent) + " %", percent >= 100};
}

void RegisterScopeModules(TModuleTypeTable& table) {
  table["OutputLook"] = [] { return std::make_shared<TAusgabeSehen>(); };
  table["VolumeWork"] = [] { return std::make_shared<TLautstaerkeSehenArbeiten>(); };
}

void TAusgabeSehen::ShowHelp() {
  if (TModuleDialogs* dialogs = ModuleDialogs()) dialogs->ShowHelp(2209);
}

void TLautstaerkeSehenArbeiten::ShowHelp() {
  if (TModuleDialogs* dialogs = ModuleDialogs()) dialogs->ShowHelp(2221);
}
