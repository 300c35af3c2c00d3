#include "platform/message_box.h"

#include <iostream>

namespace {

TMessagePresenter* installedPresenter = nullptr;

// Without a screen nobody can answer, so questions take the answer that changes nothing.
class TConsolePresenter : public TMessagePresenter {
 public:
  TMessageAnswer Present(QWidget*, const SMessage& message) override {
    std::cerr << message.caption.toStdString() << ": " << message.text.toStdString() << '\n';
    switch (message.buttons) {
      case TMessageButtons::Ok:
        return TMessageAnswer::Ok;
      case TMessageButtons::YesNo:
        return TMessageAnswer::No;
      case TMessageButtons::OkCancel:
      case TMessageButtons::YesNoCancel:
        break;
    }
    return TMessageAnswer::Cancel;
  }
};

TMessagePresenter* defaultPresenter = nullptr;

TMessagePresenter& DefaultPresenter() {
  static TConsolePresenter console;
  return defaultPresenter ? *defaultPresenter : console;
}

}  // namespace

TMessageAnswer ShowMessage(QWidget* owner, const SMessage& message) {
  TMessagePresenter& presenter = installedPresenter ? *installedPresenter : DefaultPresenter();
  return presenter.Present(owner, message);
}

void SetMessagePresenter(TMessagePresenter* presenter) { installedPresenter = presenter; }

TMessagePresenter* InstalledMessagePresenter() { return installedPresenter; }

void SetDefaultMessagePresenter(TMessagePresenter* presenter) { defaultPresenter = presenter; }
