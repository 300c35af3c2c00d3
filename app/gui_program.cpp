#include "app/gui_program.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "app/about_box.h"
#include "app/main_frame.h"
#include "desktop/desktop_services.h"
#include "modules/catalogue.h"
#include "patch/application_context.h"
#include "platform/file_types.h"
#include "platform/options.h"
#include "platform/paths.h"
#include "platform/real_device_services.h"
#include "views/module_dialog_table.h"

namespace {

bool HasDisplay() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && value[0] != '\0') return true;
  }
  return false;
}

// The whole catalogue with its dialogs, the sound card and the stored options; the main window
// installs its own dialogs (help, group windows) itself.
SApplicationContext ProgramContext(TRealDeviceServices& devices) {
  SApplicationContext context;
  context.moduleTypes = ModuleCatalogue();
  context.dialogOpeners = &CatalogueDialogOpeners();
  context.devices = {&devices.waveOut, &devices.waveIn, &devices.midiIn};
  LoadOptions(context.viewOptions);
  LoadOptions(context.soundOptions);
  return context;
}

}  // namespace

int RunGuiProgram(int argc, char** argv) {
  if (!HasDisplay()) {
    std::fprintf(stderr,
                 "zelmar: no display to show the editor on; render headless with "
                 "zelmar --render SOUND.zmr --out OUT.wav (see zelmar --help)\n");
    return 1;
  }
  QApplication application(argc, argv);
  QApplication::setApplicationName("zmr");
  InstallDesktopServices();
  RememberPaths();
  // Every start points the desktop's file types at the program, wherever it was moved.
  RegisterFileTypes();
  TRealDeviceServices devices;
  TApplicationScope context(ProgramContext(devices));
  TSplash splash;
  TMainFrame frame;
  splash.Finish();
  frame.show();
  TSoundSession& session = frame.Session();
  if (!session.OfferRecovery())
    session.StartWith(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString());
  return QApplication::exec();
}
