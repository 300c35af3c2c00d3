#include "platform/clipboard.h"

namespace {

TClipboardBackend* installedBackend = nullptr;
TClipboardBackend* defaultBackend = nullptr;

}  // namespace

bool TMemoryClipboard::ReadData(std::string& bytes) const {
  if (bytes_.empty()) return false;
  bytes += bytes_;
  return true;
}

bool TMemoryClipboard::WriteData(const std::string& bytes) {
  if (bytes.empty()) return false;
  bytes_ = bytes;
  return true;
}

TClipboardBackend& Clipboard() {
  static TMemoryClipboard memory;
  if (installedBackend != nullptr) return *installedBackend;
  return defaultBackend != nullptr ? *defaultBackend : memory;
}

void SetClipboardBackend(TClipboardBackend* backend) { installedBackend = backend; }

void SetDefaultClipboardBackend(TClipboardBackend* backend) { defaultBackend = backend; }
