// The module list dialog on a bundled sound: which buttons a selection enables, removals that
// Cancel takes back and OK files as one undo step, and a playing sound paused while it is open.
#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <sstream>

#include "app/module_list_dialog.h"
#include "patch/dokument_klang.h"

namespace {

class ModuleListDialog : public ::testing::Test {
 protected:
  ModuleListDialog() { EXPECT_TRUE(document.Load(ZELMAR_EXAMPLES "/fm_bell.zmr")); }

  std::string Text() const {
    std::ostringstream text;
    document.WriteSound(text);
    return text.str();
  }
  TModuleListeArbeiten& List() { return *document.ModuleList; }
  static void Select(QListWidget& items, std::initializer_list<int> rows) {
    items.clearSelection();
    for (int row : rows)
      items.item(row)->setSelected(true);
  }

  TDokumentKlang document;
};

TEST_F(ModuleListDialog, GoToWantsExactlyOneModuleAndRemoveAtLeastOne) {
  TModuleListDialog dialog(List());
  QListWidget& items = dialog.List();
  ASSERT_EQ(items.count(), static_cast<int>(List().Children().size()));
  const struct {
    std::initializer_list<int> rows;
    bool goTo, remove, picture;
  } cases[] = {
      {{}, false, false, false},
      {{1}, true, true, true},
      {{0, 2}, false, true, false},
  };
  for (const auto& c : cases) {
    Select(items, c.rows);
    EXPECT_EQ(dialog.GoToButton().isEnabled(), c.goTo) << c.rows.size();
    EXPECT_EQ(dialog.RemoveButton().isEnabled(), c.remove) << c.rows.size();
    EXPECT_EQ(!dialog.Picture().pixmap().isNull(), c.picture) << c.rows.size();
    EXPECT_EQ(List().MarkedCount(), static_cast<int>(c.rows.size())) << "the canvas follows";
  }
  dialog.SelectAllButton().click();
  EXPECT_EQ(List().MarkedCount(), items.count());
  EXPECT_FALSE(dialog.GoToButton().isEnabled());
}

TEST_F(ModuleListDialog, CancelTakesEveryRemovalBackAndOkFilesThemAsOneStep) {
  const std::string before = Text();
  const std::size_t count = List().Children().size();
  for (const bool ok : {false, true}) {
    {
      TModuleListDialog dialog(List());
      Select(dialog.List(), {0, 1});
      dialog.RemoveButton().click();
      Select(dialog.List(), {0});
      dialog.RemoveButton().click();
      EXPECT_EQ(dialog.List().count(), static_cast<int>(count) - 3);
      EXPECT_EQ(List().Children().size(), count - 3) << "removals are made at once";
      if (ok) {
        dialog.OkButton().click();
      } else {
        dialog.reject();
      }
    }
    EXPECT_EQ(List().ActionManager.UndoCount(), ok ? 1 : 0);
    if (!ok) {
      List().UnmarkAll();
      EXPECT_EQ(Text(), before) << "every module is back, with its wires";
    }
  }
  EXPECT_EQ(List().ActionManager.UndoText(), "Undo Component Window");
  List().ExecuteCommand(kCommandUndo);
  List().UnmarkAll();
  EXPECT_EQ(Text(), before) << "one undo brings back all three";
}

TEST_F(ModuleListDialog, OkWithoutRemovalsFilesNothing) {
  TModuleListDialog dialog(List());
  Select(dialog.List(), {0});
  dialog.OkButton().click();
  EXPECT_EQ(List().ActionManager.UndoCount(), 0);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(ModuleListDialog, APlayingSoundPausesWhileTheDialogIsOpen) {
  for (const bool ok : {false, true}) {
    ASSERT_EQ(document.StartSound(), TKlangEngine::kStarted);
    {
      TModuleListDialog dialog(List());
      EXPECT_FALSE(document.IsStarted());
      if (ok) dialog.OkButton().click();
    }
    EXPECT_TRUE(document.IsStarted()) << ok;
    document.StopSound();
  }
  TModuleListDialog dialog(List());
  dialog.reject();
  EXPECT_FALSE(document.IsStarted()) << "a stopped sound stays stopped";
}

}  // namespace
