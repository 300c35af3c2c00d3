// The numbered edit commands of a module list and their menu states. Commands that change the
// patch stop a playing sound first and start it again afterwards.
#include <string>

#include "patch/document_host.h"
#include "patch/modul_arbeiten.h"
#include "patch/module_actions.h"
#include "patch/module_dialogs.h"
#include "patch/module_list.h"
#include "platform/clipboard.h"
#include "platform/wait_cursor.h"

namespace {

// "Select all" covers every position a module can take.
constexpr TRect kEverywhere{-30000, -30000, 16777215, 16777215};

bool NeedsEngineStop(int code) {
  return code == kCommandRedo || code == kCommandUndo || code == kCommandCut ||
         code == kCommandDelete || code == kCommandPaste;
}

}  // namespace

TRPointerMacroAction TModuleListe::DeleteModules(const TPropTypList& modules, bool prepareOnly) {
  if (modules.Children().empty()) return nullptr;
  const TWaitCursor wait;
  auto deletion = std::make_shared<TMacroAction>("delete modules");
  for (const auto& [key, module] : modules.Children()) {
    deletion->Append(std::make_shared<TActionDeleteModul>(this, key));
  }
  if (prepareOnly) return deletion;
  deletion->Execute();
  ActionManager.RecordAction(deletion);
  return nullptr;
}

int TModuleListe::QueryCommand(int code, std::string& caption) {
  switch (code) {
    case kCommandRedo:
      caption = ActionManager.RedoText();
      return ActionManager.RedoCount();
    case kCommandUndo:
      caption = ActionManager.UndoText();
      return ActionManager.UndoCount();
    case kCommandSelectAll:
      return Children().empty() ? 0 : 1;
    default:
      return 0;
  }
}

void TModuleListe::ExecuteCommand(int code, const std::string& argument) {
  TDocumentHost* document = NeedsEngineStop(code) ? FindAncestor<TDocumentHost>() : nullptr;
  const bool wasPlaying = document != nullptr && document->IsStarted();
  const bool stopped = wasPlaying && document->StopSound() == 0;
  TPropTypList marked;
  switch (code) {
    case kCommandRedo:
      ActionManager.Redo();
      break;
    case kCommandUndo:
      ActionManager.Undo();
      break;
    case kCommandCut:
      CopyToClipboard();
      [[fallthrough]];
    case kCommandDelete:
      CollectMarked(marked, 0);
      DeleteModules(marked, false);
      break;
    case kCommandCopy:
      CopyToClipboard();
      break;
    case kCommandSelectAll:
      MarkInRect(kEverywhere.left, kEverywhere.top, kEverywhere.right, kEverywhere.bottom, false);
      break;
    case kCommandPaste:
      PasteFromClipboard();
      break;
    case kCommandAlignGrid:
    case kCommandAlignLeft:
    case kCommandAlignTop:
    case kCommandAlignRight:
    case kCommandAlignBottom:
      Align(static_cast<TAlignMode>(code - kCommandAlignGrid));
      break;
    case kCommandSaveGroup:
      SaveMarkedAsGroup(argument);
      break;
    case kCommandModuleDialog:
      if (TModuleDialogs* dialogs = ModuleDialogs()) dialogs->ShowModuleList(*this);
      break;
    default:
      break;
  }
  if (document == nullptr) return;
  document->RestartSound(false);
  if (stopped) {
    document->StartSound();
    NotifyState();
  }
}

TRPointerMacroAction TModuleListeArbeiten::DeleteModules(const TPropTypList& modules,
                                                         bool prepareOnly) {
  auto deletion = std::make_shared<TMacroAction>("delete modules");
  for (TModul* module : Modules(modules)) {
    if (auto* working = dynamic_cast<TModulArbeiten*>(module)) {
      if (TRPointerMacroAction wires = working->OutputList->DisconnectAll())
        deletion->Append(wires);
    }
  }
  if (TRPointerMacroAction removal = TModuleListe::DeleteModules(modules, true)) {
    deletion->Append(removal);
  }
  if (prepareOnly) return deletion;
  deletion->Execute();
  ActionManager.RecordAction(deletion);
  return nullptr;
}

int TModuleListeArbeiten::QueryCommand(int code, std::string& caption) {
  switch (code) {
    case kCommandCut:
    case kCommandCopy:
    case kCommandDelete:
    case kCommandSaveGroup:
      return MarkedCount() > 0 ? 1 : 0;
    case kCommandPaste:
      return Canvas != nullptr && Clipboard().HasData() ? 1 : 0;
    case kQueryModuleCount:
      return static_cast<int>(Modules().size());
    case kQueryMarkedCount:
      return MarkedCount();
    case kCommandModuleDialog:
      return 1;
    default:
      return TModuleListe::QueryCommand(code, caption);
  }
}
