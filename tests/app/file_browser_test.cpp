// The sound and group browsers over temporary folders: which folders stay in the list, the
// collapsed state across starts, the paths of selected files, deleting, and what choosing opens.
#include <QDir>
#include <QSettings>
#include <QToolButton>
#include <QTreeWidget>

#include "app/file_browser_page.h"
#include "main_frame_fixture.h"
#include "platform/paths.h"
#include "platform/settings_store.h"

namespace {

class FileBrowser : public ::testing::Test {
 protected:
  FileBrowser() {
    QSettings(kSettingsOrganisation, kSettingsApplication).clear();
    SetMessagePresenter(&presenter);
  }
  ~FileBrowser() override { SetMessagePresenter(nullptr); }

  // A folder below the temporary one holding `files`.
  QString Folder(const QString& name, const QStringList& files) {
    QDir(root.path()).mkpath(name);
    const QString folder = root.filePath(name);
    for (const QString& file : files) {
      QFile f(folder + '/' + file);
      EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    }
    return folder;
  }
  static QStringList Top(QTreeWidget& tree) {
    QStringList texts;
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
      texts << tree.topLevelItem(i)->text(0);
    return texts;
  }
  static QStringList Children(QTreeWidgetItem& node) {
    QStringList texts;
    for (int i = 0; i < node.childCount(); ++i)
      texts << node.child(i)->text(0);
    return texts;
  }

  QTemporaryDir root;
  TAnsweringPresenter presenter;
  QTreeWidget tree;
};

TEST_F(FileBrowser, EmptyAndVanishedFoldersLeaveTheListAtTheNextRefresh) {
  const QString sounds = Folder("sounds", {"b.zmr", "a.zmr", "notes.txt", "c.group"});
  const QString empty = Folder("empty", {"other.group"});
  const QString gone = Folder("gone", {"x.zmr"});
  TTreeViewFilesGroups browser(tree, "Sounds", "zmr", {});
  browser.AddFolder(sounds);
  browser.AddFolder(gone);
  browser.AddFolder(empty);
  ASSERT_EQ(Top(tree).size(), 3);
  EXPECT_TRUE(Top(tree).contains(empty)) << "shown once after adding";
  for (int i = 0; i < tree.topLevelItemCount(); ++i) {
    QTreeWidgetItem& node = *tree.topLevelItem(i);
    EXPECT_TRUE(node.isExpanded()) << "a new folder starts expanded";
    if (node.text(0) == sounds) {
      EXPECT_EQ(Children(node), QStringList({"a", "b"}));
    }
    if (node.text(0) == empty) {
      EXPECT_EQ(node.childCount(), 0);
    }
  }
  QDir(gone).removeRecursively();
  browser.Refresh();
  EXPECT_EQ(Top(tree), QStringList{sounds});
  EXPECT_EQ(SettingsValueNames("Sounds"), QStringList{sounds});
}

TEST_F(FileBrowser, ACollapsedFolderStaysCollapsedAfterARestart) {
  const QString one = Folder("one", {"s.zmr"});
  const QString two = Folder("two", {"t.zmr"});
  {
    TTreeViewFilesGroups browser(tree, "Sounds", "zmr", {});
    browser.AddFolder(one);
    browser.AddFolder(two);
    tree.findItems(one, Qt::MatchExactly).front()->setExpanded(false);
  }
  QTreeWidget restarted;
  TTreeViewFilesGroups browser(restarted, "Sounds", "zmr", {});
  EXPECT_FALSE(restarted.findItems(one, Qt::MatchExactly).front()->isExpanded());
  EXPECT_TRUE(restarted.findItems(two, Qt::MatchExactly).front()->isExpanded());
  browser.Refresh();
  EXPECT_FALSE(restarted.findItems(one, Qt::MatchExactly).front()->isExpanded());
}

TEST_F(FileBrowser, SelectedPathsAndDeletingFilesAndFolders) {
  const QString folder = Folder("groups", {"voice.group", "pad.group"});
  TTreeViewFilesGroups browser(tree, "Groups", "group", {});
  browser.AddFolder(folder + '/');
  QTreeWidgetItem& node = *tree.topLevelItem(0);
  tree.setCurrentItem(node.child(1));
  EXPECT_TRUE(browser.FileSelected());
  EXPECT_EQ(browser.SelectedPath(), folder + "/voice.group") << "no doubled separator";

  presenter.answer = TMessageAnswer::No;
  browser.DeleteSelected(nullptr);
  ASSERT_EQ(presenter.shown.size(), 1u);
  EXPECT_EQ(presenter.shown[0].caption, "File Delete");
  EXPECT_EQ(presenter.shown[0].text,
            "Are you sure you want delete file \"" + folder + "/voice.group\" ?");
  EXPECT_TRUE(QFile::exists(folder + "/voice.group"));
  presenter.answer = TMessageAnswer::Yes;
  tree.setCurrentItem(tree.topLevelItem(0)->child(1));
  browser.DeleteSelected(nullptr);
  EXPECT_FALSE(QFile::exists(folder + "/voice.group"));
  EXPECT_EQ(Children(*tree.topLevelItem(0)), QStringList{"pad"});

  tree.setCurrentItem(tree.topLevelItem(0));
  EXPECT_EQ(browser.SelectedPath(), folder + '/');
  browser.DeleteSelected(nullptr);
  EXPECT_EQ(tree.topLevelItemCount(), 0);
  EXPECT_TRUE(QFile::exists(folder + "/pad.group")) << "a folder leaves only the list";
  EXPECT_EQ(presenter.shown.size(), 2u) << "no question for a folder";
}

TEST_F(FileBrowser, OnlyChoosingASoundFileOpensIt) {
  const QString folder = Folder("sounds", {"bell.zmr"});
  QStringList opened;
  TFileBrowserPage page(SoundBrowserKind(), [&opened](const QString& path) { opened << path; });
  EXPECT_FALSE(page.DeleteButton().isEnabled());
  page.Browser().AddFolder(folder);
  EXPECT_TRUE(opened.isEmpty()) << "refreshing opens nothing";
  QTreeWidgetItem& node = *page.Tree().topLevelItem(0);
  page.Tree().setCurrentItem(&node);
  EXPECT_TRUE(opened.isEmpty()) << "a folder opens nothing";
  EXPECT_TRUE(page.DeleteButton().isEnabled());
  page.Tree().setCurrentItem(node.child(0));
  EXPECT_EQ(opened, QStringList{folder + "/bell.zmr"});
}

// The examples are offered once: at a user's first start, or when the flag is set again.
TEST_F(MainFrameTest, TheFirstStartOffersTheExamplesInBothBrowsers) {
  const QString examples = ExamplesFolder();
  ASSERT_FALSE(examples.isEmpty());
  SettingsWriteString("", "", "install");
  SettingsDeleteSection("Sounds");
  TMainFrame seeded;
  EXPECT_EQ(SettingsReadString("", "", "x"), "");
  EXPECT_EQ(SettingsValueNames("Sounds"), QStringList{examples});
  EXPECT_EQ(SettingsValueNames("Groups"), QStringList{examples});
  SettingsDeleteSection("Sounds");
  TMainFrame again;
  EXPECT_EQ(SettingsValueNames("Sounds"), std::nullopt) << "an empty flag seeds nothing";
}

}  // namespace
