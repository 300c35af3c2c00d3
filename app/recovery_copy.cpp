#include "app/recovery_copy.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <span>
#include <sstream>

#include "patch/dokument_klang.h"
#include "persist/output_file.h"
#include "platform/paths.h"
#include "platform/text_codec.h"

namespace {

// A change is in the copy at most this long after it was made, and a busy editor does not
// write the whole sound more often.
constexpr qint64 kCopyIntervalMs = 5000;
constexpr char kHeader[] = "ZelmarRecovery ";

QString LockPath(const QString& copyPath) {
  return QFileInfo(copyPath).path() + '/' + QFileInfo(copyPath).completeBaseName() + ".lock";
}

std::shared_ptr<QLockFile> TakeLock(const QString& copyPath) {
  auto lock = std::make_shared<QLockFile>(LockPath(copyPath));
  // Only a dead owner frees a lock; age alone must not, or a long session would lose its copy.
  lock->setStaleLockTime(0);
  if (!lock->tryLock(0)) return nullptr;
  return lock;
}

// The header names the sound's file with every byte of its name kept, line breaks included.
std::string Header(const TDokumentKlang& document) {
  QByteArray name;
  if (document.HasFileName()) {
    name = QFile::encodeName(FromFileText(document.ViewSound->Title->value)).toPercentEncoding();
  }
  return kHeader + name.toStdString() + '\n';
}

// False when `bytes` are not a recovery copy.
bool ReadCopy(const QByteArray& bytes, SLeftCopy& left) {
  const qsizetype lineEnd = bytes.indexOf('\n');
  if (!bytes.startsWith(kHeader) || lineEnd < 0) return false;
  const QByteArray name = bytes.mid(sizeof kHeader - 1, lineEnd - qsizetype(sizeof kHeader - 1));
  left.originalPath = QFile::decodeName(QByteArray::fromPercentEncoding(name));
  left.soundText.assign(bytes.constData() + lineEnd + 1,
                        static_cast<std::size_t>(bytes.size() - lineEnd - 1));
  return true;
}

}  // namespace

QString TRecoveryCopy::Folder() { return QDir(UserDataFolder()).filePath("recovery"); }

void TRecoveryCopy::Follow(TDokumentKlang* document) {
  if (document == nullptr || !document->IsModified()) {
    Discard();
    return;
  }
  if (document == document_ && document->ChangeCount() == copiedChanges_) return;
  if (sinceCopy_.isValid() && sinceCopy_.elapsed() < kCopyIntervalMs) return;
  sinceCopy_.restart();
  Write(*document);
}

bool TRecoveryCopy::Write(TDokumentKlang& document) {
  if (!lock_) {
    if (!QDir().mkpath(Folder())) return false;
    const QString name = QString("%1-%2.zmr")
                             .arg(QCoreApplication::applicationPid())
                             .arg(QDateTime::currentMSecsSinceEpoch());
    path_ = QDir(Folder()).filePath(name);
    lock_ = TakeLock(path_);
    if (!lock_) return false;
  }
  // Written as it stands, without the before-save notice, so that the editor is not disturbed.
  std::ostringstream text;
  text << Header(document);
  document.WriteSound(text);
  const std::string bytes = text.str();
  std::string error;
  if (!WriteOutputFile(QFile::encodeName(path_).toStdString(), std::as_bytes(std::span(bytes)),
                       error)) {
    return false;
  }
  document_ = &document;
  copiedChanges_ = document.ChangeCount();
  return true;
}

void TRecoveryCopy::Discard() {
  if (lock_) QFile::remove(path_);
  lock_.reset();
  path_.clear();
  document_ = nullptr;
  sinceCopy_.invalidate();
}

void TRecoveryCopy::Adopt(SLeftCopy& left) {
  Discard();
  path_ = left.path;
  lock_ = std::move(left.lock);
}

std::vector<SLeftCopy> TRecoveryCopy::LeftBehind() {
  std::vector<SLeftCopy> copies;
  const QDir folder(Folder());
  for (const QFileInfo& file : folder.entryInfoList({"*.zmr"}, QDir::Files)) {
    SLeftCopy left{file.filePath(), TakeLock(file.filePath()), {}, file.lastModified(), {}};
    QFile copy(left.path);
    if (!left.lock || !copy.open(QIODevice::ReadOnly) || !ReadCopy(copy.readAll(), left)) {
      continue;
    }
    copies.push_back(std::move(left));
  }
  std::ranges::sort(copies,
                    [](const SLeftCopy& a, const SLeftCopy& b) { return a.written > b.written; });
  return copies;
}

void TRecoveryCopy::Remove(SLeftCopy& left) {
  QFile::remove(left.path);
  left.lock.reset();
}
