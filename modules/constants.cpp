#include "modules/constants.h"

#include <algorithm>

#include "engine/constant_work.h"
#include "modules/number_text.h"
#include "modules/panel_items.h"
#include "patch/dokument_klang.h"
#include "patch/module_dialogs.h"

namespace {

constexpr char kFaderType[] = "ViewFader";
// Full scale of an audio value, and the raw units of one hertz.
constexpr std::int64_t kFullScale = 2048;
constexpr double kUnitsPerHertz = 1024.0;

// A limit (or bound) in display units: whole numbers from 100 on, two decimals below.
std::string FormatShownLimit(double shown) {
  if (shown >= 100 || shown <= -100) return FormatFixed(shown, 4, 0);
  return FormatFixed(shown, 2, 2);
}

std::string Percent(std::int32_t raw) {
  return std::to_string(raw * std::int64_t{100} / kFullScale);
}

}  // namespace

TBasisKonstanten::TBasisKonstanten(const char* title, int outputCode, SKonstantenDefaults defaults)
    : MinValue(std::make_shared<TPropInteger>(defaults.minValue)),
      Value(std::make_shared<TPropInteger>(defaults.value)),
      MaxValue(std::make_shared<TPropInteger>(defaults.maxValue)),
      ShowInView(std::make_shared<TPropInteger>(1)),
      ViewRect(std::make_shared<TPropRect>(kViewRect.left, kViewRect.top, kViewRect.right,
                                           kViewRect.bottom)),
      defaults_(defaults) {
  Title->value = title;
  Rect->SetRect(kRect);
  OutputList->AddPort(outputCode);
  Add("MinValue", MinValue);
  Add("Value", Value);
  Add("MaxValue", MaxValue);
  Add("ShowInView", ShowInView);
  Add("ViewRect", ViewRect);
}

SModulePicture TBasisKonstanten::PanelPicture() const { return {"BITMAP_KONSTANTE_FADER", 3, 36}; }

void TBasisKonstanten::CreatePanel(TModuleCanvasInterface* owner, int mode) {
  TModulBild::CreatePanel(owner, mode);
  if (FollowEditableView(owner, mode, editableView_, [this](bool show) { ShowOnPanel(show); }))
    Rect->bottom->value = Rect->top->value + kEditableHeight;
  if (owner != nullptr) PropertyChanged(nullptr);
}

void TBasisKonstanten::PropertyChanged(const TPropTyp* property) {
  TModulBild::PropertyChanged(property);
  if (property == nullptr || property == Value.get() || property == MinValue.get() ||
      property == MaxValue.get() || property == Title.get()) {
    UpdateSlider();
  }
}

bool TBasisKonstanten::Read(std::istream& in) {
  const bool complete = TModulBild::Read(in);
  if (MinValue->value >= MaxValue->value) {
    MinValue->value = defaults_.minValue;
    MaxValue->value = defaults_.maxValue;
  }
  Value->value = std::clamp(Value->value, MinValue->value, MaxValue->value);
  return complete;
}

void TBasisKonstanten::LinkOutput(int, const TLinkTarget& target, TBindContext& context,
                                  TAusgang&) {
  // A constant is mono: every voice of every consumer reads the one record. Its value is
  // written by SoundStarted, after every module is bound and before the engine runs.
  if (auto* record = context.RecordOf<SKonstantenRecord>(*this, 0)) target.Connect(&record->Value);
}

void TBasisKonstanten::SoundStarted(TKlangEngine& engine, int) {
  engine.Work(kWorkType)->SetValue(0, this, Value->value, 0);
}

void TBasisKonstanten::ShowHelp() {
  if (TModuleDialogs* dialogs = ModuleDialogs()) dialogs->ShowHelp(kHelpTopic);
}

void TBasisKonstanten::ShowProperties() { OpenModuleDialog(kDialog, *this); }

std::string TBasisKonstanten::LimitText(TLimit which) const {
  return FormatLimit(which == TLimit::Lower ? MinValue->value : MaxValue->value);
}

std::string TBasisKonstanten::BoundText(TLimit which) const {
  return (which == TLimit::Lower ? ">= " : "=< ") + FormatShownLimit(LimitBound(which));
}

bool TBasisKonstanten::ChangeValue(std::int32_t raw) {
  bool inside = false;
  if (raw > MaxValue->value) {
    Value->value = MaxValue->value;
  } else if (raw < MinValue->value) {
    Value->value = MinValue->value;
  } else {
    Value->value = raw;
    inside = true;
  }
  PushValue();
  MarkChanged();
  return inside;
}

void TBasisKonstanten::PushValue() {
  TDokumentKlang* document = FindDocument(*this);
  if (document == nullptr || !document->IsStarted() || !IsActive(nullptr)) return;
  document->Engine().Work(kWorkType)->SetValue(0, this, Value->value, 0);
}

bool TBasisKonstanten::TypeValue(const std::string& text) {
  const bool inside = ChangeValue(ValueTyped(text));
  UpdateSlider();
  return inside;
}

std::int64_t TBasisKonstanten::LimitSpan() const {
  return std::max<std::int64_t>(1, std::int64_t{MaxValue->value} - MinValue->value);
}

int TBasisKonstanten::SliderPosition() const {
  const std::int64_t above = std::int64_t{MaxValue->value} - Value->value;
  const std::int64_t position = kSliderMax - above * kSliderMax / LimitSpan();
  return static_cast<int>(std::clamp<std::int64_t>(position, 0, kSliderMax));
}

std::int32_t TBasisKonstanten::ValueAtSlider(int position) const {
  const int below = kSliderMax - std::clamp(position, 0, kSliderMax);
  return TruncToInt32(MaxValue->value - below * 0.01 * static_cast<double>(LimitSpan()));
}

SFaderTexts TBasisKonstanten::FaderTexts() const {
  return {ValueText(), LimitText(TLimit::Upper), LimitText(TLimit::Lower), Title->value};
}

void TBasisKonstanten::FollowSlider(int position) {
  ChangeValue(ValueAtSlider(position));
  Announce(TListChangeKind::ModuleChanged, Value.get());
}

void TBasisKonstanten::MoveSlider(int position) {
  FollowSlider(position);
  if (ShowInView->value != 1) return;
  if (TModulSchieber* fader = Fader()) fader->Synchronise(position, false);
}

void TBasisKonstanten::UpdateSlider() {
  if (ShowInView->value != 1) return;
  if (TModulSchieber* fader = Fader()) fader->Synchronise(SliderPosition(), false);
}

void TBasisKonstanten::ShowOnPanel(bool show) {
  if (!show) {
    RemovePanelItem(*this, kFaderType);
    return;
  }
  if (ShowInView->value != 1) return;
  // A new fader shows the value at once, not only after the next change.
  if (AttachPanelItem(*this, kFaderType, ViewRect) != nullptr) UpdateSlider();
}

TModulSchieber* TBasisKonstanten::Fader() const {
  return dynamic_cast<TModulSchieber*>(FindPanelItem(*this, kFaderType));
}

SKonstantenDialog TBasisKonstanten::DialogValues() const {
  return {Title->value, LimitText(TLimit::Lower), LimitText(TLimit::Upper), ShowInView->value == 1};
}

std::string TBasisKonstanten::CheckLimits(double lower, double upper, std::int32_t rawLower,
                                          std::int32_t rawUpper) const {
  if (lower < LimitBound(TLimit::Lower)) return "Min value to low !";
  if (upper > LimitBound(TLimit::Upper)) return "Max value to high !";
  if (upper < lower) return "Max value must be higher then Min value !";
  // Limits that differ on screen can still meet in raw units (0.010 and 0.0105 Hz); the
  // slider mapping divides by their difference.
  if (upper == lower || rawUpper <= rawLower) return "Max value must be different from Min value !";
  return {};
}

std::string TBasisKonstanten::AcceptDialog(const SKonstantenDialog& input) {
  const double lower = ReadDecimalNumber(input.lower);
  const double upper = ReadDecimalNumber(input.upper);
  const std::int32_t rawLower = SetLimit(lower);
  const std::int32_t rawUpper = SetLimit(upper);
  std::string fault = CheckLimits(lower, upper, rawLower, rawUpper);
  if (!fault.empty()) return fault;
  const int shownBefore = ShowInView->value;
  MinValue->value = rawLower;
  MaxValue->value = rawUpper;
  ChangeValue(Value->value);
  Title->value = input.name;
  PropertyChanged(nullptr);
  ShowInView->value = input.visibleInPanel ? 1 : 0;
  MarkChanged();
  if (ShowInView->value != shownBefore) ShowOnPanel(ShowInView->value == 1);
  return {};
}

TKonstantenAnalog::TKonstantenAnalog()
    : TBasisKonstanten(" Fader audio", kPortMonoOutputAnalog, {0, 1639, 2049}) {}

std::string TKonstantenAnalog::ShowValue(std::int32_t raw) const { return Percent(raw); }

std::int32_t TKonstantenAnalog::ValueTyped(const std::string& text) const {
  return TruncToInt32(static_cast<double>(ReadDecimalInteger(text)) * 0.01 * kFullScale);
}

std::string TKonstantenAnalog::FormatLimit(std::int32_t raw) const { return Percent(raw); }

double TKonstantenAnalog::LimitBound(TLimit which) const {
  return which == TLimit::Lower ? -999 : 999;
}

// 100 % becomes 2049, one above full scale, so that the default upper limit reads "100".
std::int32_t TKonstantenAnalog::SetLimit(double shown) const {
  return TruncToInt32(shown * 20.5 - 1);
}

TKonstantenFrequenz::TKonstantenFrequenz()
    : TBasisKonstanten(" Fader freq.", kPortMonoOutputFrequenz, {1024, 1024, 5120000}) {}

std::string TKonstantenFrequenz::ShowValue(std::int32_t raw) const {
  const double hertz = raw / kUnitsPerHertz;
  if (hertz >= 100) return FormatFixed(hertz, 5, 0);
  if (hertz >= 10) return FormatFixed(hertz, 5, 1);
  return FormatFixed(hertz, 4, 2);
}

std::int32_t TKonstantenFrequenz::ValueTyped(const std::string& text) const {
  return TruncToInt32(ReadDecimalNumber(text) * kUnitsPerHertz);
}

std::string TKonstantenFrequenz::FormatLimit(std::int32_t raw) const {
  return FormatShownLimit(raw / kUnitsPerHertz);
}

double TKonstantenFrequenz::LimitBound(TLimit which) const {
  return which == TLimit::Lower ? 0.01 : 5000;
}

std::int32_t TKonstantenFrequenz::SetLimit(double shown) const {
  return TruncToInt32(shown * kUnitsPerHertz);
}

void RegisterConstantModules(TModuleTypeTable& table) {
  table["ConstAnalog"] = [] { return std::make_shared<TKonstantenAnalog>(); };
  table["ConstFrequenz"] = [] { return std::make_shared<TKonstantenFrequenz>(); };
}
