#include "app/default_device_dialog.h"

#include <QListWidget>
#include <string>
#include <vector>

#include "engine/device_services.h"
#include "patch/dokument_klang.h"
#include "persist/tree_message.h"

namespace {

constexpr int kHelpContext = 303;

const char* Caption(TDeviceKind kind) {
  switch (kind) {
    case TDeviceKind::MidiIn:
      return "Default MidiIn Device";
    case TDeviceKind::WaveIn:
      return "Default WaveIn Device";
    case TDeviceKind::WaveOut:
      break;
  }
  return "Default WaveOut Device";
}

TTreeMessage Notification(TDeviceKind kind) {
  switch (kind) {
    case TDeviceKind::MidiIn:
      return kTreeMidiInChanged;
    case TDeviceKind::WaveIn:
      return kTreeWaveInChanged;
    case TDeviceKind::WaveOut:
      break;
  }
  return kTreeWaveOutChanged;
}

std::vector<std::string> DeviceNames(TDeviceKind kind) {
  const SDeviceServices& services = DeviceServices();
  switch (kind) {
    case TDeviceKind::MidiIn:
      return services.midiIn ? services.midiIn->DeviceNames() : std::vector<std::string>();
    case TDeviceKind::WaveIn:
      return services.waveIn ? services.waveIn->DeviceNames() : std::vector<std::string>();
    case TDeviceKind::WaveOut:
      break;
  }
  return services.waveOut ? services.waveOut->DeviceNames() : std::vector<std::string>();
}

}  // namespace

TDefaultDeviceDialog::TDefaultDeviceDialog(TDeviceKind kind, SSoundOptions& options,
                                           TDokumentKlang* document, QWidget* parent)
    : TShellDialog(Caption(kind), kHelpContext, parent),
      kind_(kind),
      options_(options),
      document_(document),
      list_(new QListWidget),
      selected_(Stored()) {
  setWindowFlag(Qt::Tool);
  SetContent(list_);
  Fill();
  connect(list_, &QListWidget::itemChanged, this, &TDefaultDeviceDialog::Checked);
}

int& TDefaultDeviceDialog::Stored() const {
  switch (kind_) {
    case TDeviceKind::MidiIn:
      return options_.midiDefaultDevice;
    case TDeviceKind::WaveIn:
      return options_.microDefaultDevice;
    case TDeviceKind::WaveOut:
      break;
  }
  return options_.speakerDefaultDevice;
}

void TDefaultDeviceDialog::Fill() {
  const QSignalBlocker quiet(list_);
  list_->clear();
  const std::vector<std::string> names = DeviceNames(kind_);
  for (std::size_t i = 0; i < names.size(); ++i) {
    // A device that cannot tell its name can still be chosen.
    auto* item = new QListWidgetItem(
        names[i].empty() ? QString("Fault Device Name") : QString::fromStdString(names[i]), list_);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(static_cast<int>(i) == selected_ ? Qt::Checked : Qt::Unchecked);
  }
}

// The list is a single choice: checking an item unchecks the others, unchecking leaves none.
void TDefaultDeviceDialog::Checked(QListWidgetItem* item) {
  const int row = list_->row(item);
  if (item->checkState() == Qt::Checked) {
    selected_ = row;
  } else if (row == selected_) {
    selected_ = -1;
  }
  Fill();
  list_->setCurrentRow(row);
}

bool TDefaultDeviceDialog::Confirm() {
  Stored() = selected_;
  if (document_ != nullptr) {
    document_->Broadcast(Notification(kind_), 0, nullptr);
    document_->RestartSound(true);
  }
  return true;
}
