// Copies of the bundled examples in a temporary folder, default options, and messages recorded
// and answered as the test says.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "platform/options.h"
#include "support/recording_presenter.h"

inline QByteArray Bytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class TAnsweringPresenter : public TRecordingPresenter {
 public:
  TMessageAnswer Present(QWidget* owner, const SMessage& message) override {
    TRecordingPresenter::Present(owner, message);
    if (whileShown) whileShown();
    return answer;
  }
  TMessageAnswer answer = TMessageAnswer::Ok;
  // Runs while a message is up, as the event loop of a message box would.
  std::function<void()> whileShown;
};

// Sounds never start on their own here.
class ExampleTest : public ::testing::Test {
 protected:
  ExampleTest() {
    SetMessagePresenter(&presenter);
    UseTestOptions();
  }
  ~ExampleTest() override { SetMessagePresenter(nullptr); }

  static void UseTestOptions() {
    SoundOptions() = SSoundOptions();
    SoundOptions().startAfterLoading = false;
    FileOptions() = SFileOptions();
  }

  // A copy of the bundled example `name` in `subfolder` of the temporary folder, which the test
  // may change and overwrite.
  QString Example(const char* name, const QString& subfolder = {}) {
    QDir(folder.path()).mkpath(subfolder);
    const QString copy = QDir(folder.filePath(subfolder)).filePath(name);
    QFile::copy(QString(ZELMAR_EXAMPLES "/") + name, copy);
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    return copy;
  }

  QTemporaryDir folder;
  TAnsweringPresenter presenter;
};
