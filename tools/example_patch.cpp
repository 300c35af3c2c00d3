#include "tools/example_patch.h"

#include <QString>
#include <stdexcept>

#include "modules/panel_items.h"
#include "patch/headless_canvas.h"

namespace {

// Size of the text note on the Panel tab.
constexpr int kNoteWidth = 420;
constexpr int kNoteHeight = 190;

// Shared by every list the tool shows; it owns none of the views it makes.
THeadlessCanvas& Canvas() {
  static THeadlessCanvas canvas;
  return canvas;
}

}  // namespace

TExampleList::TExampleList(TModuleListeArbeiten& list) : list(list) {
  list.SetView(&Canvas(), kPanelEditable);
}

TModulArbeiten& TExampleList::Add(const std::string& typeName, const std::string& key,
                                  const std::string& title, int x, int y) {
  list.CreateModuleAt(typeName, key, x, y, false);
  auto* module = dynamic_cast<TModulArbeiten*>(list.Get(key).get());
  if (module == nullptr) throw std::logic_error("cannot place " + typeName + " as " + key);
  module->Title->value = title;
  module->SetMarked(false);
  return *module;
}

TBasisKonstanten& TExampleList::Constant(const std::string& typeName, const std::string& key,
                                         const std::string& title, std::int32_t lower,
                                         std::int32_t value, std::int32_t upper, int x, int y) {
  auto& constant = Add<TBasisKonstanten>(typeName, key, title, x, y);
  constant.MinValue->value = lower;
  constant.MaxValue->value = upper;
  constant.Value->value = value;
  constant.ShowInView->value = 0;
  constant.ShowOnPanel(false);
  return constant;
}

void TExampleList::Wire(TModulArbeiten& from, TModulArbeiten& to, const std::string& input,
                        const std::string& output) {
  TEingang* target = to.InputList->Input(input);
  TAusgang* source = from.OutputList->Output(output);
  if (target == nullptr || source == nullptr || !target->IsCompatible(*source)) {
    throw std::logic_error("cannot wire " + to.Title->value + " input " + input);
  }
  target->Connect(source, false);
}

TExampleSound::TExampleSound(int voices, const std::string& note)
    : structure_(*document.ModuleList) {
  document.SetVoiceCount(voices);
  TModuleListe& panel = *document.ViewSound->ModuleList;
  panel.SetView(&Canvas(), kPanelEditable);
  panel.CreateModuleAt("ViewText", "Note", 10, 10, false);
  auto& text = dynamic_cast<TModulText&>(*panel.Get("Note"));
  text.Title->value = " About this sound";
  text.Rect->Set(10, 10, 10 + kNoteWidth, 10 + kNoteHeight);
  text.SetText(note);
  text.SetMarked(false);
  // The Panel tab is in front when the sound opens, so the note is the first thing seen.
  document.ViewSound->ActiveWindow->value = 0;
}

TExampleList TExampleSound::MacroAt(const std::string& key, const std::string& title, int x,
                                    int y) {
  auto& macro = structure_.Add<TModulKomponent>("Modul", key, title, x, y);
  macro.Window->Title->value = title;
  return TExampleList(*macro.Inside);
}

void TExampleSound::ShowFader(TBasisKonstanten& constant, int x, int y) {
  constant.ShowInView->value = 1;
  constant.ShowOnPanel(true);
  if (TModulSchieber* fader = constant.Fader()) fader->Rect->MoveTo(x, y);
}

void TExampleSound::MarkOnly(const std::vector<const char*>& keys) {
  document.ModuleList->UnmarkAll();
  for (const char* key : keys)
    dynamic_cast<TModul&>(*document.ModuleList->Get(key)).SetMarked(true);
}

bool TExampleSound::Save(const std::filesystem::path& path) {
  document.ModuleList->UnmarkAll();
  document.RevalidatePatch();
  // The window title the program shows once the sound has its file name.
  document.ViewSound->Title->value = path.filename().string();
  return document.Save(QString::fromStdString(path.string()));
}

bool TExampleSound::SaveGroup(const std::filesystem::path& path) {
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
  document.ModuleList->ExecuteCommand(kCommandSaveGroup, path.string());
  return std::filesystem::exists(path);
}
