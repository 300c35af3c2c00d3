#include "views/delay_dialog.h"

#include <QLineEdit>

#include "platform/text_codec.h"

namespace {

constexpr int kTimeLength = 4;

}  // namespace

TDelayDialog::TDelayDialog(TDelay& delay)
    : TStandardModulDialog(delay),
      delay_(delay),
      EditTime(AddNumberEdit(QStringLiteral("Time"), "EditTime", kTimeLength,
                             QStringLiteral("msec.  ( 0.1 - 3000 )"))) {
  EditTime->setText(FromFileText(delay.TimeText()));
}

bool TDelayDialog::Accept() {
  const SDelayTimeEntry entry = CheckDelayTime(ToFileText(EditTime->text()));
  if (RefusedForReopen(kDelayFaultCaption, entry.message)) return false;
  TStandardModulDialog::Accept();
  delay_.SetTime(entry.tenths);
  return true;
}

void AddDelayDialogs(TModuleDialogOpeners& openers) {
  AddReopeningDialog<TDelayDialog, TDelay>(openers, std::string(TDelay::kDialog));
}
