// The constant modules: a value set by hand, delivered to one output. The audio constant holds an
// amplitude (2048 = full scale, shown in percent), the frequency constant hertz x 1024 (shown in
// hertz). The value lives in the module's one engine record, which is itself the output its
// consumers read; a change while the sound plays is stored straight into that record. A constant
// may also show a fader on the sound's panel (modules/panel_items.h) that moves the same value.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/work_type.h"
#include "modules/fader_source.h"
#include "patch/modul_bild.h"
#include "patch/module_registry.h"

class TModulSchieber;

enum class TLimit { Lower, Upper };

// The constant dialog's fields, as texts in display units (percent or hertz).
struct SKonstantenDialog {
  std::string name;
  std::string lower;
  std::string upper;
  bool visibleInPanel = true;
};

// Raw values are the engine's units: amplitude (2048 = full scale) or hertz x 1024.
struct SKonstantenDefaults {
  std::int32_t minValue;
  std::int32_t value;
  std::int32_t maxValue;
};

class TBasisKonstanten : public TModulBild, public TFaderSource {
 public:
  static constexpr int kWorkType = kWorkKonstanten;
  static constexpr int kHelpTopic = 2100;
  static constexpr TRect kRect{0, 0, 132, 35};
  // An editable view is this high.
  static constexpr int kEditableHeight = 57;
  static constexpr TRect kViewRect{0, 0, 73, 150};
  // In an editable view the constant shows its fader on the panel; taking that view down
  // removes the fader again.
  void CreatePanel(TModuleCanvasInterface* owner, int mode) override;
  // Below the scroll bar, left of the lower limit: only the editable view is high enough to
  // show it.
  SModulePicture PanelPicture() const override;
  // Keeps the fader in step with the value, the limits and the title.
  void PropertyChanged(const TPropTyp* property) override;
  // Reads as every module, then repairs limits a hand-edited file left unusable: limits not in
  // ascending order return to the kind's defaults, and the value is pulled inside the limits.
  bool Read(std::istream& in) override;

  int GetWorkType() const override { return kWorkType; }
  // Consumers read the value field of the one record.
  void LinkOutput(int voice, const TLinkTarget& target, TBindContext& context,
                  TAusgang& port) override;
  // Every start begins with the current value.
  void SoundStarted(TKlangEngine& engine, int voices) override;
  void ShowHelp() override;
  // The constant dialog (its OK is AcceptDialog).
  void ShowProperties() override;
  static constexpr std::string_view kDialog = "Constant";

  // Conversions between raw values and display texts; the kinds differ only here.
  // The edit text of the raw value `raw`.
  virtual std::string ShowValue(std::int32_t raw) const = 0;
  // The raw value of a typed edit text.
  virtual std::int32_t ValueTyped(const std::string& text) const = 0;
  // The label and dialog text of a limit.
  virtual std::string FormatLimit(std::int32_t raw) const = 0;
  // The widest limit the dialog accepts, in display units.
  virtual double LimitBound(TLimit which) const = 0;
  // The raw limit of a number the dialog was given in display units.
  virtual std::int32_t SetLimit(double shown) const = 0;

  std::string ValueText() const { return ShowValue(Value->value); }
  std::string LimitText(TLimit which) const;
  // The dialog's bound label, ">= " or "=< " and the bound.
  std::string BoundText(TLimit which) const;

  // Stores `raw` clamped into the limits and hands it to a playing sound; false when it had to
  // be clamped.
  bool ChangeValue(std::int32_t raw);
  // Hands "Value" to the engine record while the sound plays.
  void PushValue();
  // The user typed `text` into the value edit. False when the value had to be clamped: the edit
  // then shows ValueText() instead.
  bool TypeValue(const std::string& text);

  // Slider position 0..100 of the current value, and the raw value at a slider position.
  int SliderPosition() const;
  std::int32_t ValueAtSlider(int position) const;
  // The slider (the panel's scroll bar or the fader) moved to `position`: the value follows.
  void FollowSlider(int position) override;
  SFaderTexts FaderTexts() const override;
  // The panel's scroll bar moved to `position`: the value and the fader follow.
  void MoveSlider(int position);
  // Moves the fader to the position of the current value and refreshes its texts.
  void UpdateSlider();

  // Creates (show) or removes the fader item on the sound's panel. The fader is kept under this
  // module's key and shows at "ViewRect", which is the very rectangle object it moves.
  void ShowOnPanel(bool show);
  // The fader on the panel, or null.
  TModulSchieber* Fader() const;

  // The constant dialog: what it shows when opened, and its OK. AcceptDialog returns the fault
  // message to show (captioned kDialogFaultCaption) and changes nothing, or returns empty after
  // applying the limits, the title and the panel flag.
  SKonstantenDialog DialogValues() const;
  std::string AcceptDialog(const SKonstantenDialog& input);
  static constexpr char kDialogFaultCaption[] = "Fault";

  // Raw units, see SKonstantenDefaults.
  const TRPointerPropInteger MinValue;
  const TRPointerPropInteger Value;
  const TRPointerPropInteger MaxValue;
  // 1 when the constant has a fader on the sound's panel.
  const TRPointerPropInteger ShowInView;
  // The fader's rectangle on the panel. Attaching the fader rebinds it to the fader's own
  // "Rect" object (after copying the position over), so that both share one object.
  TRPointer<TPropRect> ViewRect;

 protected:
  TBasisKonstanten(const char* title, int outputCode, SKonstantenDefaults defaults);

 private:
  // MaxValue - MinValue, at least 1, so that no mapping divides by zero.
  std::int64_t LimitSpan() const;
  std::string CheckLimits(double lower, double upper, std::int32_t rawLower,
                          std::int32_t rawUpper) const;

  SKonstantenDefaults defaults_;
  bool editableView_ = false;
};

// "ConstAnalog": an amplitude, shown in percent of full scale.
class TKonstantenAnalog : public TBasisKonstanten {
 public:
  TKonstantenAnalog();

  std::string ShowValue(std::int32_t raw) const override;
  std::int32_t ValueTyped(const std::string& text) const override;
  std::string FormatLimit(std::int32_t raw) const override;
  double LimitBound(TLimit which) const override;
  std::int32_t SetLimit(double shown) const override;
};

// "ConstFrequenz": a frequency, shown in hertz.
class TKonstantenFrequenz : public TBasisKonstanten {
 public:
  TKonstantenFrequenz();

  std::string ShowValue(std::int32_t raw) const override;
  std::int32_t ValueTyped(const std::string& text) const override;
  std::string FormatLimit(std::int32_t raw) const override;
  double LimitBound(TLimit which) const override;
  std::int32_t SetLimit(double shown) const override;
};

void RegisterConstantModules(TModuleTypeTable& table);
