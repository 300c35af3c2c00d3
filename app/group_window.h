// The editor window of a macro module (a group): its Structure page shows the macro's inside,
// its Panel page the macro's panel items, and the name and info fields edit the macro itself.
#pragma once

#include <QLineEdit>
#include <QTabWidget>
#include <memory>

#include "app/editor_window.h"

class TModulKomponent;
class TModuleCanvasView;

class TGroupWindow : public TEditorWindow {
  Q_OBJECT
 public:
  // Holds the macro, so that a window still open when its macro leaves shows no freed list.
  explicit TGroupWindow(std::shared_ptr<TModulKomponent> macro);
  // Takes the canvases off the macro's lists while the macro is still held.
  ~TGroupWindow() override;

  TModuleListe* FrontList() const override;
  TModulKomponent& Macro() const { return *macro_; }
  QLineEdit& Name() const { return *name_; }
  QLineEdit& Info() const { return *info_; }
  TModuleCanvasView& Structure() const { return *structure_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* BuildTopBar();
  void Rename(const QString& name);

  std::shared_ptr<TModulKomponent> macro_;
  QLineEdit* name_;
  QLineEdit* info_;
  QTabWidget* pages_;
  TModuleCanvasView* panel_;
  TModuleCanvasView* structure_;
};

// Whether `macro` is still part of the patch `list`, at any depth.
bool PatchHoldsMacro(const TModuleListe& list, const TModulKomponent& macro);
