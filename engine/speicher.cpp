#include "engine/speicher.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

void* TakeBlock(std::size_t bytes) {
  return ::operator new (bytes, std::align_val_t{TSpeicher::kAlignment}, std::nothrow);
}

void ReleaseBlock(void* block) {
  ::operator delete (block, std::align_val_t{TSpeicher::kAlignment});
}

}  // namespace

TSpeicher::~TSpeicher() { Free(); }

void* TSpeicher::Allocate(std::size_t bytes) {
  Free();
  data_ = TakeBlock(bytes);
  if (data_ != nullptr) size_ = bytes;
  return data_;
}

void TSpeicher::Free() {
  if (data_ != nullptr) ReleaseBlock(data_);
  data_ = nullptr;
  size_ = 0;
}

void* TSpeicher::Resize(std::size_t bytes) {
  void* block = TakeBlock(bytes);
  if (block == nullptr) return nullptr;
  std::memset(block, 0, bytes);
  if (data_ != nullptr) std::memcpy(block, data_, std::min(size_, bytes));
  Free();
  data_ = block;
  size_ = bytes;
  return data_;
}
