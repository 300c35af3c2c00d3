// A scope installs every service of the application context at once and puts back what was in
// place before, so that a test or a render leaves the process as it found it.
#include <gtest/gtest.h>

#include "model_fixture.h"
#include "patch/application_context.h"
#include "patch/module_dialogs.h"
#include "support/recording_presenter.h"

namespace {

class TNoDialogs : public TModuleDialogs {
 public:
  void ShowHelp(int) override {}
  void ShowMacroWindow(TModulKomponent&) override {}
  void ShowModuleList(TModuleListe&) override { ++listsShown; }
  int listsShown = 0;
};

class TNoMidiDevices : public TMidiInDevices {
 public:
  TMidiInDevice* Device(int) override { return nullptr; }
};

TEST(ApplicationContext, AScopeInstallsEveryServiceAndRestoresThePreviousOnes) {
  TNoDialogs dialogs;
  TRecordingPresenter messages;
  TNoMidiDevices midi;
  SApplicationContext context;
  context.moduleTypes["ScopedTestType"] = [] {
    return std::make_shared<TTestModule>(0, true, false);
  };
  context.dialogs = &dialogs;
  const TModuleDialogOpeners openers;
  context.dialogOpeners = &openers;
  context.messages = &messages;
  context.devices.midiIn = &midi;
  context.viewOptions.gridSize = 20;
  context.soundOptions.waveBuffer = 50;
  const int gridBefore = ViewOptions().gridSize;
  const int bufferBefore = SoundOptions().waveBuffer;
  {
    const TApplicationScope scope(context);
    TDokumentKlang document;
    document.ModuleList->ExecuteCommand(kCommandModuleDialog);
    EXPECT_EQ(dialogs.listsShown, 1);
    EXPECT_EQ(ModuleDialogOpeners(), &openers);
    ShowMessage(nullptr, {QStringLiteral("Fault"), QStringLiteral("shown"), TMessageIcon::Error,
                          TMessageButtons::Ok});
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(DeviceServices().midiIn, &midi);
    EXPECT_EQ(ViewOptions().gridSize, 20);
    EXPECT_EQ(SoundOptions().waveBuffer, 50);
    bool queryOnly = true;
    CreateModuleByType("ScopedTestType", queryOnly);
    EXPECT_TRUE(queryOnly);
  }
  EXPECT_EQ(ModuleDialogs(), nullptr);
  EXPECT_EQ(ModuleDialogOpeners(), nullptr);
  EXPECT_EQ(InstalledMessagePresenter(), nullptr);
  EXPECT_EQ(DeviceServices().midiIn, nullptr);
  EXPECT_EQ(ViewOptions().gridSize, gridBefore);
  EXPECT_EQ(SoundOptions().waveBuffer, bufferBefore);
}

}  // namespace
