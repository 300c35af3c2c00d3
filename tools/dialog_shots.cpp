// Writes a picture of every module dialog, each opened by ShowProperties on a module of a test
// sound with its default values, for looking at the dialogs: dialog_shots OUTDIR
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <array>
#include <cstdio>
#include <string>

#include "cli/render_devices.h"
#include "modules/catalogue.h"
#include "patch/application_context.h"
#include "patch/dokument_klang.h"
#include "patch/modul_bild.h"
#include "patch/module_list.h"
#include "views/module_dialog.h"
#include "views/module_dialog_table.h"

namespace {

struct SShot {
  const char* type;
  const char* picture;
};

// One module per dialog; kinds that share a dialog appear once.
constexpr SShot kShots[] = {
    {"MonoSquare", "dialog_name"},
    {"ConstAnalog", "dialog_constant_audio"},
    {"ConstFrequenz", "dialog_constant_frequency"},
    {"MonoSine", "dialog_start_random"},
    {"MonoWavetable", "dialog_wavetable"},
    {"MonoAddierer", "dialog_adder"},
    {"MonoResolution", "dialog_resolution"},
    {"MidiKey", "dialog_keyboard"},
    {"MidiPitch", "dialog_max_value"},
    {"MonoDelay", "dialog_delay"},
    {"Speaker", "dialog_speaker"},
    {"Microphon", "dialog_microphone"},
    {"MidiIn", "dialog_midi_in"},
    {"VolumeWork", "dialog_volume_view"},
};

// MIDI inputs named as a real service names its ports, for the MIDI input window's list.
class TNamedMidiIn : public TMidiInDevices {
 public:
  TMidiInDevice* Device(int index) override {
    return index == 0 || index == 1 ? &ports_[static_cast<std::size_t>(index)] : nullptr;
  }
  std::vector<std::string> DeviceNames() const override {
    return {"ALSA: Midi Through Port-0", "ALSA: USB Keyboard"};
  }

 private:
  std::array<TMidiInFileDevice, 2> ports_{TMidiInFileDevice({}), TMidiInFileDevice({})};
};

// Opens the dialog of a fresh `shot.type` module and saves it as it first shows; false when no
// dialog opened or the picture could not be written.
bool Shoot(const SShot& shot, const QDir& folder) {
  TDokumentKlang document;
  document.ModuleList->CreateModuleAt(shot.type, "shot", 40, 40, false);
  auto* module = dynamic_cast<TModulBild*>(document.ModuleList->Get("shot").get());
  if (module == nullptr) return false;
  bool saved = false;
  SetModalRunner([&](QDialog& form) {
    if (saved) return int(QDialog::Rejected);
    form.show();
    QApplication::processEvents();
    saved = form.grab().save(folder.filePath(QString::fromLatin1(shot.picture) + ".png"));
    form.hide();
    return int(QDialog::Rejected);
  });
  module->ShowProperties();
  SetModalRunner({});
  return saved;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: dialog_shots OUTDIR\n");
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  SApplicationContext context;
  context.moduleTypes = ModuleCatalogue();
  context.dialogOpeners = &CatalogueDialogOpeners();
  // The device dialogs list the render's file devices.
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  TRenderWaveOut waveOut({folder.filePath("speakers.wav").toStdString(),
                          folder.filePath("headphones.wav").toStdString()});
  TWavFileInDevice waveIn({});
  TNamedMidiIn midiIn;
  context.devices = {&waveOut, &waveIn, &midiIn};
  const TApplicationScope scope(context);
  int failed = 0;
  for (const SShot& shot : kShots) {
    if (Shoot(shot, folder)) continue;
    std::fprintf(stderr, "dialog_shots: no picture of the dialog of %s\n", shot.type);
    ++failed;
  }
  return failed == 0 ? 0 : 1;
}
