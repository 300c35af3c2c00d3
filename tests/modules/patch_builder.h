// Small pieces for building a sound document in the catalogue tests: registered modules placed
// by type name, wires by port key, a source holding fixed values, a poly sink that reads what is
// wired to it for every voice, and a message presenter that keeps what would have been shown.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>

#include "patch/dokument_klang.h"
#include "patch/modul_bild.h"
#include "patch/module_registry.h"
#include "platform/message_box.h"
#include "tests/support/recording_presenter.h"

// A mono source of one value (any signal kind).
class TFixedSource : public TModulBild {
 public:
  explicit TFixedSource(std::int32_t value, int outputCode = kPortMonoOutputAnalog) : value(value) {
    OutputList->AddPort(outputCode);
  }
  void LinkOutput(int, const TLinkTarget& target, TBindContext&, TAusgang&) override {
    target.Connect(&value);
  }

  std::int32_t value;
};

// Ends a chain with one poly input of `inputCode`, linked for every voice.
class TPolySink : public TModulBild {
 public:
  explicit TPolySink(int inputCode = kPortPolyInputAnalog) { InputList->AddPort(inputCode); }
  bool IsSink() const override { return true; }
  bool IsMono() const override { return false; }
  void BindWork(int voice, void*, TBindContext& context) override {
    LinkInput("1", voice, &inputs[static_cast<std::size_t>(voice)], context);
  }
  std::int32_t Value(int voice = 0) const { return *inputs[static_cast<std::size_t>(voice)]; }

  std::array<const std::int32_t*, TKlangEngine::kMaxVoices> inputs{};
};

// Keeps every message shown while it lives.
class TMessages : public TRecordingPresenter {
 public:
  TMessages() { SetMessagePresenter(this); }
  ~TMessages() override { SetMessagePresenter(nullptr); }
};

template <class T>
T& Place(TDokumentKlang& document, const std::string& key, std::shared_ptr<T> module) {
  module->parent = document.ModuleList.get();
  document.ModuleList->Add(key, module);
  return *module;
}

// A module of a registered type, placed under `key`.
template <class T = TModulArbeiten>
T& Create(TDokumentKlang& document, const std::string& key, const std::string& typeName) {
  bool queryOnly = false;
  auto module = std::dynamic_pointer_cast<T>(CreateModuleByType(typeName, queryOnly));
  EXPECT_NE(module, nullptr) << typeName;
  return Place(document, key, module);
}

inline void Wire(TModulArbeiten& from, TModulArbeiten& to, const std::string& input = "1",
                 const std::string& output = "1") {
  to.InputList->Input(input)->Connect(from.OutputList->Output(output), false);
}

// MIDI input -> key -> poly sine -> combiner -> speaker: a keyboard playing a sine.
inline void AddKeyboardSine(TDokumentKlang& document) {
  auto& midi = Create(document, "Midi", "MidiIn");
  auto& key = Create(document, "Key", "MidiKey");
  auto& sine = Create(document, "Sine", "PolySine");
  auto& mix = Create(document, "Mix", "PolyToMono");
  Wire(midi, key);
  Wire(key, sine, "1", "1");
  Wire(key, sine, "2", "2");
  Wire(sine, mix);
  Wire(mix, Create(document, "Speaker", "Speaker"));
}
