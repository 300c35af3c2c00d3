// Lets the modules' Help buttons reach the help window: a TModuleDialogs whose ShowHelp shows the
// topic, and which hands every other request to the dialogs it wraps (none: nothing happens).
#pragma once

#include <functional>
#include <utility>

#include "patch/module_dialogs.h"

class THelpModuleDialogs : public TModuleDialogs {
 public:
  using TShowTopic = std::function<void(int context)>;

  explicit THelpModuleDialogs(TShowTopic showTopic, TModuleDialogs* others = nullptr)
      : showTopic_(std::move(showTopic)), others_(others) {}

  void ShowHelp(int topic) override {
    if (showTopic_) showTopic_(topic);
  }
  void ShowMacroWindow(TModulKomponent& macro) override {
    if (others_ != nullptr) others_->ShowMacroWindow(macro);
  }
  void ShowModuleList(TModuleListe& list) override {
    if (others_ != nullptr) others_->ShowModuleList(list);
  }

 private:
  TShowTopic showTopic_;
  TModuleDialogs* others_;
};
