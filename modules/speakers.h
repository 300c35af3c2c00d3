// The speaker modules, the sinks through which a sound is heard (each streams its input to a
// wave-output device of its own through the speaker kernels), and the microphone module, which
// makes a wave-input device's recording available as a mono audio output.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/wave_in_driver.h"
#include "engine/wave_out_driver.h"
#include "modules/device_module.h"
#include "patch/module_registry.h"

class TLautsprecher : public TGeraetModul {
 public:
  // A mono speaker has one input "1"; the stereo one also "2" (left and right).
  explicit TLautsprecher(bool mono);
  ~TLautsprecher() override;
  // Right of the lamp; lower on the stereo speaker's taller panel.
  SModulePicture PanelPicture() const override;

  int GetWorkType() const override;
  bool IsMono() const override { return true; }
  bool IsSink() const override { return true; }
  void BindWork(int voice, void* record, TBindContext& context) override;

  bool IsDeviceOpen() const override;
  void CloseDevice() override;
  bool IsStereo() const { return !mono_; }
  // The stereo speaker's inputs are the left and the right signal.
  std::string HintOf(const TEinAusgang& port) const override;
  // The driver while the device is open; an offline render waits on it before it stops.
  TWorkWaveOut* Driver() const { return IsDeviceOpen() ? driver_.get() : nullptr; }

 protected:
  int DefaultDevice() const override;
  int OpenDriver(int device) override;
  std::string ErrorText(int code) const override;
  std::vector<std::string> DeviceNames() const override;
  bool CanOpenDevice(int device) const override;

 private:
  const bool mono_;
  // Made for the installed output service at every opening; bindings keep shares of it.
  std::shared_ptr<TWorkWaveOut> driver_;
};

class TStereoLautsprecher : public TLautsprecher {
 public:
  TStereoLautsprecher() : TLautsprecher(false) {}
};

class TMikrophon : public TGeraetModul {
 public:
  TMikrophon();
  ~TMikrophon() override;
  // Left of the output and the lamp; the module has no inputs.
  SModulePicture PanelPicture() const override;

  int GetWorkType() const override;
  bool IsMono() const override { return true; }
  // The recorded sample: output "1" (audio, 16-bit sample values as they are).
  void LinkOutput(int voice, const TLinkTarget& target, TBindContext& context,
                  TAusgang& port) override;
  void BindWork(int voice, void* record, TBindContext& context) override;
  // Starts recording.
  void SoundStarted(TKlangEngine& engine, int voices) override;

  bool IsDeviceOpen() const override;
  void CloseDevice() override;

 protected:
  int DefaultDevice() const override;
  int OpenDriver(int device) override;
  std::string ErrorText(int code) const override;
  std::vector<std::string> DeviceNames() const override;
  bool CanOpenDevice(int device) const override;

 private:
  // Made for the installed input service at every opening; bindings keep shares of it.
  std::shared_ptr<TWorkWaveIn> driver_;
};

void RegisterSpeakerModules(TModuleTypeTable& table);
