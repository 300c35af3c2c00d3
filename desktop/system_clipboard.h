// The system clipboard under the program's private format, shared by every running instance.
#pragma once

#include "platform/clipboard.h"

class TSystemClipboard : public TClipboardBackend {
 public:
  bool HasData() const override;
  bool ReadData(std::string& bytes) const override;
  bool WriteData(const std::string& bytes) override;
};
