// Reads a whole file that the program takes as input (a MIDI file, a recording). Only regular
// files are read, and only up to a size the caller chooses, so that a folder, a device such as
// /dev/zero or a pipe gives a clear error instead of an exception or memory without bound.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// False with `reason`, a phrase that follows the file's name ("is a folder, not a file").
bool ReadInputFile(const std::filesystem::path& path, std::uint64_t maxBytes,
                   std::vector<std::byte>& bytes, std::string& reason);
