// The device dialogs of the speakers, the microphone and the MIDI input over the file devices:
// the single-choice lists of the devices by name, what OK stores, and the speaker dialog's stop,
// open and restart around a playing sound.
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <filesystem>

#include "cli/render_devices.h"
#include "modules/constants.h"
#include "modules/midi.h"
#include "modules/speakers.h"
#include "platform/options.h"
#include "tests/dialogs/dialog_fixture.h"

namespace {

// Two MIDI files' devices, named as a real service names its ports.
class TNamedMidiIn : public TMidiInDevices {
 public:
  TMidiInDevice* Device(int index) override {
    return index >= 0 && index < 2 ? &devices_[static_cast<std::size_t>(index)] : nullptr;
  }
  std::vector<std::string> DeviceNames() const override { return {"Keys", "Pads"}; }

 private:
  std::array<TMidiInFileDevice, 2> devices_{TMidiInFileDevice({}), TMidiInFileDevice({})};
};

// The rows of the open dialog's list: name and checked.
std::vector<std::pair<QString, bool>> Rows(QDialog& form) {
  std::vector<std::pair<QString, bool>> rows;
  auto& list = Control<QListWidget>(form, "CheckListBox");
  for (int row = 0; row < list.count(); ++row)
    rows.emplace_back(list.item(row)->text(), list.item(row)->checkState() == Qt::Checked);
  return rows;
}

void CheckRow(QDialog& form, int row) {
  Control<QListWidget>(form, "CheckListBox").item(row)->setCheckState(Qt::Checked);
}

class DeviceDialogTest : public DialogTest {
 protected:
  DeviceDialogTest()
      : waveOut_({Output("left.wav"), Output("right.wav"),
                  folder_.filePath("missing/x.wav").toStdString()}),
        waveIn_({}),
        previous_(DeviceServices()) {
    SetDeviceServices({&waveOut_, &waveIn_, &midiIn_});
  }
  // The modules close their devices before the devices go.
  ~DeviceDialogTest() override {
    document.StopSound();
    for (const auto& [key, child] : list.Children()) {
      if (auto* module = dynamic_cast<TGeraetModul*>(child.get())) module->CloseDevice();
    }
    SetDeviceServices(previous_);
  }
  std::filesystem::path Output(const char* name) const {
    return folder_.filePath(QString::fromLatin1(name)).toStdString();
  }

  QTemporaryDir folder_;
  TRenderWaveOut waveOut_;
  TWavFileInDevice waveIn_;
  TNamedMidiIn midiIn_;
  SDeviceServices previous_;
};

using Rows_t = std::vector<std::pair<QString, bool>>;

TEST_F(DeviceDialogTest, EachKindListsItsDevicesWithOneChecked) {
  struct SCase {
    const char* type;
    const char* caption;
    int device;
    Rows_t rows;
    int checkRow;
    Rows_t after;
    int stored;  // "Device" after OK
  };
  const SCase cases[] = {
      {"Speaker",
       "Available Out Port",
       1,
       {{"left.wav", false}, {"right.wav", true}, {"x.wav", false}},
       0,
       {{"left.wav", true}, {"right.wav", false}, {"x.wav", false}},
       0},
      // A device the module chose that is gone shows as such, checked.
      {"Microphon",
       "Available In Port",
       4,
       {{"Silence", false}, {"Fault Device Name", true}},
       0,
       {{"Silence", true}},
       0},
      {"MidiIn",
       "Available Ports :",
       -1,
       {{"Keys", false}, {"Pads", false}},
       1,
       {{"Keys", false}, {"Pads", true}},
       1},
  };
  for (const SCase& c : cases) {
    auto& module = Add<TGeraetModul>(c.type, c.type);
    module.UseDefaultDevice->value = 0;
    module.Device->value = c.device;
    Script({[&c](QDialog& form) {
      bool captioned = false;
      for (const QLabel* label : form.findChildren<QLabel*>())
        captioned = captioned || label->text() == QString::fromLatin1(c.caption);
      EXPECT_TRUE(captioned) << c.type;
      EXPECT_EQ(Rows(form), c.rows) << c.type;
      CheckRow(form, c.checkRow);
      EXPECT_EQ(Rows(form), c.after) << c.type;
      PressOk(form);
    }});
    module.ShowProperties();
    EXPECT_EQ(module.Device->value, c.stored) << c.type;
    EXPECT_EQ(module.UseDefaultDevice->value, 0);
  }
}

TEST_F(DeviceDialogTest, UncheckingTheCheckedRowLeavesNoneAndTheDefaultGreysTheList) {
  auto& speaker = Add<TLautsprecher>("Speaker", "out");
  speaker.UseDefaultDevice->value = 0;
  speaker.Device->value = 0;
  Script({[](QDialog& form) {
    auto& list = Control<QListWidget>(form, "CheckListBox");
    EXPECT_TRUE(list.isEnabled());
    list.item(0)->setCheckState(Qt::Unchecked);
    EXPECT_EQ(Rows(form), (Rows_t{{"left.wav", false}, {"right.wav", false}, {"x.wav", false}}));
    Control<QCheckBox>(form, "CheckBoxDefault").click();
    EXPECT_FALSE(list.isEnabled());
    Type(form, "EditName", "Monitor");
    PressOk(form);
  }});
  speaker.ShowProperties();
  // Following the default, the module's own device is the default's.
  EXPECT_EQ(speaker.UseDefaultDevice->value, 1);
  EXPECT_EQ(speaker.Device->value, SoundOptions().speakerDefaultDevice);
  EXPECT_EQ(speaker.Title->value, "Monitor");
}

// Keeps whether the sound played when each message was shown.
class TPlayingAtMessage : public TMessagePresenter {
 public:
  explicit TPlayingAtMessage(const TDokumentKlang& document) : document_(document) {}
  TMessageAnswer Present(QWidget*, const SMessage& message) override {
    shown.emplace_back(message.caption, document_.IsStarted());
    return TMessageAnswer::Ok;
  }
  std::vector<std::pair<QString, bool>> shown;

 private:
  const TDokumentKlang& document_;
};

TEST_F(DeviceDialogTest, TheSpeakerDialogStopsTheSoundOpensTheDeviceThenStartsAgain) {
  auto& constant = Add<TBasisKonstanten>("ConstAnalog", "c");
  auto& speaker = Add<TLautsprecher>("Speaker", "out");
  speaker.UseDefaultDevice->value = 0;
  speaker.Device->value = 0;
  ASSERT_TRUE(speaker.OpenDevice(false));
  speaker.InputList->Input("1")->Connect(constant.OutputList->Output("1"), false);
  document.RestartSound(false);
  ASSERT_TRUE(speaker.IsActive(nullptr));
  ASSERT_EQ(document.StartSound(), 0);
  TPlayingAtMessage presenter(document);
  SetMessagePresenter(&presenter);

  // Cancel: stopped while the dialog is open, playing again unchanged afterwards.
  Script({[this](QDialog& form) {
    EXPECT_FALSE(document.IsStarted());
    PressCancel(form);
  }});
  speaker.ShowProperties();
  EXPECT_TRUE(document.IsStarted());
  EXPECT_TRUE(speaker.IsDeviceOpen());

  // OK with a device that cannot open: the failure is told while the sound is stopped, the patch
  // is re-validated (the speaker is no longer active), and the sound starts again.
  Script({[](QDialog& form) {
    CheckRow(form, 2);
    PressOk(form);
  }});
  speaker.ShowProperties();
  ASSERT_EQ(presenter.shown.size(), 1u);
  EXPECT_EQ(presenter.shown[0], (std::pair<QString, bool>{"Fault Module Wave", false}));
  EXPECT_FALSE(speaker.IsDeviceOpen());
  EXPECT_EQ(speaker.Device->value, -1);
  EXPECT_FALSE(speaker.IsActive(nullptr));
  EXPECT_TRUE(document.IsStarted());
  document.StopSound();
  SetMessagePresenter(nullptr);
}

TEST_F(DeviceDialogTest, CancellingTheMidiWindowKeepsItsDeviceOpen) {
  auto& midi = Add<TModulMidiIn>("MidiIn", "midi");
  midi.UseDefaultDevice->value = 0;
  midi.Device->value = 1;
  ASSERT_TRUE(midi.OpenDevice(false));
  Script({[](QDialog& form) {
    // Closed while the window is open, so that it lists as one that opens.
    EXPECT_EQ(Rows(form), (Rows_t{{"Keys", false}, {"Pads", true}}));
    PressCancel(form);
  }});
  midi.ShowProperties();
  EXPECT_TRUE(midi.IsDeviceOpen());
  EXPECT_EQ(midi.Device->value, 1);
}

}  // namespace
