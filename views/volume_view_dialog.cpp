#include "views/volume_view_dialog.h"

#include <QCheckBox>
#include <QGridLayout>

#include "modules/scope.h"
#include "views/scope_window.h"

TVolumeViewDialog::TVolumeViewDialog(TLautstaerkeSehenArbeiten& module)
    : TStandardModulDialog(module),
      view_(module),
      checkBoxVisible_(new QCheckBox(QStringLiteral("Visible in Panel"))) {
  checkBoxVisible_->setObjectName(QStringLiteral("CheckBoxVisible"));
  checkBoxVisible_->setChecked(module.ShowInView->value == 1);
  Rows().addWidget(checkBoxVisible_, Rows().rowCount(), 1);
}

bool TVolumeViewDialog::Accept() {
  view_.ShowInView->value = checkBoxVisible_->isChecked() ? 1 : 0;
  return TStandardModulDialog::Accept();
}

void AddScopeDialogs(TModuleDialogOpeners& openers) {
  AddModuleDialog<TVolumeViewDialog, TLautstaerkeSehenArbeiten>(
      openers, std::string(TLautstaerkeSehenArbeiten::kDialog));
  AddScopeWindow(openers);
}
