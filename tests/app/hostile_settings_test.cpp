// Settings files as a user's editor or a damaged disk leaves them: every reader of the store puts
// right what it finds and says in one sentence what it changed, and a list cut to its limit is
// written back, so that the next start meets it no more.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <functional>

#include "app/file_browser.h"
#include "app/recent_files.h"
#include "app/tools.h"
#include "platform/frame_settings.h"
#include "platform/options.h"
#include "platform/settings_check.h"
#include "platform/settings_store.h"
#include "support/settings_file.h"

namespace {

// `count` lines made from `line`, whose "%1" becomes 1, 2, ...
QString Lines(const QString& line, int count) {
  QString lines;
  for (int i = 1; i <= count; ++i)
    lines += line.arg(i) + '\n';
  return lines;
}

// What loading the option record gives its `field`, as text.
template <class Record, class TValue>
std::function<QString()> Option(TValue Record::*field) {
  return [field] {
    Record record;
    LoadOptions(record);
    if constexpr (std::is_same_v<TValue, QString>) {
      return record.*field;
    } else if constexpr (std::is_same_v<TValue, bool>) {
      return QString(record.*field ? "on" : "off");
    } else {
      return QString::number(record.*field);
    }
  };
}

// On a screen of 1600 x 1000 beside one of 1280 x 720, from a window at 100, 100, 800 x 600.
QString FramePlace() {
  SMainFrameSettings frame{100, 100, 800, 600};
  LoadFrameSettings(frame, {QRect(0, 0, 1600, 1000), QRect(1600, 0, 1280, 720)});
  return QString("%1, %2, %3 x %4, state %5")
      .arg(frame.left)
      .arg(frame.top)
      .arg(frame.width)
      .arg(frame.height)
      .arg(frame.windowState);
}

// How many entries the store keeps once the recent files were read.
QString StoredRecentFiles() {
  TRecentFiles().Reload(SFileOptions::kMaxRecentFiles);
  return QString::number(SettingsValueNames("Files").value_or(QStringList()).size());
}

QString ToolCount() { return QString::number(LoadTools().size()); }

QString ToolPath() {
  const TToolList tools = LoadTools();
  return tools.size() == 1 ? tools[0].path : "tools: " + QString::number(tools.size());
}

// The folders shown on the Sounds page and how many the store keeps.
QString SoundFolders() {
  QTreeWidget tree;
  const TTreeViewFilesGroups browser(tree, "Sounds", "zmr", QIcon());
  return QString("%1 shown, %2 stored")
      .arg(tree.topLevelItemCount())
      .arg(SettingsValueNames("Sounds").value_or(QStringList()).size());
}

// The file the store writes for `folders` in section "Sounds": folder paths are value names,
// which the store escapes.
QString SoundFoldersFile(const QString& parent, int folders) {
  QSettings(kSettingsOrganisation, kSettingsApplication).clear();
  {
    TSettingsStore store;
    for (int i = 1; i <= folders; ++i)
      store.WriteString("Sounds", parent + '/' + QString::number(i), QString());
  }
  QFile file(QSettings(kSettingsOrganisation, kSettingsApplication).fileName());
  file.open(QIODevice::ReadOnly);
  return QString::fromUtf8(file.readAll());
}

struct SHostileCase {
  QString file;                  // the store's whole file
  std::function<QString()> use;  // reads it as the program does; what the program then uses
  QString used;
  QString repair;  // what the program says, or empty
};

TEST(HostileSettings, AreRepairedOnLoadingWithOneSentenceEach) {
  const QTemporaryDir folders;
  for (int i = 1; i <= kMaxBrowserFolders + 1; ++i)
    QDir(folders.path()).mkdir(QString::number(i));
  const QString longText(5000, 'a');
  const SHostileCase cases[] = {
      {"[OptionsSound]\nStopProzesserOver=-1\n", Option(&SSoundOptions::stopProzesserOver), "95",
       "OptionsSound\\StopProzesserOver: -1 is out of range (1 to 999); 95 is used."},
      {"[OptionsSound]\nStopProzesserOver=0\n", Option(&SSoundOptions::stopProzesserOver), "95",
       "OptionsSound\\StopProzesserOver: 0 is out of range (1 to 999); 95 is used."},
      {"[OptionsSound]\nStopProzesserOver=120\n", Option(&SSoundOptions::stopProzesserOver), "120",
       ""},
      {"[OptionsSound]\nWaveBuffer=2147483647\n", Option(&SSoundOptions::waveBuffer), "100",
       "OptionsSound\\WaveBuffer: 2147483647 is out of range (10 to 100); 100 is used."},
      {"[OptionsSound]\nWaveBuffer=99999999999\n", Option(&SSoundOptions::waveBuffer), "100",
       "OptionsSound\\WaveBuffer: 99999999999 is out of range (10 to 100); 100 is used."},
      {"[OptionsSound]\nWaveBuffer=12.5\n", Option(&SSoundOptions::waveBuffer), "26",
       "OptionsSound\\WaveBuffer: \"12.5\" is not a number; 26 is used."},
      {"[OptionsSound]\nMidiDefaultDevice=-7\n", Option(&SSoundOptions::midiDefaultDevice), "-1",
       "OptionsSound\\MidiDefaultDevice: -7 is out of range (-1 to 2147483647); -1 is used."},
      {"[OptionsView]\nGridSize=ten\n", Option(&SViewOptions::gridSize), "10",
       "OptionsView\\GridSize: \"ten\" is not a number; 10 is used."},
      {"[OptionsView]\nGridSize=3\n", Option(&SViewOptions::gridSize), "8",
       "OptionsView\\GridSize: 3 is out of range (8 to 99); 8 is used."},
      {"[OptionsView]\nGridColor=-1\n", Option(&SViewOptions::gridColor), "0",
       "OptionsView\\GridColor: -1 is out of range (0 to 16777215); 0 is used."},
      {"[OptionsView]\nSnapToGrid=yes\n", Option(&SViewOptions::snapToGrid), "on",
       "OptionsView\\SnapToGrid: \"yes\" is not a number; 1 is used."},
      {"[OptionsFile]\nRecentFileSize=40\n", Option(&SFileOptions::recentFileSize), "25",
       "OptionsFile\\RecentFileSize: 40 is out of range (1 to 25); 25 is used."},
      {"[OptionsFile]\nFileStartWindow=" + longText + "\n", Option(&SFileOptions::fileStartWindow),
       "", "OptionsFile\\FileStartWindow: a text of 5000 characters is too long; it is not used."},
      // An unquoted comma makes a list of the line; it was meant as one text.
      {"[OptionsFile]\nFileStartWindow=/home/me/a, b.zmr\n", Option(&SFileOptions::fileStartWindow),
       "/home/me/a, b.zmr", ""},
      {"[MainFrame]\nLeft=3000\nTop=2000\nWidth=800\nHeight=600\n", FramePlace,
       "800, 400, 800 x 600, state 0",
       "MainFrame: the window at 3000, 2000, 800 x 600 does not fit on the screen; 800, 400, "
       "800 x 600 is used."},
      {"[MainFrame]\nLeft=1700\nTop=50\nWidth=2147483647\nHeight=600\n", FramePlace,
       "1600, 50, 1280 x 600, state 0",
       "MainFrame: the window at 1700, 50, 2147483647 x 600 does not fit on the screen; 1600, 50, "
       "1280 x 600 is used."},
      {"[MainFrame]\nLeft=-2147483648\nTop=10\nWidth=5\nHeight=5\n", FramePlace,
       "0, 10, 320 x 240, state 0",
       "MainFrame: the window at -2147483648, 10, 5 x 5 does not fit on the screen; 0, 10, 320 x "
       "240 is used."},
      // A maximised window does not store its place when it closes: the repaired one is stored
      // at once.
      {"[MainFrame]\nLeft=3000\nTop=2000\nWidth=800\nHeight=600\nWindowState=2\n", FramePlace,
       "800, 400, 800 x 600, state 2",
       "MainFrame: the window at 3000, 2000, 800 x 600 does not fit on the screen; 800, 400, "
       "800 x 600 is used."},
      {"[MainFrame]\nWindowState=7\n", FramePlace, "100, 100, 800 x 600, state 0",
       "MainFrame\\WindowState: 7 is out of range (0 to 2); 0 is used."},
      {"[MainFrame]\nLeft=40\nTop=30\nWidth=900\nHeight=600\nWindowState=2\n", FramePlace,
       "40, 30, 900 x 600, state 2", ""},
      {"[Files]\n" + Lines("%1=/nowhere/%1.zmr", 30), StoredRecentFiles, "25",
       "Files: 30 recent files; the first 25 are kept."},
      {"[Files]\nx=/nowhere/x.zmr\n2=/nowhere/2.zmr\n", StoredRecentFiles, "1",
       "Files: entries that are not numbered 1, 2, ... are left out."},
      {"[Files]\n1=" + longText + "\n2=/nowhere/2.zmr\n", StoredRecentFiles, "1",
       "Files\\1: a text of 5000 characters is too long; it is not used."},
      {"[Tools]\n" + Lines("Tool%1\\Path=/bin/true", kMaxTools + 1), ToolCount, "1000",
       "Tools: 1001 tools; the first 1000 are kept."},
      {"[Tools]\nT\\Path=" + longText + "\n", ToolPath, "",
       "Tools\\T\\Path: a text of 5000 characters is too long; it is not used."},
      {SoundFoldersFile(folders.path(), kMaxBrowserFolders + 1), SoundFolders,
       "1000 shown, 0 stored", "Sounds: 1001 folders; the first 1000 are kept."},
      {"\x01\x02[[[==\n\xff\xfe garbage\n", Option(&SSoundOptions::stopProzesserOver), "95", ""},
  };
  for (const SHostileCase& c : cases) {
    WriteSettingsFile(c.file.toUtf8());
    TakeSettingsRepairs();
    const std::string shown = c.file.left(60).toStdString();
    EXPECT_EQ(c.use().toStdString(), c.used.toStdString()) << shown;
    EXPECT_EQ(TakeSettingsRepairs().join('\n').toStdString(), c.repair.toStdString()) << shown;
    // Lists and a maximised window's place are written back as they were repaired; the records
    // are written when the program ends.
    c.use();
    if (c.file.startsWith("[Files]") || c.file.startsWith("[Tools]") ||
        c.file.startsWith("[Sounds]") || c.file.contains("WindowState=2")) {
      EXPECT_EQ(TakeSettingsRepairs().join('\n').toStdString(), "") << shown;
    }
  }
}

}  // namespace
