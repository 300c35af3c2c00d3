// The names in a folder, sorted: what a test compares to see which files a write left behind.
#pragma once

#include <algorithm>
#include <filesystem>
#include <vector>

inline std::vector<std::filesystem::path> SortedEntries(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}
