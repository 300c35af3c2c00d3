// The recently opened sounds, newest first, kept in the settings section "Files" as values
// "1", "2", ... so that every start offers them again. The store keeps at most as many as the
// file options can ask for; a longer or damaged list is repaired when it is read.
#pragma once

#include <QStringList>

class TRecentFiles {
 public:
  // Rereads the stored list, keeping only files that still exist, at most `maximum` of them.
  void Reload(int maximum);
  // Puts `path` first, unless it is listed already (then it keeps its place).
  void Add(const QString& path);
  const QStringList& Paths() const { return paths_; }

 private:
  QStringList paths_;
  int maximum_ = 10;
};
