#include "modules/delay.h"
#include "engine/work_type.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "patch/module_dialogs.h"

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

void TDelay::LinkOutput(int voice, const TLinkTarget& target, TBindContext& context, TAusgang&) {
  LinkOwnOutput(&SDelayRecord::Output, voice, target, context);
}

void TDelay::BindWork(int voice, void* record, TBindContext& context) {
  auto* own = static_cast<SDelayRecord*>(record);
  if (own == nullptr) return;
  const std::int32_t samples = SamplesOf(Time(), context.SampleRate());
  BindBuffer(*own, voice, IsMono() ? 1 : context.CountVoices(), samples, context);
  own->Control = &kFullDelayControl;
  if (dynamic_) {
    LinkInputs({&own->Control, &own->Input}, voice, context);
  } else {
    LinkInputs({&own->Input}, voice, context);
  }
  own->Length = DelayLength(*own->Control, own->MaxLength);
  own->Position = 0;
  own->Output = 0;
}

void TDelay::BindBuffer(SDelayRecord& record, int voice, int voices, std::int32_t samples,
                        TBindContext& context) {
  if (voice == 0) {
    const std::size_t total = static_cast<std::size_t>(voices) * static_cast<std::size_t>(samples);
    memory_ = context.Allocate<std::int32_t>(total);
    memorySamples_ = memory_ != nullptr ? total : 0;
  }
  if (memory_ == nullptr) {
    // A heap that refuses even the spare leaves the record its own output as the one sample.
    std::int32_t* spare = context.Allocate<std::int32_t>(1);
    record.Buffer = spare != nullptr ? spare : &record.Output;
    record.MaxLength = 1;
    return;
  }
  record.Buffer = memory_ + static_cast<std::size_t>(voice) * static_cast<std::size_t>(samples);
  record.MaxLength = samples;
}

std::int32_t TDelay::Time() const { return std::clamp(DelayTime->value, kMinTime, kMaxTime); }

std::string TDelay::TimeText() const {
  char text[16];
  std::snprintf(text, sizeof text, "%.4g", DelayTime->value * 0.1);
  return text;
}

void TDelay::ShowProperties() { OpenModuleDialog(kDialog, *this); }

void TDelay::SetTime(std::int32_t tenths) {
  DelayTime->value = std::clamp(tenths, kMinTime, kMaxTime);
  MarkChanged();
  RestartSound();
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
