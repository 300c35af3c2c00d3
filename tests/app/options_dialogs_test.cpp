// The three option dialogs: what they show of a first start, Reset, the values OK refuses, and
// that only OK writes back.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSlider>

#include "app/dialog_fields.h"
#include "app/help_window.h"
#include "app/options_file_dialog.h"
#include "app/options_sound_dialog.h"
#include "app/options_view_dialog.h"
#include "platform/settings_store.h"
#include "support/recording_presenter.h"

namespace {

class OptionsDialogs : public ::testing::Test {
 protected:
  OptionsDialogs() {
    QSettings(kSettingsOrganisation, kSettingsApplication).clear();
    SetMessagePresenter(&presenter);
  }
  ~OptionsDialogs() override { SetMessagePresenter(nullptr); }

  // The Reset button of `dialog`.
  static QPushButton& Reset(QDialog& dialog) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
      if (button->text() == "&Reset") return *button;
    }
    throw std::logic_error("no Reset");
  }

  TRecordingPresenter presenter;
};

TEST_F(OptionsDialogs, AFirstStartShowsTheDefaultsAndResetGives15And30) {
  SFileOptions file;
  SSoundOptions sound;
  LoadOptions(file);
  LoadOptions(sound);
  sound.speakerDefaultDevice = 2;
  TOptionsFileDialog fileDialog(file);
  EXPECT_EQ(fileDialog.RecentFiles().currentText(), "8");
  EXPECT_FALSE(fileDialog.Autosave().isChecked());
  EXPECT_EQ(fileDialog.AutosaveMinutes().text(), "30");
  EXPECT_TRUE(fileDialog.UndoAfterSave().isChecked());
  EXPECT_TRUE(fileDialog.ShowLastSound().isChecked());
  Reset(fileDialog).click();
  EXPECT_EQ(fileDialog.RecentFiles().currentText(), "15");

  TOptionsSoundDialog soundDialog(sound);
  EXPECT_TRUE(soundDialog.LowLatency().isChecked());
  EXPECT_EQ(soundDialog.WaveBuffer().value(), 26);
  EXPECT_TRUE(soundDialog.StartAfterLoading().isChecked());
  EXPECT_EQ(soundDialog.StopAbove().text(), "95");
  soundDialog.StopAbove().setText("80");
  Reset(soundDialog).click();
  EXPECT_EQ(soundDialog.WaveBuffer().value(), 30);
  EXPECT_EQ(soundDialog.StopAbove().text(), "95");
  soundDialog.OkButton().click();
  EXPECT_EQ(sound.waveBuffer, 30);
  EXPECT_EQ(sound.speakerDefaultDevice, 2) << "Reset keeps the default devices";
}

TEST_F(OptionsDialogs, OkRefusesASmallGridAndAZeroAutosaveTimeAndStaysOpen) {
  const struct {
    const char* grid;
    bool accepted;
  } grids[] = {{"7", false}, {"", false}, {"8", true}, {"99", true}};
  for (const auto& c : grids) {
    SViewOptions view;
    TOptionsViewDialog dialog(view);
    presenter.shown.clear();
    dialog.GridSize().setText(c.grid);
    dialog.OkButton().click();
    EXPECT_EQ(dialog.result() == QDialog::Accepted, c.accepted) << c.grid;
    EXPECT_EQ(view.gridSize, c.accepted ? QString(c.grid).toInt() : 10) << c.grid;
    if (c.accepted) continue;
    ASSERT_EQ(presenter.shown.size(), 1u) << c.grid;
    EXPECT_EQ(presenter.shown[0].caption, "Fault");
    EXPECT_EQ(presenter.shown[0].text, "Gridsize must be higher then 7 points");
    EXPECT_EQ(presenter.shown[0].icon, TMessageIcon::Error);
  }

  SFileOptions file;
  TOptionsFileDialog dialog(file);
  ASSERT_FALSE(dialog.Autosave().isChecked());
  presenter.shown.clear();
  dialog.AutosaveMinutes().setText("0");
  dialog.UndoAfterSave().setChecked(false);
  dialog.OkButton().click();
  ASSERT_EQ(presenter.shown.size(), 1u) << "refused even with autosave off";
  EXPECT_EQ(presenter.shown[0].caption, "Fault Autosave");
  EXPECT_EQ(presenter.shown[0].text, "Time value to low !");
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  EXPECT_TRUE(file.undoAfterSave) << "nothing is taken over";
  dialog.AutosaveMinutes().setText("5");
  dialog.OkButton().click();
  EXPECT_EQ(file.autosaveTimeMin, 5);
  EXPECT_FALSE(file.undoAfterSave);
}

TEST_F(OptionsDialogs, AStoredRecentFileSizeOf40IsShownAndStoredAs25) {
  SettingsWriteInteger("OptionsFile", "RecentFileSize", 40);
  SFileOptions file;
  LoadOptions(file);
  TOptionsFileDialog dialog(file);
  EXPECT_EQ(dialog.RecentFiles().currentText(), "25");
  dialog.OkButton().click();
  StoreOptions(file);
  EXPECT_EQ(SettingsReadInteger("OptionsFile", "RecentFileSize", 0), 25);
}

TEST_F(OptionsDialogs, OkTakesOverEveryControlAndCancelNothing) {
  for (const bool ok : {false, true}) {
    SViewOptions view;
    SFileOptions file;
    SSoundOptions sound;
    TOptionsViewDialog viewDialog(view);
    viewDialog.GridSize().setText("12");
    viewDialog.AngledLines().setChecked(true);
    viewDialog.GridVisible().setChecked(false);
    viewDialog.Color(2).SetColor(StoredColor(1, 2, 3));
    TOptionsFileDialog fileDialog(file);
    fileDialog.RecentFiles().setCurrentIndex(2);
    fileDialog.Autosave().setChecked(true);
    fileDialog.ShowSound().setChecked(true);
    fileDialog.StartFile().setText("/sounds/start.zmr");
    TOptionsSoundDialog soundDialog(sound);
    soundDialog.LowLatency().setChecked(false);
    soundDialog.WaveBuffer().setValue(55);
    soundDialog.StartAfterLoading().setChecked(false);
    soundDialog.StopAbove().setText("120");
    for (TShellDialog* dialog :
         std::initializer_list<TShellDialog*>{&viewDialog, &fileDialog, &soundDialog}) {
      if (ok) {
        dialog->OkButton().click();
      } else {
        dialog->reject();
      }
    }
    EXPECT_EQ(view.gridSize, ok ? 12 : 10);
    EXPECT_EQ(view.directLines, !ok);
    EXPECT_EQ(view.gridVisible, !ok);
    EXPECT_EQ(view.colorAnalog, ok ? StoredColor(1, 2, 3) : StoredColor(255, 255, 255));
    EXPECT_EQ(file.recentFileSize, ok ? 3 : 15);
    EXPECT_EQ(file.autosave, ok);
    EXPECT_EQ(file.startWindow, ok);
    EXPECT_EQ(file.showLastWindow, !ok);
    EXPECT_EQ(file.fileStartWindow, ok ? "/sounds/start.zmr" : "");
    EXPECT_EQ(sound.lowLatency, !ok);
    EXPECT_EQ(sound.waveBuffer, ok ? 55 : 30);
    EXPECT_EQ(sound.startAfterLoading, !ok);
    EXPECT_EQ(sound.stopProzesserOver, ok ? 120 : 95) << "no processor limit is refused";
  }
  EXPECT_TRUE(presenter.shown.empty());
}

TEST_F(OptionsDialogs, HelpOpensEachDialogsTopic) {
  SViewOptions view;
  SFileOptions file;
  SSoundOptions sound;
  TOptionsViewDialog viewDialog(view);
  TOptionsFileDialog fileDialog(file);
  TOptionsSoundDialog soundDialog(sound);
  const std::pair<TShellDialog*, int> cases[] = {
      {&viewDialog, 302}, {&fileDialog, 300}, {&soundDialog, 301}};
  for (const auto& [dialog, topic] : cases) {
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
      if (button->text() == "&Help") button->click();
    }
    EXPECT_EQ(HelpWindow().CurrentTopic(), topic);
  }
}

}  // namespace
