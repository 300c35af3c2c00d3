// Speakers, the microphone and the MIDI input each own one device, chosen either by the module
// ("Device") or by the sound options' default for its kind ("UseDefaultDevice"). This base holds
// what they share: which device to open, what a failure does, reopening after loading and when
// the default changes, and keeping the module's chain inactive while the device is closed.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "patch/modul_bild.h"

// A row of a device dialog's list.
struct SDeviceRow {
  int device;
  std::string name;  // as the device service names it, or "Fault Device Name"
  bool checked;      // the row of the dialog's selection
};

class TGeraetModul : public TModulBild {
 public:
  // Closes the device and opens the chosen one; on failure the user sees the device's error
  // text when `report` is set, and a module that chose its own device forgets it (-1). True
  // when the device is open. The panel's lamp shows IsDeviceOpen.
  bool OpenDevice(bool report);
  // The device OpenDevice opens: the options' default while following it, else "Device";
  // -1 is none.
  int ChosenDevice() const;
  // Why the last OpenDevice could not open the chosen device (the device's error text); empty
  // when it opened it or had none to open. Kept for callers that open without reporting.
  const std::string& DeviceError() const { return deviceError_; }

  virtual bool IsDeviceOpen() const = 0;
  virtual void CloseDevice() = 0;

  // The name of the device dialog of speakers and microphones, opened through the installed
  // module dialogs.
  static constexpr std::string_view kDeviceDialog = "Device";
  // Stops a playing sound, opens the device dialog and after OK opens the chosen device (the
  // user sees why it failed) and re-validates the patch; a sound that played starts again,
  // also after Cancel.
  void ShowProperties() override;

  // The device dialog's list with `selection` checked: every device of the kind that opens
  // with the module's format, and `selection` itself (-1: none) whether it opens or not.
  std::vector<SDeviceRow> DeviceRows(int selection) const;
  // The dialog's OK: whether the module follows the default device, and its own device
  // otherwise (following, "Device" becomes the default).
  void ChooseDevice(bool useDefault, int selection);
  // The device the dialog starts with: the options' default while following it, else "Device".
  int DialogSelection() const { return ChosenDevice(); }

  // Besides the base handling: 0 (after reading) and the module's own default-changed code
  // reopen the device.
  bool Notify(int code, int arg, void* data) override;
  // Without an open device the chain through this module is never complete.
  bool CollectChain(TAusgang* port, TModuleChain& visited, TModuleChain& chain) override;
  // An editable view opens a closed device.
  void CreatePanel(TModuleCanvasInterface* owner, int mode) override;
  void ShowHelp() override;

  const TRPointerPropInteger Device;
  const TRPointerPropInteger UseDefaultDevice;

 protected:
  struct SDeviceKind {
    int reopenCode;       // tree message of a changed default device
    const char* caption;  // of the error message
    int helpTopic;
    bool pausesSound;  // the engine's kernels use the driver: stop a playing sound first
  };
  TGeraetModul(const SDeviceKind& kind, int defaultDevice);

  // Puts the connectors below the lamp, the first at `first` and each further one a row lower;
  // after reading too, since files of earlier versions hold them where the lamp covers them.
  void PlaceConnectors(TPoint first);

  // The sound options' default device of the module's kind.
  virtual int DefaultDevice() const = 0;
  // Opens `device` (>= 0) on the closed driver; 0 or the device's result code.
  virtual int OpenDriver(int device) = 0;
  virtual std::string ErrorText(int code) const = 0;
  // The installed service's names of the kind's devices 0..n-1.
  virtual std::vector<std::string> DeviceNames() const = 0;
  // True when `device` opens with the module's format (it is closed again at once).
  virtual bool CanOpenDevice(int device) const = 0;

 private:
  const SDeviceKind kind_;
  std::string deviceError_;
  std::optional<TPoint> firstConnector_;
};
