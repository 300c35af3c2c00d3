// Where every file the program writes lands: sounds, groups, exports and renders all go through
// here, so that one set of rules holds for all of them.
// - A regular file, or a name not yet taken, is replaced atomically: the bytes go to a temporary
//   file created exclusively beside it, which is renamed over it only once it is complete. A write
//   that fails or is abandoned removes the temporary file and leaves the old file as it was.
// - A symbolic link is written through: the file it finally points to is the one replaced.
// - A pipe or a character device is written to as a stream and never replaced.
// - A folder, a block device, a socket, or a name in a folder that does not exist is refused.
#pragma once

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

class TOutputFile {
 public:
  explicit TOutputFile(std::filesystem::path path);
  // Abandons a write that was not committed.
  ~TOutputFile();
  TOutputFile(const TOutputFile&) = delete;
  TOutputFile& operator=(const TOutputFile&) = delete;

  // Checks the path and opens the stream or the temporary file. False with a one-line `error`
  // that names the path.
  bool Open(std::string& error);
  // The open file; null before Open and after Commit or Abandon.
  std::FILE* File() const { return file_; }
  // A stream cannot be rewound: what was written stays written.
  bool IsStream() const { return stream_; }
  // Flushes the bytes to the disk and renames the temporary file over the target.
  bool Commit(std::string& error);
  // Closes the file; a temporary file is removed.
  void Abandon();

  const std::filesystem::path& path() const { return path_; }
  // Empty while no temporary file exists.
  const std::filesystem::path& TemporaryPath() const { return temporary_; }

 private:
  bool OpenStream(std::string& error);
  bool OpenTemporary(const std::filesystem::path& target, std::string& error);

  std::filesystem::path path_;
  std::filesystem::path target_;  // the regular file a commit replaces
  std::filesystem::path temporary_;
  std::FILE* file_ = nullptr;
  bool stream_ = false;
};

// Checks `path` by the rules above without writing anything. False with a one-line `error`.
bool CheckOutputPath(const std::filesystem::path& path, std::string& error);

// False with a one-line `error` when an output names one of the `inputs` or the same file as
// another output (through links, hard links or differently written paths alike).
bool CheckOutputsApart(const std::vector<std::filesystem::path>& outputs,
                       const std::vector<std::filesystem::path>& inputs, std::string& error);

// Writes `bytes` by the rules above in one go.
bool WriteOutputFile(const std::filesystem::path& path, std::span<const std::byte> bytes,
                     std::string& error);
