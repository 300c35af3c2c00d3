// A heap block that knows its size. The sound's record block is one of these: all work records of
// a playing sound live in it, so the engine thread touches no other memory.
#pragma once

#include <cstddef>

class TSpeicher {
 public:
  // Every block is aligned for any record type (pointers and 32-bit fields).
  static constexpr std::size_t kAlignment = alignof(std::max_align_t);

  TSpeicher() = default;
  TSpeicher(const TSpeicher&) = delete;
  TSpeicher& operator=(const TSpeicher&) = delete;
  ~TSpeicher();

  // Releases any previous block and takes `bytes` uncleared bytes. Returns the address, or null
  // when the heap refuses (the size then stays 0). A block of 0 bytes is a valid, unique address.
  void* Allocate(std::size_t bytes);
  void Free();
  // Takes a zero-filled block of `bytes`, copies the common part and releases the old block.
  // Returns the new address; on failure returns null and keeps the old block.
  void* Resize(std::size_t bytes);

  void* Data() const { return data_; }
  std::size_t Size() const { return size_; }

 private:
  void* data_ = nullptr;
  std::size_t size_ = 0;
};
