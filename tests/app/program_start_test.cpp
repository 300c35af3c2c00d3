// What every start of the graphical program does before its window shows: the desktop's file
// types point at the program where it is now.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <thread>

#include "platform/file_types.h"
#include "tests/devices/program_process.h"

namespace {

using namespace std::chrono_literals;

QString Text(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TEST(ProgramStart, RegistersTheFileTypesForTheProgramWhereItIs) {
  QFile::remove(MimePackagePath());
  QFile::remove(DesktopEntryPath());
  QTemporaryDir folder;
  // On the offscreen platform of the test, with the test's private data folder.
  TProgramProcess program({"STANDARD"}, folder.filePath("program.log").toStdString());
  const auto deadline = std::chrono::steady_clock::now() + 20s;
  while (!Text(DesktopEntryPath()).contains("MimeType") &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(50ms);
  }
  program.Stop();
  EXPECT_TRUE(Text(DesktopEntryPath()).contains("Exec=" ZELMAR_PROGRAM " %f\n"))
      << program.Output();
  const QString mime = Text(MimePackagePath());
  EXPECT_TRUE(mime.contains("<glob pattern=\"*.zmr\"/>"));
  EXPECT_TRUE(mime.contains("value=\"CountVoices \""));
}

}  // namespace
