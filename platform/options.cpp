#include "platform/options.h"

#include <cstdint>
#include <variant>
#include <vector>

#include "platform/settings_check.h"
#include "platform/settings_store.h"

namespace {

template <class Record>
using TMember = std::variant<bool Record::*, std::int32_t Record::*, QString Record::*>;

// One stored value of a record: its name, its field, its default when the store has none, and
// for a number the range it is kept in.
template <class Record>
struct SOptionField {
  const char* name;
  TMember<Record> member;
  std::variant<bool, std::int32_t, QString> missingDefault;
  SNumberRange range = kAnyNumber;
};

const std::vector<SOptionField<SViewOptions>>& Fields(const SViewOptions*) {
  static const SViewOptions d;
  static const std::vector<SOptionField<SViewOptions>> fields = {
      {"GridVisible", &SViewOptions::gridVisible, d.gridVisible},
      {"SnapToGrid", &SViewOptions::snapToGrid, d.snapToGrid},
      {"GridColor", &SViewOptions::gridColor, d.gridColor, kColorRange},
      {"GridSize",
       &SViewOptions::gridSize,
       d.gridSize,
       {SViewOptions::kMinGridSize, SViewOptions::kMaxGridSize}},
      {"DirectLines", &SViewOptions::directLines, d.directLines},
      {"ColorBackground", &SViewOptions::colorBackground, d.colorBackground, kColorRange},
      {"ColorAnalog", &SViewOptions::colorAnalog, d.colorAnalog, kColorRange},
      {"ColorFrequenz", &SViewOptions::colorFrequenz, d.colorFrequenz, kColorRange},
      {"ColorMidi", &SViewOptions::colorMidi, d.colorMidi, kColorRange},
      {"ModuleInActive", &SViewOptions::moduleInActive, d.moduleInActive, kColorRange},
      {"ModuleActive", &SViewOptions::moduleActive, d.moduleActive, kColorRange},
  };
  return fields;
}

const std::vector<SOptionField<SFileOptions>>& Fields(const SFileOptions*) {
  static const SFileOptions d;
  static const std::vector<SOptionField<SFileOptions>> fields = {
      {"Autosave", &SFileOptions::autosave, d.autosave},
      {"AutosaveTimeMin",
       &SFileOptions::autosaveTimeMin,
       d.autosaveTimeMin,
       {1, SFileOptions::kMaxAutosaveMinutes}},
      {"StartOpenGroupFolder", &SFileOptions::startOpenGroupFolder, d.startOpenGroupFolder},
      {"StartOpenFolder", &SFileOptions::startOpenFolder, d.startOpenFolder},
      {"StartWindow", &SFileOptions::startWindow, d.startWindow},
      {"FileStartWindow", &SFileOptions::fileStartWindow, d.fileStartWindow},
      {"ShowLastWindow", &SFileOptions::showLastWindow, d.showLastWindow},
      {"RecentFileSize",
       &SFileOptions::recentFileSize,
       SFileOptions::kFirstStartRecentFiles,
       {1, SFileOptions::kMaxRecentFiles}},
      {"UndoAfterSave", &SFileOptions::undoAfterSave, d.undoAfterSave},
  };
  return fields;
}

const std::vector<SOptionField<SSoundOptions>>& Fields(const SSoundOptions*) {
  static const SSoundOptions d;
  static const std::vector<SOptionField<SSoundOptions>> fields = {
      {"StartAfterLoading", &SSoundOptions::startAfterLoading, d.startAfterLoading},
      // A limit of 0 or less would stop every sound at its start.
      {"StopProzesserOver",
       &SSoundOptions::stopProzesserOver,
       d.stopProzesserOver,
       {1, SSoundOptions::kMaxProcessorLimit, false}},
      {"WaveBuffer",
       &SSoundOptions::waveBuffer,
       SSoundOptions::kFirstStartWaveBuffer,
       {SSoundOptions::kMinWaveBuffer, SSoundOptions::kMaxWaveBuffer}},
      {"LowLatency", &SSoundOptions::lowLatency, d.lowLatency},
      // -1 is no device.
      {"SpeakerDefaultDevice",
       &SSoundOptions::speakerDefaultDevice,
       d.speakerDefaultDevice,
       {-1, INT32_MAX}},
      {"MicroDefaultDevice",
       &SSoundOptions::microDefaultDevice,
       d.microDefaultDevice,
       {-1, INT32_MAX}},
      {"MidiDefaultDevice",
       &SSoundOptions::midiDefaultDevice,
       d.midiDefaultDevice,
       {-1, INT32_MAX}},
  };
  return fields;
}

template <class Record>
QStringList Load(Record& options, const QString& section) {
  const TSettingsStore store;
  TCheckedSettings settings(store);
  for (const auto& field : Fields(&options)) {
    const QString name = QLatin1String(field.name);
    std::visit(
        [&](auto member) {
          using TValue = std::remove_reference_t<decltype(options.*member)>;
          const TValue fallback = std::get<TValue>(field.missingDefault);
          if constexpr (std::is_same_v<TValue, QString>) {
            options.*member = settings.Text(section, name, fallback);
          } else if constexpr (std::is_same_v<TValue, bool>) {
            options.*member = settings.Flag(section, name, fallback);
          } else {
            options.*member = settings.Number(section, name, fallback, field.range);
          }
        },
        field.member);
  }
  return settings.Repairs();
}

template <class Record>
void Store(const Record& options, const QString& section) {
  TSettingsStore store;
  for (const auto& field : Fields(&options)) {
    const QString name = QLatin1String(field.name);
    std::visit(
        [&](auto member) {
          const auto& value = options.*member;
          if constexpr (std::is_same_v<std::decay_t<decltype(value)>, QString>) {
            store.WriteString(section, name, value);
          } else {
            store.WriteInteger(section, name, static_cast<std::int32_t>(value));
          }
        },
        field.member);
  }
}

}  // namespace

QStringList LoadOptions(SViewOptions& options) {
  return Load(options, QStringLiteral("OptionsView"));
}
QStringList LoadOptions(SFileOptions& options) {
  return Load(options, QStringLiteral("OptionsFile"));
}
QStringList LoadOptions(SSoundOptions& options) {
  return Load(options, QStringLiteral("OptionsSound"));
}

void StoreOptions(const SViewOptions& options) { Store(options, QStringLiteral("OptionsView")); }
void StoreOptions(const SFileOptions& options) { Store(options, QStringLiteral("OptionsFile")); }
void StoreOptions(const SSoundOptions& options) { Store(options, QStringLiteral("OptionsSound")); }

void ResetOptions(SViewOptions& options) { options = SViewOptions(); }
void ResetOptions(SFileOptions& options) { options = SFileOptions(); }

void ResetOptions(SSoundOptions& options) {
  SSoundOptions reset;
  reset.speakerDefaultDevice = options.speakerDefaultDevice;
  reset.microDefaultDevice = options.microDefaultDevice;
  reset.midiDefaultDevice = options.midiDefaultDevice;
  options = reset;
}

SViewOptions& ViewOptions() {
  static SViewOptions options;
  return options;
}

SFileOptions& FileOptions() {
  static SFileOptions options;
  return options;
}

SSoundOptions& SoundOptions() {
  static SSoundOptions options;
  return options;
}
