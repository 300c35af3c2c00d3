// Opening, saving and closing sounds through the main window.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMdiSubWindow>

#include "app/sound_window.h"
#include "main_frame_fixture.h"
#include "views/module_canvas.h"

namespace {

QByteArray Bytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST_F(MainFrameTest, StandardOpensNothingEvenWithAStartDocument) {
  FileOptions().fileStartWindow = Example("drone.zmr");
  for (const char* argument : {"STANDARD", "standard"}) {
    frame.StartWith(argument);
    EXPECT_EQ(frame.Document(), nullptr) << argument;
  }
  frame.StartWith(folder.filePath("missing.zmr"));
  ASSERT_NE(frame.Document(), nullptr) << "a missing argument opens the start document";
  EXPECT_EQ(FileOptions().fileStartWindow, folder.filePath("drone.zmr"));
}

TEST_F(MainFrameTest, AnExistingFileOpensWithItsPathAsCaptionAndItsStoredPage) {
  const QString path = Example("poly_synth.zmr");
  // From another folder, a relative name must still give the whole path.
  const QString previous = QDir::currentPath();
  QDir::setCurrent(folder.path());
  frame.StartWith("poly_synth.zmr");
  QDir::setCurrent(previous);
  ASSERT_NE(frame.SoundWindow(), nullptr);
  EXPECT_EQ(frame.SoundWindow()->windowTitle(), path);
  EXPECT_TRUE(presenter.shown.empty());
  const int stored = Document().ViewSound->ActiveWindow->value;
  EXPECT_EQ(frame.SoundWindow()->Pages().currentIndex(), stored);
  EXPECT_EQ(frame.SoundWindow()->FrontList(),
            stored == 0 ? Document().ViewSound->ModuleList.get()
                        : static_cast<TModuleListe*>(Document().ModuleList.get()));
}

TEST_F(MainFrameTest, MissingAndUnreadableFilesAreReported) {
  const QString missing = folder.filePath("gone.zmr");
  const QString garbage = folder.filePath("garbage.zmr");
  QFile file(garbage);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("not a sound\n");
  file.close();
  frame.OpenFile(missing);
  frame.OpenFile(garbage);
  ASSERT_EQ(presenter.shown.size(), 2u);
  EXPECT_EQ(presenter.shown[0].caption, "Load file");
  EXPECT_EQ(presenter.shown[0].text, "File \"" + missing + " \" not found !");
  EXPECT_EQ(presenter.shown[0].icon, TMessageIcon::Question);
  EXPECT_EQ(presenter.shown[1].caption, "Load file");
  EXPECT_EQ(presenter.shown[1].text, "File \"" + garbage + " \" unknown format !");
  EXPECT_EQ(presenter.shown[1].icon, TMessageIcon::Error);
  EXPECT_NE(frame.Document(), nullptr) << "the partly read sound stays open";
}

TEST_F(MainFrameTest, SaveWritesTheOpenedFileInItsOwnFolderAndReadsBackTheSame) {
  const QString path = Example("macro_voice.zmr");
  frame.OpenFile(path);
  const QString previous = QDir::currentPath();
  QDir::setCurrent(QDir::tempPath());
  ASSERT_TRUE(frame.SaveSound(false));
  QDir::setCurrent(previous);
  EXPECT_FALSE(QFileInfo::exists(QDir(QDir::tempPath()).filePath("macro_voice.zmr")));
  const QByteArray saved = Bytes(path);
  frame.OpenFile(path);
  ASSERT_TRUE(frame.SaveSound(false));
  EXPECT_EQ(Bytes(path), saved);
  EXPECT_EQ(frame.Recent().Paths().value(0), path);
}

TEST_F(MainFrameTest, CancelInTheSaveQuestionKeepsTheChangedSound) {
  frame.OpenFile(Example("drone.zmr"));
  Document().MarkChanged();
  TDokumentKlang* const changed = frame.Document();
  presenter.answer = TMessageAnswer::Cancel;
  frame.NewSound();
  frame.OpenFile(Example("fm_bell.zmr"));
  frame.show();
  EXPECT_FALSE(frame.close());
  EXPECT_EQ(frame.Document(), changed);
  ASSERT_EQ(presenter.shown.size(), 3u);
  EXPECT_EQ(presenter.shown[0].text,
            "Save changes to  \"" + folder.filePath("drone.zmr") + "\"  ?");
  EXPECT_EQ(presenter.shown[0].buttons, TMessageButtons::YesNoCancel);
  presenter.answer = TMessageAnswer::No;
  frame.NewSound();
  ASSERT_NE(frame.Document(), nullptr);
  EXPECT_FALSE(Document().HasFileName()) << "No lets the new sound replace the changed one";
}

TEST_F(MainFrameTest, ClosingTheSoundWindowReleasesTheSound) {
  frame.OpenFile(Example("drone.zmr"));
  frame.SoundWindow()->parentWidget()->close();
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(frame.Document(), nullptr);
  EXPECT_FALSE(frame.Actions().Save->isEnabled());
}

TEST(RecentFilesTest, AKnownPathKeepsItsPlace) {
  QTemporaryDir folder;
  const QString a = folder.filePath("a.zmr");
  const QString b = folder.filePath("b.zmr");
  for (const QString& path : {a, b}) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  TRecentFiles recent;
  recent.Reload(10);
  recent.Add(a);
  recent.Add(b);
  recent.Add(a);
  EXPECT_EQ(recent.Paths(), QStringList({b, a}));
  QFile::remove(b);
  TRecentFiles again;
  again.Reload(10);
  EXPECT_EQ(again.Paths(), QStringList({a})) << "a deleted file leaves the list";
}

}  // namespace
