// A sound document with small test modules around the module under test: sources whose values
// the test sets per voice, and a sink that reads, through the engine's own linking, whatever is
// wired to it. Signal tests build a patch, bind it with the offline runner and read the sink.
#pragma once

#include <array>
#include <memory>
#include <stdexcept>
#include <string>

#include "engine/offline_runner.h"
#include "patch/dokument_klang.h"
#include "patch/headless_canvas.h"
#include "patch/modul_bild.h"
#include "patch/module_registry.h"
#include "tests/modules/patch_builder.h"

class TTestSource : public TModulBild {
 public:
  explicit TTestSource(bool poly) : poly_(poly) {
    OutputList->AddPort(poly ? kPortPolyOutputAnalog : kPortMonoOutputAnalog);
  }
  void LinkOutput(int voice, const TLinkTarget& target, TBindContext&, TAusgang&) override {
    target.Connect(&values[poly_ ? static_cast<std::size_t>(voice) : 0]);
  }

  // Per voice; a mono source gives values[0] to every voice.
  std::array<std::int32_t, TKlangEngine::kMaxVoices> values{};

 private:
  bool poly_;
};

class TSignalRig {
 public:
  // A registered module of `typeName`, placed under `key`.
  template <class T = TModulArbeiten>
  T& Create(const std::string& key, const std::string& typeName) {
    bool queryOnly = false;
    auto module = std::dynamic_pointer_cast<T>(CreateModuleByType(typeName, queryOnly));
    if (!module) throw std::runtime_error("not a registered module of that class: " + typeName);
    return Place(key, module);
  }
  TTestSource& Source(const std::string& key, std::int32_t value = 0, bool poly = false) {
    TTestSource& source = Place(key, std::make_shared<TTestSource>(poly));
    source.values.fill(value);
    return source;
  }
  // A sink fed by `output` of `module`.
  TPolySink& SinkOf(TModulArbeiten& module, const std::string& output = "1") {
    TPolySink& sink = Place(document.ModuleList->UniqueKey("Sink"), std::make_shared<TPolySink>());
    Wire(sink, "1", module, output);
    return sink;
  }
  static void Wire(TModulArbeiten& to, const std::string& input, TModulArbeiten& from,
                   const std::string& output = "1") {
    to.InputList->Input(input)->Connect(from.OutputList->Output(output), false);
  }
  // Re-validates the patch and binds it for the runner.
  bool Start() {
    document.RevalidatePatch();
    return runner.Start() == TKlangEngine::kStarted;
  }
  template <class Record>
  Record& RecordOf(const TModulArbeiten& module, int voice = 0) {
    auto* work = document.Engine().Work(module.GetWorkType());
    return *static_cast<Record*>(work->GetRecord(&module, voice));
  }

  TDokumentKlang document;
  TOfflineRunner runner{document.Engine()};

 private:
  template <class T>
  T& Place(const std::string& key, std::shared_ptr<T> module) {
    module->parent = document.ModuleList.get();
    document.ModuleList->Add(key, module);
    return *module;
  }
};
