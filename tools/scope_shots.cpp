// Writes pictures of the scope window with a captured signal (a sine shaped by a slower
// triangle, rendered offline) and of its grid dialog, for looking at them:
// scope_shots WINDOW.png GRID.png
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <cstdio>

#include "engine/offline_runner.h"
#include "modules/catalogue.h"
#include "modules/constants.h"
#include "modules/scope.h"
#include "patch/application_context.h"
#include "patch/dokument_klang.h"
#include "patch/module_list.h"
#include "views/scope_grid_dialog.h"
#include "views/scope_window.h"

namespace {

TModulArbeiten& Module(TDokumentKlang& document, const char* type, const char* key) {
  document.ModuleList->CreateModuleAt(type, key, 0, 0, false);
  return dynamic_cast<TModulArbeiten&>(*document.ModuleList->Get(key));
}

void Wire(TModulArbeiten& from, TModulArbeiten& to, const char* input) {
  to.InputList->Input(input)->Connect(from.OutputList->Output("1"), false);
}

void SetValue(TModulArbeiten& module, std::int32_t value) {
  dynamic_cast<TBasisKonstanten&>(module).Value->value = value;
}

// A 12 Hz sine whose amplitude a 2 Hz triangle sweeps, one second of it captured.
void Capture(TDokumentKlang& document, TAusgabeSehen& scope) {
  TModulArbeiten& level = Module(document, "ConstAnalog", "level");
  TModulArbeiten& slow = Module(document, "ConstFrequenz", "slow");
  TModulArbeiten& fast = Module(document, "ConstFrequenz", "fast");
  TModulArbeiten& sweep = Module(document, "MonoTriangle", "sweep");
  TModulArbeiten& tone = Module(document, "MonoSine", "tone");
  SetValue(level, 2048);
  SetValue(slow, 2 * 1024);
  SetValue(fast, 12 * 1024);
  Wire(level, sweep, "1");
  Wire(slow, sweep, "2");
  Wire(sweep, tone, "1");
  Wire(fast, tone, "2");
  Wire(tone, scope, "1");
  document.RestartSound(false);
  TOfflineRunner runner(document.Engine());
  if (runner.Start() != 0) return;
  runner.Run(kEngineSampleRate + 100);
}

bool Save(QWidget& widget, const char* path) {
  for (int i = 0; i < 5; ++i)
    QApplication::processEvents();
  return widget.grab().save(QString::fromLocal8Bit(path));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: scope_shots WINDOW.png GRID.png\n");
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  SApplicationContext context;
  context.moduleTypes = ModuleCatalogue();
  const TApplicationScope scope(context);
  TDokumentKlang document;
  auto& look = dynamic_cast<TAusgabeSehen&>(Module(document, "OutputLook", "look"));
  Capture(document, look);
  TViewWave window(look);
  window.resize(560, 300);
  window.show();
  bool saved = Save(window, argv[1]);
  TWaveFormEigenschaften grid(look, window);
  grid.show();
  saved = Save(grid, argv[2]) && saved;
  return saved ? 0 : 1;
}
