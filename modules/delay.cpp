#include "modules/delay.h"
#include "engine/work_type.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "patch/dokument_klang.h"

namespace {

constexpr SModuleKind kStaticDelay{" Delay", kWorkDelay, 2000, "BITMAP_DELAY"};
constexpr SModuleKind kDynamicDelay{" Dyn. Delay", kWorkDelay, 2000, "BITMAP_DELAY"};
constexpr std::int32_t kDefaultTime = 2000;
constexpr const char* kTimeRangeMessage = "Delaytime must between 0.1 and 3000 msec !";

// Samples of a delay of `tenths` tenths of a millisecond: at least 2 for 0.1 ms at 22050 Hz.
std::int32_t SamplesOf(std::int32_t tenths, std::int32_t sampleRate) {
  return static_cast<std::int32_t>(std::int64_t{tenths} * sampleRate / 10000);
}

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

TDelay::TDelay(bool mono, bool dynamic)
    : TSignalModul(dynamic ? kDynamicDelay : kStaticDelay, mono),
      DelayTime(std::make_shared<TPropInteger>(kDefaultTime)),
      dynamic_(dynamic) {
  Add("DelayTime", DelayTime);
  const int input = mono ? kPortMonoInputAnalog : kPortPolyInputAnalog;
  if (dynamic) AddInput(input, "Dly", kControlHint);
  AddInput(input, nullptr);
  AddOutput(mono ? kPortMonoOutputAnalog : kPortPolyOutputAnalog, nullptr);
}

void TDelay::LinkOutput(int voice, const std::int32_t** target, TKlangEngine& engine, TAusgang&) {
  LinkOwnOutput(&SDelayRecord::Output, voice, target, engine);
}

void TDelay::BindWork(int voice, void* record, TKlangEngine& engine) {
  auto* own = static_cast<SDelayRecord*>(record);
  if (own == nullptr) return;
  const std::int32_t samples = SamplesOf(Time(), engine.SampleRate());
  BindBuffer(*own, voice, IsMono() ? 1 : engine.CountVoices(), samples);
  own->Control = &kFullDelayControl;
  if (dynamic_) {
    LinkInputs({&own->Control, &own->Input}, voice, engine);
  } else {
    LinkInputs({&own->Input}, voice, engine);
  }
  own->Length = DelayLength(*own->Control, own->MaxLength);
  own->Position = 0;
  own->Output = 0;
}

void TDelay::BindBuffer(SDelayRecord& record, int voice, int voices, std::int32_t samples) {
  const std::size_t total = static_cast<std::size_t>(voices) * static_cast<std::size_t>(samples);
  if (voice == 0 && memory_.Allocate(total * sizeof(std::int32_t)) != nullptr) {
    std::fill_n(static_cast<std::int32_t*>(memory_.Data()), total, 0);
  }
  if (memory_.Data() == nullptr || memory_.Size() < total * sizeof(std::int32_t)) {
    spare_[static_cast<std::size_t>(voice)] = 0;
    record.Buffer = &spare_[static_cast<std::size_t>(voice)];
    record.MaxLength = 1;
    return;
  }
  record.Buffer =
      static_cast<std::int32_t*>(memory_.Data()) + static_cast<std::size_t>(voice) * samples;
  record.MaxLength = samples;
}

std::int32_t TDelay::Time() const { return std::clamp(DelayTime->value, kMinTime, kMaxTime); }

std::string TDelay::TimeText() const {
  char text[16];
  std::snprintf(text, sizeof text, "%.4g", DelayTime->value * 0.1);
  return text;
}

void TDelay::SetTime(std::int32_t tenths) {
  DelayTime->value = std::clamp(tenths, kMinTime, kMaxTime);
  MarkChanged();
  if (TDokumentKlang* document = FindDocument()) document->RestartSound(true);
}

SDelayTimeEntry CheckDelayTime(const std::string& text) {
  const std::string number = Trimmed(text);
  double milliseconds = 0.0;
  const auto [end, error] =
      std::from_chars(number.data(), number.data() + number.size(), milliseconds);
  const bool readable = error == std::errc() && end == number.data() + number.size();
  const double tenths = std::trunc(milliseconds * 10.0);
  // Text that is no number is refused like a time out of range.
  if (!readable || !(tenths >= TDelay::kMinTime && tenths <= TDelay::kMaxTime)) {
    return {0, kTimeRangeMessage};
  }
  return {static_cast<std::int32_t>(tenths), {}};
}

void RegisterDelayModules(TModuleTypeTable& table) {
  table["MonoDelay"] = [] { return std::make_shared<TDelay>(true, false); };
  table["PolyDelay"] = [] { return std::make_shared<TDelay>(false, false); };
  table["MonoDynDelay"] = [] { return std::make_shared<TDelay>(true, true); };
  table["PolyDynDelay"] = [] { return std::make_shared<TDelay>(false, true); };
}
