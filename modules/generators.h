// The generator modules, the signal sources of a sound: table oscillators (standard, sync, FM),
// pulse, noise, stepped random and wavetable. A generator computes nothing itself: at sound start
// it fills its kernel's record for each voice (inputs linked to the outputs wired to them, the
// waveform table chosen, the start phase set) and hands its consumers the address of the
// record's output field.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/klang_engine.h"
#include "engine/noise_generators.h"
#include "engine/pulse_generator.h"
#include "engine/table_generators.h"
#include "engine/work_type.h"
#include "patch/modul_bild.h"
#include "patch/module_registry.h"
#include "patch/port_type.h"

// Caption and hint the view writes on a connector; empty strings for none.
struct SPortLabel {
  const char* caption = "";
  const char* hint = "";
};

// How a generator kind shows on the canvas: the bitmap resource of its picture button and the
// help context that ShowHelp opens.
struct SGeneratorLook {
  const char* picture;
  int helpTopic;
};

// Ports "1" (level, audio), "2" (frequency or rate), "3" (audio, where the kind has it) and one
// output, all mono or all poly like the module. Only input 3 has a caption.
class TGenerator : public TModulBild {
 public:
  // Panel size of the kinds with three inputs; the others keep the default.
  static constexpr TRect kThreeInputRect{0, 0, 88, 68};

  // True when the module runs one record whatever the voice count.
  bool IsMono() const override { return monoRecords_; }
  void ShowHelp() override;
  // The random-start flag the name dialog shows as "Start Random"; null for the kinds whose
  // dialog is the plain name dialog or a dialog of their own.
  virtual TPropInteger* RandomStartFlag() { return nullptr; }

  const SGeneratorLook& Look() const { return look_; }
  // Top-left corner of the picture button inside the panel.
  TPoint PictureOrigin() const;
  SModulePicture PanelPicture() const override;
  // Caption and hint of input 3; empty for the kinds without one.
  const SPortLabel& ThirdInputLabel() const { return thirdLabel_; }

 protected:
  // `inputCount` 1 to 3; `thirdLabel` only counts with three.
  TGenerator(const std::string& title, SGeneratorLook look, bool mono, int inputCount,
             SPortLabel thirdLabel = {}, TSignalKind outputKind = TSignalKind::Analog);

  // Cleared by kinds whose mono variant still runs one record per voice.
  bool monoRecords_;

 private:
  SGeneratorLook look_;
  SPortLabel thirdLabel_;
};

// Record handling shared by every generator: the record of a voice is a `Record` in the work
// object of `WorkType`, and its `output` field is what consumers read.
template <class Record, int WorkType>
class TGeneratorOf : public TGenerator {
 public:
  int GetWorkType() const override { return WorkType; }

  void BindWork(int voice, void* record, TBindContext& context) override {
    if (record != nullptr) Bind(voice, *static_cast<Record*>(record), context);
  }

  // The output field is cleared here too: a consumer may be bound before this module is.
  void LinkOutput(int voice, const TLinkTarget& target, TBindContext& context, TAusgang&) override {
    auto* record = context.template RecordOf<Record>(*this, IsMono() ? 0 : voice);
    if (record == nullptr) return;
    record->output = 0;
    target.Connect(&record->output);
  }

 protected:
  using TGenerator::TGenerator;

  virtual void Bind(int voice, Record& record, TBindContext& context) = 0;
};

// One waveform of the table oscillators: the type name part, the title, the table it plays and
// its look.
struct SOscillatorWave {
  const char* typeName;  // "Sine" gives "MonoSine", "PolySyncSine", "MonoFMSine", ...
  const char* title;
  EWaveCode waveCode;
  SGeneratorLook look;
};

// The three families of table oscillators differ only in their record, work type and input 3.
struct SStandardFamily {
  using Record = SStandardGeneratorRecord;
  static constexpr int kWorkType = kWorkStandardGeneratoren;
  static constexpr const char* kName = "";  // in type names and titles
  static constexpr const std::int32_t* Record::*kThirdInput = nullptr;
  static constexpr SPortLabel kThirdLabel{};
};

// A sync input of 0 or below holds the oscillator at the start of its cycle.
struct SSynchFamily {
  using Record = SSynchGeneratorRecord;
  static constexpr int kWorkType = kWorkStandardSynchGeneratoren;
  static constexpr const char* kName = "Sync";
  static constexpr const std::int32_t* Record::*kThirdInput = &Record::sync;
  static constexpr SPortLabel kThirdLabel{"S", "Input synch - signal"};
};

// One unit of the modulation input shifts the frequency by half a hertz.
struct SFMFamily {
  using Record = SFMGeneratorRecord;
  static constexpr int kWorkType = kWorkStandardFMGeneratoren;
  static constexpr const char* kName = "FM";
  static constexpr const std::int32_t* Record::*kThirdInput = &Record::modulation;
  static constexpr SPortLabel kThirdLabel{"FM", ""};
};

template <class Family>
class TTabellenOszillator : public TGeneratorOf<typename Family::Record, Family::kWorkType> {
 public:
  using Record = typename Family::Record;

  TTabellenOszillator(const SOscillatorWave& wave, bool mono);

  // The document's table of this kind's waveform.
  const std::int32_t* GetWaveTable(const TBindContext& context) const;
  // The name dialog with "Start Random"; the new flag applies from the next start.
  void ShowProperties() override;
  TPropInteger* RandomStartFlag() override { return StartRandom.get(); }
  static constexpr std::string_view kDialog = "StartRandom";

  // 1: every voice starts at a random point of the cycle, drawn anew at every sound start.
  const TRPointerPropInteger StartRandom;

 protected:
  void Bind(int voice, Record& record, TBindContext& context) override;

 private:
  EWaveCode waveCode_;
};

using TStandardGenerator = TTabellenOszillator<SStandardFamily>;
using TStandardSynchGenerator = TTabellenOszillator<SSynchFamily>;
using TFMStandardGenerator = TTabellenOszillator<SFMFamily>;

// The pulse computes its square wave from the phase, so that its width can change from one cycle
// to the next; without a width input the records read a half-cycle width kept in the binding's
// memory.
class TRechteckGenerator : public TGeneratorOf<SPulseGeneratorRecord, kWorkRechteckGeneratoren> {
 public:
  TRechteckGenerator(bool mono, bool widthInput);

  bool HasWidthInput() const { return widthInput_; }

 protected:
  void Bind(int voice, SPulseGeneratorRecord& record, TBindContext& context) override;

 private:
  bool widthInput_;
};

// Replays the document's noise table from its start; every noise generator plays the same
// sequence. There is no poly variant.
class TRauschGenerator : public TGeneratorOf<SNoiseGeneratorRecord, kWorkRauschGeneratoren> {
 public:
  explicit TRauschGenerator(bool mono);

 protected:
  void Bind(int voice, SNoiseGeneratorRecord& record, TBindContext& context) override;
};

// Holds one noise-table value, scaled by the level, for a time set by input 2 (the rate).
class TZufallsGenerator : public TGeneratorOf<SRandomGeneratorRecord, kWorkZufallsGeneratoren> {
 public:
  // `audioOutput` false gives a frequency output instead; every registered kind has audio.
  TZufallsGenerator(bool mono, bool audioOutput);

 protected:
  void Bind(int voice, SRandomGeneratorRecord& record, TBindContext& context) override;
};

// Plays a sequence of up to 30 waveforms, one cycle each. Both variants run one record per
// voice; the mono variant differs only in its ports.
class TWavetableGenerator : public TGeneratorOf<SWavetableRecord, kWorkWavetable> {
 public:
  static constexpr int kMaxWaves = kWavetableMaxWaves;

  explicit TWavetableGenerator(bool mono);

  // "SizeWaves" brought into 1..30: a hand-edited file may hold anything there.
  int WaveCount() const;
  // The table code at `position` (0..29); a code outside 0..4 plays the sine, so that no
  // position of a sequence is ever without a table.
  int WaveCode(int position) const;
  bool StartsRandom() const { return StartRandom->value == 1; }
  // The wavetable editor; its OK restarts a playing sound (TWavetableEdit::Apply).
  void ShowProperties() override;
  static constexpr std::string_view kDialog = "Wavetable";

  // Number of waves in the sequence, 1 to 30.
  const TRPointerPropInteger SizeWaves;
  // 1: every voice starts at a random point of the cycle and on a random wave but the last.
  const TRPointerPropInteger StartRandom;
  // Wave code (EWaveCode) of each position, stored under "Wave0" to "Wave29".
  const std::array<TRPointerPropInteger, kMaxWaves> Waves;

 protected:
  void Bind(int voice, SWavetableRecord& record, TBindContext& context) override;
};

// Registers every generator type name.
void RegisterGeneratorModules(TModuleTypeTable& table);
