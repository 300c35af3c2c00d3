// The three process-wide option records (view, file, sound). Each is created with its Reset
// defaults, loaded from the settings store when the main window is created and stored when it
// closes; the option dialogs edit copies in between. Two values start lower at a first start,
// with nothing stored, than Reset sets them (kFirstStart...). Whatever a hand-edited store holds
// is checked on loading: numbers out of range, text where a number belongs and texts too long are
// put right, and the load says what it changed.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

#include "engine/speaker_kernels.h"

// A colour as stored: red in the lowest byte, green in the second, blue in the third.
constexpr std::int32_t StoredColor(int red, int green, int blue) {
  return red | (green << 8) | (blue << 16);
}

struct SViewOptions {
  bool gridVisible = true;
  bool snapToGrid = true;
  std::int32_t gridColor = StoredColor(0, 0, 0);
  std::int32_t gridSize = 10;  // points, at least kMinGridSize
  bool directLines = true;     // straight wires; false: right-angled wires
  std::int32_t colorBackground = StoredColor(128, 128, 128);
  std::int32_t colorAnalog = StoredColor(255, 255, 255);
  std::int32_t colorFrequenz = StoredColor(0, 0, 255);
  std::int32_t colorMidi = StoredColor(0, 0, 0);
  std::int32_t moduleInActive = StoredColor(192, 192, 192);
  std::int32_t moduleActive = StoredColor(128, 255, 128);

  friend bool operator==(const SViewOptions&, const SViewOptions&) = default;

  static constexpr std::int32_t kMinGridSize = 8;
  static constexpr std::int32_t kMaxGridSize = 99;
};

struct SFileOptions {
  bool autosave = false;
  std::int32_t autosaveTimeMin = 30;  // minutes, at least 1
  QString startOpenGroupFolder;
  QString startOpenFolder;
  bool startWindow = false;  // true: open "FileStartWindow"; false: the last open sound
  QString fileStartWindow;
  bool showLastWindow = true;
  std::int32_t recentFileSize = 15;  // 1 to kMaxRecentFiles
  bool undoAfterSave = true;

  friend bool operator==(const SFileOptions&, const SFileOptions&) = default;

  static constexpr std::int32_t kFirstStartRecentFiles = 8;
  static constexpr std::int32_t kMaxRecentFiles = 25;
  static constexpr std::int32_t kMaxAutosaveMinutes = 999;
};

struct SSoundOptions {
  bool startAfterLoading = true;
  std::int32_t stopProzesserOver = 95;  // percent of processor load that stops the engine, 1..999
  std::int32_t waveBuffer = 30;         // wave-output buffer value, kMinWaveBuffer..kMaxWaveBuffer
  // The engine computes inside the speaker device's callback where it can (a note is heard
  // within a period or two); otherwise, or when false, it runs ahead by "WaveBuffer".
  bool lowLatency = true;
  std::int32_t speakerDefaultDevice = 0;
  std::int32_t microDefaultDevice = 0;
  std::int32_t midiDefaultDevice = 0;

  friend bool operator==(const SSoundOptions&, const SSoundOptions&) = default;

  static constexpr std::int32_t kFirstStartWaveBuffer = kWaveBufferDefault;
  static constexpr std::int32_t kMinWaveBuffer = kWaveBufferMinimum;
  static constexpr std::int32_t kMaxWaveBuffer = kWaveBufferMaximum;
  static constexpr std::int32_t kMaxProcessorLimit = 999;
};

// Reads every value of the record's section, each with its default when missing, and returns
// what it repaired (settings_check.h), one sentence each.
QStringList LoadOptions(SViewOptions& options);
QStringList LoadOptions(SFileOptions& options);
QStringList LoadOptions(SSoundOptions& options);

// Writes every value of the record into its section.
void StoreOptions(const SViewOptions& options);
void StoreOptions(const SFileOptions& options);
void StoreOptions(const SSoundOptions& options);

// The Reset button of an option dialog: the Reset defaults, except the sound record's devices.
void ResetOptions(SViewOptions& options);
void ResetOptions(SFileOptions& options);
void ResetOptions(SSoundOptions& options);

// The process-wide records.
SViewOptions& ViewOptions();
SFileOptions& FileOptions();
SSoundOptions& SoundOptions();
