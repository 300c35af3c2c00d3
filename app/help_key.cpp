#include "app/help_key.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QShortcut>

#include "app/editor_window.h"
#include "app/help_window.h"
#include "patch/modul_bild.h"
#include "patch/module_list.h"

namespace {

TModulBild* FocusedModule(const QMdiArea& editors) {
  QMdiSubWindow* child = editors.currentSubWindow();
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

void ShowFocusedHelp(const QMdiArea& editors) {
  if (TModulBild* module = FocusedModule(editors)) {
    module->ShowHelp();
  } else {
    ShowHelpTopic(0);
  }
}

void InstallHelpKey(QWidget& window, const QMdiArea& editors) {
  auto* key = new QShortcut(QKeySequence::HelpContents, &window);
  QObject::connect(key, &QShortcut::activated, &window, [&editors] { ShowFocusedHelp(editors); });
}
