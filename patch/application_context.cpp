#include "patch/application_context.h"

#include "patch/module_dialogs.h"
#include "platform/message_box.h"

TApplicationScope::TApplicationScope(const SApplicationContext& context)
    : previousDialogs_(ModuleDialogs()),
      previousOpeners_(ModuleDialogOpeners()),
      previousMessages_(InstalledMessagePresenter()),
      previousDevices_(DeviceServices()),
      previousView_(ViewOptions()),
      previousSound_(SoundOptions()) {
  InstallModuleTypes(context.moduleTypes);
  SetModuleDialogs(context.dialogs);
  SetModuleDialogOpeners(context.dialogOpeners);
  SetMessagePresenter(context.messages);
  SetDeviceServices(context.devices);
  ViewOptions() = context.viewOptions;
  SoundOptions() = context.soundOptions;
}

TApplicationScope::~TApplicationScope() {
  SetModuleDialogs(previousDialogs_);
  SetModuleDialogOpeners(previousOpeners_);
  SetMessagePresenter(previousMessages_);
  SetDeviceServices(previousDevices_);
  ViewOptions() = previousView_;
  SoundOptions() = previousSound_;
}
