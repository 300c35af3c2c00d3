// A main window over a copy of a bundled example in a temporary folder, with messages recorded
// and answered as the test says. Sounds never play on their own here.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include "app/main_frame.h"
#include "patch/dokument_klang.h"
#include "patch/modul.h"
#include "platform/options.h"
#include "support/recording_presenter.h"

class TAnsweringPresenter : public TRecordingPresenter {
 public:
  TMessageAnswer Present(QWidget* owner, const SMessage& message) override {
    TRecordingPresenter::Present(owner, message);
    return answer;
  }
  TMessageAnswer answer = TMessageAnswer::Ok;
};

class MainFrameTest : public ::testing::Test {
 protected:
  MainFrameTest() {
    SetMessagePresenter(&presenter);
    SoundOptions().startAfterLoading = false;
    FileOptions() = SFileOptions();
  }
  ~MainFrameTest() override { SetMessagePresenter(nullptr); }

  // A copy of the bundled example `name`, which the test may change and overwrite.
  QString Example(const char* name) {
    const QString copy = folder.filePath(name);
    QFile::copy(QString(ZELMAR_EXAMPLES "/") + name, copy);
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    return copy;
  }
  TDokumentKlang& Document() { return *frame.Document(); }
  // Runs what the program left for after the current event: windows that follow the sound's
  // changes, and deletions.
  static void FinishEvents() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  // The first module of the sound's structure, in key order.
  TModul& FirstModule() {
    return *std::dynamic_pointer_cast<TModul>(Document().ModuleList->Children().begin()->second);
  }

  QTemporaryDir folder;
  TAnsweringPresenter presenter;
  TMainFrame frame;
};
