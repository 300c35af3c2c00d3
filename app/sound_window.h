// The sound's editor window: the Structure page shows the patch, the Panel page its panel
// items, and the voice list sets how many voices play. It holds no patch logic: its canvases
// show the document's lists, and the main window edits through the list of the front page.
#pragma once

#include <QComboBox>
#include <QTabWidget>
#include <functional>

#include "app/editor_window.h"

class TDokumentKlang;
class TModuleCanvasView;

class TSoundWindow : public TEditorWindow {
 public:
  // `mayClose` asks whether the sound may be closed (it offers to save a changed sound);
  // `frame` is told by message 17432 once the window closed.
  TSoundWindow(TDokumentKlang& document, QObject& frame, std::function<bool()> mayClose);

  TModuleListe* FrontList() const override;
  // The voice list shows the document's voice count.
  void ShowVoices();
  TModuleCanvasView& Structure() const { return *structure_; }
  TModuleCanvasView& Panel() const { return *panel_; }
  QTabWidget& Pages() const { return *pages_; }

  // Told after the voice list changed the voice count.
  std::function<void()> onVoicesChanged;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* BuildTopBar();
  QWidget* BuildPanelPage();
  void PageChanged(int index);

  TDokumentKlang& document_;
  QObject& frame_;
  std::function<bool()> mayClose_;
  QComboBox* voices_;
  QTabWidget* pages_;
  TModuleCanvasView* structure_;
  TModuleCanvasView* panel_;
};
