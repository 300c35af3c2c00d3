// The system clipboard under the program's private format, so that modules move between module
// lists and between two running instances of the program. Nothing else is offered besides it:
// text copied by other programs never looks like modules.
#pragma once

#include <string>

inline constexpr char kClipboardFormat[] = "application/x-ZelmarClp10";

class TClipboardBackend {
 public:
  virtual ~TClipboardBackend() = default;
  virtual bool HasData() const = 0;
  // All bytes stored under the private format; false when there are none.
  virtual bool ReadData(std::string& bytes) const = 0;
  virtual bool WriteData(const std::string& bytes) = 0;
};

// The installed clipboard, else the default one: the system clipboard in the graphical program
// (the desktop services make it the default), otherwise one private to the process.
TClipboardBackend& Clipboard();
// Installs `backend` (not owned) for every later call; null restores the default.
void SetClipboardBackend(TClipboardBackend* backend);
// Makes `backend` (not owned, living as long as the process) the default; null restores the
// process's own clipboard.
void SetDefaultClipboardBackend(TClipboardBackend* backend);

// A clipboard that lives in this process only (headless runs and tests).
class TMemoryClipboard : public TClipboardBackend {
 public:
  bool HasData() const override { return !bytes_.empty(); }
  bool ReadData(std::string& bytes) const override;
  bool WriteData(const std::string& bytes) override;

 private:
  std::string bytes_;
};
