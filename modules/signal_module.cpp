#include "modules/signal_module.h"

#include "patch/module_dialogs.h"

TSignalModul::TSignalModul(const SModuleKind& kind, bool monoWork)
    : kind_(kind), monoWork_(monoWork) {
  Title->value = kind.title;
}

SModulePicture TSignalModul::PanelPicture() const {
  return {kind_.picture, picturePosition_.x, picturePosition_.y};
}

void TSignalModul::ShowHelp() {
  if (TModuleDialogs* dialogs = ModuleDialogs()) dialogs->ShowHelp(kind_.helpTopic);
}

std::string TSignalModul::HintOf(const TEinAusgang& port) const {
  const auto found = port.Type().isInput ? inputHints_.find(port.Key()) : inputHints_.end();
  return found != inputHints_.end() ? found->second : TModulBild::HintOf(port);
}

void TSignalModul::AddInput(int code, const char* caption, const char* hint) {
  const auto port = InputList->AddPort(code);
  if (caption != nullptr) port->Title->value = caption;
  if (hint != nullptr) inputHints_[port->Key()] = hint;
}

void TSignalModul::AddOutput(int code, const char* caption) {
  const auto port = OutputList->AddPort(code);
  if (caption != nullptr) port->Title->value = caption;
}

void TSignalModul::LinkInputs(std::initializer_list<const std::int32_t**> fields, int voice,
                              TBindContext& context) {
  int number = 1;
  for (const std::int32_t** field : fields) {
    LinkInputOrSilence(std::to_string(number++), voice, field, context);
  }
}
