// The reason behind the last failure of a device service, so that ErrorText tells the user more
// than the standard sentence of the code: which device, and what the sound system said. The
// wave and MIDI results share the multimedia numbering and its standard texts.
#pragma once

#include <string>
#include <utility>

#include "engine/wave_format.h"

class TDeviceErrorMemo {
 public:
  // GUI thread. Code 0 forgets the last reason.
  void Remember(int code, std::string reason) {
    code_ = code;
    reason_ = std::move(reason);
  }
  // The reason remembered for `code`, else the standard text of the code.
  std::string Text(int code) const {
    return code != 0 && code == code_ && !reason_.empty() ? reason_ : WaveResultText(code);
  }

 private:
  int code_ = 0;
  std::string reason_;
};
