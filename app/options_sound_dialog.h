// "Options Sound": the low-latency mode, the wave-output buffer, starting after loading and the
// processor limit. It
// edits a copy of the sound options and writes it back on OK; the caller then re-validates the open
// sound and restarts it when it plays. The default devices have dialogs of their own.
#pragma once

#include "app/options_dialog.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QSlider;
class QVBoxLayout;

class TOptionsSoundDialog : public TOptionsDialog<SSoundOptions> {
 public:
  explicit TOptionsSoundDialog(SSoundOptions& options, QWidget* parent = nullptr);

  QCheckBox& LowLatency() { return *lowLatency_; }
  QSlider& WaveBuffer() { return *waveBuffer_; }
  QCheckBox& StartAfterLoading() { return *startAfterLoading_; }
  QLineEdit& StopAbove() { return *stopAbove_; }

 private:
  bool Confirm() override;
  QWidget* DefaultPage();
  QWidget* StartPage();
  void Show() override;

  QCheckBox* lowLatency_;
  QSlider* waveBuffer_;
  QLabel* waveBufferValue_;
  QCheckBox* startAfterLoading_;
  QLineEdit* stopAbove_;
};
