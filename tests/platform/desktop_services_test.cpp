#include <gtest/gtest.h>

#include <QCursor>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include "platform/file_types.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/system_error.h"
#include "platform/wait_cursor.h"
#include "support/recording_presenter.h"

namespace {

QString ReadAll(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

TEST(FileTypes, SoundsOpenWithThisProgramAndGroupsAreOnlyDescribed) {
  ASSERT_TRUE(RememberPaths());
  EXPECT_TRUE(ProgramPath().endsWith("platform_tests"));
  RegisterFileTypes();
  const QString mime = ReadAll(MimePackagePath());
  EXPECT_TRUE(mime.contains("<mime-type type=\"application/x-ZelmarStudio_file\">"));
  EXPECT_TRUE(mime.contains("<glob pattern=\"*.zmr\"/>"));
  EXPECT_TRUE(mime.contains("<comment>Document zmr group</comment>"));
  EXPECT_TRUE(mime.contains("<glob pattern=\"*.group\"/>"));
  const QString entry = ReadAll(DesktopEntryPath());
  EXPECT_TRUE(entry.contains("Exec=" + ProgramPath() + " %f\n"));
  EXPECT_TRUE(entry.contains("MimeType=application/x-ZelmarStudio_file;\n"));
}

TEST(Paths, FolderExistsOnlyForFolders) {
  QTemporaryDir folder;
  EXPECT_TRUE(FolderExists(folder.path()));
  EXPECT_FALSE(FolderExists(folder.path() + "/missing"));
  EXPECT_FALSE(FolderExists(QString()));
  EXPECT_FALSE(FolderExists(ProgramPath()));
}

TEST(SystemError, ReportsTheSystemsTextInThreeLinesOrNothing) {
  TRecordingPresenter presenter;
  SetMessagePresenter(&presenter);
  ReportSystemError(nullptr, 2, "Error GetFolder");
  ReportSystemError(nullptr, 99999, "Error GetFolder");
  SetMessagePresenter(nullptr);
  ASSERT_EQ(presenter.shown.size(), 1u);
  EXPECT_EQ(presenter.shown[0].icon, TMessageIcon::Warning);
  EXPECT_EQ(presenter.shown[0].text,
            "ERROR: API        = Error GetFolder.\n"
            "       error code = 2\n"
            "       message    = No such file or directory.\n");
}

TEST(SystemError, ShellErrorTexts) {
  EXPECT_EQ(ShellErrorText(5), "The operating system denied access to the specified file !");
  EXPECT_EQ(ShellErrorText(2), "The specified file was not found !");
  EXPECT_EQ(ShellErrorText(31), "Unknown Error : 31 ?");
}

TEST(WaitCursor, NestedWaitCursorsRestoreOnlyWhenTheOuterEnds) {
  { TWaitCursor withoutApplication; }
  int argc = 1;
  char name[] = "test";
  char* argv[] = {name, nullptr};
  QGuiApplication application(argc, argv);
  {
    TWaitCursor outer;
    {
      TWaitCursor inner;
      ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    }
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
  }
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

}  // namespace
