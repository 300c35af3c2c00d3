#include "tests/plugin/test_sounds.h"

#include <fstream>

#include "modules/constants.h"
#include "modules/panel_items.h"
#include "tests/modules/patch_builder.h"

namespace {

TBasisKonstanten& PanelConstant(TDokumentKlang& sound, const std::string& key, int left, int top) {
  auto& constant = Create<TBasisKonstanten>(sound, key, "ConstAnalog");
  constant.MinValue->value = 0;
  constant.MaxValue->value = 2048;
  constant.Value->value = 0;
  constant.ShowInView->value = 1;
  constant.ViewRect->Set(left, top, left + 73, top + 150);
  return constant;
}

}  // namespace

std::string KeyboardSineSound() {
  TDokumentKlang sound;
  AddKeyboardSine(sound);
  sound.CountVoices->value = 4;
  // Text as the file format holds it: Latin-1, with 0xA2 for a line feed.
  std::dynamic_pointer_cast<TModul>(sound.ModuleList->Get("Sine"))->Title->value =
      " Sinus \xE9t\xE9";
  auto note = std::make_shared<TModulText>();
  note->Text->value =
      "A sine\xA2"
      "from the keyboard";
  sound.ViewSound->ModuleList->Add("Note", note);
  return sound.SoundText();
}

std::string FaderSound() {
  TDokumentKlang sound;
  auto& a = PanelConstant(sound, "A", 200, 0);
  auto& b = PanelConstant(sound, "B", 0, 0);
  PanelConstant(sound, "C", 0, 200);
  auto& d = PanelConstant(sound, "D", 500, 100);
  auto& stereo = Create(sound, "Stereo", "SpeakerStereo");
  Wire(b, stereo, "1");
  Wire(a, stereo, "2");
  Wire(d, Create(sound, "Mono", "Speaker"));
  return sound.SoundText();
}

std::filesystem::path WriteSound(const std::filesystem::path& folder, const std::string& name,
                                 const std::string& text) {
  const std::filesystem::path path = folder / name;
  std::ofstream(path, std::ios::binary) << text;
  return path;
}
