// A private X server (Xvfb) for a program under test, and a keyboard that types into its
// windows as a user would. Every wait is bounded; the server ends with the object.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>

struct _XDisplay;

class TXDisplay {
 public:
  TXDisplay();
  ~TXDisplay();
  TXDisplay(const TXDisplay&) = delete;
  TXDisplay& operator=(const TXDisplay&) = delete;

  bool Started() const { return display_ != nullptr; }
  // The name for DISPLAY, such as ":3".
  const std::string& Name() const { return name_; }
  // The shown top-level window whose title holds `title`; 0 when none appeared within `limit`.
  unsigned long WaitForWindow(const std::string& title, std::chrono::milliseconds limit);
  // Gives `window` the keyboard and types the key `keysym`, with Control held when `control`.
  void Type(unsigned long window, unsigned long keysym, bool control = false);

 private:
  std::string Title(unsigned long window) const;

  pid_t server_ = -1;
  std::string name_;
  _XDisplay* display_ = nullptr;
};
