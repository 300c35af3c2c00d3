#include "modules/device_module.h"

#include <cstddef>

#include "patch/dokument_klang.h"
#include "patch/module_dialogs.h"
#include "patch/ports.h"
#include "persist/tree_message.h"
#include "platform/message_box.h"

namespace {

// The stereo speaker's two inputs lie one above the other, this far apart.
constexpr int kConnectorRow = 16;

// Stops the module's sound for the lifetime of the object and, when it was playing,
// re-validates the patch and starts it again at the end.
class TSoundPause {
 public:
  explicit TSoundPause(TDokumentKlang* document) {
    if (document != nullptr && document->IsStarted() &&
        document->StopSound() == TKlangEngine::kStopped)
      document_ = document;
  }
  ~TSoundPause() {
    if (document_ == nullptr) return;
    document_->RestartSound(false);
    document_->StartSound();
  }
  TSoundPause(const TSoundPause&) = delete;
  TSoundPause& operator=(const TSoundPause&) = delete;

 private:
  TDokumentKlang* document_ = nullptr;
};

}  // namespace

TGeraetModul::TGeraetModul(const SDeviceKind& kind, int defaultDevice)
    : Device(std::make_shared<TPropInteger>(defaultDevice)),
      UseDefaultDevice(std::make_shared<TPropInteger>(1)),
      kind_(kind) {
  Add("Device", Device);
  Add("UseDefaultDevice", UseDefaultDevice);
}

int TGeraetModul::ChosenDevice() const {
  return UseDefaultDevice->value != 0 ? DefaultDevice() : Device->value;
}

bool TGeraetModul::OpenDevice(bool report) {
  // Closing a wave driver under a playing sound would pull it from its kernel.
  const TSoundPause pause(kind_.pausesSound ? FindDocument(*this) : nullptr);
  CloseDevice();
  deviceError_.clear();
  const int device = ChosenDevice();
  if (device >= 0) {
    const int result = OpenDriver(device);
    if (result != 0) {
      deviceError_ = ErrorText(result);
      if (report) {
        ShowMessage(nullptr,
                    {QString::fromLatin1(kind_.caption), QString::fromStdString(deviceError_),
                     TMessageIcon::Error, TMessageButtons::Ok});
      }
      if (UseDefaultDevice->value == 0) Device->value = -1;
    }
  }
  PropertyChanged(nullptr);
  return IsDeviceOpen();
}

void TGeraetModul::PlaceConnectors(TPoint first) {
  firstConnector_ = first;
  // A device module has either inputs or outputs.
  for (TEinAusgangListe* list : {static_cast<TEinAusgangListe*>(InputList.get()),
                                 static_cast<TEinAusgangListe*>(OutputList.get())}) {
    int y = first.y;
    for (TEinAusgang* port : list->Ports()) {
      port->Rect->MoveTo(first.x, y);
      y += kConnectorRow;
    }
  }
}

bool TGeraetModul::Notify(int code, int arg, void* data) {
  if (code == kTreeAfterRead && firstConnector_) PlaceConnectors(*firstConnector_);
  if (code == kTreeAfterRead || code == kind_.reopenCode) OpenDevice(false);
  return TModulBild::Notify(code, arg, data);
}

bool TGeraetModul::CollectChain(TAusgang* port, TModuleChain& visited, TModuleChain& chain) {
  if (!IsDeviceOpen()) return false;
  return TModulBild::CollectChain(port, visited, chain);
}

void TGeraetModul::CreatePanel(TModuleCanvasInterface* owner, int mode) {
  TModulBild::CreatePanel(owner, mode);
  if (owner != nullptr && mode != kPanelSample && !IsDeviceOpen()) OpenDevice(false);
}

void TGeraetModul::ShowProperties() {
  TDokumentKlang* document = FindDocument(*this);
  const bool wasPlaying = document != nullptr && document->IsStarted() &&
                          document->StopSound() == TKlangEngine::kStopped;
  if (OpenModuleDialog(kDeviceDialog, *this)) {
    OpenDevice(true);
    if (document != nullptr) document->RestartSound(false);
  }
  if (wasPlaying) document->StartSound();
}

std::vector<SDeviceRow> TGeraetModul::DeviceRows(int selection) const {
  const std::vector<std::string> names = DeviceNames();
  const auto nameOf = [&names](int device) {
    const auto index = static_cast<std::size_t>(device);
    return index < names.size() ? names[index] : std::string("Fault Device Name");
  };
  std::vector<SDeviceRow> rows;
  for (int device = 0; device < static_cast<int>(names.size()); ++device) {
    if (device == selection || CanOpenDevice(device))
      rows.push_back({device, nameOf(device), device == selection});
  }
  if (selection >= static_cast<int>(names.size()))
    rows.push_back({selection, nameOf(selection), true});
  return rows;
}

void TGeraetModul::ChooseDevice(bool useDefault, int selection) {
  Device->value = useDefault ? DefaultDevice() : selection;
  UseDefaultDevice->value = useDefault ? 1 : 0;
}

void TGeraetModul::ShowHelp() {
  if (TModuleDialogs* dialogs = ModuleDialogs()) dialogs->ShowHelp(kind_.helpTopic);
}
