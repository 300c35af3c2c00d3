// The services of the process that the model reaches without being handed them: the module
// catalogue, the dialogs modules open, the presenter of messages, the devices that speakers,
// microphones and MIDI inputs open, and the option records that new modules read. Whoever runs
// the model (the program, the headless renderer, `--play`, each test program) sets all of them
// at once and explicitly with one TApplicationScope, instead of each service by itself.
#pragma once

#include "engine/device_services.h"
#include "patch/module_registry.h"
#include "platform/options.h"

class TMessagePresenter;
class TModuleDialogs;
class TModuleDialogOpeners;

struct SApplicationContext {
  // The module families' types; the macro types are always there.
  TModuleTypeTable moduleTypes;
  // Not owned; null shows no dialog and changes nothing.
  TModuleDialogs* dialogs = nullptr;
  // Not owned; null opens no module dialog (ShowProperties then changes nothing).
  const TModuleDialogOpeners* dialogOpeners = nullptr;
  // Not owned; null is the default presenter (a message box, or standard error without widgets).
  TMessagePresenter* messages = nullptr;
  // Not owned; missing devices leave the modules that need them inactive.
  SDeviceServices devices;
  SViewOptions viewOptions;
  SSoundOptions soundOptions;
};

// Installs a context for the scope's life and restores the services and options that were in
// place before when it ends. The module types stay registered: modules made from them may
// outlive the scope.
class TApplicationScope {
 public:
  explicit TApplicationScope(const SApplicationContext& context);
  ~TApplicationScope();
  TApplicationScope(const TApplicationScope&) = delete;
  TApplicationScope& operator=(const TApplicationScope&) = delete;

 private:
  TModuleDialogs* previousDialogs_;
  const TModuleDialogOpeners* previousOpeners_;
  TMessagePresenter* previousMessages_;
  SDeviceServices previousDevices_;
  SViewOptions previousView_;
  SSoundOptions previousSound_;
};
