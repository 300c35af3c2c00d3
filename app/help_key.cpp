#include "app/help_key.h"

#include <QMdiSubWindow>
#include <QShortcut>

#include "app/editor_window.h"
#include "app/help_window.h"
#include "app/main_frame.h"
#include "patch/modul_bild.h"
#include "patch/module_list.h"

namespace {

TModulBild* FocusedModule(const TMainFrame& frame) {
  QMdiSubWindow* child = frame.Area().currentSubWindow();
  auto* editor = child != nullptr ? qobject_cast<TEditorWindow*>(child->widget()) : nullptr;
  const TModuleListe* list = editor != nullptr ? editor->FrontList() : nullptr;
  if (list == nullptr || list->MarkedCount() != 1) return nullptr;
  for (const auto& [key, module] : list->Children()) {
    auto* pictured = dynamic_cast<TModulBild*>(module.get());
    if (pictured != nullptr && pictured->IsMarked()) return pictured;
  }
  return nullptr;
}

}  // namespace

void ShowFocusedHelp(TMainFrame& frame) {
  if (TModulBild* module = FocusedModule(frame)) {
    module->ShowHelp();
  } else {
    ShowHelpTopic(0);
  }
}

void InstallHelpKey(TMainFrame& frame) {
  auto* key = new QShortcut(QKeySequence::HelpContents, &frame);
  QObject::connect(key, &QShortcut::activated, &frame, [&frame] { ShowFocusedHelp(frame); });
}
