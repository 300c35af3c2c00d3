// The modules that let the user look at a signal: the scope ("OutputLook") records the first
// milliseconds of its input after every sound start and exports them as a WAV file; the volume
// view ("VolumeWork") reports the mean level of its input several times a second. Both are sinks
// without a speaker: a chain that ends in one of them plays.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "engine/scope_kernel.h"
#include "engine/view_notifications.h"
#include "patch/modul_bild.h"
#include "patch/module_registry.h"
#include "patch/window_description.h"
#include "persist/callbacks.h"

// The scope window's settings, saved under the scope's "ViewLook".
class TFensterSehen : public TFenster {
 public:
  TFensterSehen();

  const TRPointerPropDouble Scale_Y;           // vertical zoom when not optimising
  const TRPointerPropInteger Optimize;         // 1: the peak fills half the height
  const TRPointerPropInteger GridSize;         // grid lines each way, 0 none
  const TRPointerPropInteger GridStyle;        // 0 solid .. 4 dash-dot-dot
  const TRPointerPropInteger ColorBackground;  // colours: red in the lowest byte
  const TRPointerPropInteger ColorGrid;
  const TRPointerPropInteger WaveColor;
  const TRPointerPropInteger FullView;
};

class TAusgabeSehen : public TModulBild, private TScopeNotification {
 public:
  // The capture length the window's four-digit field allows, in milliseconds.
  static constexpr std::int32_t kMinTime = 1;
  static constexpr std::int32_t kMaxTime = 9999;

  TAusgabeSehen();

  int GetWorkType() const override;
  SModulePicture PanelPicture() const override;
  bool IsMono() const override { return true; }
  bool IsSink() const override { return true; }
  // Sizes the capture buffer for "Time" and arms a new capture.
  void BindWork(int voice, void* record, TKlangEngine& engine) override;

  // The buffer-size operation (the window's apply button): "Time" becomes `milliseconds`, kept
  // to kMinTime..kMaxTime. A playing sound keeps capturing into the old buffer; the new size
  // takes effect at the next start. True when a buffer exists.
  bool SetCaptureTime(std::int32_t milliseconds);
  // Samples captured per start: "Time" x 22050 / 1000.
  std::uint32_t CaptureLength() const { return capture_.capacity; }
  // The captured samples (audio, 2048 = full scale); those of a capture in progress so far.
  std::vector<std::int32_t> CapturedSamples() const;
  // Completed captures since the module was made. Engine thread increments, any thread reads.
  int CaptureCount() const { return captures_.load(std::memory_order_acquire); }

  // Writes the captured samples as a 16-bit mono WAV file at 22050 Hz or, doubled with
  // midpoints, at 44100 Hz. The file is replaced only when completely written. False when it
  // could not be.
  bool ExportWav(const std::filesystem::path& path, std::int32_t sampleRate) const;

  // Called on the engine thread once per completed capture; the scope window installs it to
  // repaint its picture.
  TAMsgStandardCallback CaptureCallback;

  const TRPointerPropInteger Time;
  const TRPointer<TFensterSehen> ViewLook;

 private:
  void CaptureComplete() override;
  void ResizeCapture(std::uint32_t samples);

  SScopeCapture capture_;
  std::unique_ptr<std::atomic<std::int32_t>[]> samples_;
  std::atomic<int> captures_{0};
};

// The sample values of a scope export: each captured value's low 16 bits, or at 44100 Hz each
// preceded by the midpoint from the previous one (0 before the first).
std::vector<std::int16_t> ExportSamples(std::span<const std::int32_t> captured, bool doubleRate);
// A complete 16-bit mono PCM WAV file of `samples` at `sampleRate`.
std::vector<std::byte> WavFileBytes(std::span<const std::int16_t> samples,
                                    std::uint32_t sampleRate);

// Where the volume view's level reports go: its panel, which shows them on the GUI thread.
class TVolumeLevelTarget {
 public:
  virtual ~TVolumeLevelTarget() = default;
  // Engine thread: post window message 6789 with `level` (mean absolute value) and 0.
  virtual void PostLevelMessage(std::int32_t level) = 0;
};

// What the panel shows for a level report.
struct SVolumeLevelDisplay {
  std::int32_t percent;  // level / 85: 100 is about full scale
  std::string text;      // percent followed by " %"
  bool red;              // from 100 % on
};

class TLautstaerkeSehenArbeiten : public TModulBild, private TVolumeLevelNotification {
 public:
  // Mean level units per percent shown.
  static constexpr std::int32_t kLevelPerPercent = 85;

  TLautstaerkeSehenArbeiten();

  int GetWorkType() const override;
  // Right of the level label.
  SModulePicture PanelPicture() const override;
  bool IsMono() const override { return true; }
  bool IsSink() const override { return true; }
  void BindWork(int voice, void* record, TKlangEngine& engine) override;

  // The panel, while it exists; reports are posted to it. Not owned.
  void SetLevelTarget(TVolumeLevelTarget* target) { target_.store(target); }
  // GUI thread, message 6789: one report is shown.
  SVolumeLevelDisplay ShowLevelReport(std::int32_t level);
  // Reports the engine sent that were not shown yet.
  std::int32_t PendingReports() const { return pending_.load(std::memory_order_relaxed); }

  // The label's text before the first report.
  static constexpr const char* kInitialLevelText = "0%%";

  const TRPointerPropInteger ShowInView;
  const TRPointer<TPropRect> ViewRect;

 private:
  void PostLevel(std::int32_t level) override;

  std::atomic<std::int32_t> pending_{0};
  std::atomic<TVolumeLevelTarget*> target_{nullptr};
};

void RegisterScopeModules(TModuleTypeTable& table);
