// Lets a Structure page take the samples dragged from the module palette: a dragged sample is
// accepted only when the page's list takes its type (a sound refuses the macro ports), and a
// drop creates the module where it lands.
#pragma once

#include <QObject>

class TModuleCanvasView;
class TModuleListe;

class TSampleDrop : public QObject {
 public:
  // Installs itself on `canvas`, which owns it.
  explicit TSampleDrop(TModuleCanvasView& canvas);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TModuleCanvasView& canvas_;
};

// Whether `list` would create a module of `typeName`.
bool ListTakesType(TModuleListe& list, const std::string& typeName);
