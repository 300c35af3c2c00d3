// Modules as text: copying to and pasting from the clipboard, saving the selection as a group
// file and inserting a group file.
#include <fstream>
#include <iterator>
#include <span>
#include <sstream>

#include "patch/document_host.h"
#include "patch/module_actions.h"
#include "patch/module_list.h"
#include "persist/output_file.h"
#include "persist/text_reader.h"
#include "persist/tree_message.h"
#include "platform/clipboard.h"
#include "platform/message_box.h"
#include "platform/wait_cursor.h"

namespace {

// Pasted modules appear this far right of and below the modules they were copied from.
constexpr int kPasteShift = 10;
constexpr char kPasteKeyBase[] = "Clpb";

}  // namespace

bool TModuleListe::InsertGroupFile(const std::string& fileName, int x, int y, std::string& error) {
  std::ifstream file(fileName, std::ios::binary);
  if (!file) {
    error = fileName + ": the group file cannot be opened";
    return false;
  }
  const std::string text{std::istreambuf_iterator<char>(file), {}};
  std::istringstream in(text);
  auto group = std::make_shared<TMacroAction>("create group");
  const int pasted = Paste(in, group.get());
  if (pasted <= 0) {
    error = fileName + ": not a readable group file (" +
            (pasted < 0 ? text_format::DescribeReadStop(in, text) : "it holds no modules") + ")";
    return false;
  }
  const TRect bounds = BoundsOfMarked(true);
  TPropTypList marked;
  CollectMarked(marked, 0);
  auto placement = std::make_shared<TMacroAction>("move modules");
  RecordMove(marked, x - bounds.left, y - bounds.top, placement.get());
  placement->Execute();
  group->Append(placement);
  ActionManager.RecordAction(group);
  return true;
}

int TModuleListe::Paste(std::istream& in, TMacroAction* compound) {
  const TWaitCursor wait;
  TRPointer<TModuleListe> pasted = CreateEmpty();
  pasted->parent = parent;
  if (!pasted->Read(in)) return -1;
  if (pasted->Children().empty()) return 0;
  pasted->Broadcast(kTreePasting, 0, nullptr);
  RenameCollisions(*pasted);
  UnmarkAll();
  auto creation = compound ? nullptr : std::make_shared<TMacroAction>("create modules");
  TMacroAction& target = compound ? *compound : *creation;
  std::vector<std::string> added;
  for (const auto& [key, child] : pasted->Children()) {
    auto* module = dynamic_cast<TModul*>(child.get());
    if (module == nullptr) continue;
    const TRect r = module->Rect->GetRect();
    module->Rect->Set(r.left + kPasteShift, r.top + kPasteShift, r.right + kPasteShift,
                      r.bottom + kPasteShift);
    module->Marked->value = 1;
    Adopt(key, std::static_pointer_cast<TModul>(child));
    target.Append(std::make_shared<TActionCreateExistModul>(this, key));
    added.push_back(key);
  }
  for (const std::string& key : added)
    ShowAdded(key);
  pasted->Broadcast(kTreeAfterRead, 0, FindAncestor<TDocumentHost>());
  if (creation) ActionManager.RecordAction(creation);
  return static_cast<int>(added.size());
}

// Every pasted module whose key is taken here gets the next free "Clpb<n>".
void TModuleListe::RenameCollisions(TModuleListe& pasted) {
  int n = 1;
  for (bool renamed = true; renamed;) {
    renamed = false;
    for (const auto& [key, child] : pasted.Children()) {
      if (!Has(key)) continue;
      std::string candidate;
      do {
        candidate = kPasteKeyBase + std::to_string(n++);
      } while (Has(candidate) || pasted.Has(candidate));
      pasted.RenameModule(std::string(key), candidate);
      renamed = true;
      break;
    }
  }
}

bool TModuleListe::CopyToStream(std::ostream& out) const {
  TPropTypList marked;
  CollectMarked(marked, 0);
  if (marked.Children().empty()) return false;
  marked.Write(out);
  out << text_format::kBlockEnd << '\n';
  return true;
}

bool TModuleListe::CopyToClipboard() {
  std::ostringstream text;
  const bool copied = CopyToStream(text) && Clipboard().WriteData(text.str());
  NotifyState();
  return copied;
}

void TModuleListe::PasteFromClipboard() {
  std::string text;
  if (!Clipboard().ReadData(text)) return;
  std::istringstream in(text);
  if (Paste(in, nullptr) >= 0) return;
  ShowMessage(nullptr, {QStringLiteral("Fault"),
                        QStringLiteral("The clipboard text is not readable (%1).")
                            .arg(QString::fromStdString(text_format::DescribeReadStop(in, text))),
                        TMessageIcon::Error, TMessageButtons::Ok});
}

void TModuleListe::SaveMarkedAsGroup(const std::string& fileName) {
  std::ostringstream text;
  if (!CopyToStream(text)) return;
  const std::string bytes = text.str();
  std::string error;
  if (!WriteOutputFile(fileName, std::as_bytes(std::span(bytes)), error)) {
    ShowMessage(
        nullptr,
        {QStringLiteral("Fault"),
         QStringLiteral("Can't write the group file %1 !").arg(QString::fromStdString(fileName)),
         TMessageIcon::Error, TMessageButtons::Ok});
  }
}
