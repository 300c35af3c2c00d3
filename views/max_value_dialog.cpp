#include "views/max_value_dialog.h"

#include <QLineEdit>

#include "platform/text_codec.h"

namespace {

// One more than the widest value takes, so that a value beyond it can be typed and refused.
constexpr int kValueLength = 5;

}  // namespace

TMaxValueDialog::TMaxValueDialog(TMidiController& controller)
    : TStandardModulDialog(controller),
      controller_(controller),
      EditMaxValue(AddNumberEdit(QStringLiteral("Max"), "EditMaxValue", kValueLength,
                                 QStringLiteral(">= -999"))) {
  EditMaxValue->setText(QString::number(controller.MaxValue->value));
}

bool TMaxValueDialog::Accept() {
  std::int32_t value = 0;
  const std::string fault = TMidiController::CheckMaxValue(ToFileText(EditMaxValue->text()), value);
  if (RefusedForReopen(TMidiController::kMaxValueCaption, fault)) return false;
  TStandardModulDialog::Accept();
  controller_.MaxValue->value = value;
  return true;
}

void AddMaxValueDialogs(TModuleDialogOpeners& openers) {
  AddReopeningDialog<TMaxValueDialog, TMidiController>(openers,
                                                       std::string(TMidiController::kDialog));
}
