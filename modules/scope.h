// The modules that let the user look at a signal: the scope ("OutputLook") records the first
// milliseconds of its input after every sound start and exports them as a WAV file; the volume
// view ("VolumeWork") reports the mean level of its input several times a second. Both are sinks
// without a speaker: a chain that ends in one of them plays. Their kernels publish into blocks
// shared with the bindings' engine threads; the modules collect the news on the GUI thread when
// the document polls (tree message kTreeEngineNews).
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/scope_kernel.h"
#include "engine/view_notifications.h"
#include "patch/modul_bild.h"
#include "patch/module_registry.h"
#include "patch/window_description.h"
#include "persist/callbacks.h"

class TAusgabeSehen;

// The open scope window, as its window document holds it; destroying it closes the window.
class TScopeWindowView {
 public:
  virtual ~TScopeWindowView() = default;
  // Caption and placement from the document and the module.
  virtual void ApplyProperties() = 0;
};

// The scope window's settings, saved under the scope's "ViewLook", and whether and where the
// window is open.
class TFensterSehen : public TFenster {
 public:
  // The name under which the installed module dialogs open the window.
  static constexpr std::string_view kWindowDialog = "ScopeWindow";

  TFensterSehen();

  // With "Visible" 1 opens the window of `scope` when it is not open, else closes it. True when
  // the window is open.
  bool ShowWindow(TAusgabeSehen& scope);
  void CloseWindow() { Form.reset(); }
  void ApplyProperties() {
    if (Form) Form->ApplyProperties();
  }

  // The open window, or null; the window's opener sets it, and closing the window resets it.
  std::unique_ptr<TScopeWindowView> Form;

  const TRPointerPropDouble Scale_Y;           // vertical zoom when not optimising
  const TRPointerPropInteger Optimize;         // 1: the peak fills half the height
  const TRPointerPropInteger GridSize;         // grid lines each way, 0 none
  const TRPointerPropInteger GridStyle;        // 0 solid .. 4 dash-dot-dot
  const TRPointerPropInteger ColorBackground;  // colours: red in the lowest byte
  const TRPointerPropInteger ColorGrid;
  const TRPointerPropInteger WaveColor;
  const TRPointerPropInteger FullView;
};

class TAusgabeSehen : public TModulBild {
 public:
  // The capture length the window's four-digit field allows, in milliseconds.
  static constexpr std::int32_t kMinTime = 1;
  static constexpr std::int32_t kMaxTime = 9999;

  TAusgabeSehen();

  int GetWorkType() const override;
  SModulePicture PanelPicture() const override;
  bool IsMono() const override { return true; }
  bool IsSink() const override { return true; }
  // Help topic 2209, the scope and its window.
  void ShowHelp() override;
  // The scope has no dialog: the picture button opens its window.
  void ShowProperties() override;
  // An editable view opens the window when "ViewLook" says it is open; taking the view down
  // closes it.
  void CreatePanel(TModuleCanvasInterface* owner, int mode) override;
  // The title and the window document's properties reach an open window.
  void PropertyChanged(const TPropTyp* property) override;
  // Gives the binding a fresh capture buffer for "Time" (keeping what the old one holds) and arms
  // a new capture.
  void BindWork(int voice, void* record, TBindContext& context) override;
  // Besides the base handling: the poll (kTreeEngineNews) delivers the completed captures.
  bool Notify(int code, int arg, void* data) override;

  // The buffer-size operation (the window's apply button): "Time" becomes `milliseconds`, kept
  // to kMinTime..kMaxTime. A playing sound keeps capturing into the old buffer; the new size
  // takes effect at the next start. True when a buffer exists.
  bool SetCaptureTime(std::int32_t milliseconds);
  // Samples captured per start: "Time" x 22050 / 1000.
  std::uint32_t CaptureLength() const { return buffer_->capture.capacity; }
  // The captured samples (audio, 2048 = full scale); those of a capture in progress so far.
  std::vector<std::int32_t> CapturedSamples() const;
  // Completed captures since the module was made, delivered or not.
  int CaptureCount() const;
  // Changes whenever the engine has written samples or completed a capture: the scope window
  // repaints on its own timer when it changed.
  std::uint64_t CaptureProgress() const;

  // Writes the captured samples as a 16-bit mono WAV file at 22050 Hz or, doubled with
  // midpoints, at 44100 Hz. The file is replaced only when completely written. False when it
  // could not be.
  bool ExportWav(const std::filesystem::path& path, std::int32_t sampleRate) const;

  // Called on the GUI thread, at the poll after a capture completed, once per capture; the scope
  // window installs it to repaint its picture.
  TAMsgStandardCallback CaptureCallback;

  const TRPointerPropInteger Time;
  const TRPointer<TFensterSehen> ViewLook;

 private:
  struct SBuffer {
    explicit SBuffer(std::uint32_t samples);
    std::unique_ptr<std::atomic<std::int32_t>[]> samples;
    SScopeCapture capture;
  };

  void DeliverCaptures();
  // A new buffer of `samples`, holding what fits of the current one.
  void ResizeCapture(std::uint32_t samples);

  std::shared_ptr<SBuffer> buffer_ = std::make_shared<SBuffer>(0);
  std::uint32_t completedSeen_ = 0;  // of buffer_'s captures, those delivered
  int delivered_ = 0;
};

// The sample values of a scope export: each captured value's low 16 bits, or at 44100 Hz each
// preceded by the midpoint from the previous one (0 before the first).
std::vector<std::int16_t> ExportSamples(std::span<const std::int32_t> captured, bool doubleRate);
// A complete 16-bit mono PCM WAV file of `samples` at `sampleRate`.
std::vector<std::byte> WavFileBytes(std::span<const std::int16_t> samples,
                                    std::uint32_t sampleRate);

// What the panel shows for a level report.
struct SVolumeLevelDisplay {
  std::int32_t percent;  // level / 85: 100 is about full scale
  std::string text;      // percent followed by " %"
  bool red;              // from 100 % on
};

class TModulLautstaerkeSehen;

class TLautstaerkeSehenArbeiten : public TModulBild {
 public:
  // Mean level units per percent shown.
  static constexpr std::int32_t kLevelPerPercent = 85;

  TLautstaerkeSehenArbeiten();

  int GetWorkType() const override;
  // Right of the level label.
  SModulePicture PanelPicture() const override;
  bool IsMono() const override { return true; }
  bool IsSink() const override { return true; }
  // Help topic 2221.
  void ShowHelp() override;
  // The name of its dialog: the name dialog with "Visible in Panel".
  static constexpr std::string_view kDialog = "VolumeView";
  // The dialog; after OK the level meter is shown or removed as "ShowInView" says.
  void ShowProperties() override;
  // In an editable view the module keeps its level meter on the sound's panel; taking that view
  // down removes the meter again.
  void CreatePanel(TModuleCanvasInterface* owner, int mode) override;
  // Gives the binding a fresh mailbox, after delivering what the old one holds.
  void BindWork(int voice, void* record, TBindContext& context) override;
  // Besides the base handling: the poll (kTreeEngineNews) delivers the waiting reports.
  bool Notify(int code, int arg, void* data) override;

  // What the panel shows for a report.
  static SVolumeLevelDisplay ShowLevelReport(std::int32_t level);
  // A report of `level` (mean absolute value) reached the panel, as window message 6789 did:
  // the label and, with "ShowInView" 1, the level meter show it.
  void ShowLevelMessage(std::int32_t level);
  // The level label: "0%%" until the first report, then the last report's percent.
  const std::string& LevelText() const { return levelText_; }
  // From 100 % on the label is red; below, it has the panel's colour.
  bool LevelRed() const { return levelRed_; }
  // Creates (show) or removes the level meter on the sound's panel, kept under this module's
  // key at "ViewRect", which is the very rectangle object the meter moves.
  void ShowOnPanel(bool show);
  // The level meter on the panel, or null.
  TModulLautstaerkeSehen* LevelMeter() const;
  // Reports the engine sent that no poll has delivered yet (at most three while playing).
  std::int32_t PendingReports() const { return static_cast<std::int32_t>(mailbox_->Pending()); }

  // The label's text before the first report.
  static constexpr const char* kInitialLevelText = "0%%";

  const TRPointerPropInteger ShowInView;
  // The meter's rectangle on the panel; attaching the meter rebinds it to the meter's "Rect".
  TRPointer<TPropRect> ViewRect;

 private:
  // Reports reach the panel only while it exists (the message went to the panel's window);
  // without one they are dropped, so that the reports go on when a panel appears.
  void DeliverLevels();

  std::shared_ptr<TLevelMailbox> mailbox_ = std::make_shared<TLevelMailbox>();
  std::string levelText_ = kInitialLevelText;
  bool levelRed_ = false;
  bool editableView_ = false;
};

void RegisterScopeModules(TModuleTypeTable& table);
