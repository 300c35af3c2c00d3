// The recovery copy of the open sound. While the sound has changes that are not saved, a copy of
// it goes to the user's data folder a few seconds after a change, so that a crash or a kill
// loses little; it never goes over the sound's own file. Each running program keeps its own copy
// and holds a lock beside it while it runs, so a copy whose lock is free was left behind by a
// program that ended without closing its sound. The copy's first line names the sound's file,
// so that a restored sound saves to its own file and no other.
#pragma once

#include <QDateTime>
#include <QElapsedTimer>
#include <QLockFile>
#include <QString>
#include <memory>
#include <string>
#include <vector>

class TDokumentKlang;

// A copy left behind, locked by this program while it is looked at.
struct SLeftCopy {
  QString path;
  std::shared_ptr<QLockFile> lock;
  QString originalPath;  // empty: the sound never had a file
  QDateTime written;
  std::string soundText;
};

class TRecoveryCopy {
 public:
  // Writes the copy when `document` changed since the last copy and no copy was written in the
  // last seconds; removes the copy when there is no document or nothing is unsaved.
  void Follow(TDokumentKlang* document);
  // Removes the copy: the sound was closed, saved or its changes thrown away.
  void Discard();
  // Makes a restored copy this program's own, so that it stays until the sound is closed.
  void Adopt(SLeftCopy& left);
  const QString& Path() const { return path_; }

  // The copies that programs left behind, newest first; each stays locked until it is adopted,
  // removed or released.
  static std::vector<SLeftCopy> LeftBehind();
  static void Remove(SLeftCopy& left);
  // The folder of all copies.
  static QString Folder();

 private:
  bool Write(TDokumentKlang& document);

  QString path_;
  std::shared_ptr<QLockFile> lock_;
  const TDokumentKlang* document_ = nullptr;
  unsigned copiedChanges_ = 0;
  QElapsedTimer sinceCopy_;
};
