// The sound session without a window: opening, saving, closing a changed sound, autosave,
// starting and stopping, and the engine's overload stop.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <atomic>
#include <chrono>
#include <thread>
#include <utility>

#include "sound_session_fixture.h"

namespace {

using namespace std::chrono_literals;

// Changes the sound in a way its file shows.
void ChangeVoices(TDokumentKlang& document) {
  document.SetVoiceCount(document.CountVoices->value % TKlangEngine::kMaxVoices + 1);
}

TEST_F(SoundSessionTest, StandardOpensNothingAndOtherwiseTheStartDocumentOpens) {
  const QString start = Example("drone.zmr");
  FileOptions().fileStartWindow = start;
  for (const char* argument : {"STANDARD", "standard"}) {
    session.StartWith(argument);
    EXPECT_EQ(session.Document(), nullptr) << argument;
  }
  QString storedWhileOpening = "not asked";
  owner.whileArriving = [&] {
    SFileOptions stored;
    LoadOptions(stored);
    storedWhileOpening = stored.fileStartWindow;
  };
  session.StartWith(folder.filePath("missing.zmr"));
  ASSERT_NE(session.Document(), nullptr) << "a missing argument opens the start document";
  EXPECT_EQ(session.Title(), start);
  EXPECT_EQ(storedWhileOpening, "") << "a start document that crashes is not opened again";
  SFileOptions stored;
  LoadOptions(stored);
  EXPECT_EQ(stored.fileStartWindow, start);

  owner.whileArriving = nullptr;
  QFile::remove(start);
  session.StartWith({});
  ASSERT_NE(session.Document(), nullptr) << "a start document that is gone gives a new sound";
  EXPECT_FALSE(Document().HasFileName());
  EXPECT_EQ(owner.status, "New Sound");
  EXPECT_EQ(FileOptions().fileStartWindow, start);
}

// What a file holds decides whether its window shows and what the user is told.
TEST_F(SoundSessionTest, OpeningShowsTheWindowAsStoredAndReportsWhatCannotBeRead) {
  const QString hidden = Example("drone.zmr");
  QByteArray text = Bytes(hidden);
  text.replace("Visible 1", "Visible 0");
  QFile file(hidden);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
  file.close();
  const QString garbage = folder.filePath("garbage.zmr");
  QFile bad(garbage);
  ASSERT_TRUE(bad.open(QIODevice::WriteOnly) && bad.write("not a sound\n") > 0);
  bad.close();
  const QString missing = folder.filePath("gone.zmr");
  struct SCase {
    QString path;
    bool opened;
    bool window;
    QString message;  // empty: none
    TMessageIcon icon;
  };
  const SCase cases[] = {
      {Example("fm_bell.zmr"), true, true, {}, TMessageIcon::None},
      {hidden, true, false, {}, TMessageIcon::None},
      {garbage, true, true, "File \"" + garbage + " \" unknown format !", TMessageIcon::Error},
      {missing, false, false, "File \"" + missing + " \" not found !", TMessageIcon::Question},
  };
  for (const SCase& c : cases) {
    session.ReleaseDocument();
    presenter.shown.clear();
    owner.arrivals = 0;
    session.OpenFile(c.path);
    ASSERT_EQ(session.Document() != nullptr, c.opened) << c.path.toStdString();
    EXPECT_EQ(owner.arrivals, c.opened ? 1 : 0);
    if (c.opened) {
      EXPECT_EQ(owner.windowShown, c.window) << c.path.toStdString();
      EXPECT_TRUE(owner.canStart && !owner.canStop);
      EXPECT_FALSE(Document().IsModified());
    }
    ASSERT_EQ(presenter.shown.size(), c.message.isEmpty() ? 0u : 1u) << c.path.toStdString();
    if (c.message.isEmpty()) continue;
    EXPECT_EQ(presenter.shown[0].caption, "Load file");
    EXPECT_EQ(presenter.shown[0].text, c.message);
    EXPECT_EQ(presenter.shown[0].icon, c.icon);
  }
}

TEST_F(SoundSessionTest, ARelativeNameOpensAndSavesUnderItsWholePath) {
  const QString path = Example("macro_voice.zmr");
  const QString previous = QDir::currentPath();
  QDir::setCurrent(folder.path());
  session.OpenFile("macro_voice.zmr");
  QDir::setCurrent(QDir::tempPath());
  ASSERT_TRUE(session.SaveSound(false));
  QDir::setCurrent(previous);
  EXPECT_EQ(session.Title(), path);
  EXPECT_FALSE(QFileInfo::exists(QDir(QDir::tempPath()).filePath("macro_voice.zmr")));
  EXPECT_EQ(owner.saved, QStringList{path});
  EXPECT_TRUE(owner.proposals.isEmpty()) << "a sound with a file is saved without a question";
  const QByteArray saved = Bytes(path);
  session.OpenFile(path);
  ASSERT_TRUE(session.SaveSound(false));
  EXPECT_EQ(Bytes(path), saved) << "what was saved reads back the same";
}

TEST_F(SoundSessionTest, SaveAsAsksTheOwnerForANameInTheLastFolder) {
  FileOptions().startOpenFolder = folder.path();
  session.NewSound();
  const QString title = session.Title();
  EXPECT_FALSE(session.SaveSound(false)) << "the dialog was cancelled";
  EXPECT_EQ(owner.proposals, QStringList{folder.filePath(title)});
  EXPECT_TRUE(owner.saved.isEmpty());

  QDir(folder.path()).mkpath("lead");
  owner.saveAs = folder.filePath("lead/pad");
  ASSERT_TRUE(session.SaveSound(false));
  const QString path = folder.filePath("lead/pad.zmr");
  EXPECT_TRUE(QFileInfo::exists(path)) << "a name without an extension gets .zmr";
  EXPECT_EQ(session.Title(), path);
  EXPECT_EQ(owner.caption, path);
  EXPECT_EQ(FileOptions().startOpenFolder, folder.filePath("lead"));
  ASSERT_TRUE(session.SaveSound(true));
  EXPECT_EQ(owner.proposals.last(), path) << "Save As starts from the sound's own file";
}

// Saving clears the undo history unless the file options keep it.
TEST_F(SoundSessionTest, SavingClearsTheUndoHistoryUnlessKept) {
  for (const bool keep : {false, true}) {
    FileOptions().undoAfterSave = keep;
    session.OpenFile(Example("drone.zmr"));
    TModuleListe& list = *Document().ModuleList;
    list.ExecuteCommand(kCommandSelectAll);
    list.ExecuteCommand(kCommandDelete);
    std::string caption;
    ASSERT_NE(list.QueryCommand(kCommandUndo, caption), 0);
    ASSERT_TRUE(session.SaveSound(false));
    EXPECT_EQ(list.QueryCommand(kCommandUndo, caption) != 0, keep);
  }
}

TEST_F(SoundSessionTest, TheSaveQuestionDecidesWhetherAChangedSoundMayGo) {
  FileOptions().showLastWindow = true;
  struct SCase {
    const char* name;
    TMessageAnswer answer;
    bool fileGone;  // the sound's folder went away, so that saving fails
    bool released;
    bool written;
  };
  const SCase cases[] = {
      {"cancel", TMessageAnswer::Cancel, false, false, false},
      {"no", TMessageAnswer::No, false, true, false},
      {"yes", TMessageAnswer::Yes, false, true, true},
      {"yes, but the save fails", TMessageAnswer::Yes, true, false, false},
  };
  for (const SCase& c : cases) {
    const QString path = Example("drone.zmr", c.name);
    session.OpenFile(path);
    ChangeVoices(Document());
    const std::string changed = Document().SoundText();
    if (c.fileGone) QDir(folder.filePath(c.name)).removeRecursively();
    const QByteArray before = Bytes(path);
    presenter.shown.clear();
    presenter.answer = c.answer;
    session.NewSound();
    ASSERT_FALSE(presenter.shown.empty()) << c.name;
    EXPECT_EQ(presenter.shown[0].caption, "Save");
    EXPECT_EQ(presenter.shown[0].text, "Save changes to  \"" + path + "\"  ?");
    EXPECT_EQ(presenter.shown[0].icon, TMessageIcon::Warning);
    EXPECT_EQ(presenter.shown[0].buttons, TMessageButtons::YesNoCancel);
    EXPECT_EQ(session.Title() != path, c.released) << c.name;
    EXPECT_EQ(Bytes(path) != before, c.written) << c.name;
    if (c.written) {
      EXPECT_EQ(Bytes(path).toStdString(), changed) << c.name;
    }
    if (c.fileGone) {
      ASSERT_EQ(presenter.shown.size(), 2u) << c.name;
      EXPECT_EQ(presenter.shown[1].caption, "Save Sound");
      EXPECT_EQ(presenter.shown[1].text, "File \"" + path + "\" could not be written !");
      EXPECT_TRUE(Document().IsModified()) << "no change is lost";
    }
    EXPECT_EQ(FileOptions().fileStartWindow, path) << c.name;
    presenter.answer = TMessageAnswer::No;
    session.ReleaseDocument();
  }
}

TEST_F(SoundSessionTest, ReleasingLetsTheOwnerLetGoFirst) {
  session.NewSound();
  session.ReleaseDocument();
  EXPECT_TRUE(owner.heldWhileLeaving) << "views let go while the sound is still there";
  EXPECT_FALSE(owner.heldWhenReleased);
  EXPECT_EQ(owner.caption, "");
  EXPECT_FALSE(owner.canStart || owner.canStop);
}

// Autosave looks on every seventh tick and saves a sound that has a file, changed or not.
TEST_F(SoundSessionTest, AutosaveWritesASoundWithAFileAndNeverAsksForOne) {
  FileOptions().autosave = true;
  FileOptions().autosaveTimeMin = 0;  // any time after the last save is long enough
  const QString path = Example("drone.zmr");
  session.OpenFile(path);
  ChangeVoices(Document());
  const QByteArray before = Bytes(path);
  std::this_thread::sleep_for(2ms);
  for (int tick = 0; tick < 6; ++tick)
    session.Tick();
  EXPECT_EQ(Bytes(path), before);
  session.Tick();
  EXPECT_NE(Bytes(path), before);
  EXPECT_FALSE(Document().IsModified());

  session.NewSound();
  Document().MarkChanged();
  std::this_thread::sleep_for(2ms);
  for (int tick = 0; tick < 14; ++tick)
    session.Tick();
  EXPECT_TRUE(owner.proposals.isEmpty()) << "a sound without a file waits for the user";
  EXPECT_TRUE(Document().IsModified());
}

// The timer keeps ticking while the message of a failed autosave is up.
TEST_F(SoundSessionTest, AFailedAutosaveSaysSoOnceWhileItsMessageIsUp) {
  FileOptions().autosave = true;
  FileOptions().autosaveTimeMin = 0;
  session.OpenFile(Example("drone.zmr", "gone"));
  QDir(folder.filePath("gone")).removeRecursively();
  bool ticked = false;
  presenter.whileShown = [&] {
    if (std::exchange(ticked, true)) return;
    for (int tick = 0; tick < 20; ++tick)
      session.Tick();
  };
  std::this_thread::sleep_for(2ms);
  for (int tick = 0; tick < 7; ++tick)
    session.Tick();
  ASSERT_EQ(presenter.shown.size(), 1u);
  EXPECT_EQ(presenter.shown[0].caption, "Save Sound");
}

TEST_F(SoundSessionTest, StartAndStopTellWhatCanBeDoneNext) {
  session.OpenFile(Example("drone.zmr"));
  session.StartSound();
  ASSERT_TRUE(Document().IsStarted());
  EXPECT_FALSE(owner.canStart);
  EXPECT_TRUE(owner.canStop);
  session.StopSound();
  EXPECT_FALSE(Document().IsStarted());
  EXPECT_TRUE(owner.canStart);
  EXPECT_FALSE(owner.canStop);
  const QStringList told = owner.playModes;
  session.StartSound();
  session.StopSound();
  EXPECT_EQ(owner.playModes, told) << "the same reason is told once";
  EXPECT_TRUE(presenter.shown.empty());
}

// An engine whose every slice comes late stops itself; the session stops the sound and says so.
TEST_F(SoundSessionTest, AnOverloadedEngineStopsTheSoundAndSaysSo) {
  session.OpenFile(Example("drone.zmr"));
  auto now = std::make_shared<std::atomic<std::int64_t>>(0);
  Document().Engine().SetClock({[now] { return now->fetch_add(20) + 20; },
                                [](std::int64_t) { std::this_thread::sleep_for(1ms); }});
  session.StartSound();
  ASSERT_TRUE(owner.canStop);
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (presenter.shown.empty() && std::chrono::steady_clock::now() < deadline) {
    session.Tick();
    QCoreApplication::sendPostedEvents(&session);
    std::this_thread::sleep_for(10ms);
  }
  ASSERT_EQ(presenter.shown.size(), 1u);
  EXPECT_EQ(presenter.shown[0].caption, "Stop Sound");
  EXPECT_EQ(presenter.shown[0].text, "Processor usage to high !");
  EXPECT_EQ(presenter.shown[0].icon, TMessageIcon::Error);
  EXPECT_FALSE(Document().IsStarted());
  EXPECT_TRUE(owner.canStart);
  EXPECT_FALSE(owner.canStop);
}

}  // namespace
