#include "modules/generators.h"

#include <algorithm>
#include <cstdlib>

#include "patch/module_dialogs.h"

namespace {

// Picture button offsets inside the panel: below the title bar, lower with three inputs.
constexpr TPoint kPictureOrigin{28, 16};
constexpr TPoint kThreeInputPictureOrigin{28, 25};

// The pulse switches at half a cycle: sample rate x 512 phase units.
constexpr std::int32_t kHalfCyclePerHertz = 512;
// A pulse-width unit is 16384 phase units.
constexpr std::int32_t kPulseWidthUnit = 16384;

constexpr SOscillatorWave kSineWave{"Sine", " Sine", kWaveSinus, {"BITMAP_SINUSGENERATOR", 3920}};
constexpr SOscillatorWave kSawWave{
    "Saw", " Saw", kWaveSaegezahn, {"BITMAP_SAEGEZAHNGENERATOR", 3950}};
constexpr SOscillatorWave kTriangleWave{
    "Triangle", " Triangle", kWaveDreieck, {"BITMAP_DREIECKGENERATOR", 3960}};
constexpr SGeneratorLook kPulseLook{"BITMAP_RECHTECKGENERATOR", 3930};
constexpr SOscillatorWave kPulseWave{"Square", " Pulse", kWaveRechteck, kPulseLook};

constexpr SGeneratorLook kNoiseLook{"BITMAP_RAUSCHGENERATOR", 3940};
constexpr SGeneratorLook kWavetableLook{"BITMAP_WAVETABLE", 3970};
constexpr SPortLabel kWidthLabel{"W", "Pulse width"};

int PortCode(TSignalKind kind, bool input, bool mono) {
  const int base = kind == TSignalKind::Frequenz ? kPortMonoInputFrequenz : kPortMonoInputAnalog;
  return base + (input ? 0 : 2) + (mono ? 0 : 1);
}

// A random number of the C library, 0 up to `bound` - 1; `bound` must be positive.
std::int32_t RandomBelow(std::int32_t bound) { return std::rand() % bound; }

std::array<TRPointerPropInteger, TWavetableGenerator::kMaxWaves> MakeWaveCodes() {
  std::array<TRPointerPropInteger, TWavetableGenerator::kMaxWaves> codes;
  for (auto& code : codes)
    code = std::make_shared<TPropInteger>(kWaveSinus);
  return codes;
}

std::string WaveKey(int position) { return "Wave" + std::to_string(position); }

// " Sine", " Sync Sine", " FM Sine": the family's name goes between the blank and the wave's.
std::string OscillatorTitle(const std::string& familyName, const SOscillatorWave& wave) {
  return familyName.empty() ? wave.title : " " + familyName + wave.title;
}

// The phase a voice starts at: 0, or with `random` a fresh point of the cycle between 0 and
// sampleRate - 2 table entries.
std::int32_t StartPhase(bool random, std::int32_t sampleRate) {
  if (!random) return 0;
  return RandomBelow(sampleRate - 1) << kPhaseFractionBits;
}

}  // namespace

TGenerator::TGenerator(const std::string& title, SGeneratorLook look, bool mono, int inputCount,
                       SPortLabel thirdLabel, TSignalKind outputKind)
    : monoRecords_(mono), look_(look) {
  Title->value = title;
  InputList->AddPort(PortCode(TSignalKind::Analog, true, mono))->Title->value = "";
  if (inputCount >= 2) {
    InputList->AddPort(PortCode(TSignalKind::Frequenz, true, mono))->Title->value = "";
  }
  if (inputCount >= 3) {
    InputList->AddPort(PortCode(TSignalKind::Analog, true, mono))->Title->value =
        thirdLabel.caption;
    thirdLabel_ = thirdLabel;
    Rect->SetRect(kThreeInputRect);
  }
  OutputList->AddPort(PortCode(outputKind, false, mono))->Title->value = "";
}

void TGenerator::ShowHelp() {
  if (TModuleDialogs* dialogs = ModuleDialogs()) dialogs->ShowHelp(look_.helpTopic);
}

TPoint TGenerator::PictureOrigin() const {
  return InputList->Count() >= 3 ? kThreeInputPictureOrigin : kPictureOrigin;
}

SModulePicture TGenerator::PanelPicture() const {
  const TPoint origin = PictureOrigin();
  return {look_.picture, origin.x, origin.y};
}

template <class Family>
TTabellenOszillator<Family>::TTabellenOszillator(const SOscillatorWave& wave, bool mono)
    : TGeneratorOf<Record, Family::kWorkType>(OscillatorTitle(Family::kName, wave), wave.look, mono,
                                              Family::kThirdInput != nullptr ? 3 : 2,
                                              Family::kThirdLabel),
      StartRandom(std::make_shared<TPropInteger>(0)),
      waveCode_(wave.waveCode) {
  this->Add("StartRandom", StartRandom);
}

template <class Family>
void TTabellenOszillator<Family>::ShowProperties() {
  OpenModuleDialog(kDialog, *this);
}

template <class Family>
const std::int32_t* TTabellenOszillator<Family>::GetWaveTable(const TBindContext& context) const {
  return context.WaveTable(waveCode_);
}

template <class Family>
void TTabellenOszillator<Family>::Bind(int voice, Record& record, TBindContext& context) {
  this->LinkInputOrSilence("1", voice, &record.amplitude, context);
  this->LinkInputOrSilence("2", voice, &record.frequency, context);
  if constexpr (Family::kThirdInput != nullptr) {
    this->LinkInputOrSilence("3", voice, &(record.*Family::kThirdInput), context);
  }
  record.table = GetWaveTable(context);
  record.phase = StartPhase(StartRandom->value == 1, context.SampleRate());
  record.output = 0;
}

template class TTabellenOszillator<SStandardFamily>;
template class TTabellenOszillator<SSynchFamily>;
template class TTabellenOszillator<SFMFamily>;

TRechteckGenerator::TRechteckGenerator(bool mono, bool widthInput)
    : TGeneratorOf(" Pulse", kPulseLook, mono, widthInput ? 3 : 2, kWidthLabel),
      widthInput_(widthInput) {}

void TRechteckGenerator::Bind(int voice, SPulseGeneratorRecord& record, TBindContext& context) {
  LinkInputOrSilence("1", voice, &record.amplitude, context);
  LinkInputOrSilence("2", voice, &record.frequency, context);
  // The first cycle switches exactly at its middle; later ones where the width says.
  record.threshold = context.SampleRate() * kHalfCyclePerHertz;
  if (widthInput_) {
    LinkInputOrSilence("3", voice, &record.pulseWidth, context);
  } else {
    // From the binding's memory: a hung engine thread of an earlier binding may still read it.
    std::int32_t* width = context.Allocate<std::int32_t>(1);
    if (width != nullptr) *width = record.threshold / kPulseWidthUnit;
    record.pulseWidth = width != nullptr ? width : &kSilence;
  }
  record.phase = 0;
  record.output = 0;
}

TRauschGenerator::TRauschGenerator(bool mono) : TGeneratorOf(" Noise", kNoiseLook, mono, 1) {}

void TRauschGenerator::Bind(int voice, SNoiseGeneratorRecord& record, TBindContext& context) {
  LinkInputOrSilence("1", voice, &record.amplitude, context);
  record.table = context.WaveTable(kWaveRauschen);
  record.index = 0;
  record.output = 0;
}

TZufallsGenerator::TZufallsGenerator(bool mono, bool audioOutput)
    : TGeneratorOf(" Random", kNoiseLook, mono, 2, {},
                   audioOutput ? TSignalKind::Analog : TSignalKind::Frequenz) {}

void TZufallsGenerator::Bind(int voice, SRandomGeneratorRecord& record, TBindContext& context) {
  LinkInputOrSilence("1", voice, &record.amplitude, context);
  LinkInputOrSilence("2", voice, &record.rate, context);
  record.table = context.WaveTable(kWaveRauschen);
  // A counter of 0 takes the first value in the first sample.
  record.holdCounter = 0;
  record.index = 0;
  record.output = 0;
}

TWavetableGenerator::TWavetableGenerator(bool mono)
    : TGeneratorOf(" Wavetable", kWavetableLook, mono, 2),
      SizeWaves(std::make_shared<TPropInteger>(1)),
      StartRandom(std::make_shared<TPropInteger>(0)),
      Waves(MakeWaveCodes()) {
  monoRecords_ = false;
  Add("SizeWaves", SizeWaves);
  Add("StartRandom", StartRandom);
  for (int position = 0; position < kMaxWaves; ++position)
    Add(WaveKey(position), Waves[position]);
}

void TWavetableGenerator::ShowProperties() { OpenModuleDialog(kDialog, *this); }

int TWavetableGenerator::WaveCount() const { return std::clamp(SizeWaves->value, 1, kMaxWaves); }

int TWavetableGenerator::WaveCode(int position) const {
  const std::int32_t stored = Waves.at(static_cast<std::size_t>(position))->value;
  return stored >= 0 && stored < kWaveCodeCount ? stored : kWaveSinus;
}

void TWavetableGenerator::Bind(int voice, SWavetableRecord& record, TBindContext& context) {
  LinkInputOrSilence("1", voice, &record.amplitude, context);
  LinkInputOrSilence("2", voice, &record.frequency, context);
  const int count = WaveCount();
  record.waveCount = count;
  for (int position = 0; position < count; ++position) {
    record.tables[position] = context.WaveTable(WaveCode(position));
  }
  record.phase = StartPhase(StartsRandom(), context.SampleRate());
  // A random start never begins on the last wave.
  record.currentWave = StartsRandom() && count > 1 ? RandomBelow(count - 1) : 0;
  record.output = 0;
}

namespace {

template <class Family>
void RegisterOscillators(TModuleTypeTable& table, std::initializer_list<SOscillatorWave> waves) {
  for (const SOscillatorWave& wave : waves) {
    for (const bool mono : {true, false}) {
      const std::string name =
          (mono ? "Mono" : "Poly") + std::string(Family::kName) + wave.typeName;
      table[name] = [wave, mono] {
        return std::make_shared<TTabellenOszillator<Family>>(wave, mono);
      };
    }
  }
}

}  // namespace

void RegisterGeneratorModules(TModuleTypeTable& table) {
  RegisterOscillators<SStandardFamily>(table, {kSineWave, kSawWave, kTriangleWave});
  RegisterOscillators<SSynchFamily>(table, {kSineWave, kSawWave, kTriangleWave});
  RegisterOscillators<SFMFamily>(table, {kSineWave, kSawWave, kTriangleWave, kPulseWave});
  for (const bool mono : {true, false}) {
    const std::string variant = mono ? "Mono" : "Poly";
    table[variant + "Square"] = [mono] {
      return std::make_shared<TRechteckGenerator>(mono, false);
    };
    table[variant + "VSquare"] = [mono] {
      return std::make_shared<TRechteckGenerator>(mono, true);
    };
    table[variant + "RandomAnalog"] = [mono] {
      return std::make_shared<TZufallsGenerator>(mono, true);
    };
    table[variant + "Wavetable"] = [mono] { return std::make_shared<TWavetableGenerator>(mono); };
  }
  table["MonoNoise"] = [] { return std::make_shared<TRauschGenerator>(true); };
}
