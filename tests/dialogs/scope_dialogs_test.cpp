// The volume view's dialog with "Visible in Panel", and the scope window that the scope's picture
// button opens instead of a dialog.
#include <QApplication>
#include <QCheckBox>

#include "modules/panel_items.h"
#include "modules/scope.h"
#include "patch/headless_canvas.h"
#include "tests/dialogs/dialog_fixture.h"
#include "views/scope_window.h"

namespace {

class ScopeDialogTest : public DialogTest {
 protected:
  // The sound window is open, as in the editor: the panel list first, then the structure.
  ScopeDialogTest() {
    document.ViewSound->ModuleList->SetView(&panel_, kPanelEditable);
    list.SetView(&structure_, kPanelEditable);
  }
  ~ScopeDialogTest() override {
    list.SetView(nullptr, kPanelWindowClosing);
    document.ViewSound->ModuleList->SetView(nullptr, kPanelWindowClosing);
  }

  static TViewWave* OpenScopeWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* window = dynamic_cast<TViewWave*>(widget);
      if (window != nullptr && window->isVisible()) return window;
    }
    return nullptr;
  }

 private:
  THeadlessCanvas panel_;
  THeadlessCanvas structure_;
};

TEST_F(ScopeDialogTest, VisibleInPanelShowsAndRemovesTheLevelMeter) {
  auto& view = Add<TLautstaerkeSehenArbeiten>("VolumeWork", "level");
  ASSERT_NE(view.LevelMeter(), nullptr);
  const auto toggle = [](bool expected) {
    return [expected](QDialog& form) {
      auto& box = Control<QCheckBox>(form, "CheckBoxVisible");
      EXPECT_EQ(box.isChecked(), expected);
      box.setChecked(!expected);
      PressOk(form);
    };
  };
  Script({toggle(true)});
  view.ShowProperties();
  EXPECT_EQ(view.ShowInView->value, 0);
  EXPECT_EQ(view.LevelMeter(), nullptr);
  EXPECT_TRUE(document.IsModified());

  Script({toggle(false)});
  view.ShowProperties();
  EXPECT_EQ(view.ShowInView->value, 1);
  ASSERT_NE(view.LevelMeter(), nullptr);
  EXPECT_EQ(view.LevelMeter()->Rect.get(), view.ViewRect.get());

  Script({[](QDialog& form) {
    Control<QCheckBox>(form, "CheckBoxVisible").setChecked(false);
    PressCancel(form);
  }});
  view.ShowProperties();
  EXPECT_EQ(view.ShowInView->value, 1);
  EXPECT_NE(view.LevelMeter(), nullptr);
}

TEST_F(ScopeDialogTest, ThePictureButtonOpensTheScopeWindowAndClosingItIsKept) {
  auto& scope = Add<TAusgabeSehen>("OutputLook", "look");
  // A new scope's window opens with its editable view.
  TViewWave* window = OpenScopeWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->windowTitle(), QStringLiteral(" Look"));
  scope.Title->value = " Bass";
  scope.PropertyChanged(scope.Title.get());
  EXPECT_EQ(window->windowTitle(), QStringLiteral(" Bass"));

  window->close();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(scope.ViewLook->Visible->value, 0);
  EXPECT_EQ(scope.ViewLook->Form, nullptr);
  EXPECT_EQ(OpenScopeWindow(), nullptr);

  scope.ShowProperties();
  window = OpenScopeWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(scope.ViewLook->Visible->value, 1);
  // Taking the module's view down closes the window; the document still says it is open.
  scope.CreatePanel(nullptr, kPanelWindowClosing);
  EXPECT_EQ(OpenScopeWindow(), nullptr);
  EXPECT_EQ(scope.ViewLook->Visible->value, 1);
}

}  // namespace
