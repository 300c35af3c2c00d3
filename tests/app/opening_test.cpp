// What the main window shows of the sound session: the opened sound's window, its caption and
// recent files, the save question when the window closes, and the sound window's own close.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMdiSubWindow>

#include "app/sound_window.h"
#include "main_frame_fixture.h"
#include "views/module_canvas.h"

namespace {

TEST_F(MainFrameTest, AnOpenedSoundShowsItsStoredPageAndSavesIntoTheRecentFiles) {
  const QString path = Example("poly_synth.zmr");
  frame.Session().StartWith(path);
  ASSERT_NE(frame.SoundWindow(), nullptr);
  EXPECT_EQ(frame.SoundWindow()->windowTitle(), path);
  EXPECT_EQ(frame.windowTitle(), "zmr - " + path);
  EXPECT_TRUE(presenter.shown.empty());
  const int stored = Document().ViewSound->ActiveWindow->value;
  EXPECT_EQ(frame.SoundWindow()->Pages().currentIndex(), stored);
  EXPECT_EQ(frame.SoundWindow()->FrontList(),
            stored == 0 ? Document().ViewSound->ModuleList.get()
                        : static_cast<TModuleListe*>(Document().ModuleList.get()));
  EXPECT_TRUE(frame.Actions().Start->isEnabled());
  EXPECT_FALSE(frame.Actions().Stop->isEnabled());
  ASSERT_TRUE(frame.Session().SaveSound(false));
  EXPECT_EQ(frame.Recent().Paths().value(0), path);
}

TEST_F(MainFrameTest, CancelInTheSaveQuestionKeepsTheWindowOpen) {
  frame.Session().OpenFile(Example("drone.zmr"));
  Document().MarkChanged();
  TDokumentKlang* const changed = &Document();
  presenter.answer = TMessageAnswer::Cancel;
  frame.show();
  EXPECT_FALSE(frame.close());
  EXPECT_EQ(&Document(), changed);
  ASSERT_EQ(presenter.shown.size(), 1u);
  EXPECT_EQ(presenter.shown[0].caption, "Save");
  presenter.answer = TMessageAnswer::No;
  EXPECT_TRUE(frame.close());
}

TEST_F(MainFrameTest, ClosingTheSoundWindowReleasesTheSound) {
  frame.Session().OpenFile(Example("drone.zmr"));
  frame.SoundWindow()->parentWidget()->close();
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(frame.Session().Document(), nullptr);
  EXPECT_EQ(frame.windowTitle(), "zmr");
  EXPECT_FALSE(frame.Actions().Save->isEnabled());
  EXPECT_FALSE(frame.Actions().Start->isEnabled());
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
