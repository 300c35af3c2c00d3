#include "persist/input_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace fs = std::filesystem;

namespace {

bool Refuse(std::string& reason, std::string text, int number = 0) {
  reason = std::move(text);
  if (number != 0) reason += " (" + std::string(std::strerror(number)) + ")";
  return false;
}

std::string Megabytes(std::uint64_t bytes) { return std::to_string(bytes >> 20) + " MB"; }

}  // namespace

bool ReadInputFile(const fs::path& path, std::uint64_t maxBytes, std::vector<std::byte>& bytes,
                   std::string& reason) {
  std::error_code status;
  const fs::file_status type = fs::status(path, status);
  if (type.type() == fs::file_type::not_found) return Refuse(reason, "does not exist");
  if (type.type() == fs::file_type::directory) return Refuse(reason, "is a folder, not a file");
  if (type.type() != fs::file_type::regular) {
    return status ? Refuse(reason, "cannot be examined", status.value())
                  : Refuse(reason, "is not a regular file");
  }
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                             std::fclose);
  if (!file) return Refuse(reason, "cannot be opened", errno);
  // Read up to one byte past the limit rather than trust the size, which may change meanwhile.
  bytes.clear();
  std::byte chunk[65536];
  for (;;) {
    const std::size_t got = std::fread(chunk, 1, sizeof chunk, file.get());
    if (bytes.size() + got > maxBytes) {
      bytes.clear();
      return Refuse(reason, "is larger than the " + Megabytes(maxBytes) + " that can be read");
    }
    bytes.insert(bytes.end(), chunk, chunk + got);
    if (got < sizeof chunk) break;
  }
  if (std::ferror(file.get())) return Refuse(reason, "cannot be read", errno);
  return true;
}
