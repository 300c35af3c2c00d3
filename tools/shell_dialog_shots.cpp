// Writes a picture of every shell dialog and of the two browser pages, for a review of how they
// look: shell_dialog_shots OUTDIR EXAMPLES. Each dialog shows every page; the module list shows a
// bundled sound, the browsers the bundled examples, the device dialogs file devices.
#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QTabWidget>
#include <QTreeWidget>
#include <cstdio>

#include "app/default_device_dialog.h"
#include "app/file_browser_page.h"
#include "app/module_list_dialog.h"
#include "app/options_file_dialog.h"
#include "app/options_sound_dialog.h"
#include "app/options_view_dialog.h"
#include "app/tool_property_dialog.h"
#include "app/tools_options_dialog.h"
#include "engine/wav_file_in_device.h"
#include "engine/wav_file_out_device.h"
#include "modules/catalogue.h"
#include "patch/application_context.h"
#include "patch/dokument_klang.h"

namespace {

QString outFolder;
int failures = 0;

void Save(QWidget& widget, const QString& name) {
  widget.show();
  for (int i = 0; i < 5; ++i)
    QApplication::processEvents();
  if (!widget.grab().toImage().save(QDir(outFolder).filePath(name + ".png"))) ++failures;
  widget.hide();
}

// One picture per page of a dialog with pages.
void SavePages(QWidget& dialog, const QString& name) {
  auto* pages = dialog.findChild<QTabWidget*>();
  for (int page = 0; page < pages->count(); ++page) {
    pages->setCurrentIndex(page);
    Save(dialog, QString("%1_%2").arg(name).arg(page + 1));
  }
}

class TShotMidiInputs : public TMidiInDevices {
 public:
  TMidiInDevice* Device(int) override { return nullptr; }
  std::vector<std::string> DeviceNames() const override {
    return {"JACK: keyboard:out", "ALSA: Midi Through Port-0", ""};
  }
};

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: shell_dialog_shots OUTDIR EXAMPLES\n");
    return 2;
  }
  outFolder = QString::fromLocal8Bit(argv[1]);
  const QString examples = QString::fromLocal8Bit(argv[2]);
  TWavFileOutDevice speaker("speaker.wav");
  TWavFileInDevice microphone("microphone.wav");
  TShotMidiInputs midi;
  SApplicationContext context;
  context.moduleTypes = ModuleCatalogue();
  context.devices = {&speaker, &microphone, &midi};
  const TApplicationScope scope(context);

  SViewOptions view;
  SFileOptions file;
  file.fileStartWindow = "/home/user/sounds/fm_bell.zmr";
  SSoundOptions sound;
  sound.midiDefaultDevice = 1;
  TOptionsViewDialog viewDialog(view);
  SavePages(viewDialog, "options_view");
  TOptionsFileDialog fileDialog(file);
  SavePages(fileDialog, "options_file");
  TOptionsSoundDialog soundDialog(sound);
  SavePages(soundDialog, "options_sound");
  for (const auto& [kind, name] : {std::pair{TDeviceKind::WaveOut, "device_wave_out"},
                                   std::pair{TDeviceKind::WaveIn, "device_wave_in"},
                                   std::pair{TDeviceKind::MidiIn, "device_midi_in"}}) {
    TDefaultDeviceDialog dialog(kind, sound, nullptr);
    Save(dialog, name);
  }

  TToolList tools = {{"Wave Editor", "--new", "/usr/bin/audacity", "/home/user/"},
                     {"Terminal", "", "/usr/bin/x-terminal-emulator", ""}};
  TToolsOptionsDialog toolsDialog(tools);
  toolsDialog.List().setCurrentRow(0);
  Save(toolsDialog, "tools_options");
  TToolPropertyDialog propertyDialog(tools[0]);
  Save(propertyDialog, "tool_property");

  TDokumentKlang document;
  if (!document.Load(examples + "/fm_bell.zmr")) ++failures;
  TModuleListDialog listDialog(*document.ModuleList);
  listDialog.List().item(1)->setSelected(true);
  Save(listDialog, "module_list");

  for (const auto* kind : {&SoundBrowserKind(), &GroupBrowserKind()}) {
    TFileBrowserPage page(*kind, nullptr);
    page.Browser().AddFolder(examples);
    page.Tree().setCurrentItem(page.Tree().topLevelItem(0)->child(0));
    page.resize(260, 420);
    Save(page, "browser_" + kind->section.toLower());
  }
  return failures == 0 ? 0 : 1;
}
