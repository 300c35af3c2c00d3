#include "engine/bind_arena.h"

#include <cstring>
#include <new>

#include "engine/speicher.h"

void TBindArena::SFree::operator()(std::byte* block) const {
  ::operator delete (block, std::align_val_t{TSpeicher::kAlignment});
}

void* TBindArena::Allocate(std::size_t bytes) {
  // A block of 0 bytes is still a unique address, as the record block's is.
  void* block = ::operator new (bytes, std::align_val_t{TSpeicher::kAlignment}, std::nothrow);
  if (block == nullptr) return nullptr;
  try {
    blocks_.emplace_back(static_cast<std::byte*>(block));
  } catch (const std::bad_alloc&) {
    SFree{}(static_cast<std::byte*>(block));
    return nullptr;
  }
  std::memset(block, 0, bytes);
  return block;
}

void TBindArena::Keep(std::shared_ptr<const void> share) {
  if (share != nullptr) kept_.push_back(std::move(share));
}
