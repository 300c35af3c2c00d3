// Group windows: opened from their macro, editing its name, taking inner ports that the sound
// window refuses.
#include <QMdiSubWindow>
#include <QMimeData>
#include <QTest>

#include "app/group_window.h"
#include "app/module_palette_page.h"
#include "app/sound_window.h"
#include "main_frame_fixture.h"
#include "patch/macro_modules.h"
#include "patch/port_list.h"
#include "platform/text_codec.h"
#include "views/module_canvas.h"

namespace {

class GroupWindowTest : public MainFrameTest {
 protected:
  void SetUp() override { frame.OpenFile(Example("macro_voice.zmr")); }
  TModulKomponent* FirstMacro() {
    for (const auto& [key, child] : Document().ModuleList->Children()) {
      if (auto* macro = dynamic_cast<TModulKomponent*>(child.get())) return macro;
    }
    return nullptr;
  }
  // Drops a palette sample of `typeName` at (200, 200) on `canvas`.
  static void DropSample(TModuleCanvasView& canvas, const char* typeName) {
    QMimeData data;
    data.setData(kModuleSampleMime, typeName);
    const QPointF at = canvas.mapFromScene(QPointF(200, 200));
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(canvas.viewport(), &enter);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(canvas.viewport(), &drop);
  }
};

TEST_F(GroupWindowTest, TypingANameRetitlesTheMacroAndTheWindow) {
  TModulKomponent* macro = FirstMacro();
  ASSERT_NE(macro, nullptr);
  macro->ShowProperties();
  TGroupWindow* window = frame.GroupWindow(*macro);
  ASSERT_NE(window, nullptr);
  macro->ShowProperties();
  EXPECT_EQ(frame.Area().subWindowList().size(), 2) << "shown again, not opened twice";
  window->Name().clear();
  QTest::keyClicks(&window->Name(), "Lead");
  EXPECT_EQ(macro->Title->value, "Lead");
  EXPECT_EQ(window->windowTitle(), "Lead");
}

TEST_F(GroupWindowTest, AnInnerInputIsRefusedOnTheSoundAndGivesTheMacroAPort) {
  TModulKomponent* macro = FirstMacro();
  ASSERT_NE(macro, nullptr);
  const std::size_t soundModules = Document().ModuleList->Children().size();
  DropSample(frame.SoundWindow()->Structure(), "ModulMInAnalog");
  EXPECT_EQ(Document().ModuleList->Children().size(), soundModules);

  macro->ShowProperties();
  TGroupWindow* window = frame.GroupWindow(*macro);
  ASSERT_NE(window, nullptr);
  const std::size_t inner = macro->Inside->Children().size();
  const int ports = macro->InputList->Count();
  DropSample(window->Structure(), "ModulMInAnalog");
  EXPECT_EQ(macro->Inside->Children().size(), inner + 1);
  EXPECT_EQ(macro->InputList->Count(), ports + 1);
}

TEST_F(GroupWindowTest, AGroupWindowClosesWhenItsMacroLeaves) {
  TModulKomponent* macro = FirstMacro();
  ASSERT_NE(macro, nullptr);
  macro->ShowProperties();
  ASSERT_NE(frame.GroupWindow(*macro), nullptr);
  Document().ModuleList->UnmarkAll();
  macro->SelectOnly();
  Document().ModuleList->ExecuteCommand(kCommandDelete);
  frame.Tick();
  EXPECT_EQ(frame.Area().subWindowList().size(), 1);
}

}  // namespace

namespace {

int OpenGroupWindows(const TMainFrame& frame) {
  int open = 0;
  for (QMdiSubWindow* child : frame.Area().subWindowList())
    open += qobject_cast<TGroupWindow*>(child->widget()) != nullptr ? 1 : 0;
  return open;
}

QMdiSubWindow& Frame(const QWidget& window) {
  return *qobject_cast<QMdiSubWindow*>(window.parentWidget());
}

// The macro of the example was saved with its group window open.
TEST_F(GroupWindowTest, AnOpenGroupWindowLeavesWithItsMacroAndComesBackWithIt) {
  TModulKomponent* macro = FirstMacro();
  ASSERT_NE(macro, nullptr);
  EXPECT_NE(frame.GroupWindow(*macro), nullptr) << "the loaded sound opens it";
  macro->SelectOnly();
  Document().ModuleList->ExecuteCommand(kCommandDelete);
  frame.Tick();
  EXPECT_EQ(OpenGroupWindows(frame), 0);
  Document().ModuleList->ExecuteCommand(kCommandUndo);
  frame.Tick();
  ASSERT_EQ(OpenGroupWindows(frame), 1) << "undoing the deletion shows the macro again";

  Frame(*frame.GroupWindow(*FirstMacro())).close();
  frame.Tick();
  EXPECT_EQ(OpenGroupWindows(frame), 0) << "a window the user closed stays closed";
}

TEST_F(GroupWindowTest, WindowsReopenWhereTheyWereLeft) {
  frame.show();  // hidden windows hear of their moves only when they show
  TModulKomponent* macro = FirstMacro();
  ASSERT_NE(macro, nullptr);
  const QRect soundPlace(30, 20, 500, 300);
  const QRect groupPlace(300, 200, 420, 260);
  Frame(*frame.SoundWindow()).setGeometry(soundPlace);
  Frame(*frame.GroupWindow(*macro)).setGeometry(groupPlace);
  ASSERT_TRUE(frame.SaveSound(false));
  frame.OpenFile(FromFileText(Document().ViewSound->Title->value));
  EXPECT_EQ(Frame(*frame.SoundWindow()).geometry(), soundPlace);
  ASSERT_NE(frame.GroupWindow(*FirstMacro()), nullptr);
  EXPECT_EQ(Frame(*frame.GroupWindow(*FirstMacro())).geometry(), groupPlace);
}

}  // namespace
