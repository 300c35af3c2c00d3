// The scope window: the captured curve of one scope module, with its capture length, zoom and
// optimising on the left, and the grid dialog, the clipboard picture and the export to a bitmap
// or a WAV file behind three buttons. Every setting is a property of the module ("ViewLook"), so
// the window only reads them when it paints. It repaints on its own timer whenever the engine has
// captured more, so a capture in progress shows the samples that have arrived.
#pragma once

#include <QDialog>
#include <QTimer>
#include <cstdint>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class TAusgabeSehen;

// What the export dialog's three filters write.
enum class TWaveExport { Bitmap, Wave22050, Wave44100 };

// A tool window that stays on top; not modal. Closing it tells the window document, which then
// stays closed when the sound is saved.
class TViewWave : public QDialog {
 public:
  static constexpr int kMinWidth = 270;
  static constexpr int kMinHeight = 218;
  // How often the window looks whether the engine captured more, in milliseconds.
  static constexpr int kRefreshMs = 40;

  explicit TViewWave(TAusgabeSehen& scope, QWidget* parent = nullptr);
  ~TViewWave() override;

  // Caption from the module's title.
  void ApplyTitle();
  // The caption, and the place the window document keeps when it has one.
  void ApplyPlacement();
  // Lets go of the module, which is going: the window no longer reads or changes it and hides.
  void Release();
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

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Moving and resizing are kept in the window document's "Rect".
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void KeepPlacement();
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
  bool applying_ = false;  // placing from the document: nothing to keep
  bool released_ = false;
};

class TModuleDialogOpeners;
// Adds the opener of the scope window (TFensterSehen::kWindowDialog): it builds the window,
// hands it to the window document, places it beside the module when the document has no place
// for it yet, and shows it.
void AddScopeWindow(TModuleDialogOpeners& openers);
