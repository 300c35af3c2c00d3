// The memory of one binding besides the record block: the adders' source arrays, the delay
// lines, constant inputs of a single value, and shares of the objects the kernels reach outside
// the engine (scope captures, level mailboxes, device drivers).
//
// Each binding gets a fresh arena, and the engine thread of that binding holds a share of it, as
// it does of the record block. An engine thread abandoned because it did not stop in time thus
// keeps everything it can still reach alive, while the next binding takes new memory; nothing a
// hung thread reads is ever freed under it. (The alternative, carving this memory out of the
// record block at layout, would need every module to know its sizes before it is bound.)
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

class TBindArena {
 public:
  TBindArena() = default;
  TBindArena(const TBindArena&) = delete;
  TBindArena& operator=(const TBindArena&) = delete;

  // A zero-filled block of `bytes` aligned for any record field; null when the heap refuses it.
  // It lives as long as the arena.
  void* Allocate(std::size_t bytes);
  // Keeps `share` alive as long as the arena.
  void Keep(std::shared_ptr<const void> share);

 private:
  struct SFree {
    void operator()(std::byte* block) const;
  };
  std::vector<std::unique_ptr<std::byte, SFree>> blocks_;
  std::vector<std::shared_ptr<const void>> kept_;
};
