#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <sstream>

#include "model_fixture.h"
#include "patch/macro_modules.h"

namespace {

std::string SoundText(const TDokumentKlang& document) {
  std::ostringstream text;
  document.WriteSound(text);
  return text.str();
}

void WriteFile(const QString& path, const std::string& text) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(text.data(), static_cast<qint64>(text.size()));
}

class SoundFile : public ::testing::Test {
 protected:
  QString Path(const char* name) const { return folder.filePath(name); }
  QTemporaryDir folder;
};

TEST_F(SoundFile, ASavedSoundLoadsAsItself) {
  TDokumentKlang original;
  TModuleListe& list = *original.ModuleList;
  auto& generator = Place(list, "Gen", Generator(), 10, 20);
  auto& speaker = Place(list, "Spk", Sink(), 200, 20);
  In(speaker).Connect(&Out(generator), false);
  auto& macro = Place(list, "Group", std::make_shared<TModulKomponent>(), 100, 100);
  macro.typeName = "Modul";
  macro.InfoText->value = "two\nlines \"quoted\"";
  Place(*macro.Inside, "In", Generator());
  original.SetVoiceCount(4);
  ASSERT_TRUE(original.Save(Path("a.zmr")));
  EXPECT_FALSE(original.IsModified());

  TDokumentKlang loaded;
  ASSERT_TRUE(loaded.Load(Path("a.zmr")));
  EXPECT_EQ(loaded.Engine().CountVoices(), 4);
  // The title keeps the folder too, so that saving again writes the same file.
  EXPECT_EQ(loaded.ViewSound->Title->value, Path("a.zmr").toStdString());
  loaded.ViewSound->Title->value = original.ViewSound->Title->value;
  EXPECT_EQ(SoundText(loaded), SoundText(original));
  auto* loadedSpeaker = dynamic_cast<TTestModule*>(loaded.ModuleList->Get("Spk").get());
  ASSERT_NE(loadedSpeaker, nullptr);
  EXPECT_TRUE(loadedSpeaker->IsActive(nullptr));
}

TEST_F(SoundFile, ReadsTheExampleSoundAndSkipsBlocksItCannotCreate) {
  const std::string example =
      "CountVoices 1\n"
      "BEGIN ModuleList \n"
      "BEGIN In ModulMInAnalog\nTitle \" x\"\nEND\n"
      "BEGIN Odd NoSuchModule\nBEGIN Deep Thing\nEND\nEND\n"
      "BEGIN Gen TestGenerator\nTitle \" Kept\"\nEND\n"
      "END\n"
      "BEGIN ViewSound \n"
      "ActiveWindow 1\nTitle \"Sound1\"\nVisible 1\nWindowState 0\n"
      "BEGIN ModuleList \nBEGIN ViewText ViewText\nMarked 0\nText \"\"\nTitle \" Text\"\n"
      "BEGIN Rect \nBottom 75\nLeft 16\nRight 104\nTop 24\nEND\nEND\nEND\n"
      "BEGIN Rect \nBottom 400\nLeft 0\nRight 600\nTop 0\nEND\n"
      "END\n"
      "END\n";
  WriteFile(Path("example.zmr"), example);
  Generator();  // registers the test types
  TDokumentKlang document;
  ASSERT_TRUE(document.Load(Path("example.zmr")));
  EXPECT_FALSE(document.ModuleList->Has("In"));
  EXPECT_FALSE(document.ModuleList->Has("Odd"));
  ASSERT_TRUE(document.ModuleList->Has("Gen"));
  EXPECT_EQ(dynamic_cast<TModul&>(*document.ModuleList->Get("Gen")).Title->value, " Kept");
  EXPECT_EQ(document.ViewSound->Rect->GetRect(), (TRect{0, 0, 600, 400}));
}

TEST_F(SoundFile, CutShortOrHandEditedFilesNeverCrash) {
  TDokumentKlang original;
  Place(*original.ModuleList, "Gen", Generator());
  const std::string text = SoundText(original);
  for (std::size_t length = 0; length < text.size(); length += 7) {
    WriteFile(Path("cut.zmr"), text.substr(0, length));
    TDokumentKlang document;
    EXPECT_FALSE(document.Load(Path("cut.zmr"))) << length;
  }
  WriteFile(Path("odd.zmr"),
            "CountVoices 5000\nBEGIN ModuleList \nBEGIN G TestGenerator\nBEGIN Rect \n"
            "Left -2147483648\nRight 2147483647\nEND\nEND\nEND\nEND\n");
  TDokumentKlang document;
  ASSERT_TRUE(document.Load(Path("odd.zmr")));
  EXPECT_EQ(document.CountVoices->value, TKlangEngine::kMaxVoices);
  const TRect r = dynamic_cast<TModul&>(*document.ModuleList->Get("G")).Rect->GetRect();
  EXPECT_EQ(r.left, -TPropRect::kCoordinateLimit);
  EXPECT_EQ(r.right, TPropRect::kCoordinateLimit);
  EXPECT_FALSE(TDokumentKlang().Load(Path("missing.zmr")));
}

TEST_F(SoundFile, AFailedSaveKeepsTheOldFileAndTheModifiedFlag) {
  TDokumentKlang document;
  ASSERT_TRUE(document.Save(Path("kept.zmr")));
  QFile kept(Path("kept.zmr"));
  ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
  const QByteArray before = kept.readAll();
  kept.close();

  Place(*document.ModuleList, "Gen", Generator());
  document.MarkChanged();
  ASSERT_TRUE(QDir(folder.path()).mkdir("folder.zmr"));
  EXPECT_FALSE(document.Save(Path("folder.zmr")));
  EXPECT_FALSE(document.Save(Path("no/such/folder/x.zmr")));
  EXPECT_TRUE(document.IsModified());
  ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
  EXPECT_EQ(kept.readAll(), before);
}

}  // namespace
