// Crash recovery end to end: the real program on a private X server, typed into as a user
// would, killed while its sound has unsaved changes, and started again.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <sstream>
#include <thread>

#include "app/recovery_copy.h"
#include "patch/dokument_klang.h"
#include "program_display.h"
#include "tests/devices/program_process.h"
#include "x_display.h"

namespace {

using namespace std::chrono_literals;

constexpr auto kWindowLimit = 20s;
// The copy follows a change within 10 s; the rest is for a slow machine.
constexpr auto kCopyLimit = 12s;

QByteArray Bytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(50ms);
  }
  return true;
}

QStringList Copies() { return QDir(TRecoveryCopy::Folder()).entryList({"*.zmr"}, QDir::Files); }

// The modules and wires of a sound, as the sound file writes them.
std::string Patch(const std::string& soundText) {
  TDokumentKlang document;
  std::string fault;
  EXPECT_TRUE(document.Restore(soundText, {}, fault)) << fault;
  std::ostringstream text;
  document.ModuleList->Write(text);
  return text.str();
}

TEST(CrashRecovery, AKilledProgramsChangedSoundIsRestoredWhileItsFileStaysAsItWas) {
  TXDisplay display;
  ASSERT_TRUE(display.Started()) << "Xvfb did not start";
  const TProgramDisplay shown(display);
  QTemporaryDir folder;
  const QString path = folder.filePath("drone.zmr");
  // The structure page in front, so that the keys below copy modules with their wires.
  QByteArray sound = Bytes(ZELMAR_EXAMPLES "/drone.zmr");
  sound.replace("ActiveWindow 0", "ActiveWindow 1");
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(sound) == sound.size());
  file.close();
  const std::string title = "zmr - " + path.toStdString();

  std::string copied;
  {
    TProgramProcess first({path.toStdString()}, folder.filePath("first.log").toStdString());
    const unsigned long window = display.WaitForWindow(title, kWindowLimit);
    ASSERT_NE(window, 0u) << first.Output();
    for (const unsigned long key : {XK_a, XK_c, XK_v})
      display.Type(window, key, true);
    ASSERT_TRUE(WaitUntil([] { return !Copies().empty(); }, kCopyLimit)) << first.Output();
    EXPECT_EQ(first.Stop(SIGKILL), 128 + SIGKILL);
  }
  ASSERT_EQ(Copies().size(), 1u);
  const QByteArray copy = Bytes(QDir(TRecoveryCopy::Folder()).filePath(Copies()[0]));
  copied = copy.mid(copy.indexOf('\n') + 1).toStdString();
  EXPECT_EQ(Bytes(path), sound) << "the user's file stays as it was";
  ASSERT_NE(Patch(copied), Patch(sound.toStdString())) << "the keys changed nothing";

  TProgramProcess second({}, folder.filePath("second.log").toStdString());
  const unsigned long offer = display.WaitForWindow("Restore Sound", kWindowLimit);
  ASSERT_NE(offer, 0u) << second.Output();
  EXPECT_EQ(Bytes(path), sound);
  display.Type(offer, XK_Return);
  const unsigned long window = display.WaitForWindow(title, kWindowLimit);
  ASSERT_NE(window, 0u) << "the restored sound belongs to its own file";
  display.Type(window, XK_s, true);
  ASSERT_TRUE(WaitUntil([&] { return Bytes(path) != sound; }, kWindowLimit)) << second.Output();
  EXPECT_EQ(Patch(Bytes(path).toStdString()), Patch(copied)) << "every module and wire is back";
}

}  // namespace
