// Writes a picture of every module dialog, each opened by ShowProperties on a module of a test
// sound with its default values, for looking at the dialogs: dialog_shots OUTDIR
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <cstdio>
#include <string>

#include "modules/catalogue.h"
#include "modules/module_dialogs_view.h"
#include "patch/application_context.h"
#include "patch/dokument_klang.h"
#include "patch/modul_bild.h"
#include "patch/module_dialog_view.h"
#include "patch/module_list.h"

namespace {

struct SShot {
  const char* type;
  const char* picture;
};

// One module per dialog; kinds that share a dialog appear once.
constexpr SShot kShots[] = {
    {"MonoSquare", "dialog_name"},
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
  const TApplicationScope scope(context);
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  int failed = 0;
  for (const SShot& shot : kShots) {
    if (Shoot(shot, folder)) continue;
    std::fprintf(stderr, "dialog_shots: no picture of the dialog of %s\n", shot.type);
    ++failed;
  }
  return failed == 0 ? 0 : 1;
}
