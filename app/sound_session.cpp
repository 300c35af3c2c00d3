#include "app/sound_session.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QScopedValueRollback>

#include "patch/dokument_klang.h"
#include "persist/tree_message.h"
#include "platform/engine_options.h"
#include "platform/message_box.h"
#include "platform/options.h"
#include "platform/text_codec.h"
#include "platform/wait_cursor.h"

namespace {

// Autosave is looked at on every seventh tick.
constexpr int kTicksPerAutosaveCheck = 6;
constexpr qint64 kMsPerMinute = 60000;
constexpr auto kEngineOverloaded = static_cast<QEvent::Type>(kMessageEngineOverloaded);

QString Quoted(const QString& text) { return '"' + text + '"'; }

void Tell(QWidget* parent, const QString& caption, const QString& text, TMessageIcon icon) {
  ShowMessage(parent, {caption, text, icon, TMessageButtons::Ok});
}

}  // namespace

TSoundSession::TSoundSession(TSoundSessionOwner& owner, QWidget* messageParent)
    : owner_(owner), messageParent_(messageParent) {}

TSoundSession::~TSoundSession() = default;

QString TSoundSession::Title() const {
  return document_ ? FromFileText(document_->ViewSound->Title->value) : QString();
}

void TSoundSession::StartWith(const QString& argument) {
  if (argument.toUpper() == "STANDARD") return;
  if (!argument.isEmpty() && QFileInfo::exists(argument)) {
    OpenFile(argument);
    return;
  }
  SFileOptions& options = FileOptions();
  const QString remembered = options.fileStartWindow;
  if (remembered.isEmpty()) return;
  // While the start document opens the stored option is empty, so a sound that crashes the
  // program while opening is not opened again at the next start.
  options.fileStartWindow.clear();
  StoreOptions(options);
  if (QFileInfo::exists(remembered)) {
    OpenFile(remembered);
  } else {
    NewSound();
  }
  options.fileStartWindow = remembered;
  StoreOptions(options);
}

void TSoundSession::NewSound() {
  if (!CloseSound(true)) return;
  owner_.ShowStatus("New Sound");
  CreateDocument();
  owner_.SoundStateChanged(true, false);
  owner_.DocumentArrived(true);
}

void TSoundSession::OpenFile(const QString& path) {
  if (!QFileInfo::exists(path)) {
    Tell(messageParent_, "Load file", "File " + Quoted(path + ' ') + " not found !",
         TMessageIcon::Question);
    return;
  }
  if (!CloseSound(true)) return;
  CreateDocument();
  ShowRead(document_->Load(QFileInfo(path).absoluteFilePath()),
           "File " + Quoted(path + ' ') + " unknown format !");
}

bool TSoundSession::OfferRecovery() {
  for (SLeftCopy& left : TRecoveryCopy::LeftBehind()) {
    if (!OfferCopy(left)) {
      TRecoveryCopy::Remove(left);
      continue;
    }
    if (!CloseSound(true)) return true;
    CreateDocument();
    std::string fault;
    const bool restored = document_->Restore(left.soundText, left.originalPath, fault);
    recovery_.Adopt(left);
    ShowRead(restored, "The copy of " + Quoted(left.originalPath) +
                           " is damaged: " + QString::fromStdString(fault));
    return true;
  }
  return false;
}

bool TSoundSession::OfferCopy(const SLeftCopy& left) {
  const QString sound = left.originalPath.isEmpty() ? QString("A new sound")
                                                    : "The sound " + Quoted(left.originalPath);
  const QString text = sound + " had changes that were not saved when zmr ended (" +
                       left.written.toString("yyyy-MM-dd hh:mm:ss") + ").\nRestore them ?";
  return ShowMessage(messageParent_, {"Restore Sound", text, TMessageIcon::Question,
                                      TMessageButtons::YesNo}) == TMessageAnswer::Yes;
}

void TSoundSession::CreateDocument() {
  document_ = std::make_unique<TDokumentKlang>();
  document_->Engine().SetListener(this);
}

void TSoundSession::ShowRead(bool complete, const QString& fault) {
  sinceSave_.restart();
  owner_.SoundStateChanged(true, false);
  owner_.DocumentArrived(document_->ViewSound->Visible->value != 0 || !complete);
  if (!complete) {
    Tell(messageParent_, "Load file", fault, TMessageIcon::Error);
    return;
  }
  if (SoundOptions().startAfterLoading) StartSound();
}

bool TSoundSession::SaveSound(bool askForName) {
  if (!document_) return false;
  QString name = Title();
  if (askForName || !document_->HasFileName()) name = AskFileName();
  if (name.isEmpty()) return false;
  if (!document_->Save(name)) {
    Tell(messageParent_, "Save Sound", "File " + Quoted(name) + " could not be written !",
         TMessageIcon::Error);
    return false;
  }
  sinceSave_.restart();
  if (!FileOptions().undoAfterSave) document_->Broadcast(kTreeClearHistory, 0, nullptr);
  owner_.Saved(name);
  owner_.CaptionChanged();
  return true;
}

QString TSoundSession::AskFileName() {
  const QString proposed =
      QDir(FileOptions().startOpenFolder).filePath(QFileInfo(Title()).fileName());
  QString name = owner_.AskSoundFileName(proposed);
  if (name.isEmpty()) return name;
  if (QFileInfo(name).suffix().isEmpty()) name += ".zmr";
  FileOptions().startOpenFolder = QFileInfo(name).absolutePath();
  return name;
}

bool TSoundSession::CloseSound(bool destroy) {
  if (!document_) return true;
  const QString title = Title();
  if (FileOptions().showLastWindow) FileOptions().fileStartWindow = title;
  if (document_->IsModified()) {
    const TMessageAnswer answer =
        ShowMessage(messageParent_, {"Save", "Save changes to  " + Quoted(title) + "  ?",
                                     TMessageIcon::Warning, TMessageButtons::YesNoCancel});
    // A save that was cancelled or failed keeps the sound, so that no change is lost.
    if (answer == TMessageAnswer::Yes && !SaveSound(false)) return false;
    if (answer != TMessageAnswer::Yes && answer != TMessageAnswer::No) return false;
  }
  recovery_.Discard();
  owner_.SoundStateChanged(false, false);
  if (destroy) ReleaseDocument();
  return true;
}

void TSoundSession::ReleaseDocument() {
  owner_.DocumentLeaving();
  document_.reset();
  owner_.CaptionChanged();
  owner_.SoundStateChanged(false, false);
  owner_.DocumentReleased();
}

void TSoundSession::StartSound() {
  if (!document_) return;
  const TWaitCursor wait;
  ApplySoundOptions(document_->Engine());
  switch (document_->StartSound()) {
    case TKlangEngine::kStartNoMemory:
      Tell(messageParent_, "Fault start Sound", "Can't create Memory !", TMessageIcon::None);
      return;
    case TKlangEngine::kStartNoThread:
      Tell(messageParent_, "Fault start Sound", "Can't start Thread !", TMessageIcon::None);
      return;
    default:
      owner_.SoundStateChanged(false, true);
      ShowPlayModeOnce();
  }
}

void TSoundSession::ShowPlayModeOnce() {
  const std::string& reason = document_->Engine().FallbackReason();
  if (reason == shownFallback_) return;
  shownFallback_ = reason;
  if (!reason.empty())
    owner_.ShowPlayMode(QString::fromStdString("Sound " + PlayModeText(document_->Engine())));
}

void TSoundSession::StopSound() {
  if (!document_) return;
  const TWaitCursor wait;
  if (document_->StopSound() == TKlangEngine::kStopThreadHung) {
    Tell(messageParent_, "Fault start Sound", "Can't stop Thread !", TMessageIcon::None);
    return;
  }
  owner_.SoundStateChanged(true, false);
}

void TSoundSession::RestartSound() {
  if (document_) document_->RestartSound(true);
}

void TSoundSession::Tick() {
  // An autosave that shows a message runs the event loop, and with it the owner's timer.
  if (autosaving_) return;
  if (ticks_++ > kTicksPerAutosaveCheck - 1) {
    ticks_ = 0;
    Autosave();
  }
  // What the engine thread published (an overload stop, level reports, finished captures)
  // reaches the session and the modules.
  if (document_) document_->PollEngine();
  recovery_.Follow(document_.get());
}

void TSoundSession::Autosave() {
  const SFileOptions& options = FileOptions();
  if (!options.autosave || !document_ || !document_->HasFileName()) return;
  if (sinceSave_.elapsed() <= options.autosaveTimeMin * kMsPerMinute) return;
  const QScopedValueRollback busy(autosaving_, true);
  SaveSound(false);
}

void TSoundSession::EngineOverloaded(int) {
  // Posted, so that the message shows after the tick that heard of the overload.
  QCoreApplication::postEvent(this, new QEvent(kEngineOverloaded));
}

bool TSoundSession::event(QEvent* event) {
  if (event->type() != kEngineOverloaded) return QObject::event(event);
  StopSound();
  Tell(messageParent_, "Stop Sound", "Processor usage to high !", TMessageIcon::Error);
  return true;
}
