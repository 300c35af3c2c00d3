// The lifetime contract of views and canvases: a view is released exactly once, after the model's
// last call to it, and its widget goes only when the event loop runs again, so that a handler of
// the widget may undo or delete its own module; a canvas that goes is never called again.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "model_fixture.h"

namespace {

using TLog = std::vector<std::string>;

// Stands in for the event loop's deferred deletions.
struct TDeferredDeletes {
  std::vector<std::function<void()>> pending;
  void Run() {
    auto due = std::move(pending);
    for (auto& deletion : due)
      deletion();
  }
};

// Stands in for a panel widget: a handler that calls into the model and then goes on using
// itself, as a real mouse handler does.
struct TWidget {
  TLog& log;
  std::string name;
  std::function<void()> onClick;
  void Click() {
    log.push_back(name + " handler begins");
    onClick();
    log.push_back(name + " handler ends");
  }
};

class TRecordingView : public TModuleView {
 public:
  TRecordingView(TLog& log, TDeferredDeletes& deletes, std::shared_ptr<TWidget> widget)
      : log_(log), deletes_(deletes), widget_(std::move(widget)) {}
  ~TRecordingView() override {
    log_.push_back(widget_->name + " released");
    deletes_.pending.push_back(
        [log = &log_, widget = widget_] { log->push_back(widget->name + " widget deleted"); });
  }
  void PropertyChanged(const TPropTyp*) override { Call("updated"); }
  void ActiveChanged() override { Call("active"); }
  void PortsChanged() override { Call("ports"); }

 private:
  void Call(const char* what) { log_.push_back(widget_->name + " " + what); }
  TLog& log_;
  TDeferredDeletes& deletes_;
  std::shared_ptr<TWidget> widget_;
};

class TRecordingCanvas : public TTestCanvas {
 public:
  TRecordingCanvas(TLog& log, TDeferredDeletes& deletes) : log_(log), deletes_(deletes) {}
  std::unique_ptr<TModuleView> CreateModuleView(TModul& module, bool) override {
    const std::string key = module.OwnerList()->KeyOf(&module);
    log_.push_back(key + " created");
    widgets[key] = std::make_shared<TWidget>(TWidget{log_, key, [] {}});
    return std::make_unique<TRecordingView>(log_, deletes_, widgets[key]);
  }
  void Repaint() override { log_.push_back("repaint"); }

  std::map<std::string, std::shared_ptr<TWidget>> widgets;

 private:
  TLog& log_;
  TDeferredDeletes& deletes_;
};

class ViewLifetime : public ::testing::Test {
 protected:
  void SetUp() override {
    Generator();  // registers the test module types
    list.SetView(canvas.get(), kPanelEditable);
    list.CreateModuleAt("TestGenerator", "A", 0, 0, false);
    log.clear();
  }
  void TearDown() override {
    if (canvas) list.ReleaseCanvas(*canvas);
    deletes.Run();
  }

  TLog log;
  TDeferredDeletes deletes;
  TDokumentKlang document;
  TModuleListeArbeiten& list = *document.ModuleList;
  std::unique_ptr<TRecordingCanvas> canvas = std::make_unique<TRecordingCanvas>(log, deletes);
};

TEST_F(ViewLifetime, AHandlerThatRemovesItsOwnModuleReturnsIntoALiveWidget) {
  const struct {
    const char* name;
    std::function<void(TModuleListe&)> gesture;
    int restore;  // the command that brings the module back
  } cases[] = {
      {"undo of the creation", [](TModuleListe& l) { l.ExecuteCommand(kCommandUndo); },
       kCommandRedo},
      {"delete",
       [](TModuleListe& l) {
         l.ExecuteCommand(kCommandSelectAll);
         l.ExecuteCommand(kCommandDelete);
       },
       kCommandUndo},
  };
  for (const auto& c : cases) {
    log.clear();
    ASSERT_TRUE(list.Has("A")) << c.name;
    canvas->widgets["A"]->onClick = [&] { c.gesture(list); };
    canvas->widgets["A"]->Click();
    EXPECT_FALSE(list.Has("A")) << c.name;
    const auto released = std::find(log.begin(), log.end(), "A released");
    ASSERT_NE(released, log.end()) << c.name;
    // The model calls the view never after releasing it, and the handler ends before its widget
    // is deleted.
    EXPECT_TRUE(std::none_of(released + 1, log.end(), [](const std::string& line) {
      return line == "A updated" || line == "A active" || line == "A ports";
    })) << c.name;
    EXPECT_EQ(log.back(), "A handler ends") << c.name;
    deletes.Run();
    EXPECT_EQ(log.back(), "A widget deleted") << c.name;
    EXPECT_EQ(std::count(log.begin(), log.end(), "A released"), 1) << c.name;
    list.ExecuteCommand(c.restore);  // the module comes back with a new view
    EXPECT_EQ(std::count(log.begin(), log.end(), "A created"), 1) << c.name;
  }
}

TEST_F(ViewLifetime, ACanvasThatGoesIsNeverCalledAgain) {
  list.CreateModuleAt("TestGenerator", "B", 100, 0, false);
  TRecordingCanvas other(log, deletes);
  list.ReleaseCanvas(other);  // not the list's canvas: nothing happens
  EXPECT_EQ(list.Canvas, canvas.get());

  log.clear();
  list.ReleaseCanvas(*canvas);
  canvas.reset();
  EXPECT_EQ(list.Canvas, nullptr);
  EXPECT_EQ(std::count(log.begin(), log.end(), "A released"), 1);
  EXPECT_EQ(std::count(log.begin(), log.end(), "B released"), 1);
  // The modules stay in the patch; later edits run without any view.
  EXPECT_TRUE(list.Has("A") && list.Has("B"));
  log.clear();
  list.ExecuteCommand(kCommandUndo);
  list.ExecuteCommand(kCommandRedo);
  list.CreateModuleAt("TestGenerator", "C", 0, 100, false);
  EXPECT_TRUE(log.empty());
}

}  // namespace
