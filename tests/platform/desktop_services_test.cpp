#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "platform/file_types.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/system_error.h"
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
  EXPECT_TRUE(entry.contains("Icon=zelmar\n"));
}

// An installed program (bin/ beside share/) takes its own examples; one run from the build folder,
// or installed without examples, falls back to the source tree's.
TEST(Paths, ExamplesAreFoundBesideTheInstalledProgramElseInTheSourceTree) {
  QTemporaryDir root;
  const QString prefix = root.path() + "/usr";
  const QString source = root.path() + "/source/examples";
  ASSERT_TRUE(QDir().mkpath(prefix + "/bin"));
  ASSERT_TRUE(QDir().mkpath(source));
  const QString program = prefix + "/bin/zelmar";
  const QString buildProgram = root.path() + "/build/app/zelmar";

  EXPECT_EQ(ExamplesFolderFor(program, source), source);
  EXPECT_EQ(ExamplesFolderFor(buildProgram, source), source);
  EXPECT_EQ(ExamplesFolderFor(QString(), source), source);
  ASSERT_TRUE(QDir().mkpath(prefix + "/share/zelmar/examples"));
  EXPECT_EQ(ExamplesFolderFor(program, source), prefix + "/share/zelmar/examples");
  EXPECT_EQ(ExamplesFolderFor(buildProgram, source), source);
  EXPECT_EQ(ExamplesFolderFor(buildProgram, root.path() + "/missing"), QString());
  // This test runs from the build folder: the source tree's examples, with a sound in them.
  EXPECT_TRUE(QFileInfo::exists(ExamplesFolder() + "/drone.zmr")) << ExamplesFolder().toStdString();
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

}  // namespace
