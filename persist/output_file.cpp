#include "persist/output_file.h"

#include <cerrno>
#include <cstring>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// As many links as the kernel itself follows before it gives up.
constexpr int kMostLinks = 40;
constexpr int kTemporaryAttempts = 100;

bool Fail(std::string& error, const fs::path& path, const std::string& reason, int number = 0) {
  error = path.string() + ": " + reason;
  if (number != 0) error += " (" + std::string(std::strerror(number)) + ")";
  return false;
}

// Follows symbolic links one at a time, so that a link to a file not yet made resolves too.
bool FollowLinks(fs::path path, fs::path& target, std::string& error) {
  for (int hop = 0; hop < kMostLinks; ++hop) {
    std::error_code status;
    if (!fs::is_symlink(fs::symlink_status(path, status))) {
      target = path;
      return true;
    }
    const fs::path next = fs::read_symlink(path, status);
    if (status) return Fail(error, path, "the link cannot be read", status.value());
    path = next.is_absolute() ? next : path.parent_path() / next;
  }
  return Fail(error, path, "too many symbolic links");
}

enum class EOutputKind { Replace, Stream };

// Decides how `path` is written: `target` is the file that is replaced, or the stream itself.
bool Classify(const fs::path& path, EOutputKind& kind, fs::path& target, std::string& error) {
  if (path.filename().empty()) return Fail(error, path, "names a folder, not a file");
  std::error_code status;
  switch (fs::status(path, status).type()) {
    case fs::file_type::fifo:
    case fs::file_type::character:
      kind = EOutputKind::Stream;
      target = path;
      return true;
    case fs::file_type::directory:
      return Fail(error, path, "is a folder; give the name of a file");
    case fs::file_type::regular:
    case fs::file_type::not_found:
      break;
    case fs::file_type::none:
      return Fail(error, path, "cannot be examined", status.value());
    default:
      return Fail(error, path, "is neither a file nor a stream that can be written");
  }
  if (!FollowLinks(path, target, error)) return false;
  const fs::path folder = target.parent_path().empty() ? "." : target.parent_path();
  if (!fs::is_directory(folder, status)) return Fail(error, path, "the folder does not exist");
  kind = EOutputKind::Replace;
  return true;
}

// Hidden, tagged with the program and a random part; created exclusively, so that even a file
// that happens to have such a name is never touched.
fs::path TemporaryCandidate(const fs::path& target, std::mt19937& random) {
  static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  std::string tag;
  for (int i = 0; i < 12; ++i)
    tag += kDigits[random() % (sizeof kDigits - 1)];
  return target.parent_path() / ("." + target.filename().string() + ".zelmar-" + tag + ".tmp");
}

// Where both exist, whether they are one file; otherwise whether they name the same place.
bool SameFile(const fs::path& a, const fs::path& b) {
  std::error_code status;
  if (fs::equivalent(a, b, status)) return true;
  if (fs::exists(a, status) || fs::exists(b, status)) return false;
  std::string ignored;
  fs::path targetA, targetB;
  if (!FollowLinks(a, targetA, ignored) || !FollowLinks(b, targetB, ignored)) return false;
  return fs::weakly_canonical(fs::absolute(targetA), status) ==
         fs::weakly_canonical(fs::absolute(targetB), status);
}

}  // namespace

TOutputFile::TOutputFile(fs::path path) : path_(std::move(path)) {}

TOutputFile::~TOutputFile() { Abandon(); }

bool TOutputFile::Open(std::string& error) {
  Abandon();
  EOutputKind kind;
  fs::path target;
  if (!Classify(path_, kind, target, error)) return false;
  stream_ = kind == EOutputKind::Stream;
  return stream_ ? OpenStream(error) : OpenTemporary(target, error);
}

bool TOutputFile::OpenStream(std::string& error) {
  // Without O_NONBLOCK a pipe nobody reads would block the open for good.
  const int descriptor = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) {
    const int number = errno;
    if (number == ENXIO) return Fail(error, path_, "no program reads from this pipe");
    return Fail(error, path_, "cannot be opened for writing", number);
  }
  ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
  file_ = ::fdopen(descriptor, "wb");
  if (file_ == nullptr) {
    ::close(descriptor);
    return Fail(error, path_, "cannot be opened for writing", errno);
  }
  return true;
}

bool TOutputFile::OpenTemporary(const fs::path& target, std::string& error) {
  std::random_device seed;
  std::mt19937 random(seed());
  struct stat existing {};
  const bool replaces = ::stat(target.c_str(), &existing) == 0;
  for (int attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
    const fs::path candidate = TemporaryCandidate(target, random);
    const int descriptor = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor < 0) {
      if (errno == EEXIST) continue;
      return Fail(error, path_, "no file can be created in its folder", errno);
    }
    // The new file keeps the access rights of the one it replaces.
    if (replaces) ::fchmod(descriptor, existing.st_mode & 07777);
    file_ = ::fdopen(descriptor, "wb");
    if (file_ == nullptr) {
      const int number = errno;
      ::close(descriptor);
      ::unlink(candidate.c_str());
      return Fail(error, path_, "no file can be created in its folder", number);
    }
    target_ = target;
    temporary_ = candidate;
    return true;
  }
  return Fail(error, path_, "no free temporary name in its folder");
}

bool TOutputFile::Commit(std::string& error) {
  if (file_ == nullptr) return Fail(error, path_, "is not open");
  bool written = std::fflush(file_) == 0 && (stream_ || ::fdatasync(::fileno(file_)) == 0);
  int number = written ? 0 : errno;
  if (std::fclose(file_) != 0 && written) {
    written = false;
    number = errno;
  }
  file_ = nullptr;
  if (written && !stream_ && ::rename(temporary_.c_str(), target_.c_str()) != 0) {
    number = errno;
    Abandon();
    return Fail(error, path_, "the finished file cannot take the place of the old one", number);
  }
  if (!written) {
    Abandon();
    return Fail(error, path_, "writing failed", number);
  }
  temporary_.clear();
  return true;
}

void TOutputFile::Abandon() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
}

bool CheckOutputPath(const fs::path& path, std::string& error) {
  EOutputKind kind;
  fs::path target;
  return Classify(path, kind, target, error);
}

bool CheckOutputsApart(const std::vector<fs::path>& outputs, const std::vector<fs::path>& inputs,
                       std::string& error) {
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    for (const fs::path& input : inputs) {
      if (!input.empty() && SameFile(outputs[i], input)) {
        return Fail(error, outputs[i], "is the input " + input.string() + "; give another name");
      }
    }
    for (std::size_t j = 0; j < i; ++j) {
      if (SameFile(outputs[i], outputs[j])) {
        return Fail(error, outputs[i], "is the same file as the output " + outputs[j].string());
      }
    }
  }
  return true;
}

bool WriteOutputFile(const fs::path& path, std::span<const std::byte> bytes, std::string& error) {
  TOutputFile file(path);
  if (!file.Open(error)) return false;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file.File()) != bytes.size()) {
    return Fail(error, path, "writing failed", errno);
  }
  return file.Commit(error);
}
