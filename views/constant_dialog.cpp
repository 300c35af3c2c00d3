#include "views/constant_dialog.h"

#include <QCheckBox>
#include <QLineEdit>

#include "platform/text_codec.h"

namespace {

constexpr int kNameLength = 50;
// One more than the widest bound takes, so that a limit beyond it can be typed and refused.
constexpr int kLimitLength = 5;

}  // namespace

TKonstantenDialog::TKonstantenDialog(TBasisKonstanten& constant)
    : TModuleDialog(constant),
      constant_(constant),
      EditName(AddEdit(QStringLiteral("Name"), "EditName", kNameLength)),
      MaskEditUntererWert(AddNumberEdit(QStringLiteral("Min"), "MaskEditUntererWert", kLimitLength,
                                        FromFileText(constant.BoundText(TLimit::Lower)))),
      MaskEditObererWert(AddNumberEdit(QStringLiteral("Max"), "MaskEditObererWert", kLimitLength,
                                       FromFileText(constant.BoundText(TLimit::Upper)))),
      CheckBoxVisibleView(new QCheckBox(QStringLiteral("Visible in Panel"))) {
  CheckBoxVisibleView->setObjectName(QStringLiteral("CheckBoxVisibleView"));
  AddBelow(CheckBoxVisibleView, false);
  const SKonstantenDialog values = constant.DialogValues();
  EditName->setText(FromFileText(values.name));
  MaskEditUntererWert->setText(FromFileText(values.lower));
  MaskEditObererWert->setText(FromFileText(values.upper));
  CheckBoxVisibleView->setChecked(values.visibleInPanel);
}

bool TKonstantenDialog::Accept() {
  const std::string fault = constant_.AcceptDialog(
      {ToFileText(EditName->text()), ToFileText(MaskEditUntererWert->text()),
       ToFileText(MaskEditObererWert->text()), CheckBoxVisibleView->isChecked()});
  if (fault.empty()) return true;
  ShowFault(TBasisKonstanten::kDialogFaultCaption, fault);
  return false;
}

void AddConstantDialogs(TModuleDialogOpeners& openers) {
  AddModuleDialog<TKonstantenDialog, TBasisKonstanten>(openers,
                                                       std::string(TBasisKonstanten::kDialog));
}
