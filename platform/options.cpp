#include "platform/options.h"

#include <algorithm>
#include <variant>
#include <vector>

#include "platform/settings_store.h"

namespace {

template <class Record>
using TMember = std::variant<bool Record::*, std::int32_t Record::*, QString Record::*>;

// One stored value of a record: its name, its field, and its default when the store has none.
template <class Record>
struct SOptionField {
  const char* name;
  TMember<Record> member;
  std::variant<bool, std::int32_t, QString> missingDefault;
};

const std::vector<SOptionField<SViewOptions>>& Fields(const SViewOptions*) {
  static const SViewOptions d;
  static const std::vector<SOptionField<SViewOptions>> fields = {
      {"GridVisible", &SViewOptions::gridVisible, d.gridVisible},
      {"SnapToGrid", &SViewOptions::snapToGrid, d.snapToGrid},
      {"GridColor", &SViewOptions::gridColor, d.gridColor},
      {"GridSize", &SViewOptions::gridSize, d.gridSize},
      {"DirectLines", &SViewOptions::directLines, d.directLines},
      {"ColorBackground", &SViewOptions::colorBackground, d.colorBackground},
      {"ColorAnalog", &SViewOptions::colorAnalog, d.colorAnalog},
      {"ColorFrequenz", &SViewOptions::colorFrequenz, d.colorFrequenz},
      {"ColorMidi", &SViewOptions::colorMidi, d.colorMidi},
      {"ModuleInActive", &SViewOptions::moduleInActive, d.moduleInActive},
      {"ModuleActive", &SViewOptions::moduleActive, d.moduleActive},
  };
  return fields;
}

const std::vector<SOptionField<SFileOptions>>& Fields(const SFileOptions*) {
  static const SFileOptions d;
  static const std::vector<SOptionField<SFileOptions>> fields = {
      {"Autosave", &SFileOptions::autosave, d.autosave},
      {"AutosaveTimeMin", &SFileOptions::autosaveTimeMin, d.autosaveTimeMin},
      {"StartOpenGroupFolder", &SFileOptions::startOpenGroupFolder, d.startOpenGroupFolder},
      {"StartOpenFolder", &SFileOptions::startOpenFolder, d.startOpenFolder},
      {"StartWindow", &SFileOptions::startWindow, d.startWindow},
      {"FileStartWindow", &SFileOptions::fileStartWindow, d.fileStartWindow},
      {"ShowLastWindow", &SFileOptions::showLastWindow, d.showLastWindow},
      // A first start offers fewer recent files than Reset does.
      {"RecentFileSize", &SFileOptions::recentFileSize, std::int32_t{8}},
      {"UndoAfterSave", &SFileOptions::undoAfterSave, d.undoAfterSave},
  };
  return fields;
}

const std::vector<SOptionField<SSoundOptions>>& Fields(const SSoundOptions*) {
  static const SSoundOptions d;
  static const std::vector<SOptionField<SSoundOptions>> fields = {
      {"StartAfterLoading", &SSoundOptions::startAfterLoading, d.startAfterLoading},
      {"StopProzesserOver", &SSoundOptions::stopProzesserOver, d.stopProzesserOver},
      // A first start uses a shorter wave-buffer lead than Reset does.
      {"WaveBuffer", &SSoundOptions::waveBuffer, std::int32_t{26}},
      {"LowLatency", &SSoundOptions::lowLatency, d.lowLatency},
      {"SpeakerDefaultDevice", &SSoundOptions::speakerDefaultDevice, d.speakerDefaultDevice},
      {"MicroDefaultDevice", &SSoundOptions::microDefaultDevice, d.microDefaultDevice},
      {"MidiDefaultDevice", &SSoundOptions::midiDefaultDevice, d.midiDefaultDevice},
  };
  return fields;
}

template <class Record>
void Load(Record& options, const QString& section) {
  for (const auto& field : Fields(&options)) {
    const QString name = QLatin1String(field.name);
    std::visit(
        [&](auto member) {
          using TValue = std::remove_reference_t<decltype(options.*member)>;
          const TValue fallback = std::get<TValue>(field.missingDefault);
          if constexpr (std::is_same_v<TValue, QString>) {
            options.*member = SettingsReadString(section, name, fallback);
          } else if constexpr (std::is_same_v<TValue, bool>) {
            options.*member = SettingsReadInteger(section, name, fallback) != 0;
          } else {
            options.*member = SettingsReadInteger(section, name, fallback);
          }
        },
        field.member);
  }
}

template <class Record>
void Store(const Record& options, const QString& section) {
  for (const auto& field : Fields(&options)) {
    const QString name = QLatin1String(field.name);
    std::visit(
        [&](auto member) {
          const auto& value = options.*member;
          if constexpr (std::is_same_v<std::decay_t<decltype(value)>, QString>) {
            SettingsWriteString(section, name, value);
          } else {
            SettingsWriteInteger(section, name, static_cast<std::int32_t>(value));
          }
        },
        field.member);
  }
}

}  // namespace

void LoadOptions(SViewOptions& options) {
  Load(options, QStringLiteral("OptionsView"));
  options.gridSize =
      std::clamp(options.gridSize, SViewOptions::kMinGridSize, SViewOptions::kMaxGridSize);
}

void LoadOptions(SFileOptions& options) {
  Load(options, QStringLiteral("OptionsFile"));
  options.recentFileSize = std::clamp(options.recentFileSize, 1, SFileOptions::kMaxRecentFiles);
  options.autosaveTimeMin =
      std::clamp(options.autosaveTimeMin, 1, SFileOptions::kMaxAutosaveMinutes);
}

void LoadOptions(SSoundOptions& options) {
  Load(options, QStringLiteral("OptionsSound"));
  options.waveBuffer =
      std::clamp(options.waveBuffer, SSoundOptions::kMinWaveBuffer, SSoundOptions::kMaxWaveBuffer);
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
