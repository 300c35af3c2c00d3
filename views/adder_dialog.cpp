#include "views/adder_dialog.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>

#include "platform/text_codec.h"

namespace {

constexpr int kNameLength = 40;
constexpr QSize kSpeedButtonSize{23, 22};

QToolButton* SpeedButton(int count, QButtonGroup& group) {
  auto* button = new QToolButton;
  button->setObjectName(QStringLiteral("SpeedButton%1").arg(count));
  button->setText(QString::number(count));
  button->setCheckable(true);
  button->setFixedSize(kSpeedButtonSize);
  group.addButton(button, count);
  return button;
}

}  // namespace

TAddiererForm::TAddiererForm(TAddierer& adder)
    : TModuleDialog(adder),
      adder_(adder),
      removable_(adder.RemovableInputCount()),
      EditName(AddEdit(QStringLiteral("Name"), "EditName", kNameLength)),
      RadioButtonNew(new QRadioButton(QStringLiteral("New"))),
      RadioButtonRemove(new QRadioButton(QStringLiteral("Remove"))) {
  EditName->setText(FromFileText(adder.Title->value));
  RadioButtonNew->setObjectName(QStringLiteral("RadioButtonNew"));
  RadioButtonRemove->setObjectName(QStringLiteral("RadioButtonRemove"));
  RadioButtonNew->setChecked(true);
  RadioButtonRemove->setEnabled(removable_ != 0);

  auto* group = new QGroupBox(QStringLiteral(" Input "));
  auto* line = new QHBoxLayout(group);
  line->addWidget(RadioButtonNew);
  line->addWidget(RadioButtonRemove);
  line->addStretch();
  auto* counts = new QButtonGroup(this);
  for (int count = 1; count <= 3; ++count) {
    SpeedButtons[count - 1] = SpeedButton(count, *counts);
    line->addWidget(SpeedButtons[count - 1]);
  }
  SpeedButtons[0]->setChecked(true);
  AddBelow(group, true);

  connect(RadioButtonNew, &QRadioButton::clicked, this, [this] { RadioButtonNewClick(); });
  connect(RadioButtonRemove, &QRadioButton::clicked, this, [this] { RadioButtonRemoveClick(); });
}

void TAddiererForm::RadioButtonRemoveClick() {
  SpeedButtons[1]->setEnabled(removable_ > 1);
  SpeedButtons[2]->setEnabled(removable_ > 2);
  SpeedButtons[0]->setChecked(true);
}

void TAddiererForm::RadioButtonNewClick() {
  for (QToolButton* button : SpeedButtons)
    button->setEnabled(true);
}

int TAddiererForm::ChosenCount() const {
  for (int i = 0; i < 3; ++i) {
    if (SpeedButtons[i]->isChecked()) return i + 1;
  }
  return 1;
}

bool TAddiererForm::Accept() {
  if (RadioButtonRemove->isChecked()) {
    adder_.RemoveInputs(ChosenCount());
  } else {
    adder_.AddInputs(ChosenCount());
  }
  StoreTitle(adder_, *EditName);
  return true;
}

void AddAdderDialogs(TModuleDialogOpeners& openers) {
  AddModuleDialog<TAddiererForm, TAddierer>(openers, std::string(TAddierer::kDialog));
}
