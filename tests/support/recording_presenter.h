// A message presenter for tests: it keeps every message that would have been shown and answers
// the first button.
#pragma once

#include <vector>

#include "platform/message_box.h"

class TRecordingPresenter : public TMessagePresenter {
 public:
  TMessageAnswer Present(QWidget*, const SMessage& message) override {
    shown.push_back(message);
    return TMessageAnswer::Ok;
  }
  std::vector<SMessage> shown;
};
