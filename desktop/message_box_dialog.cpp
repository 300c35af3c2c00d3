#include "desktop/message_box_dialog.h"

#include <QMessageBox>

namespace {

QMessageBox::Icon ToIcon(TMessageIcon icon) {
  switch (icon) {
    case TMessageIcon::Information:
      return QMessageBox::Information;
    case TMessageIcon::Warning:
      return QMessageBox::Warning;
    case TMessageIcon::Error:
      return QMessageBox::Critical;
    case TMessageIcon::Question:
      return QMessageBox::Question;
    case TMessageIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToButtons(TMessageButtons buttons) {
  switch (buttons) {
    case TMessageButtons::OkCancel:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case TMessageButtons::YesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case TMessageButtons::YesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case TMessageButtons::Ok:
      break;
  }
  return QMessageBox::Ok;
}

TMessageAnswer ToAnswer(int button) {
  switch (button) {
    case QMessageBox::Yes:
      return TMessageAnswer::Yes;
    case QMessageBox::No:
      return TMessageAnswer::No;
    case QMessageBox::Ok:
      return TMessageAnswer::Ok;
    default:
      return TMessageAnswer::Cancel;
  }
}

class TDialogPresenter : public TMessagePresenter {
 public:
  TMessageAnswer Present(QWidget* owner, const SMessage& message) override {
    QMessageBox box(ToIcon(message.icon), message.caption, message.text, ToButtons(message.buttons),
                    owner);
    return ToAnswer(box.exec());
  }
};

}  // namespace

TMessagePresenter& DialogMessagePresenter() {
  static TDialogPresenter presenter;
  return presenter;
}
