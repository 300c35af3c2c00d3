#include "views/device_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>

#include "modules/midi.h"
#include "modules/speakers.h"
#include "platform/text_codec.h"

namespace {

constexpr int kListMinHeight = 90;

// The list's caption names what the kind's devices are.
QString ListCaption(const TGeraetModul& module) {
  if (dynamic_cast<const TModulMidiIn*>(&module) != nullptr)
    return QStringLiteral("Available Ports :");
  if (dynamic_cast<const TMikrophon*>(&module) != nullptr)
    return QStringLiteral("Available In Port");
  return QStringLiteral("Available Out Port");
}

}  // namespace

TDeviceDialog::TDeviceDialog(TGeraetModul& module)
    : TStandardModulDialog(module),
      device_(module),
      checkBoxDefault_(new QCheckBox(QStringLiteral("Use Default Device"))),
      list_(new QListWidget),
      selection_(module.DialogSelection()) {
  checkBoxDefault_->setObjectName(QStringLiteral("CheckBoxDefault"));
  checkBoxDefault_->setChecked(module.UseDefaultDevice->value != 0);
  list_->setObjectName(QStringLiteral("CheckListBox"));
  list_->setMinimumHeight(kListMinHeight);
  const int row = Rows().rowCount();
  Rows().addWidget(checkBoxDefault_, row, 1);
  Rows().addWidget(new QLabel(ListCaption(module)), row + 1, 0, 1, 2);
  Rows().addWidget(list_, row + 2, 0, 1, 2);
  RebuildList();
  CheckBoxDefaultClick();
  connect(checkBoxDefault_, &QCheckBox::clicked, this, [this] {
    RebuildList();
    CheckBoxDefaultClick();
  });
  connect(list_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
    ListItemChanged(item->data(Qt::UserRole).toInt(), item->checkState() == Qt::Checked);
  });
}

void TDeviceDialog::RebuildList() {
  const QSignalBlocker quiet(list_);
  list_->clear();
  for (const SDeviceRow& row : device_.DeviceRows(selection_)) {
    auto* item = new QListWidgetItem(FromFileText(row.name), list_);
    item->setData(Qt::UserRole, row.device);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(row.checked ? Qt::Checked : Qt::Unchecked);
    if (row.checked) list_->setCurrentItem(item);
  }
}

void TDeviceDialog::CheckBoxDefaultClick() { list_->setEnabled(!checkBoxDefault_->isChecked()); }

void TDeviceDialog::ListItemChanged(int device, bool checked) {
  if (checked) {
    selection_ = device;
  } else if (device == selection_) {
    selection_ = -1;
  }
  RebuildList();
}

bool TDeviceDialog::Accept() {
  device_.ChooseDevice(checkBoxDefault_->isChecked(), selection_);
  return TStandardModulDialog::Accept();
}

void AddDeviceDialogs(TModuleDialogOpeners& openers) {
  AddModuleDialog<TDeviceDialog, TGeraetModul>(openers, std::string(TGeraetModul::kDeviceDialog));
  AddModuleDialog<TDeviceDialog, TModulMidiIn>(openers, std::string(TModulMidiIn::kDialog));
}
