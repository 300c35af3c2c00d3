#include "patch/dokument_klang.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <span>
#include <sstream>

#include "persist/output_file.h"
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

bool TDokumentKlang::Load(const QString& path, std::string& fault) {
  const TWaitCursor wait;
  QFile file(path);
  bool complete = false;
  if (file.open(QIODevice::ReadOnly)) {
    const QByteArray bytes = file.readAll();
    complete =
        ReadText(std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())), fault);
  } else {
    fault = "it cannot be opened";
  }
  if (complete) ViewSound->Title->value = ToFileText(QFileInfo(path).absoluteFilePath());
  modified_ = false;
  hasFileName_ = true;
  return complete;
}

bool TDokumentKlang::Restore(const std::string& text, const QString& originalPath,
                             std::string& fault) {
  const TWaitCursor wait;
  const bool complete = ReadText(text, fault);
  hasFileName_ = !originalPath.isEmpty();
  if (hasFileName_) ViewSound->Title->value = ToFileText(originalPath);
  MarkChanged();
  return complete;
}

bool TDokumentKlang::ReadText(const std::string& text, std::string& fault) {
  std::istringstream in(text);
  if (!Read(in)) {
    fault = text_format::DescribeReadStop(in, text);
    return false;
  }
  Broadcast(kTreeAfterRead, 0, this);
  AdoptVoiceCount();
  RestartSound(false);
  return true;
}

void TDokumentKlang::WriteSound(std::ostream& out) const {
  Write(out);
  out << text_format::kBlockEnd << '\n';
}

bool TDokumentKlang::Save(const QString& path) {
  const TWaitCursor wait;
  const std::string bytes = SoundText();
  std::string error;
  if (!WriteOutputFile(QFile::encodeName(path).toStdString(), std::as_bytes(std::span(bytes)),
                       error)) {
    return false;
  }
  ViewSound->Title->value = ToFileText(QFileInfo(path).absoluteFilePath());
  modified_ = false;
  hasFileName_ = true;
  return true;
}

std::string TDokumentKlang::SoundText() {
  Broadcast(kTreeBeforeSave, 0, this);
  std::ostringstream text;
  WriteSound(text);
  return text.str();
}

void TDokumentKlang::PollEngine() {
  engine_.PollNews();
  ModuleList->Broadcast(kTreeEngineNews, 0, this);
}

void TDokumentKlang::CollectModules(int voices, std::vector<TEngineModule*>& modules) {
  ModuleList->Broadcast(kTreeEngine, voices, &modules);
}

void TDokumentKlang::RevalidatePatch() {
  ModuleList->Broadcast(kTreeClearActive, 0, this);
  ModuleList->Broadcast(kTreeMarkActive, 0, this);
  ModuleList->Broadcast(kTreeActiveSettled, 0, this);
}

void TDokumentKlang::VoiceCountChanged(int voices) {
  CountVoices->value = voices;
  MarkChanged();
}

void TDokumentKlang::AdoptVoiceCount() {
  CountVoices->value = std::clamp(CountVoices->value, 1, TKlangEngine::kMaxVoices);
  engine_.SetVoiceCount(CountVoices->value);
}

TDokumentKlang* FindDocument(const TPropTypListChild& node) {
  return node.FindAncestor<TDokumentKlang>();
}
