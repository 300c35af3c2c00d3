#include "patch/dokument_klang.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <sstream>

#include "persist/text_reader.h"
#include "persist/tree_message.h"
#include "platform/text_codec.h"
#include "platform/wait_cursor.h"

namespace {

// New sounds are called "Sound1", "Sound2", ... in the order they are made.
int nextSoundNumber = 1;

}  // namespace

TDokumentKlang::TDokumentKlang()
    : CountVoices(std::make_shared<TPropInteger>(1)),
      ModuleList(std::make_shared<TModuleListeArbeiten>()),
      ViewSound(std::make_shared<TFensterKlang>()) {
  ModuleList->parent = this;
  ModuleList->refusesMacroPorts = true;
  ViewSound->parent = this;
  ViewSound->Document = this;
  ViewSound->Title->value = "Sound" + std::to_string(nextSoundNumber++);
  ModuleList->PartnerList = ViewSound->ModuleList.get();
  ViewSound->ModuleList->PartnerList = ModuleList.get();
  Add("CountVoices", CountVoices);
  Add("ModuleList", ModuleList);
  Add("ViewSound", ViewSound);
  engine_.SetHost(this);
}

TDokumentKlang::~TDokumentKlang() {
  engine_.StopSound();
  engine_.SetHost(nullptr);
}

bool TDokumentKlang::Load(const QString& path) {
  const TWaitCursor wait;
  QFile file(path);
  bool complete = false;
  if (file.open(QIODevice::ReadOnly)) {
    const QByteArray bytes = file.readAll();
    std::istringstream in(std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    complete = Read(in);
  }
  if (complete) {
    Broadcast(kTreeAfterRead, 0, this);
    ViewSound->Title->value = ToFileText(QFileInfo(path).absoluteFilePath());
    AdoptVoiceCount();
    RestartSound(false);
  }
  modified_ = false;
  hasFileName_ = true;
  return complete;
}

void TDokumentKlang::WriteSound(std::ostream& out) const {
  Write(out);
  out << text_format::kBlockEnd << '\n';
}

bool TDokumentKlang::Save(const QString& path) {
  const TWaitCursor wait;
  Broadcast(kTreeBeforeSave, 0, this);
  std::ostringstream text;
  WriteSound(text);
  const std::string bytes = text.str();
  QSaveFile file(path);
  const bool saved = file.open(QIODevice::WriteOnly) &&
                     file.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
                         static_cast<qint64>(bytes.size()) &&
                     file.commit();
  if (!saved) return false;
  ViewSound->Title->value = ToFileText(QFileInfo(path).absoluteFilePath());
  modified_ = false;
  hasFileName_ = true;
  return true;
}

void TDokumentKlang::CollectModules(int voices, std::vector<TEngineModule*>& modules) {
  ModuleList->Broadcast(kTreeEngine, voices, &modules);
}

void TDokumentKlang::RevalidatePatch() {
  ModuleList->Broadcast(kTreeClearActive, 0, this);
  ModuleList->Broadcast(kTreeMarkActive, 0, this);
}

void TDokumentKlang::VoiceCountChanged(int voices) {
  CountVoices->value = voices;
  MarkChanged();
}

void TDokumentKlang::AdoptVoiceCount() {
  CountVoices->value = std::clamp(CountVoices->value, 1, TKlangEngine::kMaxVoices);
  engine_.SetVoiceCount(CountVoices->value);
}
