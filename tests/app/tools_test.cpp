// The Tools menu: the stored tools, the tools and property dialogs, and starting a tool.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include "app/tool_property_dialog.h"
#include "app/tools.h"
#include "app/tools_menu.h"
#include "app/tools_options_dialog.h"
#include "platform/settings_store.h"
#include "support/recording_presenter.h"

namespace {

class Tools : public ::testing::Test {
 protected:
  Tools() {
    QSettings(kSettingsOrganisation, kSettingsApplication).clear();
    SetMessagePresenter(&presenter);
  }
  ~Tools() override { SetMessagePresenter(nullptr); }

  static QStringList Titles(const TToolList& tools) {
    QStringList titles;
    for (const SToolEigenschaft& tool : tools)
      titles << tool.title;
    return titles;
  }
  QStringList Texts() const {
    QStringList texts;
    for (const SMessage& message : presenter.shown)
      texts << message.text;
    return texts;
  }

  TRecordingPresenter presenter;
};

TEST_F(Tools, TitlesDifferingInCaseShareOneStoredTool) {
  SaveTools({{"Editor", "-a", "/usr/bin/first", "/tmp/"},
             {"Shell", "", "/bin/sh", ""},
             {"editor", "-b", "/usr/bin/second", ""}});
  const TToolList loaded = LoadTools();
  ASSERT_EQ(loaded.size(), 2);
  const SToolEigenschaft editor = loaded[0].title == "Editor" ? loaded[0] : loaded[1];
  EXPECT_EQ(editor, (SToolEigenschaft{"Editor", "-b", "/usr/bin/second", ""}));
  SaveTools({});
  EXPECT_TRUE(LoadTools().isEmpty()) << "saving replaces every stored tool";
  SettingsWriteString("Tools\\Bare", "Path", "/bin/true");
  EXPECT_EQ(LoadTools(), TToolList({{"Bare", "", "/bin/true", ""}})) << "missing values are empty";
}

TEST_F(Tools, NewAndRenamedToolsKeepTitlesUnique) {
  TToolList tools = {{"A", "", "/bin/a", ""}, {"B", "", "/bin/b", ""}};
  TToolsOptionsDialog dialog(tools);
  EXPECT_FALSE(dialog.EditButton().isEnabled());
  EXPECT_FALSE(dialog.DeleteButton().isEnabled());
  SToolEigenschaft answer;
  dialog.editTool = [&answer](SToolEigenschaft& tool) {
    tool = answer;
    return true;
  };
  answer = {"A", "", "/bin/other", ""};
  dialog.NewButton().click();
  EXPECT_EQ(Titles(tools), QStringList({"A", "B"}));
  EXPECT_EQ(Texts(), QStringList{"the new Name is always existing !"});
  EXPECT_EQ(presenter.shown[0].caption, "Info");
  answer = {"C", "x", "/bin/c", ""};
  dialog.NewButton().click();
  EXPECT_EQ(Titles(tools), QStringList({"A", "B", "C"}));
  EXPECT_EQ(dialog.List().count(), 3);

  presenter.shown.clear();
  dialog.List().setCurrentRow(0);
  answer = {"A", "-p", "/bin/a2", "/home/"};
  dialog.EditButton().click();
  EXPECT_TRUE(presenter.shown.empty()) << "a tool may keep its own title";
  EXPECT_EQ(tools[0], answer);
  answer = {"B", "-q", "/bin/a3", ""};
  dialog.EditButton().click();
  EXPECT_EQ(Texts(), QStringList{"the new Name is always existing !"});
  EXPECT_EQ(tools[0], (SToolEigenschaft{"A", "-q", "/bin/a3", ""}))
      << "the old title stays, the other fields are taken";
  EXPECT_EQ(dialog.List().currentRow(), 0);

  dialog.List().setCurrentRow(2);
  dialog.DeleteButton().click();
  EXPECT_EQ(Titles(tools), QStringList({"A", "B"}));
  EXPECT_FALSE(dialog.DeleteButton().isEnabled()) << "no tool at the deleted index";
  dialog.List().setCurrentRow(0);
  dialog.DeleteButton().click();
  EXPECT_EQ(Titles(tools), QStringList({"B"}));
  EXPECT_EQ(dialog.List().currentRow(), 0);
}

TEST_F(Tools, ThePropertyDialogRefusesAnEmptyTitleAndTakesAChosenProgramsFolder) {
  SToolEigenschaft tool{"Old", "-x", "/bin/old", ""};
  TToolPropertyDialog dialog(tool);
  dialog.ChooseProgram("/usr/bin/env");
  EXPECT_EQ(dialog.Program().text(), "/usr/bin/env");
  EXPECT_EQ(dialog.Directory().text(), "/usr/bin/");
  dialog.Title().clear();
  dialog.OkButton().click();
  ASSERT_EQ(Texts(), QStringList{"no valid Name !"});
  EXPECT_EQ(presenter.shown[0].icon, TMessageIcon::Error);
  EXPECT_EQ(tool.path, "/bin/old");
  dialog.Title().setText("Env");
  dialog.OkButton().click();
  EXPECT_EQ(tool, (SToolEigenschaft{"Env", "-x", "/usr/bin/env", "/usr/bin/"}));
}

// The dialog of Configure is modal; the test answers it from the event loop.
void AnswerToolsDialog(bool ok) {
  QTimer::singleShot(0, [ok] {
    auto* dialog = dynamic_cast<TToolsOptionsDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    dialog->editTool = [](SToolEigenschaft& tool) {
      tool = {"Echo", "", "/bin/echo", ""};
      return true;
    };
    dialog->NewButton().click();
    if (ok) {
      dialog->OkButton().click();
    } else {
      dialog->reject();
    }
  });
}

TEST_F(Tools, CancelLeavesStoreAndMenuAsTheyWereAndOkRebuildsBoth) {
  SaveTools({{"Shell", "", "/bin/sh", ""}});
  QMainWindow window;
  QMenu* menu = window.menuBar()->addMenu(" &Tools ");
  QAction* config = menu->addAction("Tools &Config ...");
  TToolsMenu tools(*menu, *config, window);
  const auto captions = [menu] {
    QStringList texts;
    for (QAction* item : menu->actions())
      texts << (item->isSeparator() ? "-" : item->text());
    return texts;
  };
  EXPECT_EQ(captions(), QStringList({"Tools &Config ...", "-", "Shell"}));
  AnswerToolsDialog(false);
  config->trigger();
  EXPECT_EQ(captions(), QStringList({"Tools &Config ...", "-", "Shell"}));
  EXPECT_EQ(Titles(LoadTools()), QStringList{"Shell"});
  AnswerToolsDialog(true);
  config->trigger();
  EXPECT_EQ(captions(), QStringList({"Tools &Config ...", "-", "Echo", "Shell"}))
      << "in the store's order";
  EXPECT_EQ(Titles(LoadTools()), QStringList({"Echo", "Shell"}));
  EXPECT_EQ(menu->actions().back()->statusTip(), "Activates the user defined program");
}

TEST_F(Tools, AToolStartsWithItsParametersInItsFolder) {
  QTemporaryDir folder;
  const QString script = folder.filePath("tool.sh");
  QFile file(script);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > args.tmp && mv args.tmp args.txt\n");
  file.close();
  file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  EXPECT_EQ(StartTool({"Tool", "one \"two words\"", script, folder.path()}), kToolStarted);
  QFile args(folder.filePath("args.txt"));
  QElapsedTimer waited;
  waited.start();
  while (!args.exists() && waited.elapsed() < 10000)
    QThread::msleep(20);
  ASSERT_TRUE(args.open(QIODevice::ReadOnly)) << "the tool ran in its folder";
  EXPECT_EQ(args.readAll(), "one\ntwo words\n");
}

TEST_F(Tools, FailedStartsAreToldInTheShellsWords) {
  QTemporaryDir folder;
  const QString plain = folder.filePath("plain.txt");
  QFile file(plain);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  const TToolList tools = {{"Empty", "", "", ""},
                           {"Missing", "", folder.filePath("none"), ""},
                           {"Nowhere", "", "/bin/sh", folder.filePath("gone")},
                           {"Plain", "", plain, ""}};
  for (const char* title : {"Empty", "Missing", "Nowhere", "Plain", "Unknown"})
    RunTool(nullptr, tools, title);
  EXPECT_EQ(Texts(),
            QStringList({"The specified file was not found !", "The specified file was not found !",
                         "The specified path was not found !",
                         "The operating system denied access to the specified file !", "Error 1"}));
  for (const SMessage& message : presenter.shown) {
    EXPECT_EQ(message.caption, "Info Execute File");
    EXPECT_EQ(message.icon, TMessageIcon::Error);
  }
}

}  // namespace
