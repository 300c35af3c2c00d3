#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "model_fixture.h"
#include "platform/clipboard.h"
#include "platform/options.h"
#include "support/recording_presenter.h"

namespace {

class ModuleList : public ::testing::Test {
 protected:
  void SetUp() override {
    SetClipboardBackend(&clipboard);
    ViewOptions() = SViewOptions();
  }
  void TearDown() override { SetClipboardBackend(nullptr); }

  TMemoryClipboard clipboard;
  TDokumentKlang document;
  TModuleListeArbeiten& list = *document.ModuleList;
};

std::vector<std::string> Keys(const TPropTypList& list) {
  std::vector<std::string> keys;
  for (const auto& [key, child] : list.Children())
    keys.push_back(key);
  return keys;
}

TEST_F(ModuleList, SelectAllReachesEveryPosition) {
  Place(list, "Far", Generator(), 16777000, 16777000);
  Place(list, "Near", Generator(), -29999, -29999);
  list.ExecuteCommand(kCommandSelectAll);
  EXPECT_EQ(list.MarkedCount(), 2);
}

TEST_F(ModuleList, RubberBandSelectsAndShiftKeeps) {
  auto& a = Place(list, "A", Generator(), 0, 0);
  auto& b = Place(list, "B", Generator(), 200, 0);
  list.CanvasMouseDown(kCanvasRubberBand, false, 300, 60);
  list.CanvasMouseMove(false, 190, -10);  // drawn from bottom right to top left
  EXPECT_TRUE(b.IsMarked());
  list.CanvasMouseMove(false, 299, 59);  // left again: unmarked during the same drag
  EXPECT_FALSE(b.IsMarked());
  list.CanvasMouseUp();

  a.SetMarked(true);
  list.CanvasMouseDown(kCanvasRubberBand, true, 190, -10);
  list.CanvasMouseMove(true, 300, 60);
  list.CanvasMouseUp();
  EXPECT_TRUE(a.IsMarked() && b.IsMarked());
}

TEST_F(ModuleList, PastedModulesGetClipboardKeysAndKeepOnlyTheirOwnWires) {
  auto& outsider = Place(list, "Ext", Generator(), 300, 300);
  auto& osc = Place(list, "Osc", Generator(), 0, 0);
  auto& mix = Place(list, "Mix", Processor(2), 100, 0);
  In(mix, "1").Connect(&Out(osc), false);
  In(mix, "2").Connect(&Out(outsider), false);
  osc.SetMarked(true);
  mix.SetMarked(true);
  list.ExecuteCommand(kCommandCopy);
  list.ExecuteCommand(kCommandPaste);
  list.ExecuteCommand(kCommandPaste);
  EXPECT_EQ(Keys(list),
            (std::vector<std::string>{"Clpb1", "Clpb2", "Clpb3", "Clpb4", "Ext", "Mix", "Osc"}));
  // "Mix" sorts before "Osc", so the copy of Mix comes first.
  auto* copy = dynamic_cast<TTestModule*>(list.Get("Clpb1").get());
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->Rect->left->value, 110);
  EXPECT_EQ(In(*copy, "1").ModuleName->value, "Clpb2");
  EXPECT_TRUE(In(*copy, "2").ModuleName->value.empty());
  EXPECT_EQ(list.MarkedCount(), 2);
  EXPECT_EQ(list.ActionManager.UndoText(), "Undo create modules");
  list.ExecuteCommand(kCommandUndo);
  EXPECT_FALSE(list.Has("Clpb3"));
}

TEST_F(ModuleList, DraggingSnapsToTheGridAndStopsAtTheLeftEdge) {
  ViewOptions().gridSize = 10;
  const struct {
    int x;
    int expected;
  } cases[] = {{13, 10}, {15, 10}, {16, 20}};
  for (const auto& c : cases) {
    auto& module = Place(list, "M", Generator(), c.x, 40);
    module.SetMarked(false);
    list.BeginTitleDrag(module, false, 5, 5);
    list.TitleDrag(module, 5, 5);
    list.EndTitleDrag(module);
    EXPECT_EQ(module.Rect->left->value, c.expected) << c.x;
    list.Remove("M");
  }
  auto& module = Place(list, "M", Generator(), 20, 40);
  list.BeginTitleDrag(module, false, 5, 5);
  list.TitleDrag(module, -100, 5);
  list.EndTitleDrag(module);
  EXPECT_EQ(module.Rect->left->value, 0);
  EXPECT_EQ(module.Rect->right->value, 88);
  EXPECT_EQ(list.ActionManager.UndoText(), "Undo move modules");
  list.ActionManager.Undo();
  EXPECT_EQ(module.Rect->left->value, 20);
}

TEST_F(ModuleList, TwoWindowsDragAtTheSameTimeWithoutDisturbingEachOther) {
  TDokumentKlang otherDocument;
  TModuleListeArbeiten& other = *otherDocument.ModuleList;
  auto& here = Place(list, "M", Generator(), 100, 40);
  auto& there = Place(other, "M", Generator(), 300, 40);
  list.BeginTitleDrag(here, false, 5, 5);
  other.BeginTitleDrag(there, false, 5, 5);
  list.CanvasMouseDown(kCanvasRubberBand, false, 0, 0);
  other.CanvasMouseDown(kCanvasRubberBand, false, 0, 0);
  other.CanvasMouseUp();  // ends only the other window's band
  list.CanvasMouseMove(false, 500, 500);
  EXPECT_TRUE(here.IsMarked());
  list.CanvasMouseUp();

  list.TitleDrag(here, 25, 5);
  other.TitleDrag(there, 5, 25);
  other.EndTitleDrag(there);
  list.EndTitleDrag(here);
  EXPECT_EQ(here.Rect->GetRect(), (TRect{120, 40, 208, 91}));
  EXPECT_EQ(there.Rect->GetRect(), (TRect{300, 60, 388, 111}));
  EXPECT_EQ(list.ActionManager.UndoCount(), 1);
  EXPECT_EQ(other.ActionManager.UndoCount(), 1);
}

TEST_F(ModuleList, AligningRightEdgesKeepsWidths) {
  auto& narrow = Place(list, "N", Generator(), 10, 0);
  auto& wide = Place(list, "W", Generator(), 50, 100);
  narrow.Rect->right->value = 40;
  narrow.SetMarked(true);
  wide.SetMarked(true);
  list.ExecuteCommand(kCommandAlignRight);
  EXPECT_EQ(narrow.Rect->right->value, 138);
  EXPECT_EQ(wide.Rect->right->value, 138);
  EXPECT_EQ(narrow.Rect->left->value, 108);
  EXPECT_EQ(wide.Rect->left->value, 50);
}

TEST_F(ModuleList, DeletingAModuleAndUndoingRestoresItsWires) {
  auto& source = Place(list, "Src", Generator(), 5, 6);
  auto& a = Place(list, "A", Processor(1));
  auto& b = Place(list, "B", Processor(1));
  In(a).Connect(&Out(source), false);
  In(b).Connect(&Out(source), false);
  source.Title->value = " Kept title";
  source.SetMarked(true);
  list.ExecuteCommand(kCommandDelete);
  EXPECT_FALSE(list.Has("Src"));
  EXPECT_TRUE(In(a).IsFree() && In(b).IsFree());
  list.ExecuteCommand(kCommandUndo);
  ASSERT_TRUE(list.Has("Src"));
  EXPECT_FALSE(In(a).IsFree() || In(b).IsFree());
  EXPECT_EQ(In(a).GetSource()->Owner()->Title->value, " Kept title");
  EXPECT_EQ(In(a).GetSource()->Owner()->Rect->left->value, 5);
  list.ExecuteCommand(kCommandRedo);
  EXPECT_FALSE(list.Has("Src"));
  list.ExecuteCommand(kCommandUndo);
  EXPECT_TRUE(list.Has("Src"));
}

TEST_F(ModuleList, UndoWhilePlayingStopsRevalidatesAndStartsAgain) {
  auto& generator = Place(list, "Gen", Generator());
  auto& speaker = Place(list, "Spk", Sink());
  list.ActionManager.RecordAction(In(speaker).Connect(&Out(generator), true));
  document.RevalidatePatch();
  ASSERT_EQ(document.StartSound(), 0);
  EXPECT_TRUE(speaker.IsActive(nullptr));
  list.ExecuteCommand(kCommandUndo);
  EXPECT_TRUE(document.IsStarted());
  EXPECT_FALSE(speaker.IsActive(nullptr));
  EXPECT_TRUE(document.IsModified());
  EXPECT_EQ(document.StopSound(), 0);
}

TEST_F(ModuleList, QueriesFollowSelectionAndHistory) {
  std::string caption;
  EXPECT_EQ(list.QueryCommand(kCommandUndo, caption), 0);
  EXPECT_EQ(caption, "Undo action");
  EXPECT_EQ(list.QueryCommand(kCommandCopy, caption), 0);
  auto& module = Place(list, "A", Generator());
  module.SetMarked(true);
  EXPECT_EQ(list.QueryCommand(kCommandCopy, caption), 1);
  EXPECT_EQ(list.QueryCommand(kQueryModuleCount, caption), 1);
  EXPECT_EQ(list.QueryCommand(kCommandPaste, caption), 0);  // no canvas
}

TEST(ModuleListText, CopyWithNothingMarkedWritesNothing) {
  TModuleListeArbeiten list;
  Place(list, "A", Generator());
  std::ostringstream text;
  EXPECT_FALSE(list.CopyToStream(text));
  EXPECT_TRUE(text.str().empty());
}

// A group file that cannot be read adds nothing, and the error names the file and the fault.
TEST_F(ModuleList, AnUnreadableGroupFileIsNamedWithItsFault) {
  Generator();  // registers the test types
  const auto folder = std::filesystem::temp_directory_path();
  const struct {
    const char* name;
    const char* text;  // null: no such file
    const char* fault;
  } cases[] = {
      {"cut.group", "BEGIN G TestGenerator\nTitle \" G\"\n", "ends before the END of a block"},
      {"bad.group", "BEGIN G TestGenerator\nTitle G\nEND\nEND\n", "line 2 cannot be read"},
      {"empty.group", "END\n", "holds no modules"},
      {"missing.group", nullptr, "cannot be opened"},
  };
  for (const auto& c : cases) {
    const std::string path = (folder / c.name).string();
    if (c.text) std::ofstream(path, std::ios::binary) << c.text;
    std::string error;
    EXPECT_FALSE(list.InsertGroupFile(path, 10, 10, error)) << c.name;
    EXPECT_NE(error.find(path), std::string::npos) << error;
    EXPECT_NE(error.find(c.fault), std::string::npos) << error;
    EXPECT_TRUE(list.Children().empty()) << c.name;
  }
}

TEST_F(ModuleList, UnreadableClipboardTextIsReportedWithItsFault) {
  Generator();
  TRecordingPresenter presenter;
  SetMessagePresenter(&presenter);
  clipboard.WriteData("BEGIN G TestGenerator\nTitle G\nEND\nEND\n");
  list.ExecuteCommand(kCommandPaste);
  clipboard.WriteData("END\n");  // nothing to paste is no fault
  list.ExecuteCommand(kCommandPaste);
  SetMessagePresenter(nullptr);
  EXPECT_TRUE(list.Children().empty());
  ASSERT_EQ(presenter.shown.size(), 1u);
  EXPECT_EQ(presenter.shown[0].text, "The clipboard text is not readable (line 2 cannot be read).");
}

}  // namespace
