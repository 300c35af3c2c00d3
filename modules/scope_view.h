// The scope window: the captured curve of one scope module, with its capture length, zoom and
// optimising on the left, and the grid dialog, the clipboard picture and the export to a bitmap
// or a WAV file behind three buttons. Every setting is a property of the module ("ViewLook"), so
// the window only reads them when it paints. It repaints on its own timer whenever the engine has
// captured more, so a capture in progress shows the samples that have arrived.
#pragma once

#include <QTimer>
#include <QWidget>
#include <cstdint>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class TAusgabeSehen;

// What the export dialog's three filters write.
enum class TWaveExport { Bitmap, Wave22050, Wave44100 };

class TViewWave : public QWidget {
 public:
  static constexpr int kMinWidth = 270;
  static constexpr int kMinHeight = 218;
  // How often the window looks whether the engine captured more, in milliseconds.
  static constexpr int kRefreshMs = 40;

  explicit TViewWave(TAusgabeSehen& scope, QWidget* parent = nullptr);
  ~TViewWave() override;

  // Caption from the module's title.
  void ApplyTitle();
  // The picture of the client area, as the clipboard gets it.
  QImage Picture() const;
  // Writes the export of `kind` to `path`; false when the file could not be written.
  bool ExportTo(const QString& path, TWaveExport kind) const;

  // The controls' handlers.
  void UpDownZoomClick(bool up);
  void MaskEditZoomChange();
  void SpeedButtonApplyClick();
  void SpeedButtonCopyClick();
  void SpeedButtonExportClick();
  void SpeedButtonGridClick();
  void SpeedButtonHideClick();
  void PaintBoxClick();
  void PaintBoxMouseMove(int x);

  QWidget* PaintBox() const { return paintBox_; }

 private:
  QWidget* BuildLeftPanel();
  QWidget* BuildBottomPanel();
  void CheckBoxOptimizeClick();
  void ShowZoom();
  void RefreshIfCaptured();

  TAusgabeSehen& scope_;
  QWidget* panelLinks_ = nullptr;
  QWidget* panelUnten_ = nullptr;
  QWidget* paintBox_ = nullptr;
  QLineEdit* maskEditZeit_ = nullptr;
  QToolButton* speedButtonApply_ = nullptr;
  QLineEdit* maskEditZoom_ = nullptr;
  QCheckBox* checkBoxOptimize_ = nullptr;
  QLabel* labelWertAnzeige_ = nullptr;
  QTimer refresh_;
  std::uint64_t shownProgress_ = 0;
};
