// Small modules and a canvas for the model tests: a generator (one output), a processor with a
// chosen number of inputs, and a sink, all without engine work; and a canvas that only scrolls.
#pragma once

#include <memory>
#include <string>

#include "patch/canvas_interface.h"
#include "patch/dokument_klang.h"
#include "patch/modul_bild.h"
#include "patch/module_registry.h"

class TTestModule : public TModulBild {
 public:
  TTestModule(int inputs, bool hasOutput, bool sink, int inputCode = kPortMonoInputAnalog,
              int outputCode = kPortMonoOutputAnalog)
      : sink_(sink) {
    for (int i = 0; i < inputs; ++i)
      InputList->AddPort(inputCode);
    if (hasOutput) OutputList->AddPort(outputCode);
  }
  bool IsSink() const override { return sink_; }
  // Consumers linked to this module read `signal`.
  void LinkOutput(int, const TLinkTarget& target, TBindContext&, TAusgang&) override {
    target.Connect(&signal);
  }

  std::int32_t signal = 0;

 private:
  bool sink_;
};

class TTestCanvas : public TModuleCanvasInterface {
 public:
  int HorizontalScroll() const override { return scroll.x; }
  int VerticalScroll() const override { return scroll.y; }
  void ScrollBy(int dx, int dy) override {
    scroll.x += dx;
    scroll.y += dy;
  }

  TPoint scroll;
};

// Adds `module` to `list` under `key` at (x, y), as a file or the palette would.
template <class T>
T& Place(TModuleListe& list, const std::string& key, std::shared_ptr<T> module, int x = 0,
         int y = 0) {
  module->parent = &list;
  module->Rect->MoveTo(x, y);
  list.Add(key, module);
  return *module;
}

// The test modules are registered under these type names, so files, the clipboard and undo can
// re-create them.
inline TRPointer<TTestModule> Registered(const char* typeName, int inputs, bool hasOutput,
                                         bool sink) {
  static const bool registered = [] {
    RegisterModuleType("TestGenerator",
                       [] { return std::make_shared<TTestModule>(0, true, false); });
    RegisterModuleType("TestSink", [] { return std::make_shared<TTestModule>(1, false, true); });
    for (int inputs = 1; inputs <= 11; ++inputs) {
      RegisterModuleType("TestProcessor" + std::to_string(inputs),
                         [inputs] { return std::make_shared<TTestModule>(inputs, true, false); });
    }
    return true;
  }();
  (void)registered;
  auto module = std::make_shared<TTestModule>(inputs, hasOutput, sink);
  module->typeName = typeName;
  return module;
}

inline TRPointer<TTestModule> Generator() { return Registered("TestGenerator", 0, true, false); }
inline TRPointer<TTestModule> Processor(int inputs) {
  return Registered(("TestProcessor" + std::to_string(inputs)).c_str(), inputs, true, false);
}
inline TRPointer<TTestModule> Sink() { return Registered("TestSink", 1, false, true); }

inline TEingang& In(TModulArbeiten& module, const std::string& key = "1") {
  return *module.InputList->Input(key);
}
inline TAusgang& Out(TModulArbeiten& module, const std::string& key = "1") {
  return *module.OutputList->Output(key);
}
