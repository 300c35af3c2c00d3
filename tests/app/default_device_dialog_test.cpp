// The default device dialogs over file devices: the names of each kind, a single choice that
// can be none, and what OK changes with and without an open sound.
#include <gtest/gtest.h>

#include <QListWidget>
#include <map>
#include <memory>

#include "app/default_device_dialog.h"
#include "engine/device_services.h"
#include "engine/midi_in_file_device.h"
#include "engine/wav_file_in_device.h"
#include "engine/wav_file_out_device.h"
#include "modules/midi.h"
#include "patch/dokument_klang.h"

namespace {

// MIDI inputs that answer every number below their count and remember which were opened.
class TNamedMidiInputs : public TMidiInDevices {
 public:
  explicit TNamedMidiInputs(std::vector<std::string> names) : names_(std::move(names)) {}
  TMidiInDevice* Device(int index) override {
    if (index < 0 || index >= static_cast<int>(names_.size())) return nullptr;
    asked.push_back(index);
    auto& device = devices_[index];
    if (!device) device = std::make_unique<TMidiInFileDevice>(std::vector<SMidiInEvent>{});
    return device.get();
  }
  std::vector<std::string> DeviceNames() const override { return names_; }
  std::vector<int> asked;

 private:
  std::vector<std::string> names_;
  std::map<int, std::unique_ptr<TMidiInFileDevice>> devices_;
};

class DefaultDeviceDialog : public ::testing::Test {
 protected:
  DefaultDeviceDialog() : previous_(DeviceServices()) {
    SetDeviceServices({&waveOut, &waveIn, &midiIn});
  }
  ~DefaultDeviceDialog() override { SetDeviceServices(previous_); }

  static QStringList Texts(QListWidget& list) {
    QStringList texts;
    for (int row = 0; row < list.count(); ++row)
      texts << list.item(row)->text();
    return texts;
  }
  static QList<int> CheckedRows(QListWidget& list) {
    QList<int> rows;
    for (int row = 0; row < list.count(); ++row) {
      if (list.item(row)->checkState() == Qt::Checked) rows << row;
    }
    return rows;
  }
  static void Click(QListWidget& list, int row, Qt::CheckState state) {
    list.item(row)->setCheckState(state);
  }

  TWavFileOutDevice waveOut{"speaker.wav"};
  TWavFileInDevice waveIn{"microphone.wav"};
  TNamedMidiInputs midiIn{{"Keys A", "", "Keys C"}};

 private:
  SDeviceServices previous_;
};

TEST_F(DefaultDeviceDialog, EachKindListsItsDevicesByNameWithTheDefaultChecked) {
  SSoundOptions options;
  options.midiDefaultDevice = 2;
  const struct {
    TDeviceKind kind;
    const char* caption;
    QStringList names;
    QList<int> checked;
  } cases[] = {
      {TDeviceKind::WaveOut, "Default WaveOut Device", {"speaker.wav"}, {0}},
      {TDeviceKind::WaveIn, "Default WaveIn Device", {"microphone.wav"}, {0}},
      {TDeviceKind::MidiIn,
       "Default MidiIn Device",
       {"Keys A", "Fault Device Name", "Keys C"},
       {2}},
  };
  for (const auto& c : cases) {
    TDefaultDeviceDialog dialog(c.kind, options, nullptr);
    EXPECT_EQ(dialog.windowTitle(), c.caption);
    EXPECT_EQ(Texts(dialog.List()), c.names) << c.caption;
    EXPECT_EQ(CheckedRows(dialog.List()), c.checked) << c.caption;
    EXPECT_EQ(dialog.HelpContext(), 303);
  }
}

TEST_F(DefaultDeviceDialog, OneChoiceAtMostAndUncheckingStoresNone) {
  SSoundOptions options;
  TDefaultDeviceDialog dialog(TDeviceKind::MidiIn, options, nullptr);
  Click(dialog.List(), 1, Qt::Checked);
  EXPECT_EQ(CheckedRows(dialog.List()), QList<int>{1});
  Click(dialog.List(), 2, Qt::Checked);
  EXPECT_EQ(CheckedRows(dialog.List()), QList<int>{2}) << "checking a second unchecks the first";
  Click(dialog.List(), 2, Qt::Unchecked);
  EXPECT_TRUE(CheckedRows(dialog.List()).isEmpty());
  EXPECT_EQ(options.midiDefaultDevice, 0) << "nothing is stored before OK";
  dialog.OkButton().click();
  EXPECT_EQ(options.midiDefaultDevice, -1);
  EXPECT_EQ(options.speakerDefaultDevice, 0);
  EXPECT_EQ(options.microDefaultDevice, 0);
}

TEST_F(DefaultDeviceDialog, AStoredDeviceBeyondTheListStaysUnlessTheUserChooses) {
  SSoundOptions options;
  options.speakerDefaultDevice = 7;
  TDefaultDeviceDialog kept(TDeviceKind::WaveOut, options, nullptr);
  EXPECT_TRUE(CheckedRows(kept.List()).isEmpty());
  kept.OkButton().click();
  EXPECT_EQ(options.speakerDefaultDevice, 7);
  TDefaultDeviceDialog cancelled(TDeviceKind::WaveOut, options, nullptr);
  Click(cancelled.List(), 0, Qt::Checked);
  cancelled.reject();
  EXPECT_EQ(options.speakerDefaultDevice, 7);
}

// The sound's MIDI input on the default device follows the new choice at once.
TEST_F(DefaultDeviceDialog, OkMovesTheOpenSoundsModulesToTheChosenDevice) {
  SSoundOptions& options = SoundOptions();
  const SSoundOptions before = options;
  options.midiDefaultDevice = 0;
  TDokumentKlang document;
  bool queryOnly = false;
  auto midi = std::dynamic_pointer_cast<TModulMidiIn>(
      document.ModuleList->CreateModule("MidiIn", queryOnly));
  ASSERT_TRUE(midi);
  document.ModuleList->Add("MidiIn", midi);
  ASSERT_TRUE(midi->OpenDevice(false));
  midiIn.asked.clear();
  TDefaultDeviceDialog dialog(TDeviceKind::MidiIn, options, &document);
  Click(dialog.List(), 2, Qt::Checked);
  dialog.OkButton().click();
  EXPECT_EQ(options.midiDefaultDevice, 2);
  EXPECT_EQ(midiIn.asked, std::vector<int>{2});
  EXPECT_EQ(midi->ChosenDevice(), 2);
  EXPECT_TRUE(midi->IsDeviceOpen());
  options = before;
}

}  // namespace
