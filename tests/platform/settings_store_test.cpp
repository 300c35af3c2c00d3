#include "platform/settings_store.h"

#include <gtest/gtest.h>

#include <QSettings>

#include "platform/options.h"

namespace {

class SettingsStore : public ::testing::Test {
 protected:
  void SetUp() override { QSettings(kSettingsOrganisation, kSettingsApplication).clear(); }
};

TEST_F(SettingsStore, ReadsDefaultUntilWrittenAndCreatesTheSectionOnWrite) {
  EXPECT_EQ(SettingsReadInteger("OptionsView", "GridSize", 10), 10);
  EXPECT_EQ(SettingsValueNames("OptionsView"), std::nullopt);
  SettingsWriteInteger("OptionsView", "GridSize", 12);
  EXPECT_EQ(SettingsReadInteger("OptionsView", "GridSize", 10), 12);
  EXPECT_EQ(SettingsValueNames("OptionsView"), QStringList{"GridSize"});
  EXPECT_EQ(SettingsReadString("OptionsView", "Missing", "d"), "d");
  SettingsWriteString("OptionsView", "Text", "abc");
  EXPECT_EQ(SettingsReadInteger("OptionsView", "Text", -1), -1);
}

TEST_F(SettingsStore, TheEmptySectionAndNameAreTheRootsDefaultValue) {
  EXPECT_EQ(SettingsReadString("", "", ""), "");
  SettingsWriteString("", "", "first start done");
  EXPECT_EQ(SettingsReadString("", "", ""), "first start done");
  EXPECT_EQ(SettingsValueNames(""), QStringList{""});
}

TEST_F(SettingsStore, SubkeysOfNestedSectionsWithAnyCharacters) {
  EXPECT_EQ(SettingsSubkeyNames("Tools"), std::nullopt);
  SettingsWriteString("Tools\\Edit / Copy 100%", "Path", "/usr/bin/editor");
  SettingsWriteString("Tools\\Shell", "Kommand", "-l");
  const auto tools = SettingsSubkeyNames("Tools");
  ASSERT_TRUE(tools);
  EXPECT_EQ(tools->size(), 2);
  EXPECT_TRUE(tools->contains("Edit / Copy 100%"));
  EXPECT_EQ(SettingsReadString("Tools\\Edit / Copy 100%", "Path", ""), "/usr/bin/editor");
  EXPECT_EQ(SettingsSubkeyNames("Tools\\Shell"), QStringList{});
}

// Recent files and tools are rewritten by deleting their whole section first.
TEST_F(SettingsStore, DeletingASectionTakesEverythingBelowItAndNothingBeside) {
  SettingsWriteString("Tools", "Note", "x");
  SettingsWriteString("Tools\\Edit", "Path", "/usr/bin/editor");
  SettingsWriteString("Tools\\Edit\\Deeper", "Path", "y");
  SettingsWriteString("ToolsElse", "Path", "kept");
  EXPECT_TRUE(SettingsDeleteSection("Tools"));
  EXPECT_EQ(SettingsSubkeyNames("Tools"), std::nullopt);
  EXPECT_EQ(SettingsReadString("Tools\\Edit", "Path", "gone"), "gone");
  EXPECT_EQ(SettingsReadString("ToolsElse", "Path", ""), "kept");
  EXPECT_FALSE(SettingsDeleteSection("Tools"));
  EXPECT_FALSE(SettingsDeleteSection(""));
  EXPECT_EQ(SettingsReadString("ToolsElse", "Path", ""), "kept");
}

// Folder lists name their values by full path.
TEST_F(SettingsStore, ValuesNamedByPathsAreEnumeratedAndDeleted) {
  SettingsWriteString("Sounds", "/home/me/sounds", "Collapsed");
  SettingsWriteString("Sounds", "C:\\old\\%20", "");
  const auto names = SettingsValueNames("Sounds");
  ASSERT_TRUE(names);
  EXPECT_TRUE(names->contains("/home/me/sounds"));
  EXPECT_TRUE(names->contains("C:\\old\\%20"));
  EXPECT_TRUE(SettingsDeleteValue("Sounds", "/home/me/sounds"));
  EXPECT_FALSE(SettingsDeleteValue("Sounds", "/home/me/sounds"));
  EXPECT_FALSE(SettingsDeleteValue("Nowhere", "x"));
  EXPECT_EQ(SettingsValueNames("Sounds"), QStringList{"C:\\old\\%20"});
}

TEST_F(SettingsStore, AFirstStartYieldsTheOptionDefaults) {
  SViewOptions view;
  SFileOptions file;
  SSoundOptions sound;
  LoadOptions(view);
  LoadOptions(file);
  LoadOptions(sound);
  EXPECT_EQ(view.gridSize, 10);
  EXPECT_TRUE(view.gridVisible && view.snapToGrid && view.directLines);
  EXPECT_EQ(view.colorBackground, StoredColor(128, 128, 128));
  EXPECT_EQ(view.moduleActive, 0x80FF80);
  EXPECT_FALSE(file.autosave);
  EXPECT_EQ(file.autosaveTimeMin, 30);
  EXPECT_EQ(file.recentFileSize, 8);
  EXPECT_TRUE(file.undoAfterSave && file.showLastWindow);
  EXPECT_TRUE(sound.startAfterLoading);
  EXPECT_EQ(sound.stopProzesserOver, 95);
  EXPECT_EQ(sound.waveBuffer, 26);
  EXPECT_TRUE(sound.lowLatency);

  ResetOptions(file);
  EXPECT_EQ(file.recentFileSize, 15);
  sound.midiDefaultDevice = 3;
  ResetOptions(sound);
  EXPECT_EQ(sound.waveBuffer, 30);
  EXPECT_EQ(sound.midiDefaultDevice, 3);
}

TEST_F(SettingsStore, OptionsRoundTripAndOutOfRangeValuesAreRepaired) {
  SFileOptions file;
  file.startOpenFolder = "/home/me/Sounds äö";
  file.autosave = true;
  StoreOptions(file);
  SFileOptions loaded;
  LoadOptions(loaded);
  EXPECT_EQ(loaded.startOpenFolder, file.startOpenFolder);
  EXPECT_TRUE(loaded.autosave);
  EXPECT_EQ(loaded.recentFileSize, 15);

  const struct {
    const char* section;
    const char* name;
    int stored;
    int loaded;
  } cases[] = {
      {"OptionsFile", "RecentFileSize", 40, 25}, {"OptionsFile", "RecentFileSize", 0, 1},
      {"OptionsFile", "AutosaveTimeMin", 0, 1},  {"OptionsView", "GridSize", 3, 8},
      {"OptionsSound", "WaveBuffer", 500, 100},  {"OptionsSound", "WaveBuffer", -1, 10},
  };
  for (const auto& c : cases) {
    SettingsWriteInteger(c.section, c.name, c.stored);
    SViewOptions view;
    SFileOptions file;
    SSoundOptions sound;
    LoadOptions(view);
    LoadOptions(file);
    LoadOptions(sound);
    const int value = QString(c.name) == "GridSize"         ? view.gridSize
                      : QString(c.name) == "WaveBuffer"     ? sound.waveBuffer
                      : QString(c.name) == "RecentFileSize" ? file.recentFileSize
                                                            : file.autosaveTimeMin;
    EXPECT_EQ(value, c.loaded) << c.name << " " << c.stored;
  }
  SettingsWriteInteger("OptionsView", "SnapToGrid", 7);
  SettingsWriteInteger("OptionsSound", "LowLatency", 0);
  SViewOptions view;
  SSoundOptions sound;
  LoadOptions(view);
  LoadOptions(sound);
  EXPECT_TRUE(view.snapToGrid);
  EXPECT_FALSE(sound.lowLatency);
}

}  // namespace
