// The " Modules " page: the category tree and, for the chosen category, the panels of its sample
// modules, stacked on a canvas of their own; a sample dragged by its panel onto a Structure page
// creates a module of its type there.
#pragma once

#include <QSplitter>
#include <QTreeWidget>
#include <memory>

#include "patch/module_list.h"

class TModuleCanvasView;

// The drag format of a sample: the module's type name in Latin-1.
inline constexpr char kModuleSampleMime[] = "application/x-zelmar-module-type";

class TModulePalettePage : public QSplitter {
  Q_OBJECT
 public:
  TModulePalettePage();
  ~TModulePalettePage() override;
  QTreeWidget& Tree() const { return *tree_; }
  TModuleCanvasView& Canvas() const { return *canvas_; }
  // The sample modules of the chosen category.
  const TModuleListeArbeiten& Samples() const { return *samples_; }
  // Shows the samples of `category`.
  void ShowCategory(const QString& category);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The type name of the sample whose panel is at `viewportPos`; empty over the bare canvas.
  QString SampleAt(QPoint viewportPos) const;

  QTreeWidget* tree_;
  TModuleCanvasView* canvas_;
  std::shared_ptr<TModuleListeArbeiten> samples_;
  QPoint pressedAt_;
  QString pressedType_;
};
