// A sound session without a window: its owner records what it was told and answers the save
// dialog as the test says.
#pragma once

#include <QDir>
#include <QStringList>
#include <functional>

#include "app/recovery_copy.h"
#include "app/sound_session.h"
#include "example_fixture.h"
#include "patch/dokument_klang.h"

class TRecordingOwner : public TSoundSessionOwner {
 public:
  void DocumentArrived(bool showWindow) override {
    ++arrivals;
    windowShown = showWindow;
    if (whileArriving) whileArriving();
  }
  void DocumentLeaving() override { heldWhileLeaving = session->Document() != nullptr; }
  void DocumentReleased() override { heldWhenReleased = session->Document() != nullptr; }
  void Saved(const QString& path) override { saved << path; }
  void CaptionChanged() override { caption = session->Title(); }
  void SoundStateChanged(bool start, bool stop) override {
    canStart = start;
    canStop = stop;
  }
  void ShowStatus(const QString& text) override { status = text; }
  void ShowPlayMode(const QString& text) override { playModes << text; }
  QString AskSoundFileName(const QString& proposed) override {
    proposals << proposed;
    return saveAs;
  }

  const TSoundSession* session = nullptr;
  int arrivals = 0;
  bool windowShown = false;
  std::function<void()> whileArriving;
  bool heldWhileLeaving = false;
  bool heldWhenReleased = true;
  QStringList saved;
  QString caption;
  bool canStart = false;
  bool canStop = false;
  QString status;
  QStringList playModes;
  // What the save dialog answers (empty: Cancel), and what it was offered.
  QString saveAs;
  QStringList proposals;
};

class SoundSessionTest : public ExampleTest {
 protected:
  SoundSessionTest() { owner.session = &session; }
  // Copies that a test left behind are not offered to the next one in the same process.
  ~SoundSessionTest() override { QDir(TRecoveryCopy::Folder()).removeRecursively(); }
  TDokumentKlang& Document() { return *session.Document(); }

  TRecordingOwner owner;
  TSoundSession session{owner, nullptr};
};
