// The change channel: every kind of edit, done, undone and redone, announces what it changed to
// the list's observers and to the sound's, after the change; an observer may leave in its handler.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "model_fixture.h"
#include "patch/port_actions.h"
#include "persist/tree_message.h"

namespace {

const char* KindName(TListChangeKind kind) {
  switch (kind) {
    case TListChangeKind::ModuleAdded:
      return "added";
    case TListChangeKind::ModuleRemoved:
      return "removed";
    case TListChangeKind::ModuleChanged:
      return "changed";
    case TListChangeKind::PortsChanged:
      return "ports";
    case TListChangeKind::WireAdded:
      return "wired";
    case TListChangeKind::WireRemoved:
      return "unwired";
    case TListChangeKind::ActiveChanged:
      return "active";
    case TListChangeKind::ColoursChanged:
      return "colours";
  }
  return "?";
}

// Writes each change as "kind module[.port]" and, given the list, checks that the change is made
// when told.
class TRecorder : public TListObserver {
 public:
  explicit TRecorder(const TModuleListe* list) : list_(list) {}
  void ListChanged(const SListChange& change) override {
    std::string line = std::string(KindName(change.kind)) + " " + change.module;
    if (!change.port.empty()) line += "." + change.port;
    lines.push_back(line);
    if (list_ == nullptr) return;
    const bool present = list_->ModuleAt(change.module) != nullptr;
    if (change.kind == TListChangeKind::ModuleRemoved) {
      EXPECT_FALSE(present) << line;
    }
    if (change.kind == TListChangeKind::ModuleAdded) {
      EXPECT_TRUE(present && change.subject == list_->ModuleAt(change.module)) << line;
    }
    if (change.kind == TListChangeKind::WireAdded) {
      EXPECT_NE(list_->InputAt(change.module, change.port)->GetSource(), nullptr) << line;
    }
  }
  bool Has(const std::string& line) const {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }
  std::vector<std::string> lines;

 private:
  const TModuleListe* list_;
};

class ListChanges : public ::testing::Test {
 protected:
  void SetUp() override {
    Generator();  // registers the test module types
    list.SetView(&canvas, kPanelEditable);
    list.CreateModuleAt("TestGenerator", "Gen", 0, 0, false);
    list.CreateModuleAt("TestSink", "Out", 200, 0, false);
    list.Changes().Subscribe(recorder);
    document.SoundChanges().Subscribe(sound);
  }
  // Runs `edit`, then undo and redo, and returns what each of the three announced.
  std::vector<std::vector<std::string>> DoUndoRedo(const std::function<void()>& edit) {
    std::vector<std::vector<std::string>> heard;
    for (const std::function<void()>& step :
         {edit, std::function<void()>([this] { list.ExecuteCommand(kCommandUndo); }),
          std::function<void()>([this] { list.ExecuteCommand(kCommandRedo); })}) {
      recorder.lines.clear();
      step();
      heard.push_back(recorder.lines);
    }
    return heard;
  }
  TTestModule& Module(const std::string& key) {
    return dynamic_cast<TTestModule&>(*list.ModuleAt(key));
  }

  TDokumentKlang document;
  TModuleListeArbeiten& list = *document.ModuleList;
  TTestCanvas canvas;
  TRecorder recorder{&list};
  TRecorder sound{nullptr};
};

TEST_F(ListChanges, EveryEditIsAnnouncedDoneUndoneAndRedone) {
  struct SCase {
    const char* name;
    std::function<void()> edit;
    // What the edit, its undo and its redo each announce, among other lines.
    std::vector<std::string> done, undone, redone;
  };
  const auto wire = [this] { In(Module("Out")).Connect(&Out(Module("Gen")), true); };
  const SCase cases[] = {
      {"create",
       [this] { list.CreateModuleAt("TestGenerator", "New", 40, 40, false); },
       {"added New"},
       {"removed New"},
       {"added New"}},
      {"wire",
       [this] { list.RecordAction(In(Module("Out")).Connect(&Out(Module("Gen")), true)); },
       {"wired Out.1"},
       {"unwired Out.1"},
       {"wired Out.1"}},
      {"delete a wired source",
       [this, wire] {
         wire();
         list.ActionManager.ClearHistory();
         recorder.lines.clear();
         list.ExecuteCommand(kCommandSelectAll);
         Module("Out").SetMarked(false);
         list.ExecuteCommand(kCommandDelete);
       },
       {"unwired Out.1", "removed Gen"},
       {"added Gen", "wired Out.1"},
       {"unwired Out.1", "removed Gen"}},
      {"move",
       [this] {
         TPropTypList selection;
         selection.Add("Gen", list.Get("Gen"));
         list.MoveMarked(selection, 30, 0);
         list.RecordMove(selection, 30, 0, nullptr);
       },
       {"changed Gen"},
       {"changed Gen"},
       {"changed Gen"}},
      {"add an input",
       [this] {
         auto step = std::make_shared<TActionNeuerEingang>(&list, "Out", "IMA", "");
         step->Execute();
         list.RecordAction(step);
       },
       {"ports Out"},
       {"ports Out"},
       {"ports Out"}},
      {"paste",
       [this] {
         std::ostringstream copied;
         Module("Gen").SelectOnly();
         list.CopyToStream(copied);
         std::istringstream text(copied.str());
         list.Paste(text, nullptr);
       },
       {"added Clpb1"},
       {"removed Clpb1"},
       {"added Clpb1"}},
  };
  for (const SCase& c : cases) {
    SetUp();
    const auto heard = DoUndoRedo(c.edit);
    for (std::size_t step = 0; step < 3; ++step) {
      const auto& expected = step == 0 ? c.done : step == 1 ? c.undone : c.redone;
      std::size_t at = 0;
      // In this order, with other lines between them.
      for (const std::string& line : heard[step]) {
        if (at < expected.size() && line == expected[at]) ++at;
      }
      EXPECT_EQ(at, expected.size())
          << c.name << ", step " << step << ": " << ::testing::PrintToString(heard[step]);
    }
    list.Changes().Unsubscribe(recorder);
    document.SoundChanges().Unsubscribe(sound);
    list.ExecuteCommand(kCommandSelectAll);
    list.ExecuteCommand(kCommandDelete);
  }
}

TEST_F(ListChanges, RevalidationAnnouncesTheActiveFlagsAndTheSoundHearsEveryList) {
  In(Module("Out")).Connect(&Out(Module("Gen")), false);
  recorder.lines.clear();
  document.RevalidatePatch();
  EXPECT_TRUE(recorder.Has("active Gen"));
  EXPECT_TRUE(recorder.Has("active Out"));
  recorder.lines.clear();
  document.RevalidatePatch();  // nothing changed: nothing to say
  EXPECT_FALSE(recorder.Has("active Gen"));

  // The sound's channel hears the structure list and the panel list alike.
  sound.lines.clear();
  document.ViewSound->ModuleList->CreateModuleAt("ViewText", "Note", 0, 0, false);
  EXPECT_TRUE(sound.Has("added Note"));
  document.Broadcast(kTreeColorsChanged, 0, nullptr);
  EXPECT_TRUE(recorder.Has("colours "));
}

TEST_F(ListChanges, AnObserverThatLeavesInItsHandlerHearsNothingMore) {
  struct TLeaving : TListObserver {
    TModuleListe* list = nullptr;
    TListObserver* other = nullptr;
    int heard = 0;
    void ListChanged(const SListChange&) override {
      ++heard;
      list->Changes().Unsubscribe(*this);
      list->Changes().Unsubscribe(*other);
    }
  } leaving;
  TRecorder later(&list);
  leaving.list = &list;
  leaving.other = &later;
  list.Changes().Unsubscribe(recorder);
  list.Changes().Subscribe(leaving);
  list.Changes().Subscribe(later);
  list.CreateModuleAt("TestGenerator", "New", 40, 40, false);
  list.ExecuteCommand(kCommandUndo);
  EXPECT_EQ(leaving.heard, 1);
  EXPECT_TRUE(later.lines.empty());
}

}  // namespace
